// The catalogue windows driven through their named controls: texts, the
// states of the command bar, data binding of the editing controls, and the
// dialogs each one opens.
#include "catalog/ventanas/frmBuscarProductos.h"
#include "catalog/ventanas/frmMantCategorias.h"
#include "catalog/ventanas/frmMantContactos.h"
#include "catalog/ventanas/frmMantProductos.h"
#include "comun/catalogoprueba.h"
#include "comun/dialogos.h"
#include "data/entornodatos.h"
#include "platform/ventanas/combodatos.h"
#include "reports/ventanas/frmInforme.h"
#include "startup/cqueryreg.h"
#include "startup/opciones.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTest>

#include <memory>

namespace {

QPushButton* boton(QWidget& v, int i) {
    return v.findChild<QPushButton*>(QStringLiteral("cmdMenu(%1)").arg(i));
}
QLineEdit* campo(QWidget& v, int i) {
    return v.findChild<QLineEdit*>(QStringLiteral("txtFields(%1)").arg(i));
}
// The enabled buttons of the command bar, by index.
QList<int> habilitados(QWidget& v) {
    QList<int> h;
    for (int i = 0; boton(v, i); ++i)
        if (boton(v, i)->isEnabled())
            h << i;
    return h;
}
QStringList textosBotones(QWidget& v) {
    QStringList t;
    for (int i = 0; boton(v, i); ++i)
        t << boton(v, i)->text() + u'|' + boton(v, i)->toolTip();
    return t;
}
QStringList encabezadosVisibles(QTableView* grilla) {
    QStringList e;
    for (int c = 0; c < grilla->model()->columnCount(); ++c)
        if (!grilla->isColumnHidden(c))
            e << grilla->model()->headerData(c, Qt::Horizontal).toString();
    return e;
}

} // namespace

class PruebaVentanasCatalogo : public QObject {
    Q_OBJECT
    std::unique_ptr<MundoCatalogo> mundo;
    int ferreteria = 0;

    template <typename T> static void mostrar(T& v) {
        v.setAttribute(Qt::WA_DeleteOnClose, false);
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
    }
    int contar(const char* tabla) {
        return mundo->leer(QStringLiteral("SELECT COUNT(*) FROM ") + QString::fromLatin1(tabla))
            .toInt();
    }

private slots:
    void init() {
        mundo = std::make_unique<MundoCatalogo>();
        long estado = 0;
        cQueryReg().SetReg(claveTarvo(), QStringLiteral("iva"), QStringLiteral("10.5"),
                           cQueryReg::HKEY_CURRENT_USER, cQueryReg::REG_SZ, true, estado);
        CargarOpciones();
        ferreteria = mundo->categoria(QStringLiteral("Ferretería"));
        mundo->producto(QStringLiteral("Tornillo"), ferreteria, 100, 80, QStringLiteral("caja"),
                        QStringLiteral("$"), QStringLiteral("779"), 5);
        mundo->producto(QStringLiteral("Arandela"), ferreteria, 2, 0);
    }
    void cleanup() { mundo.reset(); }

