// The first pass of the report engine on rows read from a real connection:
// fields that grow, page breaks, groups with their sums and counts, and the
// company header rule; and the five reports' declarations.
#include "comun/entornoprueba.h"
#include "data/conexionsqlite.h"
#include "data/forma.h"
#include "reports/encabezado.h"
#include "reports/informes.h"
#include "reports/maquetador.h"
#include "reports/recorrido.h"

#include <QImage>
#include <QTest>

#include <memory>

namespace {

Control texto(const QString& nombre, const QString& campo, QRectF rect, bool crece = false) {
    Control c;
    c.nombre = nombre;
    c.tipo = TipoControl::Campo;
    c.campo = campo;
    c.rect = rect;
    c.crece = crece;
    return c;
}

Control rotulo(const QString& nombre, const QString& caption, QRectF rect) {
    Control c;
    c.nombre = nombre;
    c.tipo = TipoControl::Etiqueta;
    c.texto = caption;
    c.rect = rect;
    return c;
}

Banda banda(double alto, std::vector<Control> controles) {
    Banda b;
    b.alto = alto;
    b.controles = std::move(controles);
    return b;
}

// A report with a page header "TITULO" and a detail band.
DefinicionInforme simple(Banda detalle) {
    DefinicionInforme d;
    d.nombre = QStringLiteral("prueba");
    d.encabezadoInforme.visible = false;
    d.encabezadoPagina =
        banda(20, {rotulo(QStringLiteral("t"), QStringLiteral("TITULO"), QRectF(0, 0, 200, 14))});
    d.piePagina =
        banda(20, {rotulo(QStringLiteral("p"), QStringLiteral("PIE"), QRectF(0, 4, 100, 12))});
    d.detalle = std::move(detalle);
    return d;
}

// "palabraN" words, `n` of them.
QString palabras(int n) {
    QStringList p;
    for (int i = 1; i <= n; ++i)
        p << QStringLiteral("palabra%1").arg(i);
    return p.join(u' ');
}

// Every text element drawn on the page, in page coordinates.
struct Dibujado {
    QString texto;
    QRectF rect;
};
std::vector<Dibujado> dibujados(const Maquetado& m, int pagina) {
    std::vector<Dibujado> r;
    for (const BandaColocada& b : m.paginas[size_t(pagina)].bandas)
        for (int i = b.primero; i < b.primero + b.cantidad; ++i) {
            const Elemento& e = m.elementos[size_t(i)];
            if (e.clase == Elemento::Clase::Texto && e.rect.top() >= b.desde - 0.01 &&
                e.rect.top() < b.hasta - 0.01)
                r.push_back({e.texto, e.rect.translated(0, b.y)});
        }
    return r;
}

} // namespace

