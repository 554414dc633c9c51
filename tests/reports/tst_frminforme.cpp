// The preview window of the reports and the commands that open it: the main
// window's print button and menu, the modal product and contact lists,
// "Guardar como PDF", printing, zoom and page moves, and a long report that
// opens at once and goes on laying out in the background.
#include "comun/dialogos.h"
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/lectorpdf.h"
#include "comun/mensajesguion.h"
#include "comun/selectoresguion.h"
#include "data/entornodatos.h"
#include "data/modconexion.h"
#include "main/ventanas/frmPrincipal.h"
#include "platform/reloj.h"
#include "reports/ventanas/frmInforme.h"
#include "reports/ventanas/reportes.h"
#include "reports/ventanas/vistapaginas.h"
#include "startup/arranque.h"
#include "startup/opciones.h"
#include "users/sesion.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

// The texts of a layout, page after page, in the order they are drawn.
QStringList textos(const Maquetado& m) {
    QStringList r;
    for (const PaginaMaquetada& p : m.paginas)
        for (const BandaColocada& b : p.bandas)
            for (int i = b.primero; i < b.primero + b.cantidad; ++i) {
                const Elemento& e = m.elementos[size_t(i)];
                if (e.clase == Elemento::Clase::Texto && e.rect.top() >= b.desde - 0.01 &&
                    e.rect.top() < b.hasta - 0.01)
                    r << e.texto;
            }
    return r;
}

QPushButton* boton(QWidget& v, const QString& nombre) {
    return v.findChild<QPushButton*>(nombre);
}

QString paginaMostrada(QWidget& v) {
    return v.findChild<QLabel*>(QStringLiteral("lblPagina"))->text();
}

} // namespace