    void productos() {
        frmMantProductos v;
        mostrar(v);
        QCOMPARE(v.windowTitle(), QStringLiteral("Mantenimiento de Productos - Tarvo"));
        QCOMPARE(textosBotones(v),
                 (QStringList{QStringLiteral("Nuevo|Ingresar un nuevo producto"),
                              QStringLiteral("Editar|Modificar el producto seleccionado"),
                              QStringLiteral("Guardar|Guardar los cambios"),
                              QStringLiteral("Imprimir|Imprimir la lista de productos"),
                              QStringLiteral("Buscar|Buscar por la descripción"),
                              QStringLiteral("Avanza.|Búsqueda avanzada"),
                              QStringLiteral("Actualizar|Muestra todos los datos"),
                              QStringLiteral("Cancelar|Cancela la operación"),
                              QStringLiteral("Eliminar|Elimina el Producto seleccionado"),
                              QStringLiteral("Atras|Volver al menú principal")}));
        const int maximos[] = {12, 100, 9, 9, 5, 9};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(campo(v, i)->maxLength(), maximos[i]);
        QCOMPARE(campo(v, 0)->toolTip(), QStringLiteral("Código de barra (opcional)"));
        QCOMPARE(campo(v, 2)->alignment() & Qt::AlignRight, Qt::AlignRight);
        QCOMPARE(v.findChild<QCheckBox*>(QStringLiteral("chkSinVencimiento"))->toolTip(),
                 QStringLiteral("Este producto no lleva fecha de vencimiento."));
        QCOMPARE(v.findChild<QPushButton*>(QStringLiteral("cmdCategorias"))->toolTip(),
                 QStringLiteral("Agregar una nueva Categoría"));
        QCOMPARE(v.findChild<QGroupBox*>(QStringLiteral("fraGanancias"))->title(),
                 QStringLiteral("Ganancias:"));
        for (auto* etiqueta : v.findChildren<QLabel*>())
            if (etiqueta->text().endsWith(u':') || etiqueta->text().endsWith(u' '))
                QVERIFY2(etiqueta->buddy(), qPrintable(etiqueta->text()));
        auto* grilla = v.findChild<QTableView*>(QStringLiteral("dtgLista"));
        QCOMPARE(encabezadosVisibles(grilla),
                 (QStringList{QStringLiteral("Descripción"), QStringLiteral("Precio"),
                              QStringLiteral("Costo"), QStringLiteral("Mínimo"),
                              QStringLiteral("Desactivado")}));
        auto* marco = v.findChild<QGroupBox*>(QStringLiteral("marcoLista"));
        QCOMPARE(marco->title(), MantProductos::tituloInicial());

        // Browsing: the first row shown, its margins; editing controls locked.
        QCOMPARE(campo(v, 1)->text(), QStringLiteral("Arandela"));
        QCOMPARE(v.findChild<QLabel*>(QStringLiteral("lblPorcentual"))->text(),
                 QStringLiteral("0"));
        QCOMPARE(habilitados(v), (QList<int>{0, 1, 3, 4, 5, 6, 8, 9}));
        QVERIFY(!campo(v, 1)->isEnabled());
        grilla->setCurrentIndex(grilla->model()->index(1, 0));
        QCOMPARE(campo(v, 1)->text(), QStringLiteral("Tornillo"));
        QCOMPARE(campo(v, 2)->text(), QStringLiteral("100"));
        QCOMPARE(v.findChild<ComboDatos*>(QStringLiteral("dtcCategorias"))->currentText(),
                 QStringLiteral("Ferretería"));
        QCOMPARE(v.findChild<QLabel*>(QStringLiteral("lblPorcentual"))->text(),
                 QStringLiteral("25"));
        QCOMPARE(v.findChild<QLabel*>(QStringLiteral("lblAbsoluto"))->text(), QStringLiteral("20"));

        // "Nuevo": only save, cancel and back; the defaults shown.
        boton(v, 0)->click();
        QCOMPARE(habilitados(v), (QList<int>{2, 7, 9}));
        QVERIFY(!grilla->isEnabled());
        QVERIFY(campo(v, 1)->isEnabled());
        QVERIFY(campo(v, 1)->text().isEmpty());
        QCOMPARE(campo(v, 4)->text(), QStringLiteral("10.5"));
        QVERIFY(v.findChild<QCheckBox*>(QStringLiteral("chkSinVencimiento"))->isChecked());
        QVERIFY(!v.findChild<QCheckBox*>(QStringLiteral("chkDesactivado"))->isChecked());

        // A comma in the price: the notice, and the comma stays.
        campo(v, 2)->setFocus();
        QTest::keyClicks(campo(v, 2), QStringLiteral("1,5"));
        QCOMPARE(mundo->textos(),
                 QStringList{QStringLiteral("Debe utilizar el punto (.) como separador de "
                                            "decimales.")});
        QCOMPARE(campo(v, 2)->text(), QStringLiteral("1,5"));
        // A point in the minimum stock: its own notice.
        QTest::keyClicks(campo(v, 5), QStringLiteral("."));
        QCOMPARE(mundo->textos().last(),
                 QStringLiteral("El Stock Mínimo debe ser un número entero."));
        mundo->mensajes().limpiar();
        campo(v, 2)->setText(QStringLiteral("12.5"));
        campo(v, 1)->setText(QStringLiteral("Clavo"));
        campo(v, 3)->setText(QStringLiteral("10"));
        campo(v, 5)->setText(QStringLiteral("3"));
        v.findChild<ComboDatos*>(QStringLiteral("dtcCategorias"))
            ->setCurrentText(QStringLiteral("ferretería"));
        v.findChild<QComboBox*>(QStringLiteral("dtcUnidades"))
            ->setCurrentText(QStringLiteral("bolsa"));
        v.findChild<QComboBox*>(QStringLiteral("dtcMonedas"))->setCurrentText(QStringLiteral("€"));
        boton(v, 2)->click();
        QVERIFY(mundo->textos().isEmpty());
        QCOMPARE(contar("PRODUCTOS"), 3);
        QCOMPARE(mundo
                     ->leer(QStringLiteral("SELECT ProUnidadMedida || ProMoneda || ProIVA || "
                                           "CatId FROM PRODUCTOS WHERE ProDescripcion='Clavo'"))
                     .toString(),
                 QStringLiteral("bolsa€10.5%1").arg(ferreteria));
        QCOMPARE(habilitados(v), (QList<int>{0, 1, 3, 4, 5, 6, 8, 9}));
        QVERIFY(!campo(v, 1)->isEnabled());
        // The new unit is listed at the next activation.
        v.ActualizarCombos();
        QVERIFY(v.findChild<QComboBox*>(QStringLiteral("dtcUnidades"))
                    ->findText(QStringLiteral("bolsa")) >= 0);

        // Type-ahead in the grid and its caption.
        grilla->setFocus();
        QTest::keyClicks(grilla, QStringLiteral("to"));
        QCOMPARE(campo(v, 1)->text(), QStringLiteral("Tornillo"));
        QCOMPARE(marco->title(), QStringLiteral("Búsqueda: to (BackSapce comienza de nuevo)"));
        QTest::keyClick(grilla, Qt::Key_Backspace);
        QCOMPARE(campo(v, 1)->text(), QStringLiteral("Arandela"));
        QCOMPARE(marco->title(), MantProductos::tituloInicial());

        // A header click sorts; the first click on "Precio" ascends.
        auto* cabecera = grilla->horizontalHeader();
        QTest::mouseClick(cabecera->viewport(), Qt::LeftButton, {},
                          QPoint(cabecera->sectionViewportPosition(1) + 5, 5));
        QCOMPARE(campo(v, 1)->text(), QStringLiteral("Arandela"));
        QTest::mouseClick(cabecera->viewport(), Qt::LeftButton, {},
                          QPoint(cabecera->sectionViewportPosition(1) + 5, 5));
        QCOMPARE(campo(v, 1)->text(), QStringLiteral("Tornillo"));

        // Yes/no cells read as the program writes them; Escape closes nothing.
        const QModelIndex desactivado = grilla->model()->index(0, 4);
        QCOMPARE(static_cast<QStyledItemDelegate*>(grilla->itemDelegateForIndex(desactivado))
                     ->displayText(desactivado.data(), QLocale()),
                 QStringLiteral("Falso"));
        QTest::keyClick(&v, Qt::Key_Escape);
        QVERIFY(v.isVisible());

        // "Editar", a change, close the window: nothing stored.
        boton(v, 1)->click();
        campo(v, 2)->setText(QStringLiteral("1"));
        boton(v, 9)->click();
        QVERIFY(!v.isVisible());
        QCOMPARE(mundo
                     ->leer(QStringLiteral("SELECT ProPrecio FROM PRODUCTOS WHERE "
                                           "ProDescripcion='Tornillo'"))
                     .toDouble(),
                 100.0);
    }

