// The import dialog driven through its controls: progress, cancel, closing
// midway, a missing data source, and the main window's menu item.
#include "comun/dialogos.h"
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"
#include "comun/origenprueba.h"
#include "data/modconexion.h"
#include "exchange/ventanas/frmImportar.h"
#include "main/ventanas/frmPrincipal.h"
#include "users/sesion.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

class PruebaFrmImportar : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;
    std::unique_ptr<Fixtura> datos;
    // The dialog always reads "BODEX", and the ODBC driver manager keeps
    // where a name pointed for the whole process: every test's source lives
    // at this one path.
    QTemporaryDir carpetaOrigen;

    template <typename T> static T* control(QWidget& v, const char* nombre) {
        T* c = v.findChild<T*>(QString::fromLatin1(nombre));
        if (!c)
            qFatal("falta el control %s", nombre);
        return c;
    }
    // "BODEX" with one category and `productos` products.
    void origenBodex(int productos) {
        OrigenPrueba origen(carpetaOrigen.filePath(QStringLiteral("bodex.db")));
        origen.categoria(4, QStringLiteral("General"));
        origen.ejecutar(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                       "FROM n WHERE i < ?) INSERT INTO productos (ProId, "
                                       "ProDescripcion, CatId) SELECT i, 'Producto ' || i, 4 "
                                       "FROM n"),
                        {productos});
        origen.registrar(QStringLiteral("BODEX"));
    }

    // Runs the import and, once the products are being written, does `accion`.
    void importarY(frmImportar& v, const std::function<void()>& accion) {
        bool hecho = false;
        QTimer espia;
        espia.setInterval(0);
        connect(&espia, &QTimer::timeout, this, [&] {
            if (!hecho && control<QLabel>(v, "lblProgreso")
                              ->text()
                              .startsWith(QStringLiteral("Importando productos: 250"))) {
                hecho = true;
                accion();
            }
        });
        espia.start();
        v.cmdImportar_Click();
        espia.stop();
        QVERIFY(hecho);
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        const QString base = entorno->copiarBase();
        datos = std::make_unique<Fixtura>(base);
        abrirConexionDePrueba(base);
        establecerUsuarioActual(QStringLiteral("admin"));
    }
    void cleanup() {
        if (conexion())
            CerrarConexion();
        datos.reset();
        mensajes.reset();
        entorno.reset();
    }

    void controlesYTextos() {
        frmImportar v;
        QCOMPARE(v.windowTitle(), QStringLiteral("Comienza la importación de datos."));
        QCOMPARE(control<QLabel>(v, "Label1")->text(),
                 QStringLiteral("Asistente para importación de datos desde Bodex."));
        QCOMPARE(control<QLabel>(v, "Label2")->text(),
                 QStringLiteral("Debe tener instalada la versión estándard de Bodex."));
        auto* cmdImportar = control<QPushButton>(v, "cmdImportar");
        QCOMPARE(cmdImportar->text(), QStringLiteral("Importar"));
        QCOMPARE(cmdImportar->toolTip(), QStringLiteral("Comienza la importación de datos."));
        auto* cmdCerrar = control<QPushButton>(v, "cmdCerrar");
        QCOMPARE(cmdCerrar->text(), QStringLiteral("Cerrar"));
        QCOMPARE(cmdCerrar->toolTip(), QStringLiteral("Cerrar"));
        QVERIFY(!control<QPushButton>(v, "cmdCancelar")->isEnabled());
        v.show();
        QVERIFY(!control<QProgressBar>(v, "prgProgreso")->isVisible());
        QTest::mouseClick(cmdCerrar, Qt::LeftButton);
        QVERIFY(!v.isVisible());
    }

    // While it runs the window shows each table's progress and answers to
    // events; at the end one summary.
    void importaConAvanceYResumen() {
        origenBodex(600);
        frmImportar v;
        v.show();
        auto* lblProgreso = control<QLabel>(v, "lblProgreso");
        auto* prgProgreso = control<QProgressBar>(v, "prgProgreso");
        QStringList vistos;
        int maximo = 0;
        QTimer espia;
        espia.setInterval(0);
        connect(&espia, &QTimer::timeout, this, [&] {
            if (!v.importando())
                return;
            QVERIFY(prgProgreso->isVisible());
            QVERIFY(!control<QPushButton>(v, "cmdImportar")->isEnabled());
            if (vistos.isEmpty() || vistos.last() != lblProgreso->text())
                vistos << lblProgreso->text();
            maximo = std::max(maximo, prgProgreso->maximum());
        });
        espia.start();
        QTest::mouseClick(control<QPushButton>(v, "cmdImportar"), Qt::LeftButton);
        espia.stop();
        QVERIFY2(vistos.contains(QStringLiteral("Leyendo productos de Bodex…")),
                 qPrintable(vistos.join(u'\n')));
        QVERIFY2(vistos.contains(QStringLiteral("Importando productos: 250 de 600")),
                 qPrintable(vistos.join(u'\n')));
        QCOMPARE(maximo, 600);
        QCOMPARE(mensajes->textos(),
                 QStringList{QStringLiteral("Importación terminada.\r\n\r\nCategorías: 1\r\n"
                                            "Productos: 600\r\nSectores: 0\r\nProveedores: 0")});
        QCOMPARE(datos->contar(QStringLiteral("PRODUCTOS")), 600);
        QVERIFY(control<QPushButton>(v, "cmdImportar")->isEnabled());
        QVERIFY(!prgProgreso->isVisible());
        QVERIFY(v.isVisible());
    }

    void cancelarDeshace() {
        origenBodex(600);
        frmImportar v;
        v.show();
        importarY(v, [&] {
            // Categories and some products have been written by now.
            QTest::mouseClick(control<QPushButton>(v, "cmdCancelar"), Qt::LeftButton);
        });
        QCOMPARE(mensajes->textos(),
                 QStringList{QStringLiteral("Importación cancelada.\r\nNo se importó ningún dato: "
                                            "la base de datos quedó como estaba.")});
        QCOMPARE(datos->contar(QStringLiteral("PRODUCTOS")), 0);
        QCOMPARE(datos->contar(QStringLiteral("CATEGORIAS")), 0);
        QVERIFY(v.isVisible());
        QVERIFY(!v.importando());
        QVERIFY(control<QPushButton>(v, "cmdImportar")->isEnabled());
    }

    // Closing the window midway stops the import, undoes it, and then closes.
    void cerrarDuranteLaImportacion() {
        origenBodex(600);
        frmImportar v;
        v.show();
        importarY(v, [&] {
            v.close();
            // Still open until the import has been undone.
            QVERIFY(v.isVisible());
        });
        QVERIFY(!v.isVisible());
        QCOMPARE(mensajes->textos().size(), 1);
        QVERIFY(mensajes->textos().first().startsWith(QStringLiteral("Importación cancelada.")));
        QCOMPARE(datos->contar(QStringLiteral("PRODUCTOS")), 0);
    }

    void sinOrigenLaVentanaSigueUsable() {
        frmImportar v;
        v.show();
        QTest::mouseClick(control<QPushButton>(v, "cmdImportar"), Qt::LeftButton);
        QCOMPARE(mensajes->mostrados().size(), 1);
        QVERIFY(mensajes->textos().first().startsWith(
            QStringLiteral("No se puede abrir el origen de datos \"BODEX\" de Bodex.")));
        QVERIFY(v.isVisible());
        QVERIFY(control<QPushButton>(v, "cmdImportar")->isEnabled());
        QVERIFY(!control<QPushButton>(v, "cmdCancelar")->isEnabled());

        // Once the source exists the same window imports.
        mensajes->limpiar();
        origenBodex(3);
        QTest::mouseClick(control<QPushButton>(v, "cmdImportar"), Qt::LeftButton);
        QCOMPARE(datos->contar(QStringLiteral("PRODUCTOS")), 3);
    }

    // "Importar" opens the dialog modal.
    void menuDeLaVentanaPrincipal() {
        frmPrincipal principal;
        bool visto = false;
        alAparecer<frmImportar>([&](frmImportar& d) {
            visto = true;
            QVERIFY(d.isModal());
            d.close();
        });
        QAction* item = principal.findChild<QAction*>(QStringLiteral("mnuArchivoImportar"));
        QVERIFY(item && item->isEnabled());
        item->trigger();
        QVERIFY(visto);
    }
};

QTEST_MAIN(PruebaFrmImportar)
#include "tst_frmimportar.moc"
