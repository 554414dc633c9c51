// Login, password encoding and the administrator check.
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"
#include "data/entornodatos.h"
#include "data/modconexion.h"
#include "startup/arranque.h"
#include "users/password.h"
#include "users/sesion.h"
#include "users/ventanas/frmLogin.h"
#include "users/ventanas/frmVerificaUsuario.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

class PruebaLogin : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;
    std::unique_ptr<Fixtura> datos;

    template <typename D> static void escribir(D& d, const QString& login, const QString& clave) {
        d.template findChild<QLineEdit*>(QStringLiteral("txtLogin"))->setText(login);
        d.template findChild<QLineEdit*>(QStringLiteral("txtPassword"))->setText(clave);
    }
    template <typename D> static void pulsar(D& d, const char* boton) {
        QTest::mouseClick(d.template findChild<QPushButton*>(QString::fromLatin1(boton)),
                          Qt::LeftButton);
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        const QString base = entorno->copiarBase();
        datos = std::make_unique<Fixtura>(base);
        abrirConexionDePrueba(base);
        dteBodex().establecerCadenaConexion(cadenaConexionInformes(QStringLiteral("PRUEBA")));
        establecerUsuarioActual(QString());
    }
    void cleanup() {
        dteBodex().cerrarConexion();
        CerrarConexion();
        datos.reset();
        mensajes.reset();
        entorno.reset();
    }

    void codificacion_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("codificado");
        QTest::newRow("vacío") << ""
                               << "";
        QTest::newRow("letras") << "abc"
                                << "bcd";
        QTest::newRow("mayúsculas") << "ABC"
                                    << "BCD";
        QTest::newRow("z y tilde") << "z~"
                                   << "{\x7f";
        QTest::newRow("ñ") << "ñ"
                           << "ò";
        // Windows-1252: € is 0x80, followed by the undefined 0x81; ‚ (0x82) by ƒ (0x83).
        QTest::newRow("euro") << "€" << QString(QChar(0x81));
        QTest::newRow("comilla baja") << QString(QChar(0x201A)) << QString(QChar(0x0192));
        QTest::newRow("0x9F sigue a 0xA0") << QString(QChar(0x0178)) << QString(QChar(0xA0));
        QTest::newRow("fuera de la página") << QString(QChar(0x0416)) << "@";
    }
    void codificacion() {
        QFETCH(QString, texto);
        QFETCH(QString, codificado);
        QCOMPARE(CodificarPassword(texto), codificado);
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    void caracterSinSucesor() {
        QCOMPARE(CodificarPassword(QStringLiteral("aÿ")), QString());
        QCOMPARE(mensajes->mostrados().size(), 1);
        QCOMPARE(mensajes->mostrados().first().icono, Icono::Exclamacion);
        QCOMPARE(mensajes->mostrados().first().titulo, QStringLiteral("Tarvo"));
    }

    void loginEncuentraSinDistinguirMayusculas() {
        frmLogin d;
        QCOMPARE(d.windowTitle(), QStringLiteral("Tarvo - Login"));
        QCOMPARE(d.findChild<QLineEdit*>(QStringLiteral("txtLogin"))->text(),
                 QStringLiteral("admin"));
        QCOMPARE(d.findChild<QLineEdit*>(QStringLiteral("txtPassword"))->echoMode(),
                 QLineEdit::Password);
        escribir(d, QStringLiteral("ADMIN"), QString());
        pulsar(d, "cmdOK");
        QVERIFY(d.LoginSucceeded);
        QCOMPARE(usuarioActual(), QStringLiteral("ADMIN"));
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    void passwordConAsteriscos() {
        frmLogin login;
        frmVerificaUsuario verificacion;
        for (QDialog* d : {static_cast<QDialog*>(&login), static_cast<QDialog*>(&verificacion)}) {
            auto* clave = d->findChild<QLineEdit*>(QStringLiteral("txtPassword"));
            clave->setText(QStringLiteral("ab"));
            QCOMPARE(clave->displayText(), QStringLiteral("**"));
        }
    }

    void loginConEspaciosSeBuscaRecortado() {
        frmLogin d;
        escribir(d, QStringLiteral("  admin "), QString());
        pulsar(d, "cmdOK");
        QVERIFY(d.LoginSucceeded);
        QCOMPARE(usuarioActual(), QStringLiteral("  admin "));
    }

    void passwordCodificadaDistingueMayusculas() {
        datos->usuario(QStringLiteral("pepe"), QStringLiteral("bcd"), QStringLiteral("Pepe"));
        frmLogin d;
        escribir(d, QStringLiteral("pepe"), QStringLiteral("ABC"));
        pulsar(d, "cmdOK");
        QVERIFY(!d.LoginSucceeded);
        QCOMPARE(mensajes->textos(), QStringList{QStringLiteral("Password incorrecta!")});
        QCOMPARE(mensajes->mostrados().first().titulo, QStringLiteral("Login"));
        // The user tries again, as often as wanted.
        escribir(d, QStringLiteral("pepe"), QStringLiteral("abc"));
        pulsar(d, "cmdOK");
        QVERIFY(d.LoginSucceeded);
        QCOMPARE(usuarioActual(), QStringLiteral("pepe"));
    }

    void passwordNulaAceptaLaVacia() {
        datos->usuario(QStringLiteral("ana"), QVariant(), QStringLiteral("Ana"));
        frmLogin d;
        escribir(d, QStringLiteral("ana"), QString());
        pulsar(d, "cmdOK");
        QVERIFY(d.LoginSucceeded);
        // An unencodable password never matches, not even an empty stored one.
        frmLogin otro;
        escribir(otro, QStringLiteral("ana"), QStringLiteral("ÿ"));
        pulsar(otro, "cmdOK");
        QVERIFY(!otro.LoginSucceeded);
    }

    void loginInexistenteOConComilla_data() {
        QTest::addColumn<QString>("login");
        QTest::newRow("inexistente") << "nadie";
        QTest::newRow("comilla") << "o'brien";
        QTest::newRow("inyección") << "x' OR '1'='1";
    }
    void loginInexistenteOConComilla() {
        QFETCH(QString, login);
        frmLogin d;
        escribir(d, login, QString());
        pulsar(d, "cmdOK");
        QVERIFY(!d.LoginSucceeded);
        QCOMPARE(mensajes->textos(), QStringList{QStringLiteral("Login incorrecto!")});
        QVERIFY(usuarioActual().isEmpty());
    }

    void cancelarOCerrar() {
        frmLogin d;
        pulsar(d, "cmdCancel");
        QVERIFY(!d.LoginSucceeded);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        frmLogin e;
        e.show();
        e.close();
        QVERIFY(!e.LoginSucceeded);
    }

    void verificacionAdministrador() {
        datos->usuario(QStringLiteral("admin"), CodificarPassword(QStringLiteral("clave")),
                       QStringLiteral("Administrador"));
        establecerUsuarioActual(QStringLiteral("pepe"));
        frmVerificaUsuario d;
        QCOMPARE(d.windowTitle(), QStringLiteral("Usuario Administrador requerido - Tarvo"));
        QVERIFY(d.findChild<QLabel*>(QStringLiteral("Label1"))
                    ->text()
                    .startsWith(QStringLiteral("Para  Eliminar datos")));
        escribir(d, QStringLiteral("Admin"), QStringLiteral("mala"));
        pulsar(d, "cmdOK");
        QVERIFY(!d.LoginSucceeded);
        QCOMPARE(mensajes->textos(), QStringList{QStringLiteral("Password incorrecta!")});
        escribir(d, QStringLiteral("Admin"), QStringLiteral("clave"));
        pulsar(d, "cmdOK");
        QVERIFY(d.LoginSucceeded);
        QCOMPARE(usuarioActual(), QStringLiteral("Admin"));
        QVERIFY(!dteBodex().abierto(QStringLiteral("Usuarios")));
    }

    void soloAdministradoresPasan() {
        datos->usuario(QStringLiteral("pepe"), QString(), QStringLiteral("Pepe"));
        frmVerificaUsuario d;
        escribir(d, QStringLiteral("pepe"), QString());
        pulsar(d, "cmdOK");
        QVERIFY(!d.LoginSucceeded);
        QCOMPARE(mensajes->textos(), QStringList{QStringLiteral("Login incorrecto!")});
        // Refused before any lookup: the environment's connection never opened.
        QVERIFY(!dteBodex().conexionAbierta());
        // super without a row.
        QVERIFY(datos->conexion()
                    .ejecutar(QStringLiteral("DELETE FROM USUARIOS WHERE "
                                             "UsuLogin='super'"))
                    .ok);
        escribir(d, QStringLiteral("super"), QString());
        pulsar(d, "cmdOK");
        QVERIFY(!d.LoginSucceeded);
        QCOMPARE(mensajes->textos().size(), 2);
        QCOMPARE(mensajes->textos().last(), QStringLiteral("Login incorrecto!"));
        pulsar(d, "cmdCancel");
        QVERIFY(!d.LoginSucceeded);
    }
};

QTEST_MAIN(PruebaLogin)
#include "tst_login.moc"