    void productosBusquedaAvanzadaYCategorias() {
        frmMantProductos v;
        mostrar(v);
        alAparecer<frmBuscarProductos>([](frmBuscarProductos& d) {
            d.findChild<QLineEdit*>(QStringLiteral("txtDescripcion"))
                ->setText(QStringLiteral("orni"));
            d.findChild<QPushButton*>(QStringLiteral("cmdAceptar"))->click();
        });
        boton(v, 5)->click();
        QCOMPARE(v.productos().registros()->cantidad(), 1);
        QCOMPARE(campo(v, 1)->text(), QStringLiteral("Tornillo"));
        // "Imprimir" reports exactly the products the window lists.
        int listados = -1;
        alAparecer<frmInforme>([&listados](frmInforme& informe) {
            listados = dteBodex().usar(QStringLiteral("ListadoProductos"))->cantidad();
            informe.close();
        });
        boton(v, 3)->click();
        QCOMPARE(listados, 1);
        boton(v, 0)->click();
        boton(v, 7)->click(); // "Cancelar" keeps the search
        QCOMPARE(v.productos().registros()->cantidad(), 1);

        // Category maintenance, modal, from the product window; its new
        // category is then offered.
        alAparecer<frmMantCategorias>([](frmMantCategorias& c) {
            boton(c, 0)->click();
            campo(c, 1)->setText(QStringLiteral("Bebidas"));
            boton(c, 2)->click();
            boton(c, 7)->click();
        });
        v.findChild<QPushButton*>(QStringLiteral("cmdCategorias"))->click();
        QCOMPARE(contar("CATEGORIAS"), 2);
        QVERIFY(v.findChild<ComboDatos*>(QStringLiteral("dtcCategorias"))
                    ->findText(QStringLiteral("Bebidas")) >= 0);
        v.close();
    }

