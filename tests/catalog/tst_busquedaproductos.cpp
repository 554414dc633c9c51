// The advanced product search: the condition it builds, run on real rows, and
// the dialog driven through its controls.
#include "catalog/busquedaproductos.h"
#include "catalog/ventanas/frmBuscarProductos.h"
#include "comun/dialogos.h"
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"
#include "data/entornodatos.h"
#include "data/modconexion.h"
#include "platform/ventanas/combodatos.h"
#include "startup/arranque.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

class PruebaBusquedaProductos : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;
    std::unique_ptr<Fixtura> datos;

    void ejecutar(const QString& sql, const QVariantList& valores = {}) {
        QVERIFY2(datos->conexion().ejecutar(sql, valores).ok,
                 qPrintable(datos->conexion().errores().value(0).descripcion));
    }
    // The descriptions of the products the condition selects, in order.
    QStringList buscar(const QString& condicion) {
        const ResultadoSentencia r = datos->conexion().ejecutar(
            QStringLiteral("SELECT ProDescripcion FROM PRODUCTOS WHERE ") + condicion +
            QStringLiteral(" ORDER BY PRODESCRIPCION ASC"));
        if (!r.ok)
            return {QStringLiteral("ERROR: ") + datos->conexion().errores().value(0).descripcion};
        QStringList d;
        for (int f = 0; f < r.filas->filas(); ++f)
            d << r.filas->texto(f, 0);
        return d;
    }
    static CondicionProductos condicionDe(const CriteriosProductos& c) {
        return construirCondicionProductos(c);
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        const QString base = entorno->copiarBase();
        datos = std::make_unique<Fixtura>(base);
        ejecutar(
            QStringLiteral("INSERT INTO CATEGORIAS (CatId, CatDescripcion, CatDesactivada) "
                           "VALUES (1, 'Ferretería', 0), (2, 'Bebidas', 0), (3, 'Viejas', 1)"));
        ejecutar(QStringLiteral(
            "INSERT INTO PRODUCTOS (ProCodigo, ProDescripcion, CatId, ProCosto, ProPrecio, "
            "ProUnidadMedida, ProMoneda, ProMinimo, ProDesactivado) VALUES "
            "('779', 'Tornillo 50%', 1, 10, 15, 'caja', 'U$S', 5, 0), "
            "('780', 'Tornillo 500', 1, 10, 20, 'caja', '$', 2, 0), "
            "(NULL, 'Llave O''Brien', 1, 7.5, 9, 'unidad', '$', 0, 0), "
            "(NULL, 'Agua a_b', 2, 1, 2, 'litro', '$', 0, 0), "
            "(NULL, 'Agua axb', 2, 1, 2, 'botella', 'EUR', 0, 1)"));
        abrirConexionDePrueba(base);
        dteBodex().establecerCadenaConexion(cadenaConexionInformes(QStringLiteral("PRUEBA")));
    }
    void cleanup() {
        if (conexion())
            CerrarConexion();
        dteBodex().cerrarConexion();
        datos.reset();
        mensajes.reset();
        entorno.reset();
    }

    void sinCriteriosLaCondicionEsUno() {
        const CondicionProductos r = condicionDe({});
        QVERIFY(r.valida);
        QCOMPARE(r.condicion, QStringLiteral("1"));
        // Every product, active or not.
        QCOMPARE(buscar(r.condicion).size(), 5);
    }

    void piezasEnElOrdenDelDialogo() {
        CriteriosProductos c;
        c.descripcion = QStringLiteral("ca");
        QCOMPARE(condicionDe(c).condicion, QStringLiteral("1 and ProDescripcion like '%ca%'"));

        c = {};
        c.porCategoria = true;
        c.catId = 1;
        c.costo = QStringLiteral("10");
        QCOMPARE(condicionDe(c).condicion, QStringLiteral("1 and CatId=1 and ProCosto=10"));

        c.codigo = QStringLiteral(" 77 ");
        c.descripcion = QStringLiteral("Torn");
        c.precio = QStringLiteral("15");
        c.unidad = QStringLiteral("caja");
        c.moneda = QStringLiteral("U$S ");
        c.stockMinimo = QStringLiteral("5");
        const CondicionProductos r = condicionDe(c);
        QVERIFY(r.valida);
        QCOMPARE(r.condicion,
                 QStringLiteral("1 and ProCodigo like '%77%' and ProDescripcion like '%Torn%' and "
                                "CatId=1 and ProCosto=10 and ProPrecio=15 and ProUnidadMedida "
                                "like '%caja%' and ProMoneda like '%U$S%' and ProMinimo=5"));
        QCOMPARE(buscar(r.condicion), QStringList{QStringLiteral("Tornillo 50%")});
    }

    void losTextosSeBuscanTalComoSon_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("encontrados");
        QTest::newRow("apóstrofo")
            << QStringLiteral("O'Brien") << QStringList{QStringLiteral("Llave O'Brien")};
        QTest::newRow("por ciento")
            << QStringLiteral("50%") << QStringList{QStringLiteral("Tornillo 50%")};
        QTest::newRow("guion bajo")
            << QStringLiteral("a_b") << QStringList{QStringLiteral("Agua a_b")};
        QTest::newRow("barra invertida") << QStringLiteral("a\\b") << QStringList{};
        QTest::newRow("inyección") << QStringLiteral("x' OR '1'='1") << QStringList{};
        QTest::newRow("mayúsculas")
            << QStringLiteral("TORNILLO 5")
            << QStringList{QStringLiteral("Tornillo 50%"), QStringLiteral("Tornillo 500")};
    }
    void losTextosSeBuscanTalComoSon() {
        QFETCH(QString, texto);
        QFETCH(QStringList, encontrados);
        CriteriosProductos c;
        c.descripcion = texto;
        const CondicionProductos r = condicionDe(c);
        QVERIFY(r.valida);
        QCOMPARE(buscar(r.condicion), encontrados);
    }

    void numerosQueNoLoSonSeRechazan() {
        CriteriosProductos c;
        c.descripcion = QStringLiteral("Tornillo");
        c.costo = QStringLiteral("diez");
        c.precio = QStringLiteral("1,5");
        c.stockMinimo = QStringLiteral("3 OR 1=1");
        const CondicionProductos r = condicionDe(c);
        QVERIFY(!r.valida);
        QCOMPARE(r.condicion, QStringLiteral("1"));
        QCOMPARE(r.mensaje, QStringLiteral("\r\nEl Costo debe ser un valor numérico."
                                           "\r\nEl Precio debe ser un valor numérico."
                                           "\r\nEl Stock Mínimo debe ser un valor numérico."
                                           "\r\nDebe utilizar el punto (.) como separador de "
                                           "decimales."));

        c.costo = QStringLiteral("7.5");
        c.precio = QStringLiteral(".5");
        c.stockMinimo.clear();
        c.descripcion.clear();
        QVERIFY(condicionDe(c).valida);
        QCOMPARE(condicionDe(c).condicion, QStringLiteral("1 and ProCosto=7.5 and ProPrecio=.5"));
    }

    void categoriaMarcadaSinElegirSeRechaza() {
        CriteriosProductos c;
        c.porCategoria = true;
        const CondicionProductos r = condicionDe(c);
        QVERIFY(!r.valida);
        QCOMPARE(r.mensaje, QStringLiteral("\r\nElija una Categoría de la lista o quite la marca "
                                           "de Categoría."));
        // Unticked, a category left in the combo counts for nothing.
        c.porCategoria = false;
        c.catId = 2;
        QCOMPARE(condicionDe(c).condicion, QStringLiteral("1"));
    }

    void elDialogoPorSusControles() {
        frmBuscarProductos dialogo;
        QCOMPARE(dialogo.windowTitle(), QStringLiteral("Búsqueda avanzada de productos - Tarvo"));
        QCOMPARE(dialogo.condicion, QStringLiteral("1"));
        QVERIFY(!dialogo.cancelado);
        auto* codigo = dialogo.findChild<QLineEdit*>(QStringLiteral("txtCodigo"));
        QCOMPARE(codigo->toolTip(), QStringLiteral("Código de barra (opcional)"));
        QStringList etiquetas;
        for (auto* l : dialogo.findChildren<QLabel*>()) {
            QVERIFY2(l->buddy(), qPrintable(l->text()));
            etiquetas << l->text();
        }
        QCOMPARE(etiquetas.size(), 7);
        QVERIFY(etiquetas.contains(QStringLiteral("Stock Mínimo:")));

        // Units and currencies of active products only; the combos start empty.
        auto* unidades = dialogo.findChild<QComboBox*>(QStringLiteral("dtcUnidades"));
        QStringList listadas;
        for (int i = 0; i < unidades->count(); ++i)
            listadas << unidades->itemText(i);
        listadas.sort();
        QCOMPARE(listadas, (QStringList{QStringLiteral("caja"), QStringLiteral("litro"),
                                        QStringLiteral("unidad")}));
        QVERIFY(unidades->currentText().isEmpty());
        QVERIFY(
            dialogo.findChild<QComboBox*>(QStringLiteral("dtcMonedas"))->currentText().isEmpty());

        // The category combo follows the tick box; it lists active categories.
        auto* marca = dialogo.findChild<QCheckBox*>(QStringLiteral("chkCategoria"));
        auto* categorias = dialogo.findChild<ComboDatos*>(QStringLiteral("dtcCategorias"));
        QVERIFY(!categorias->isEnabled());
        QCOMPARE(categorias->count(), 2);
        marca->click();
        QVERIFY(categorias->isEnabled());

        // Ticked with nothing chosen: the message, and the dialog stays open.
        dialogo.show();
        dialogo.findChild<QPushButton*>(QStringLiteral("cmdAceptar"))->click();
        QCOMPARE(mensajes->mostrados().size(), 1);
        QCOMPARE(mensajes->mostrados()[0].titulo, QStringLiteral("Verifique"));
        QCOMPARE(mensajes->mostrados()[0].icono, Icono::Informacion);
        QVERIFY(dialogo.isVisible());

        categorias->setCurrentText(QStringLiteral("bebidas"));
        QCOMPARE(categorias->valor().toInt(), 2);
        dialogo.findChild<QLineEdit*>(QStringLiteral("txtPrecio"))->setText(QStringLiteral("2"));
        dialogo.findChild<QPushButton*>(QStringLiteral("cmdAceptar"))->click();
        QVERIFY(!dialogo.isVisible());
        QVERIFY(!dialogo.cancelado);
        QCOMPARE(dialogo.condicion, QStringLiteral("1 and CatId=2 and ProPrecio=2"));
        QCOMPARE(buscar(dialogo.condicion),
                 (QStringList{QStringLiteral("Agua a_b"), QStringLiteral("Agua axb")}));
    }

    void cancelarYLaCajaDeCierreCancelan() {
        {
            frmBuscarProductos dialogo;
            alAparecer<frmBuscarProductos>([](frmBuscarProductos& d) {
                d.findChild<QPushButton*>(QStringLiteral("cmdCancelar"))->click();
            });
            QCOMPARE(dialogo.exec(), int(QDialog::Rejected));
            QVERIFY(dialogo.cancelado);
        }
        frmBuscarProductos dialogo;
        alAparecer<frmBuscarProductos>([](frmBuscarProductos& d) { d.close(); });
        dialogo.exec();
        QVERIFY(dialogo.cancelado);
        QCOMPARE(dialogo.condicion, QStringLiteral("1"));
    }
};

QTEST_MAIN(PruebaBusquedaProductos)
#include "tst_busquedaproductos.moc"
