// The quote editor's window driven through its controls: names, captions,
// the modes on the controls, Enter, the dialogs it opens, the grid's
// type-ahead and closing.
#include "catalog/ventanas/frmBuscarProductos.h"
#include "catalog/ventanas/frmMantContactos.h"
#include "catalog/ventanas/frmMantProductos.h"
#include "comun/dialogos.h"
#include "comun/ejecutorguion.h"
#include "comun/mundopresupuestos.h"
#include "data/modconexion.h"
#include "quotes/enlaces.h"
#include "quotes/ventanas/enlacescatalogo.h"
#include "quotes/ventanas/frmAgregarProductoPresupuesto.h"
#include "quotes/ventanas/frmDetallePresupuesto.h"
#include "quotes/ventanas/frmGrillaContactos.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

#include <memory>

namespace {

// Answers the next quantity dialog with `texto` and "Aceptar".
void responderCantidad(const QString& texto) {
    alAparecer<frmAgregarProductoPresupuesto>([texto](frmAgregarProductoPresupuesto& d) {
        d.findChild<QLineEdit*>(QStringLiteral("txtCantidad"))->setText(texto);
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("cmdAceptar")), Qt::LeftButton);
    });
}

// The visible top-level window of type T, if any.
template <typename T> T* visible() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible())
            return t;
    return nullptr;
}

} // namespace

class PruebaFrmDetallePresupuesto : public QObject {
    Q_OBJECT
    std::unique_ptr<MundoPresupuestos> mundo;
    QPointer<frmDetallePresupuesto> v;
    int acme = 0;