class PruebaMaquetador : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<ConexionSqlite> con;

    Registros filas(const QString& texto) {
        QList<ErrorProveedor> fallos;
        if (esForma(texto)) {
            Forma forma;
            QString error;
            if (!leerForma(texto, forma, error))
                qFatal("%s", qPrintable(error));
            auto tabla = ejecutarForma(*con, forma, fallos);
            if (!tabla)
                qFatal("%s", qPrintable(fallos.value(0).descripcion));
            return Registros(tabla, texto);
        }
        const ResultadoSentencia r = con->ejecutar(texto);
        if (!r.ok)
            qFatal("%s", qPrintable(con->errores().value(0).descripcion));
        return Registros(r.filas, texto);
    }
    // The rows "SELECT ? AS n, ? AS t" for each text.
    Registros textos(const QStringList& valores) {
        QStringList partes;
        for (int i = 0; i < valores.size(); ++i)
            partes << QStringLiteral("SELECT %1 AS n, '%2' AS t").arg(i + 1).arg(valores[i]);
        return filas(partes.join(QStringLiteral(" UNION ALL ")) + QStringLiteral(" ORDER BY n"));
    }
    static std::shared_ptr<const Maquetado> maquetar(const DefinicionInforme& d,
                                                     const Registros& rs) {
        Maquetador m(std::make_shared<const DefinicionInforme>(d), rs, QDate(2026, 12, 7),
                     QLocale(QLocale::Spanish, QLocale::Spain));
        m.completar();
        return m.resultado();
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        con = std::make_unique<ConexionSqlite>(entorno->copiarBase());
        QVERIFY(con->abierta());
    }
    void cleanup() {
        con.reset();
        entorno.reset();
    }

    void recorridoEnOrdenDeImpresion() {
        const Registros rs = filas(QStringLiteral(
            "SHAPE {SELECT 1 AS g UNION ALL SELECT 2 UNION ALL SELECT 3} APPEND ({SELECT 1 AS g, "
            "'a' AS x UNION ALL SELECT 1, 'b' UNION ALL SELECT 3, 'c'} RELATE 'g' TO 'g') AS H"));
        Recorrido r(rs, {QStringLiteral("H")});
        QStringList pasos;
        int nivel = 0;
        for (auto p = r.siguiente(nivel); p != Recorrido::Paso::Fin; p = r.siguiente(nivel)) {
            const Registros& actual = r.filas()[size_t(nivel)];
            switch (p) {
            case Recorrido::Paso::CabeceraGrupo:
                pasos << QStringLiteral("C") + actual.texto(QStringLiteral("g"));
                break;
            case Recorrido::Paso::Detalle:
                pasos << actual.texto(QStringLiteral("x"));
                break;
            case Recorrido::Paso::PieGrupo:
                pasos << QStringLiteral("P") + actual.texto(QStringLiteral("g"));
                break;
            case Recorrido::Paso::Fin:
                break;
            }
        }
        QCOMPARE(pasos.join(u' '), QStringLiteral("C1 a b P1 C2 P2 C3 c P3"));
        QCOMPARE(r.primerasHechas(), 3);
        QCOMPARE(r.primerasTotal(), 3);
    }

    void elCampoQueCreceEmpujaLoQueTieneDebajo() {
        DefinicionInforme d = simple(banda(
            40,
            {texto(QStringLiteral("largo"), QStringLiteral("t"), QRectF(0, 0, 100, 14), true),
             rotulo(QStringLiteral("alLado"), QStringLiteral("AL LADO"), QRectF(120, 0, 100, 14)),
             rotulo(QStringLiteral("debajo"), QStringLiteral("DEBAJO"), QRectF(0, 20, 100, 14))}));
        const auto m = maquetar(d, textos({palabras(12), QStringLiteral("corto")}));
        const auto todo = dibujados(*m, 0);
        std::vector<QRectF> debajo, alLado;
        int lineasLargas = 0;
        for (const Dibujado& x : todo) {
            if (x.texto == QStringLiteral("DEBAJO"))
                debajo.push_back(x.rect);
            else if (x.texto == QStringLiteral("AL LADO"))
                alLado.push_back(x.rect);
            else if (x.texto.startsWith(QStringLiteral("palabra")))
                ++lineasLargas;
        }
        QVERIFY2(lineasLargas >= 3, "twelve words do not fit 100 points on one line");
        QCOMPARE(debajo.size(), size_t(2));
        // First row: the label beside stays on the first line, the one below
        // moves down by the growth; second row: nothing grows.
        const double fila1 = alLado[0].top();
        const double crecimiento = debajo[0].top() - fila1 - 20;
        QVERIFY(crecimiento > 14);
        const double fila2 = alLado[1].top();
        QCOMPARE(debajo[1].top() - fila2, 20.0);
        // The band grew by the same amount and keeps its room below.
        QCOMPARE(fila2 - fila1, 40 + crecimiento);
    }

    void ningunaLineaSeCortaEntrePaginas() {
        DefinicionInforme d = simple(banda(
            16, {texto(QStringLiteral("t"), QStringLiteral("t"), QRectF(0, 0, 150, 14), true)}));
        QStringList valores;
        int lineas = 0;
        for (int i = 0; i < 80; ++i)
            valores << palabras(1 + (i * 7) % 23);
        const auto m = maquetar(d, textos(valores));
        QVERIFY(m->completo);
        QVERIFY(m->paginas.size() >= 3);
        const PaginaInforme& p = d.pagina;
        const double fondo = p.tamano.height() - p.margenInferior - m->altoPie;
        for (size_t pg = 0; pg < m->paginas.size(); ++pg)
            for (const Dibujado& x : dibujados(*m, int(pg))) {
                QVERIFY2(x.rect.top() >= p.margenSuperior - 0.01 && x.rect.bottom() <= fondo + 0.01,
                         qPrintable(QStringLiteral("página %1: %2").arg(pg + 1).arg(x.texto)));
                if (x.texto.startsWith(QStringLiteral("palabra")))
                    ++lineas;
            }
        // Every line is drawn once: none lost at a break, none repeated.
        int esperadas = 0;
        for (const Elemento& e : m->elementos)
            if (e.clase == Elemento::Clase::Texto && e.texto.startsWith(QStringLiteral("palabra")))
                ++esperadas;
        QCOMPARE(lineas, esperadas);
    }

    void unaBandaMasAltaQueUnaPaginaSigueEnLaSiguiente() {
        DefinicionInforme d = simple(banda(
            16, {texto(QStringLiteral("t"), QStringLiteral("t"), QRectF(0, 0, 60, 14), true)}));
        // One word per line: 160 lines, more than two pages.
        const auto m = maquetar(d, textos({palabras(160)}));
        QVERIFY(m->paginas.size() >= 3);
        QStringList leidas;
        for (size_t pg = 0; pg < m->paginas.size(); ++pg) {
            const auto enPagina = dibujados(*m, int(pg));
            QCOMPARE(enPagina.front().texto, QStringLiteral("TITULO"));
            for (const Dibujado& x : enPagina)
                if (x.texto != QStringLiteral("TITULO"))
                    leidas << x.texto;
        }
        QCOMPARE(leidas.join(u' '), palabras(160));
        // The text starts right under the title, on the first page.
        const auto primera = dibujados(*m, 0);
        QCOMPARE(primera[1].rect.top(), d.pagina.margenSuperior + 20);
    }

    void unaBandaQueCabeEnUnaPaginaPasaEntera() {
        DefinicionInforme d = simple(banda(
            16, {texto(QStringLiteral("t"), QStringLiteral("t"), QRectF(0, 0, 60, 14), true)}));
        QStringList valores;
        for (int i = 0; i < 40; ++i)
            valores << QStringLiteral("fila%1").arg(i);
        valores << palabras(20); // twenty lines: does not fit below forty rows
        const auto m = maquetar(d, textos(valores));
        QCOMPARE(m->paginas.size(), size_t(2));
        const auto segunda = dibujados(*m, 1);
        QStringList enSegunda;
        for (const Dibujado& x : segunda)
            enSegunda << x.texto;
        QCOMPARE(enSegunda.mid(1).join(u' '), palabras(20));
        for (const BandaColocada& b : m->paginas[1].bandas)
            QCOMPARE(b.desde, 0.0);
    }

    void sumasYCuentasPorGrupo() {
        DefinicionInforme d = simple(
            banda(14, {texto(QStringLiteral("v"), QStringLiteral("v"), QRectF(0, 0, 60, 14))}));
        Grupo g;
        g.cabecera =
            banda(14, {texto(QStringLiteral("g"), QStringLiteral("g"), QRectF(0, 0, 60, 14))});
        Control suma = texto(QStringLiteral("suma"), QStringLiteral("v"), QRectF(0, 0, 60, 14));
        suma.tipo = TipoControl::Suma;
        Control cuenta = texto(QStringLiteral("cuenta"), {}, QRectF(80, 0, 60, 14));
        cuenta.tipo = TipoControl::Cuenta;
        Control nombre =
            texto(QStringLiteral("nombre"), QStringLiteral("g"), QRectF(160, 0, 60, 14));
        g.pie = banda(14, {suma, cuenta, nombre});
        d.grupos = {g};
        d.capituloDetalle = QStringLiteral("H");
        const auto m = maquetar(
            d, filas(QStringLiteral(
                   "SHAPE {SELECT 1 AS g UNION ALL SELECT 2 UNION ALL SELECT 3} APPEND ({SELECT 1 "
                   "AS g, 5 AS v UNION ALL SELECT 1, 7.5 UNION ALL SELECT 3, NULL UNION ALL "
                   "SELECT 3, 2} RELATE 'g' TO 'g') AS H")));
        QStringList vistos;
        for (const Dibujado& x : dibujados(*m, 0))
            vistos << x.texto;
        // Header, rows and footer (sum, count, the group's own field) of each
        // group; an empty group counts 0; a Null adds nothing but is a row.
        QCOMPARE(vistos.join(u' '), QStringLiteral("TITULO 1 5 7,5 12,5 2 1 2 0 0 2 3 2 2 2 3"));
    }

    void sinFilasUnaPaginaConSusEncabezados() {
        DefinicionInforme d = simple(
            banda(14, {texto(QStringLiteral("t"), QStringLiteral("t"), QRectF(0, 0, 60, 14))}));
        d.encabezadoInforme = banda(
            30, {rotulo(QStringLiteral("e"), QStringLiteral("EMPRESA"), QRectF(0, 0, 200, 14))});
        const auto m =
            maquetar(d, filas(QStringLiteral("SELECT 1 AS t FROM CATEGORIAS WHERE 1=0")));
        QCOMPARE(m->paginas.size(), size_t(1));
        const auto todo = dibujados(*m, 0);
        QCOMPARE(todo.size(), size_t(2));
        QCOMPARE(todo[0].texto, QStringLiteral("EMPRESA"));
        QCOMPARE(todo[0].rect.top(), d.pagina.margenSuperior);
        QCOMPARE(todo[1].texto, QStringLiteral("TITULO"));
        QCOMPARE(todo[1].rect.top(), d.pagina.margenSuperior + 30);
    }

    void pasoAPasoComoDeUnaVez() {
        DefinicionInforme d = simple(banda(
            16, {texto(QStringLiteral("t"), QStringLiteral("t"), QRectF(0, 0, 90, 14), true)}));
        QStringList valores;
        for (int i = 0; i < 150; ++i)
            valores << palabras(1 + i % 9);
        const Registros rs = textos(valores);
        const auto entero = maquetar(d, rs);

        Maquetador m(std::make_shared<const DefinicionInforme>(d), rs, QDate(2026, 12, 7),
                     QLocale(QLocale::Spanish, QLocale::Spain));
        double antes = -1;
        int pasos = 0;
        int listasAntes = 0;
        while (!m.avanzar(3)) {
            QVERIFY(m.progreso() >= antes);
            QVERIFY(m.progreso() < 1.0);
            // A page once ready is never taken back.
            QVERIFY(m.maquetado().paginasListas() >= listasAntes);
            listasAntes = m.maquetado().paginasListas();
            antes = m.progreso();
            ++pasos;
        }
        QVERIFY(pasos > 10);
        QCOMPARE(m.progreso(), 1.0);
        const Maquetado& pasoAPaso = m.maquetado();
        QCOMPARE(pasoAPaso.paginas.size(), entero->paginas.size());
        for (size_t pg = 0; pg < entero->paginas.size(); ++pg) {
            const auto a = dibujados(*entero, int(pg));
            const auto b = dibujados(pasoAPaso, int(pg));
            QCOMPARE(a.size(), b.size());
            for (size_t i = 0; i < a.size(); ++i) {
                QCOMPARE(a[i].texto, b[i].texto);
                QCOMPARE(a[i].rect, b[i].rect);
            }
        }
    }

    void reglaDelEncabezadoDeEmpresa() {
        DefinicionInforme d = informes::categorias();
        aplicarEncabezadoEmpresa(d, {}, {});
        QVERIFY(!d.encabezadoInforme.visible);

        aplicarEncabezadoEmpresa(d, {}, QStringLiteral("Ferretería Sur"));
        QVERIFY(d.encabezadoInforme.visible);
        QCOMPARE(d.control(QStringLiteral("lblEmpresa"))->texto, QStringLiteral("Ferretería Sur"));
        QVERIFY(d.control(QStringLiteral("imgLogo"))->imagen.isNull());

        const QString logo = entorno->ruta(QStringLiteral("logo.png"));
        QImage imagen(40, 20, QImage::Format_RGB32);
        imagen.fill(Qt::red);
        QVERIFY(imagen.save(logo));
        aplicarEncabezadoEmpresa(d, logo, {});
        QVERIFY(d.encabezadoInforme.visible);
        QCOMPARE(d.control(QStringLiteral("lblEmpresa"))->texto, QString());
        QCOMPARE(d.control(QStringLiteral("imgLogo"))->imagen.size(), QSize(40, 20));

        // A file that is no picture, then one that does not exist: left out.
        QFile falso(entorno->ruta(QStringLiteral("falso.png")));
        QVERIFY(falso.open(QIODevice::WriteOnly));
        falso.write("no es una imagen");
        falso.close();
        for (const QString& ruta : {falso.fileName(), entorno->ruta(QStringLiteral("no.png"))}) {
            aplicarEncabezadoEmpresa(d, ruta, QStringLiteral("Sur"));
            QVERIFY(d.encabezadoInforme.visible);
            QVERIFY(d.control(QStringLiteral("imgLogo"))->imagen.isNull());
        }
    }

    void losRotulosDeLosReportesCabenEnterosEnSuLugar() {
        Medidor medidor;
        for (const DefinicionInforme& d :
             {informes::presupuestos(), informes::categorias(), informes::productos(),
              informes::productosCategorias(), informes::proveedores()}) {
            std::vector<const Banda*> bandas = {&d.encabezadoInforme, &d.encabezadoPagina,
                                                &d.detalle, &d.piePagina};
            for (const Grupo& g : d.grupos)
                bandas.insert(bandas.end(), {&g.cabecera, &g.pie});
            for (const Banda* b : bandas)
                for (const Control& c : b->controles) {
                    QVERIFY2(c.rect.right() <= d.pagina.ancho() + 0.01,
                             qPrintable(d.nombre + u' ' + c.nombre));
                    QVERIFY2(c.rect.bottom() <= b->alto + 0.01 || b->alto == 0,
                             qPrintable(d.nombre + u' ' + c.nombre));
                    if (c.tipo == TipoControl::Etiqueta)
                        QVERIFY2(medidor.ancho(c.texto, c.puntos, c.negrita) <= c.rect.width(),
                                 qPrintable(d.nombre + u' ' + c.nombre + u' ' + c.texto));
                }
        }
    }
};

QTEST_MAIN(PruebaMaquetador)
#include "tst_maquetador.moc"