class PruebaFrmInforme : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;
    std::unique_ptr<Fixtura> datos;

    void ejecutar(const QString& sql, const QVariantList& valores = {}) {
        const ResultadoSentencia r = datos->conexion().ejecutar(sql, valores);
        QVERIFY2(r.ok, qPrintable(sql + u' ' + datos->conexion().errores().value(0).descripcion));
    }
    void categorias(int cantidad) {
        for (int i = 1; i <= cantidad; ++i)
            ejecutar(QStringLiteral("INSERT INTO CATEGORIAS (CatId, CatDescripcion) VALUES (?, ?)"),
                     {i, QStringLiteral("Categoría %1").arg(i, 3, 10, QLatin1Char('0'))});
    }
    void presupuestos(int cantidad, int lineas) {
        const int empId = datos->contacto(QStringLiteral("Acme"));
        std::vector<int> productos;
        for (int i = 1; i <= lineas; ++i)
            productos.push_back(datos->producto(QStringLiteral("Producto %1").arg(i)));
        for (int q = 1; q <= cantidad; ++q) {
            Fixtura::Presupuesto p;
            p.numero = QString::number(q);
            p.empId = empId;
            p.lugar = QStringLiteral("Lugar %1").arg(q);
            const int preId = datos->presupuesto(p);
            for (int proId : productos)
                datos->linea(preId, proId, 10, 2);
        }
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        const QString base = entorno->copiarBase();
        datos = std::make_unique<Fixtura>(base);
        abrirConexionDePrueba(base);
        dteBodex().establecerCadenaConexion(cadenaConexionInformes(QStringLiteral("PRUEBA")));
        Reloj::fijar(QDate(2026, 12, 7));
        CargarOpciones();
        establecerUsuarioActual(QStringLiteral("admin"));
    }
    void cleanup() {
        for (const char* nombre : {"dtrPresupuestos2", "dtrCategorias", "dtrProductos",
                                   "dtrProductosCategorias", "dtrProveedores"})
            if (frmInforme* v = ventanaReporte(QString::fromLatin1(nombre)))
                v->close();
        if (conexion())
            CerrarConexion();
        dteBodex().cerrarConexion();
        Reloj::liberar();
        datos.reset();
        mensajes.reset();
        entorno.reset();
    }

    void imprimirDelMenuPrincipalMuestraTodosLosPresupuestos() {
        presupuestos(2, 1);
        frmPrincipal principal;
        QPushButton* imprimir = boton(principal, QStringLiteral("cmdMenu(2)"));
        QVERIFY(imprimir->isEnabled());
        // Whatever the list shows: a search that finds nothing.
        mensajes->escribir(QStringLiteral("no existe"));
        principal.cmdMenu_Click(3);
        QTest::mouseClick(imprimir, Qt::LeftButton);

        frmInforme* v = ventanaReporte(QStringLiteral("dtrPresupuestos2"));
        QVERIFY(v);
        QVERIFY(v->isVisible());
        QVERIFY(!v->isModal());
        QCOMPARE(v->windowTitle(), QStringLiteral("Presupuesto - Bodex Profesional"));
        QTRY_VERIFY(!v->maquetando());
        const QStringList vistos = textos(*v->maquetado());
        QVERIFY(vistos.contains(QStringLiteral("Lugar 1")));
        QVERIFY(vistos.contains(QStringLiteral("Lugar 2")));
        QCOMPARE(paginaMostrada(*v), QStringLiteral("Página 1 de 1"));

        // Asked again while open: read again.
        presupuestos(1, 0);
        principal.cmdMenu_Click(2);
        QTRY_VERIFY(!v->maquetando());
        QCOMPARE(textos(*v->maquetado()).count(QStringLiteral("Lugar 1")), 2);

        // Closing is the report's end step; the next opening reads again and
        // reuses the same window.
        v->close();
        QVERIFY(!dteBodex().abierto(QStringLiteral("TotalPresupuestos")));
        presupuestos(1, 0);
        principal.cmdMenu_Click(2);
        QCOMPARE(ventanaReporte(QStringLiteral("dtrPresupuestos2")), v);
        QTRY_VERIFY(!v->maquetando());
        QCOMPARE(textos(*v->maquetado()).count(QStringLiteral("Lugar 1")), 3);
    }

    void menuProductosPorCategoriaLeeCadaVez() {
        categorias(1);
        frmPrincipal principal;
        QAction* menu = principal.findChild<QAction*>(QStringLiteral("mnuArchivoProCat"));
        QVERIFY(menu->isEnabled());
        menu->trigger();
        frmInforme* v = ventanaReporte(QStringLiteral("dtrProductosCategorias"));
        QVERIFY(v && v->isVisible());
        QVERIFY(!v->isModal());
        QCOMPARE(v->windowTitle(),
                 QStringLiteral("Productos agrupados por Categoría - Bodex Profesional"));
        QTRY_VERIFY(!v->maquetando());
        QVERIFY(!textos(*v->maquetado()).contains(QStringLiteral("Taladro")));

        // Asked again while open: the same window with what is stored now.
        ejecutar(QStringLiteral("INSERT INTO PRODUCTOS (ProDescripcion, CatId) VALUES "
                                "('Taladro', 1)"));
        menu->trigger();
        QCOMPARE(ventanaReporte(QStringLiteral("dtrProductosCategorias")), v);
        QTRY_VERIFY(!v->maquetando());
        QVERIFY(textos(*v->maquetado()).contains(QStringLiteral("Taladro")));
    }

    void unReporteLargoSeAbreEnSeguidaYSigueEnSegundoPlano() {
        presupuestos(80, 6);
        mostrarReportePresupuestos();
        frmInforme* v = ventanaReporte(QStringLiteral("dtrPresupuestos2"));
        // Shown with its first page while the rest is still being laid out.
        QVERIFY(v->isVisible());
        QVERIFY(v->maquetando());
        QVERIFY(v->vista().paginasVisibles() >= 1);
        auto* progreso = v->findChild<QProgressBar*>(QStringLiteral("pbProgreso"));
        QVERIFY(progreso->isVisible());
        QVERIFY(paginaMostrada(*v).endsWith(u'…'));
        // The window keeps answering: events are handled between the steps.
        bool atendido = false;
        QTimer::singleShot(0, v, [&] { atendido = v->maquetando(); });
        QTRY_VERIFY(atendido);

        QTRY_VERIFY_WITH_TIMEOUT(!v->maquetando(), 30000);
        QVERIFY(!progreso->isVisible());
        const int paginas = int(v->maquetado()->paginas.size());
        QVERIFY(paginas > 5);
        QCOMPARE(v->vista().paginasVisibles(), paginas);
        QCOMPARE(paginaMostrada(*v), QStringLiteral("Página 1 de %1").arg(paginas));
        QCOMPARE(textos(*v->maquetado()).count(QStringLiteral("Total:")), 80);
    }

    void zoomYMovimientoEntrePaginas() {
        categorias(130); // three pages
        mostrarReporteCategorias();
        frmInforme* v = ventanaReporte(QStringLiteral("dtrCategorias"));
        QTRY_VERIFY(!v->maquetando());
        v->resize(800, 700);
        auto* zoom = v->findChild<QComboBox*>(QStringLiteral("cboZoom"));
        zoom->setCurrentIndex(zoom->findText(QStringLiteral("100 %")));
        QCOMPARE(v->vista().zoom(), 1.0);
        QTest::mouseClick(boton(*v, QStringLiteral("cmdUltima")), Qt::LeftButton);
        QCOMPARE(v->vista().paginaActual(), 2);
        QCOMPARE(paginaMostrada(*v), QStringLiteral("Página 3 de 3"));
        QTest::mouseClick(boton(*v, QStringLiteral("cmdAnterior")), Qt::LeftButton);
        QCOMPARE(paginaMostrada(*v), QStringLiteral("Página 2 de 3"));
        // A smaller zoom keeps the page that was in sight.
        zoom->setCurrentIndex(zoom->findText(QStringLiteral("50 %")));
        QCOMPARE(v->vista().paginaActual(), 1);
        QTest::mouseClick(boton(*v, QStringLiteral("cmdPrimera")), Qt::LeftButton);
        QCOMPARE(paginaMostrada(*v), QStringLiteral("Página 1 de 3"));
    }

    void guardarComoPdf() {
        categorias(3);
        SelectoresGuion selectores;
        mostrarReporteCategorias();
        frmInforme* v = ventanaReporte(QStringLiteral("dtrCategorias"));
        QTRY_VERIFY(!v->maquetando());

        // Cancelled: nothing written, nothing said.
        QTest::mouseClick(boton(*v, QStringLiteral("cmdGuardarPdf")), Qt::LeftButton);
        const QString documentos = entorno->ruta(QStringLiteral("Documents"));
        QCOMPARE(selectores.titulos(), QStringList({QStringLiteral("Guardar como PDF")}));
        QCOMPARE(selectores.propuestos(),
                 QStringList({documentos + QStringLiteral("/dtrCategorias.pdf")}));
        QVERIFY(QDir(documentos).entryList(QDir::Files).isEmpty());

        // A name without extension gets ".pdf".
        selectores.responder(documentos + QStringLiteral("/categorias"));
        QTest::mouseClick(boton(*v, QStringLiteral("cmdGuardarPdf")), Qt::LeftButton);
        const LectorPdf pdf(documentos + QStringLiteral("/categorias.pdf"));
        QVERIFY(pdf.valido);
        QCOMPARE(pdf.titulo, QStringLiteral("Categorías - Bodex Profesional"));
        QCOMPARE(pdf.paginas, 1);
        QVERIFY(pdf.texto.contains(QStringLiteral("Categoría 003")));
        QVERIFY(mensajes->mostrados().isEmpty());

        // A folder that does not exist: the user is told, no file appears.
        const QString mala = entorno->ruta(QStringLiteral("no/existe/r.pdf"));
        selectores.responder(mala);
        QTest::mouseClick(boton(*v, QStringLiteral("cmdGuardarPdf")), Qt::LeftButton);
        QCOMPARE(mensajes->mostrados().size(), 1);
        QVERIFY(mensajes->textos().first().startsWith(
            QStringLiteral("No se pudo guardar el reporte en \"%1\"").arg(mala)));
        QCOMPARE(mensajes->mostrados().first().icono, Icono::Exclamacion);
        QVERIFY(!QFile::exists(mala));
    }

    void imprimirEnUnaImpresora() {
        categorias(130);
        mostrarReporteCategorias();
        frmInforme* v = ventanaReporte(QStringLiteral("dtrCategorias"));
        // Printing does not wait for the background: it finishes the layout.
        QPrinter impresora(QPrinter::HighResolution);
        impresora.setOutputFormat(QPrinter::PdfFormat);
        impresora.setOutputFileName(entorno->ruta(QStringLiteral("impreso.pdf")));
        QVERIFY(v->imprimirEn(impresora));
        LectorPdf todo(impresora.outputFileName());
        QCOMPARE(todo.paginas, 3);
        QVERIFY(todo.textoPorPagina[2].contains(QStringLiteral("3 de 3")));

        // Only the pages chosen, with their own numbers.
        impresora.setOutputFileName(entorno->ruta(QStringLiteral("segunda.pdf")));
        impresora.setPrintRange(QPrinter::PageRange);
        impresora.setFromTo(2, 2);
        QVERIFY(v->imprimirEn(impresora));
        LectorPdf segunda(impresora.outputFileName());
        QCOMPARE(segunda.paginas, 1);
        QVERIFY(segunda.texto.contains(QStringLiteral("2 de 3")));

        // The print dialog cancelled prints nothing and says nothing.
        alAparecer<QPrintDialog>([](QPrintDialog& d) { d.reject(); });
        QTest::mouseClick(boton(*v, QStringLiteral("cmdImprimir")), Qt::LeftButton);
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    void productosModalConLaListaDeLaVentana() {
        ejecutar(QStringLiteral("INSERT INTO CATEGORIAS (CatId, CatDescripcion) VALUES (1, 'H')"));
        for (const char* d : {"Arandela", "Clavo", "Tornillo", "Martillo"})
            ejecutar(QStringLiteral("INSERT INTO PRODUCTOS (ProDescripcion, CatId, "
                                    "ProDesactivado) VALUES (?, 1, ?)"),
                     {QString::fromLatin1(d), QByteArray(d) == "Clavo"});
        // The product window's list: a search, in its own order, with a
        // deactivated product that the design-time text would leave out.
        const QString consulta = QStringLiteral(
            "SELECT * FROM PRODUCTOS WHERE INSTR(PRODESCRIPCION,'a') ORDER BY PRODESCRIPCION DESC");
        RegistrosPtr lista;
        AbrirConsulta(consulta, lista);
        lista->moverUltimo();

        QStringList vistos;
        bool modal = false;
        alAparecer<frmInforme>([&](frmInforme& v) {
            modal = v.isModal();
            QCOMPARE(v.windowTitle(), QStringLiteral("Productos - Bodex Profesional"));
            v.completarMaquetado();
            vistos = textos(*v.maquetado());
            v.close();
        });
        mostrarReporteProductos(*lista);
        QVERIFY(modal);
        QCOMPARE(vistos.mid(7, 6),
                 QStringList({QStringLiteral("Martillo"), QStringLiteral("0"), QStringLiteral("0"),
                              QStringLiteral("0"), QStringLiteral("No"), QStringLiteral("Clavo")}));
        QVERIFY(vistos.contains(QStringLiteral("Si")));
        QVERIFY(vistos.indexOf(QStringLiteral("Clavo")) <
                vistos.indexOf(QStringLiteral("Arandela")));
        QVERIFY(!vistos.contains(QStringLiteral("Tornillo")));
        QCOMPARE(dteBodex().texto(QStringLiteral("ListadoProductos")), consulta);
        // The window's own list is left where it was.
        QCOMPARE(lista->posicionAbsoluta(), 3);
    }

    void proveedoresModalLeeDeNuevoElComando() {
        datos->contacto(QStringLiteral("Acme"));
        // The contact window holds the command open with a search of its own.
        QVERIFY(dteBodex().abrir(QStringLiteral("Proveedores"),
                                 QStringLiteral("SELECT * FROM contactos WHERE "
                                                "INSTR(EMPNOMBREFANTASIA, ?) ORDER BY "
                                                "EMPNOMBREFANTASIA ASC"),
                                 {QStringLiteral("cm")}));
        QCOMPARE(dteBodex().rsProveedores->cantidad(), 1);
        datos->contacto(QStringLiteral("Bacmo"));
        datos->contacto(QStringLiteral("Zeta"));

        QStringList vistos;
        alAparecer<frmInforme>([&](frmInforme& v) {
            QVERIFY(v.isModal());
            QCOMPARE(v.windowTitle(), QStringLiteral("Proveedores - Bodex Profesional"));
            v.completarMaquetado();
            vistos = textos(*v.maquetado());
            v.reject();
        });
        mostrarReporteProveedores();
        // Read again with the window's search: the new match, not the other.
        QVERIFY(vistos.contains(QStringLiteral("Bacmo")));
        QVERIFY(vistos.contains(QStringLiteral("Acme")));
        QVERIFY(!vistos.contains(QStringLiteral("Zeta")));
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    void sinSusFilasElReporteNoSeMuestra() {
        dteBodex().establecerCadenaConexion(cadenaConexionInformes(QStringLiteral("NO_EXISTE")));
        mostrarReporteCategorias();
        frmInforme* v = ventanaReporte(QStringLiteral("dtrCategorias"));
        QVERIFY(!v || !v->isVisible());
        QCOMPARE(mensajes->mostrados().size(), 1);
        QVERIFY(mensajes->textos().first().startsWith(QStringLiteral("Error número: ")));
    }
};

QTEST_MAIN(PruebaFrmInforme)
#include "tst_frminforme.moc"