    void productosAbiertosEnUnProducto() {
        const int tornillo = mundo
                                 ->leer(QStringLiteral(
                                     "SELECT ProId FROM PRODUCTOS WHERE ProDescripcion='Tornillo'"))
                                 .toInt();
        frmMantProductos& v = frmMantProductos::mostrar(tornillo);
        QCOMPARE(campo(v, 1)->text(), QStringLiteral("Tornillo"));
        // The same window again, on another product.
        const int arandela = mundo
                                 ->leer(QStringLiteral(
                                     "SELECT ProId FROM PRODUCTOS WHERE ProDescripcion='Arandela'"))
                                 .toInt();
        QCOMPARE(&frmMantProductos::mostrar(arandela), &v);
        QCOMPARE(campo(v, 1)->text(), QStringLiteral("Arandela"));
        v.close();
        QTRY_VERIFY(QApplication::topLevelWidgets().indexOf(&v) < 0);
    }

    void categorias() {
        mundo->categoria(QStringLiteral("Vieja"), true);
        frmMantCategorias v;
        mostrar(v);
        QCOMPARE(v.windowTitle(), QStringLiteral("Mantenimiento de Categorías - Tarvo"));
        QCOMPARE(textosBotones(v),
                 (QStringList{QStringLiteral("Nuevo|Ingresar una nueva categoría"),
                              QStringLiteral("Editar|Modificar la categoría seleccionada"),
                              QStringLiteral("Guardar|Guardar los cambios"),
                              QStringLiteral("Imprimir|Imprimir la lista de categorías"),
                              QStringLiteral("Buscar|Buscar por la descripción"),
                              QStringLiteral("Actualizar|Muestra todos los datos"),
                              QStringLiteral("Cancelar|Cancela la operación"),
                              QStringLiteral("Atras|Volver al menú principal"),
                              QStringLiteral("Eliminar|Elimina las Categorías desactivadas")}));
        auto* grilla = v.findChild<QTableView*>(QStringLiteral("dtgLista"));
        QCOMPARE(encabezadosVisibles(grilla),
                 (QStringList{QStringLiteral("Código"), QStringLiteral("Descripción"),
                              QStringLiteral("Desactivada")}));
        QCOMPARE(v.findChild<QGroupBox*>(QStringLiteral("marcoLista"))->title(),
                 QStringLiteral("LISTA DE CATEGORIAS"));
        QCOMPARE(campo(v, 1)->maxLength(), 50);
        QCOMPARE(habilitados(v), (QList<int>{0, 1, 3, 4, 5, 7, 8}));
        // The key is shown, never enabled.
        QCOMPARE(campo(v, 0)->text(), QString::number(ferreteria));
        boton(v, 0)->click();
        QVERIFY(!campo(v, 0)->isEnabled());
        QCOMPARE(habilitados(v), (QList<int>{2, 6, 7}));
        boton(v, 6)->click();
        QVERIFY(boton(v, 8)->isEnabled());

        mundo->mensajes().responder(Respuesta::Si);
        boton(v, 8)->click();
        QCOMPARE(contar("CATEGORIAS"), 1);
        QCOMPARE(mundo->textos().last().left(5), QStringLiteral("Listo"));

        mundo->mensajes().escribir(QStringLiteral("FERR"));
        boton(v, 4)->click();
        QCOMPARE(grilla->model()->rowCount(), 1);
        v.close();
    }