    template <typename T = QWidget> T* control(const QString& nombre) {
        T* c = v->findChild<T*>(nombre);
        if (!c)
            qFatal("falta el control %s", qPrintable(nombre));
        return c;
    }
    QPushButton* boton(int i) { return control<QPushButton>(QStringLiteral("cmdMenu(%1)").arg(i)); }
    QList<bool> botones() {
        QList<bool> b;
        for (int i = 0; i < 9; ++i)
            b << boton(i)->isEnabled();
        return b;
    }
    QTreeWidget* lineas() { return control<QTreeWidget>(QStringLiteral("lvPrePro")); }
    QTableView* grilla() { return control<QTableView>(QStringLiteral("dtgProductos")); }
    void nuevo() {
        v->setAgregando(true);
        v->CargarPre(0);
        v->show();
        QVERIFY(QTest::qWaitForWindowExposed(v));
        // The reload that showing the window brings.
        QTRY_VERIFY(grilla()->model()->rowCount() > 0 ||
                    mundo->datos().contar(QStringLiteral("PRODUCTOS")) == 0);
    }
    static void enter(QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }

private slots:
    void init() {
        mundo = std::make_unique<MundoPresupuestos>(QStringLiteral("ana"));
        acme = mundo->datos().contacto(QStringLiteral("Acme"), QStringLiteral("Acme SA"));
        mundo->datos().producto(QStringLiteral("Cable"), QStringLiteral("111"), 12.5, {});
        mundo->datos().producto(QStringLiteral("Caño"), QStringLiteral("222"), 3, {});
        mundo->datos().producto(QStringLiteral("Codo"), QStringLiteral("333"), 1, {});
        v = new frmDetallePresupuesto;
    }
    void cleanup() {
        if (v)
            v->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!v);
        enlacesPresupuesto() = EnlacesPresupuesto{};
        mundo.reset();
    }

    void controlesYTextos() {
        QCOMPARE(v->windowTitle(), QStringLiteral("Detalle del Presupuesto - Tarvo"));
        const QStringList textos = {
            QStringLiteral("Nuevo"),     QStringLiteral("Editar"),   QStringLiteral("Guardar"),
            QStringLiteral("G+N"),       QStringLiteral("Cancelar"), QStringLiteral("Imprimir"),
            QStringLiteral("Modificar"), QStringLiteral("Enviar"),   QStringLiteral("Atras")};
        for (int i = 0; i < 9; ++i)
            QCOMPARE(boton(i)->text(), textos[i]);
        QCOMPARE(boton(3)->toolTip(), QStringLiteral("Guarda y crea un nuevo presupuesto"));
        QCOMPARE(boton(6)->toolTip(), QStringLiteral("Editar el documento en Microsoft Word"));
        QCOMPARE(boton(8)->toolTip(), QStringLiteral("Volver al menú principal"));
        // Before the first load.
        QCOMPARE(botones(),
                 (QList<bool>{true, true, false, false, false, false, false, false, true}));

        auto* paginas = control<QTabWidget>(QStringLiteral("sstPresupuesto"));
        QStringList titulos;
        for (int i = 0; i < paginas->count(); ++i)
            titulos << paginas->tabText(i);
        QCOMPARE(titulos,
                 (QStringList{QStringLiteral("Descripción"), QStringLiteral("Productos"),
                              QStringLiteral("Mano de obra"), QStringLiteral("Despedida")}));
        // Every label names its control.
        QStringList etiquetas;
        for (QLabel* l : v->findChildren<QLabel*>())
            if (l->buddy())
                etiquetas << l->text() + u'>' + l->buddy()->objectName();
        for (const char* par :
             {"Código:>txtFields(0)", "Núm. de Ppto.:>txtFields(1)", "Fecha:>dtpFecha",
              "Cliente:>txtCliente", "Lugar:>dtcLugar", "Saludo:>dtcSaludo",
              "Párrafo 3:>rtbDescripcion3", "Código de barra:>txtCodigoBarraAgregar",
              "Concepto:>dtcConcepto2", "Importe:>txtImporte3", "Saludo:>rtbDespedida",
              "Firma:>rtbFirma", "días>txtDiasVigencia"})
            QVERIFY2(etiquetas.contains(QString::fromUtf8(par)), par);
        QCOMPARE(control<QPushButton>(QStringLiteral("cmdBuscarProveedor"))->toolTip(),
                 QStringLiteral("Buscar Contactos por texto"));
        QCOMPARE(control<QPushButton>(QStringLiteral("cmdNuevoProveedor"))->toolTip(),
                 QStringLiteral("Ingresar un Contacto nuevo"));
        QCOMPARE(control<QPushButton>(QStringLiteral("cmdEditarProducto"))->toolTip(),
                 QStringLiteral("Editar el Producto seleccionado"));
        QCOMPARE(control<QCheckBox>(QStringLiteral("chkVigencia"))->text(),
                 QStringLiteral("Vigencia:"));
        QCOMPARE(control<QDateEdit>(QStringLiteral("dtpFecha"))->displayFormat(),
                 QStringLiteral("d-MMM-yy"));
        QStringList pistas;
        for (QLabel* l : v->findChildren<QLabel*>())
            pistas << l->text();
        QVERIFY(pistas.contains(QStringLiteral("O DOBLE CLIC PARA AGREGAR PRODUCTOS AL REMITO")));
        QVERIFY(pistas.contains(QStringLiteral("DOBLE CLIC PARA QUITAR PRODUCTOS")));
        QVERIFY(pistas.contains(QStringLiteral("DOBLE CLIC PARA AGREGAR PRODUCTOS")));

        QStringList encabezados;
        for (int c = 0; c < lineas()->columnCount(); ++c)
            encabezados << lineas()->headerItem()->text(c);
        QCOMPARE(encabezados, (QStringList{QStringLiteral("Código"), QStringLiteral("Producto"),
                                           QStringLiteral("Precio"), QStringLiteral("Cantidad"),
                                           QStringLiteral("Sub Total")}));
        encabezados.clear();
        for (int c = 0; c < grilla()->model()->columnCount(); ++c)
            encabezados << grilla()->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(encabezados, (QStringList{QStringLiteral("Código"), QStringLiteral("Descripción"),
                                           QStringLiteral("Precio"), QStringLiteral("Costo")}));
        for (int i = 1; i <= 3; ++i)
            QVERIFY(v->findChild<QComboBox*>(QStringLiteral("dtcMoneda%1").arg(i)));
    }

    // The four modes on the command bar and the fields.
    void modosEnLosControles() {
        nuevo();
        QCOMPARE(botones(),
                 (QList<bool>{false, false, true, true, true, false, false, false, true}));
        const auto campos = v->controles().campos();
        for (QWidget* w : campos)
            QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
        QVERIFY(!control(QStringLiteral("txtFields(0)"))->isEnabled());
        auto* dias = control<QLineEdit>(QStringLiteral("txtDiasVigencia"));
        auto* texto = control<QLineEdit>(QStringLiteral("txtTextoVigencia"));
        auto* tilde = control<QCheckBox>(QStringLiteral("chkVigencia"));
        QVERIFY(!dias->isEnabled() && !texto->isEnabled());
        QCOMPARE(dias->text(), QStringLiteral("30"));
        tilde->click();
        QVERIFY(dias->isEnabled() && texto->isEnabled());
        tilde->click();
        QVERIFY(!dias->isEnabled() && !texto->isEnabled());
        tilde->click();

        v->editor().establecerCliente(false, acme, QStringLiteral("Acme"));
        boton(2)->click();
        QCOMPARE(botones(), (QList<bool>{true, true, false, false, false, true, true, true, true}));
        for (QWidget* w : campos)
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        QVERIFY(!dias->isEnabled() && !texto->isEnabled());
        QVERIFY(tilde->isChecked());
        QVERIFY(!control<QLineEdit>(QStringLiteral("txtFields(0)"))->text().isEmpty());

        boton(1)->click();
        QCOMPARE(botones(), (QList<bool>{false, false, true, true, true, true, true, true, true}));
        for (QWidget* w : campos)
            QVERIFY(w->isEnabled());
        QVERIFY(dias->isEnabled());
        boton(4)->click();
        QCOMPARE(botones(), (QList<bool>{false, false, true, true, true, true, true, true, true}));
    }

    void tipearEnLosCamposLlegaAlEditor() {
        nuevo();
        QTest::keyClicks(control(QStringLiteral("txtFields(1)")), QStringLiteral("X"));
        QTest::keyClicks(control(QStringLiteral("rtbDescripcion2")), QStringLiteral("hola"));
        control<QComboBox>(QStringLiteral("dtcMoneda3"))->setEditText(QStringLiteral("USD"));
        control<QLineEdit>(QStringLiteral("txtImporte1"))->setText(QStringLiteral("7"));
        const CamposPresupuesto& c = v->editor().campos;
        QCOMPARE(c.numero, QStringLiteral("1X"));
        QCOMPARE(c.descripcion[1], QStringLiteral("hola"));
        QCOMPARE(c.moneda[2], QStringLiteral("USD"));
        QCOMPARE(c.importe[0], QStringLiteral("7"));
    }

    void enterPasaAlSiguienteControl() {
        nuevo();
        auto* numero = control(QStringLiteral("txtFields(1)"));
        numero->setFocus();
        QTRY_COMPARE(v->focusWidget(), numero);
        enter(numero);
        QTRY_VERIFY(v->focusWidget() != numero);
        QCOMPARE(v->focusWidget(), numero->nextInFocusChain());
    }

    void clienteConElSelector() {
        nuevo();
        auto* cliente = control<QLineEdit>(QStringLiteral("txtCliente"));
        cliente->setText(QStringLiteral("sa"));
        alAparecer<frmGrillaContactos>([](frmGrillaContactos& s) {
            QCOMPARE(s.buscador().registros().cantidad(), 1);
            QTest::mouseClick(s.findChild<QPushButton*>(QStringLiteral("cmdSeleccionar")),
                              Qt::LeftButton);
        });
        enter(cliente);
        QCOMPARE(cliente->text(), QStringLiteral("Acme"));
        QCOMPARE(v->editor().campos.clienteTag, QString::number(acme));
        // Cancelling empties the customer, also after a choice.
        alAparecer<frmGrillaContactos>([](frmGrillaContactos& s) { s.cancelar(); });
        control<QPushButton>(QStringLiteral("cmdBuscarProveedor"))->click();
        QCOMPARE(cliente->text(), QString());
        QCOMPARE(v->editor().campos.clienteTag, QStringLiteral("0"));
        QVERIFY(mundo->mensajes().mostrados().isEmpty());
    }

    // Double click, Enter and the bar code add (the whole road is the main
    // window's test); here what the controls show around them.
    void agregarQuitarDesdeLosControles() {
        nuevo();
        grilla()->setCurrentIndex(grilla()->model()->index(0, 0));
        responderCantidad(QStringLiteral("2"));
        enter(grilla());
        QTRY_COMPARE(lineas()->topLevelItemCount(), 1);
        QCOMPARE(lineas()->topLevelItem(0)->text(4), QStringLiteral("25"));
        // A code that no product has adds nothing; the box is emptied all the same.
        auto* codigo = control<QLineEdit>(QStringLiteral("txtCodigoBarraAgregar"));
        codigo->setText(QStringLiteral("nada"));
        enter(codigo);
        QCOMPARE(codigo->text(), QString());
        QCOMPARE(lineas()->topLevelItemCount(), 1);
        // Enter on a line takes units off it.
        mundo->mensajes().escribir(QStringLiteral("0.5"));
        enter(lineas());
        QCOMPARE(lineas()->topLevelItem(0)->text(3), QStringLiteral("1.5"));
        QCOMPARE(lineas()->topLevelItem(0)->text(4), QStringLiteral("18.75"));
    }

    void busquedaAlEscribirEnLaGrilla() {
        nuevo();
        auto* titulo = control<QLabel>(QStringLiteral("lblTituloProductos"));
        QTest::keyClicks(grilla(), QStringLiteral("can"));
        QCOMPARE(titulo->text(), QStringLiteral("Búsqueda: can (BackSapce comienza de nuevo)"));
        QCOMPARE(grilla()->currentIndex().row(), 1);
        QTest::keyClick(grilla(), Qt::Key_Backspace);
        QCOMPARE(titulo->text(), QStringLiteral("DOBLE CLIC PARA AGREGAR PRODUCTOS"));
        QCOMPARE(grilla()->currentIndex().row(), 0);
    }

    void textoEscritoSobreviveLaRecarga() {
        mundo->presupuesto(QStringLiteral("1"), acme, QStringLiteral("ana"));
        nuevo();
        auto* lugar = control<QComboBox>(QStringLiteral("dtcLugar"));
        QCOMPARE(lugar->count(), 1);
        lugar->setEditText(QStringLiteral("Paysandú"));
        v->Actualizar();
        QCOMPARE(lugar->currentText(), QStringLiteral("Paysandú"));
        QCOMPARE(v->editor().campos.lugar, QStringLiteral("Paysandú"));
        QCOMPARE(lugar->itemText(0), QStringLiteral("Montevideo"));
    }

    void contactoNuevoYBusquedaAvanzadaSoloConectados() {
        nuevo();
        QVERIFY(!control(QStringLiteral("cmdNuevoProveedor"))->isEnabled());
        QVERIFY(control(QStringLiteral("cmdBusquedaAvanzada"))->isHidden());
        v->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        int contactos = 0;
        enlacesPresupuesto().nuevoContacto = [&contactos] { ++contactos; };
        enlacesPresupuesto().buscarProductos = [](QWidget*) {
            return std::optional<QString>(QStringLiteral("1 and ProPrecio=3"));
        };
        v = new frmDetallePresupuesto;
        nuevo();
        control<QPushButton>(QStringLiteral("cmdNuevoProveedor"))->click();
        QCOMPARE(contactos, 1);
        control<QPushButton>(QStringLiteral("cmdBusquedaAvanzada"))->click();
        QCOMPARE(grilla()->model()->rowCount(), 1);
    }

    // Connected as the program connects it, "Búsqueda avanzada" shows and
    // filters the product list with the search dialog's condition.
    void busquedaAvanzadaConectada() {
        conectarCatalogoAlEditor();
        delete v;
        v = new frmDetallePresupuesto;
        nuevo();
        auto* avanzada = control<QPushButton>(QStringLiteral("cmdBusquedaAvanzada"));
        QVERIFY(!avanzada->isHidden());
        alAparecer<frmBuscarProductos>([](frmBuscarProductos& d) {
            d.findChild<QLineEdit*>(QStringLiteral("txtDescripcion"))
                ->setText(QStringLiteral("ca"));
            QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("cmdAceptar")),
                              Qt::LeftButton);
        });
        avanzada->click();
        QCOMPARE(grilla()->model()->rowCount(), 2);
    }

    // Connected as the program connects it, the editor opens the catalogue
    // windows: product maintenance standing on the grid's product.
    void ventanasDelCatalogo() {
        conectarCatalogoAlEditor();
        delete v;
        v = new frmDetallePresupuesto;
        nuevo();
        const QModelIndex cano =
            grilla()
                ->model()
                ->match(grilla()->model()->index(0, 1), Qt::DisplayRole, QStringLiteral("Caño"))
                .value(0);
        QVERIFY(cano.isValid());
        grilla()->setCurrentIndex(cano);
        control<QPushButton>(QStringLiteral("cmdEditarProducto"))->click();
        auto* productos = visible<frmMantProductos>();
        QVERIFY(productos);
        QCOMPARE(productos->findChild<QLineEdit*>(QStringLiteral("txtFields(1)"))->text(),
                 QStringLiteral("Caño"));
        productos->close();

        QVERIFY(!visible<frmMantContactos>());
        control<QPushButton>(QStringLiteral("cmdNuevoProveedor"))->click();
        auto* contactos = visible<frmMantContactos>();
        QVERIFY(contactos);
        contactos->close();
    }

    // A reload that cannot read the database is told in one box however often
    // it runs; a reload asked for from inside that box does not start, and
    // the window closed from inside it goes only once the reload is over.
    void recargaFallidaSinCascadaNiBorradoPrematuro() {
        nuevo();
        CerrarConexion();
        mundo->mensajes().limpiar();
        int recargas = 0;
        connect(&v->editor(), &EditorPresupuesto::listasRecargadas, this, [&] { ++recargas; });
        bool vivaEnLaCaja = false;
        mundo->mensajes().alMostrar([&] {
            v->Actualizar();
            v->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            vivaEnLaCaja = !v.isNull();
        });
        v->Actualizar();
        v->Actualizar();
        mundo->mensajes().alMostrar({});
        QCOMPARE(mundo->mensajes().mostrados().size(), 1);
        QCOMPARE(recargas, 2);
        QVERIFY(vivaEnLaCaja);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!v);
    }

    // Closing an editor that produced no document starts no program.
    void atrasCierraYSuelta() {
        EjecutorGuion ejecutor;
        nuevo();
        boton(8)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!v);
        QVERIFY(ejecutor.llamadas().isEmpty() && ejecutor.abiertas().isEmpty());
    }

    // "Enviar PDF" follows "Enviar": off for a new quote, on for a stored
    // one, where it works on the quote's document.
    void enviarPdfSigueAEnviar() {
        EjecutorGuion ejecutor;
        nuevo();
        auto* pdf = control<QPushButton>(QStringLiteral("cmdEnviarPDF"));
        QCOMPARE(pdf->text(), QStringLiteral("Enviar PDF"));
        QVERIFY(!pdf->isEnabled());
        const int id = mundo->presupuesto(QStringLiteral("7"), acme, QStringLiteral("ana"));
        v->setAgregando(false);
        v->CargarPre(id);
        QVERIFY(pdf->isEnabled() && boton(7)->isEnabled());
        mundo->mensajes().limpiar();
        pdf->click();
        // No document written yet: the user is told, and nothing is started.
        QCOMPARE(mundo->mensajes().mostrados().size(), 1);
        QVERIFY(mundo->mensajes().mostrados().first().texto.contains(
            QStringLiteral("No existe el documento del presupuesto «7»")));
        QVERIFY(ejecutor.llamadas().isEmpty());
    }
};

QTEST_MAIN(PruebaFrmDetallePresupuesto)
#include "tst_frmdetallepresupuesto.moc"
