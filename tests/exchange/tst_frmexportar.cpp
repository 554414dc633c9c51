// The export dialog driven through its controls, and the main window's menu
// item that opens it.
#include "comun/dialogos.h"
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"
#include "comun/selectoresguion.h"
#include "data/modconexion.h"
#include "exchange/ventanas/frmExportar.h"
#include "main/ventanas/frmPrincipal.h"
#include "platform/carpetas.h"
#include "users/sesion.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

class PruebaFrmExportar : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;
    std::unique_ptr<SelectoresGuion> elegidos;
    std::unique_ptr<Fixtura> datos;

    template <typename T> static T* control(QWidget& v, const char* nombre) {
        T* c = v.findChild<T*>(QString::fromLatin1(nombre));
        if (!c)
            qFatal("falta el control %s", nombre);
        return c;
    }
    static QString texto(QWidget& v, const char* nombre) {
        return control<QLabel>(v, nombre)->text();
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        elegidos = std::make_unique<SelectoresGuion>();
        const QString base = entorno->copiarBase();
        datos = std::make_unique<Fixtura>(base);
        abrirConexionDePrueba(base);
        establecerUsuarioActual(QStringLiteral("admin"));
    }
    void cleanup() {
        if (conexion())
            CerrarConexion();
        datos.reset();
        elegidos.reset();
        mensajes.reset();
        entorno.reset();
    }

    void controlesYTextos() {
        frmExportar v;
        QCOMPARE(v.windowTitle(), QStringLiteral("Exportar Productos - Tarvo"));
        QCOMPARE(texto(v, "Label3"), QStringLiteral("1"));
        QCOMPARE(texto(v, "Label4"), QStringLiteral("Seleccione el archivo de destino"));
        QCOMPARE(texto(v, "lblUbicacion"), QStringLiteral("Destino:"));
        QCOMPARE(texto(v, "Label5"), QStringLiteral("2"));
        QCOMPARE(texto(v, "Label6"), QStringLiteral("Oprima el botón Exportar"));
        QCOMPARE(texto(v, "Label7"),
                 QStringLiteral("El archivo exportado podrá abrirlo desde Microsoft Excel"));
        QCOMPARE(control<QPushButton>(v, "cmdExaminar")->text(), QStringLiteral("..."));
        QCOMPARE(control<QPushButton>(v, "cmdExportar")->text(), QStringLiteral("Exportar"));
        QCOMPARE(control<QPushButton>(v, "cmdCerrar")->text(), QStringLiteral("Cerrar"));
        QCOMPARE(control<QLabel>(v, "lblUbicacion")->buddy(), control<QLineEdit>(v, "txtDestino"));
        QVERIFY(control<QLineEdit>(v, "txtDestino")->text().isEmpty());
    }

    // The chooser opens in Documents, then where the user chose last;
    // cancelling it keeps what the box holds.
    void examinar() {
        frmExportar v;
        auto* txtDestino = control<QLineEdit>(v, "txtDestino");
        const QString elegido = entorno->ruta(QStringLiteral("Documents/lista"));
        elegidos->responder(elegido);
        QTest::mouseClick(control<QPushButton>(v, "cmdExaminar"), Qt::LeftButton);
        QCOMPARE(txtDestino->text(), elegido);
        QCOMPARE(elegidos->titulos(),
                 QStringList{QStringLiteral("Seleccione el destino de los datos exportados")});
        QCOMPARE(elegidos->filtros(),
                 QStringList{
                     QStringLiteral("Archivos de texto separados por tabuladores (*.txt)|*.txt")});

        txtDestino->setText(QStringLiteral("/tmp/escrito a mano.txt"));
        v.cmdExaminar_Click(); // cancelled
        QCOMPARE(txtDestino->text(), QStringLiteral("/tmp/escrito a mano.txt"));
        QCOMPARE(elegidos->propuestos(), (QStringList{CarpetaDocumentos(), elegido}));
        QVERIFY(CarpetaDocumentos().startsWith(entorno->home()));
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    void exportarYCerrar() {
        datos->conexion().ejecutar(
            QStringLiteral("INSERT INTO CATEGORIAS (CatDescripcion) VALUES ('General')"));
        datos->producto(QStringLiteral("Tornillo"));
        frmExportar v;
        v.show();
        QTest::mouseClick(control<QPushButton>(v, "cmdExportar"), Qt::LeftButton);
        QCOMPARE(mensajes->textos(), QStringList{QStringLiteral("Debe seleccionar el archivo "
                                                                "destino")});
        mensajes->limpiar();
        const QString ruta = entorno->ruta(QStringLiteral("Documents/productos.txt"));
        control<QLineEdit>(v, "txtDestino")->setText(ruta);
        QTest::mouseClick(control<QPushButton>(v, "cmdExportar"), Qt::LeftButton);
        QCOMPARE(mensajes->textos(), QStringList{QStringLiteral("Datos exportados correctamente")});
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().count("\r\n"), 2);
        // The dialog stays open after an export.
        QVERIFY(v.isVisible());
        QTest::mouseClick(control<QPushButton>(v, "cmdCerrar"), Qt::LeftButton);
        QVERIFY(!v.isVisible());
    }

    // "Exportar" opens the dialog modal, owned by the main window.
    void menuDeLaVentanaPrincipal() {
        frmPrincipal principal;
        bool visto = false;
        alAparecer<frmExportar>([&](frmExportar& d) {
            visto = true;
            QVERIFY(d.isModal());
            QCOMPARE(d.parentWidget(), &principal);
            d.close();
        });
        QAction* item = principal.findChild<QAction*>(QStringLiteral("mnuHerramientasExportar"));
        QVERIFY(item && item->isEnabled());
        item->trigger();
        QVERIFY(visto);
    }
};

QTEST_MAIN(PruebaFrmExportar)
#include "tst_frmexportar.moc"