    void contactos() {
        mundo->ejecutar(QStringLiteral("INSERT INTO vinculos (VinId, VinDescripcion, "
                                       "VinDesactivado) VALUES (3, 'Antiguo', 1)"));
        mundo->ejecutar(QStringLiteral("INSERT INTO CONTACTOS (EmpNombreFantasia, VinId) VALUES "
                                       "('Viejo cliente', 3)"));
        frmMantContactos v;
        mostrar(v);
        QCOMPARE(v.windowTitle(), QStringLiteral("Mantenimiento de Contactos - Tarvo"));
        QCOMPARE(boton(v, 0)->toolTip(), QStringLiteral("Ingresar un nuevo proveedor"));
        QVERIFY(!boton(v, 8));
        auto* grilla = v.findChild<QTableView*>(QStringLiteral("dtgLista"));
        QCOMPARE(encabezadosVisibles(grilla).size(), 14);
        QCOMPARE(encabezadosVisibles(grilla).first(), QStringLiteral("Nombre"));
        QCOMPARE(encabezadosVisibles(grilla).last(), QStringLiteral("País"));
        QCOMPARE(v.findChild<QGroupBox*>(QStringLiteral("marcoLista"))->title(),
                 QStringLiteral("LISTA DE PROVEEDORES"));
        QCOMPARE(campo(v, 14)->maxLength(), 50);
        QCOMPARE(campo(v, 1)->maxLength(), 30);
        auto* vinculos = v.findChild<ComboDatos*>(QStringLiteral("dtcVinculos"));
        QCOMPARE(vinculos->count(), 2);
        QVERIFY(vinculos->findText(QStringLiteral("Antiguo")) < 0);

        // A contact whose relation is no longer offered keeps it when saved.
        QVERIFY(vinculos->currentText().isEmpty());
        boton(v, 1)->click();
        campo(v, 3)->setText(QStringLiteral("Calle 1"));
        boton(v, 2)->click();
        QCOMPARE(mundo->leer(QStringLiteral("SELECT VinId FROM CONTACTOS")).toInt(), 3);

        boton(v, 0)->click();
        QCOMPARE(vinculos->currentText(), QStringLiteral("Cliente"));
        boton(v, 2)->click();
        QCOMPARE(mundo->textos(),
                 QStringList{QStringLiteral("Debe ingresar el Nombre del Proveedor")});
        campo(v, 1)->setText(QStringLiteral("Acme"));
        vinculos->setCurrentText(QStringLiteral("Proveedor"));
        boton(v, 2)->click();
        QCOMPARE(mundo
                     ->leer(QStringLiteral("SELECT VinId FROM CONTACTOS WHERE "
                                           "EmpNombreFantasia='Acme'"))
                     .toInt(),
                 2);
        v.close();
    }
};

QTEST_MAIN(PruebaVentanasCatalogo)
#include "tst_ventanascatalogo.moc"
