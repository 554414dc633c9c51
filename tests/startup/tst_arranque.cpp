// The start-up sequence end to end, with its own HOME each time.
#include "app/arranque.h"
#include "comun/dialogos.h"
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"
#include "data/conexionsqlite.h"
#include "data/entornodatos.h"
#include "data/modconexion.h"
#include "data/versionsqlite.h"
#include "main/ventanas/frmPrincipal.h"
#include "platform/odbc.h"
#include "platform/reloj.h"
#include "platform/salida.h"
#include "startup/arranque.h"
#include "startup/copiaseguridad.h"
#include "startup/cqueryreg.h"
#include "startup/opciones.h"
#include "startup/ventanas/frmOpciones.h"
#include "startup/ventanas/frmPresentacion.h"
#include "users/sesion.h"
#include "users/ventanas/frmLogin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

struct ProgramaTerminado {};

// Logs in as admin with the empty password; records whether the splash was
// already up (it must not be before the login).
void entrarComoAdmin(bool* presentacionAntes = nullptr) {
    alAparecer<frmLogin>([presentacionAntes](frmLogin& login) {
        if (presentacionAntes)
            *presentacionAntes = ventanaVisible<frmPresentacion>() != nullptr;
        QTest::mouseClick(login.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
}

} // namespace

class PruebaArranque : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;

    QString documentos() const { return entorno->ruta(QStringLiteral("Documents")); }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        instalarTerminador([](int) { throw ProgramaTerminado(); });
        Reloj::fijar(QDate(2026, 12, 7));
    }
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->close();
        QApplication::processEvents();
        qDeleteAll(QApplication::topLevelWidgets());
        if (conexion())
            CerrarConexion();
        dteBodex().cerrarConexion();
        instalarTerminador({});
        Reloj::liberar();
        mensajes.reset();
        entorno.reset();
    }

    void nombresDeCuenta() {
        QCOMPARE(nombreCuenta(QStringLiteral("juan")), QStringLiteral("JUAN"));
        QCOMPARE(nombreOrigenDatos(nombreCuenta(QStringLiteral("juan"))),
                 QStringLiteral("TARVO_JUAN"));
        QVERIFY(cadenaConexionInformes(QStringLiteral("JUAN"))
                    .contains(QStringLiteral(";Data Source=TARVO_JUAN;")));
        QCOMPARE(nombreCuenta(QStringLiteral("maría.lópez@dominio")),
                 QStringLiteral("MARÍA.LÓPEZ_DOMINIO").replace(u'Í', u'_').replace(u'Ó', u'_'));
        QCOMPARE(nombreCuenta(QStringLiteral("un_nombre_de_cuenta_muy_largo")).size(), 19);
    }

    void primerInicioEnCuentaLimpia() {
        bool presentacionAntes = true;
        entrarComoAdmin(&presentacionAntes);
        Main();
        QVERIFY(!presentacionAntes);
        const QString tarvo = documentos() + QStringLiteral("/Tarvo");
        QVERIFY(QFileInfo(tarvo + QStringLiteral("/bd2000.mdb")).isFile());
        QVERIFY(QFileInfo(tarvo + QStringLiteral("/presupuesto.dot")).isFile());
        QVERIFY(QFileInfo(tarvo + QStringLiteral("/presupuestos")).isDir());
        QCOMPARE(carpetaTarvo(), tarvo);
        // The data source of this account points at the database.
        const QString origen = nombreOrigenDatos(nombreCuenta());
        const auto leido = odbc::leerOrigen(origen);
        QVERIFY(leido);
        QCOMPARE(leido->baseDatos, tarvo + QStringLiteral("/bd2000.mdb"));
        QCOMPARE(atributoConexion(dteBodex().cadenaConexion(), QStringLiteral("Data Source")),
                 origen);
        QVERIFY(!dteBodex().conexionAbierta());
        QVERIFY(conexion());
        QCOMPARE(usuarioActual(), QStringLiteral("admin"));
        QVERIFY(mensajes->mostrados().isEmpty()); // no database search
        QVERIFY(ventanaVisible<frmPrincipal>());
        QTRY_VERIFY(!ventanaVisible<frmPresentacion>());
    }

    void plantillaExistenteNoSeReemplaza() {
        const QString tarvo = documentos() + QStringLiteral("/Tarvo");
        QDir().mkpath(tarvo);
        QFile editada(tarvo + QStringLiteral("/presupuesto.dot"));
        QVERIFY(editada.open(QIODevice::WriteOnly));
        editada.write("plantilla editada");
        editada.close();
        entrarComoAdmin();
        Main();
        QVERIFY(editada.open(QIODevice::ReadOnly));
        QCOMPARE(editada.readAll(), QByteArray("plantilla editada"));
    }

    void baseNoEncontradaHastaElegirUna() {
        const QString buena = entorno->copiarBase(QStringLiteral("elegida.mdb"));
        entorno->ajustar(QStringLiteral("db_path"), entorno->ruta(QStringLiteral("falta.mdb")));
        int vueltas = 0;
        std::function<void(frmOpciones&)> elegir;
        elegir = [&](frmOpciones& f) {
            QVERIFY(!f.reiniciar);
            ++vueltas;
            // First a file that does not exist either, then a good one.
            f.findChild<QLineEdit*>(QStringLiteral("txtUbicacion"))
                ->setText(vueltas == 1 ? entorno->ruta(QStringLiteral("tampoco.mdb")) : buena);
            if (vueltas == 1)
                alAparecer<frmOpciones>(elegir);
            else
                entrarComoAdmin();
            f.aceptar();
        };
        alAparecer<frmOpciones>(elegir);
        Main();
        QCOMPARE(vueltas, 2);
        const QString titulo = QStringLiteral("No se ha encontrado la base de datos del programa.");
        int avisos = 0;
        for (const auto& m : mensajes->mostrados())
            if (m.titulo == titulo) {
                ++avisos;
                QVERIFY(m.texto.startsWith(QStringLiteral("A continuación se abrirá la pantalla "
                                                          "de opciones")));
            }
        QCOMPARE(avisos, 2);
        QCOMPARE(opciones().db_path, buena);
        QCOMPARE(odbc::leerOrigen(nombreOrigenDatos(nombreCuenta()))->baseDatos, buena);
        QVERIFY(ventanaVisible<frmPrincipal>());
    }

    // Settings that cannot be read are never a first start: no new database.
    void ajustesIlegiblesDetienenSinCrearNada() {
        const QString ajustes = entorno->ruta(QStringLiteral(".config/Varnel Software/Tarvo.conf"));
        QVERIFY(QDir().mkpath(ajustes));
        QVERIFY_THROWS_EXCEPTION(ProgramaTerminado, Main());
        QCOMPARE(mensajes->mostrados().size(), 1);
        QVERIFY(mensajes->mostrados().first().texto.contains(ajustes));
        QVERIFY(!QFileInfo::exists(documentos() + QStringLiteral("/Tarvo")));
        QVERIFY(QFileInfo(ajustes).isDir());
        QVERIFY(!conexion());
    }

    // A file without the program's tables is named as such and the options
    // are shown, as for a missing database.
    void baseSinTablasDelProgramaLlevaAOpciones() {
        const QString ajena = entorno->copiarBase(QStringLiteral("ajena.mdb"));
        {
            ConexionSqlite con(ajena);
            QVERIFY(con.ejecutar(QStringLiteral("DROP TABLE PRESUPUESTOS_PRODUCTOS")).ok);
            QVERIFY(con.ejecutar(QStringLiteral("DROP TABLE PRESUPUESTOS")).ok);
        }
        const QString buena = entorno->copiarBase(QStringLiteral("elegida.mdb"));
        entorno->ajustar(QStringLiteral("db_path"), ajena);
        alAparecer<frmOpciones>([&](frmOpciones& f) {
            f.findChild<QLineEdit*>(QStringLiteral("txtUbicacion"))->setText(buena);
            entrarComoAdmin();
            f.aceptar();
        });
        Main();
        QList<MensajesGuion::Mostrado> avisos;
        for (const auto& m : mensajes->mostrados())
            if (m.titulo == u"La base de datos no es válida")
                avisos.append(m);
        QCOMPARE(avisos.size(), 1);
        const auto& m = avisos.first();
        QVERIFY2(m.texto.startsWith(QStringLiteral("El archivo «") + ajena +
                                    QStringLiteral("» no es una base de datos de Tarvo: no "
                                                   "contiene la tabla PRESUPUESTOS.")),
                 qPrintable(m.texto));
        QCOMPARE(opciones().db_path, buena);
        QVERIFY(ventanaVisible<frmPrincipal>());
    }

    // A file of the first schema is upgraded before the connection opens, its
    // copy kept in the backup folder; the start goes on with the new schema.
    void baseAntiguaSeActualizaAlIniciar() {
        const QString carpeta = entorno->ruta(QStringLiteral("antigua"));
        QDir().mkpath(carpeta);
        const QString antigua = carpeta + QStringLiteral("/bd2000.mdb");
        QVERIFY(QFile::copy(QStringLiteral(TARVO_BD_VERSION_1), antigua));
        QFile::setPermissions(antigua, QFile::ReadOwner | QFile::WriteOwner);
        const QString respaldos = entorno->ruta(QStringLiteral("respaldos"));
        QDir().mkpath(respaldos);
        entorno->ajustar(QStringLiteral("db_path"), antigua);
        entorno->ajustar(QStringLiteral("db_backup"), respaldos);
        entrarComoAdmin();
        Main();
        QCOMPARE(versionArchivo(antigua), versionesquema::kActual);
        QCOMPARE(versionArchivo(respaldos + QStringLiteral("/bd2000-antes-de-version-2.mdb")), 1);
        QCOMPARE(mensajes->mostrados().size(), 1);
        QCOMPARE(mensajes->mostrados().first().titulo,
                 QStringLiteral("Actualización de la base de datos"));
        QVERIFY(ventanaVisible<frmPrincipal>());
    }

    // A file of a later schema is never opened: the start names both versions
    // and asks for another database, leaving the file untouched.
    void baseMasNuevaLlevaAOpciones() {
        const QString nueva = entorno->copiarBase(QStringLiteral("nueva.mdb"));
        {
            ConexionSqlite con(nueva);
            QVERIFY(
                con.ejecutar(
                       QStringLiteral("PRAGMA user_version = %1").arg(versionesquema::kActual + 1))
                    .ok);
        }
        QFile f(nueva);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray antes = f.readAll();
        f.close();
        const QString buena = entorno->copiarBase(QStringLiteral("elegida.mdb"));
        entorno->ajustar(QStringLiteral("db_path"), nueva);
        alAparecer<frmOpciones>([&](frmOpciones& o) {
            o.findChild<QLineEdit*>(QStringLiteral("txtUbicacion"))->setText(buena);
            entrarComoAdmin();
            o.aceptar();
        });
        Main();
        QCOMPARE(mensajes->mostrados().size(), 1);
        const QString texto = mensajes->mostrados().first().texto;
        QVERIFY2(texto.contains(QStringLiteral("versión %1").arg(versionesquema::kActual + 1)) &&
                     texto.contains(QStringLiteral("versión %1").arg(versionesquema::kActual)),
                 qPrintable(texto));
        QCOMPARE(opciones().db_path, buena);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), antes);
    }

    void loginCanceladoTermina() {
        alAparecer<frmLogin>([](frmLogin& login) {
            QTest::mouseClick(login.findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                              Qt::LeftButton);
        });
        QVERIFY_THROWS_EXCEPTION(ProgramaTerminado, Main());
        QVERIFY(!conexion());
        QVERIFY(!ventanaVisible<frmPresentacion>());
        QVERIFY(!ventanaVisible<frmPrincipal>());
    }

    void copiaAlIniciarYMismaFuenteDespues() {
        const QString respaldos = entorno->ruta(QStringLiteral("respaldos"));
        QDir().mkpath(respaldos);
        entorno->ajustar(QStringLiteral("db_backup"), respaldos);
        bool presentacionDuranteCopia = false;
        alAparecer<frmLogin>([&](frmLogin& login) {
            // The splash must be up while the copy runs: look right after login.
            alAparecer<frmPresentacion>([&](frmPresentacion&) { presentacionDuranteCopia = true; });
            QTest::mouseClick(login.findChild<QPushButton*>(QStringLiteral("cmdOK")),
                              Qt::LeftButton);
        });
        Main();
        QVERIFY(presentacionDuranteCopia);
        QVERIFY(QFileInfo(respaldos + u'/' + nombreCopiaSeguridad(QDate(2026, 12, 7))).isFile());
        // The program works on the same data source afterwards.
        QVERIFY(conexion());
        RegistrosPtr rs;
        AbrirConsulta(QStringLiteral("SELECT COUNT(*) FROM USUARIOS"), rs);
        QCOMPARE(rs->campo(0).toInt(), 2);
        QVERIFY(mensajes->mostrados().isEmpty());
    }
};

QTEST_MAIN(PruebaArranque)
#include "tst_arranque.moc"
