// The current user's ODBC data sources: written with the installer, read back
// by this process and by unixODBC's own tool, kept inside the test's HOME.
#include "comun/entornoprueba.h"
#include "platform/odbc.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <memory>

namespace {

QString leerArchivo(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

} // namespace

class PruebaOdbc : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPrueba> entorno;

    QString archivoUsuario() const { return entorno->ruta(QStringLiteral(".odbc.ini")); }

private slots:
    void init() { entorno = std::make_unique<EntornoPrueba>(); }
    void cleanup() { entorno.reset(); }

    void escribeYLeeElOrigen_data() {
        QTest::addColumn<QString>("relativa");
        QTest::newRow("simple") << "bd2000.mdb";
        QTest::newRow("espacios y eñes") << "Mis Documentos/Presupuestos año 2024/bd2000.mdb";
        QTest::newRow("caracteres de comentario") << "datos#1;copia/bd2000.mdb";
        QTest::newRow("igual y corchetes") << "a=b/[x]/bd2000.mdb";
    }
    void escribeYLeeElOrigen() {
        QFETCH(QString, relativa);
        const QString ruta = entorno->ruta(relativa);
        QVERIFY(odbc::escribirOrigenUsuario(QStringLiteral("TARVO_PRUEBA"), odbc::driverSqlite(),
                                            ruta));
        const auto origen = odbc::leerOrigen(QStringLiteral("TARVO_PRUEBA"));
        QVERIFY(origen);
        QCOMPARE(origen->driver, QStringLiteral("SQLite3"));
        QCOMPARE(origen->baseDatos, ruta);
        // It lives in the test's own user file, not in the account's.
        const QString contenido = leerArchivo(archivoUsuario());
        QVERIFY(contenido.contains(QStringLiteral("[TARVO_PRUEBA]")));
        QVERIFY(contenido.contains(QStringLiteral("Database=") + ruta));
    }

    void segundaEscrituraRedirigeElMismoOrigen() {
        const QString a = entorno->ruta(QStringLiteral("a/bd2000.mdb"));
        const QString b = entorno->ruta(QStringLiteral("b/bd2000.mdb"));
        QVERIFY(
            odbc::escribirOrigenUsuario(QStringLiteral("TARVO_PRUEBA"), odbc::driverSqlite(), a));
        QCOMPARE(odbc::leerOrigen(QStringLiteral("TARVO_PRUEBA"))->baseDatos, a);
        QVERIFY(
            odbc::escribirOrigenUsuario(QStringLiteral("TARVO_PRUEBA"), odbc::driverSqlite(), b));
        QCOMPARE(odbc::leerOrigen(QStringLiteral("TARVO_PRUEBA"))->baseDatos, b);
        const QString contenido = leerArchivo(archivoUsuario());
        QCOMPARE(contenido.count(QStringLiteral("[TARVO_PRUEBA]")), 1);
        QVERIFY(!contenido.contains(a));
    }

    void otrasFuentesNoSeTocan() {
        const QString a = entorno->ruta(QStringLiteral("a.mdb"));
        const QString b = entorno->ruta(QStringLiteral("b.mdb"));
        QVERIFY(odbc::escribirOrigenUsuario(QStringLiteral("TARVO_ANA"), odbc::driverSqlite(), a));
        QVERIFY(odbc::escribirOrigenUsuario(QStringLiteral("TARVO_LUIS"), odbc::driverSqlite(), b));
        QVERIFY(odbc::escribirOrigenUsuario(QStringLiteral("TARVO_ANA"), odbc::driverSqlite(), b));
        QCOMPARE(odbc::leerOrigen(QStringLiteral("TARVO_LUIS"))->baseDatos, b);
        QCOMPARE(odbc::leerOrigen(QStringLiteral("TARVO_ANA"))->baseDatos, b);
    }

    void nombresQueElInstaladorRechaza_data() {
        QTest::addColumn<QString>("nombre");
        QTest::newRow("vacío") << "";
        QTest::newRow("corchete") << "TARVO_[X";
        QTest::newRow("punto y coma") << "TARVO;X";
        QTest::newRow("igual") << "TARVO=X";
        QTest::newRow("llave") << "TARVO{X}";
        QTest::newRow("asterisco") << "TARVO*";
        QTest::newRow("más de 32 caracteres") << "TARVO_NOMBRE_DE_CUENTA_MUY_LARGO_X";
    }
    void nombresQueElInstaladorRechaza() {
        QFETCH(QString, nombre);
        QVERIFY(!odbc::escribirOrigenUsuario(nombre, odbc::driverSqlite(),
                                             entorno->ruta(QStringLiteral("bd2000.mdb"))));
        QVERIFY(!odbc::leerOrigen(nombre));
        QVERIFY(!leerArchivo(archivoUsuario()).contains(QStringLiteral("Database=")));
    }

    void archivoDeUsuarioInaccesible() {
        const QByteArray propio = qgetenv("ODBCINI");
        qputenv("ODBCINI", entorno->ruta(QStringLiteral("no/existe/.odbc.ini")).toUtf8());
        const bool escrito =
            odbc::escribirOrigenUsuario(QStringLiteral("TARVO_PRUEBA"), odbc::driverSqlite(),
                                        entorno->ruta(QStringLiteral("x.mdb")));
        qputenv("ODBCINI", propio);
        QVERIFY(!escrito);
        QVERIFY(!odbc::leerOrigen(QStringLiteral("TARVO_PRUEBA")));
    }

    void origenDesconocido() {
        QVERIFY(!odbc::leerOrigen(QStringLiteral("TARVO_NADIE")));
        QVERIFY(!odbc::leerOrigen(QString()));
    }

    // Each test's HOME has its own data sources: what an earlier world wrote or
    // read is not seen by the next one, although unixODBC caches what it reads.
    void cadaEntornoVeSoloSusOrigenes() {
        const QString primera = entorno->ruta(QStringLiteral("bd2000.mdb"));
        QVERIFY(odbc::escribirOrigenUsuario(QStringLiteral("TARVO_PRUEBA"), odbc::driverSqlite(),
                                            primera));
        QCOMPARE(odbc::leerOrigen(QStringLiteral("TARVO_PRUEBA"))->baseDatos, primera);

        entorno = std::make_unique<EntornoPrueba>();
        QVERIFY(!odbc::leerOrigen(QStringLiteral("TARVO_PRUEBA")));
        const QString segunda = entorno->ruta(QStringLiteral("bd2000.mdb"));
        QVERIFY(odbc::escribirOrigenUsuario(QStringLiteral("TARVO_PRUEBA"), odbc::driverSqlite(),
                                            segunda));
        QCOMPARE(odbc::leerOrigen(QStringLiteral("TARVO_PRUEBA"))->baseDatos, segunda);

        entorno = std::make_unique<EntornoPrueba>();
        QVERIFY(!odbc::leerOrigen(QStringLiteral("TARVO_PRUEBA")));
    }

    // A real data source: unixODBC's own tool finds it in the same file.
    void otrasHerramientasVenElOrigen() {
        const QString herramienta = QStandardPaths::findExecutable(QStringLiteral("odbcinst"));
        if (herramienta.isEmpty())
            QSKIP("odbcinst no está instalado");
        const QString ruta = entorno->ruta(QStringLiteral("bd2000.mdb"));
        QVERIFY(odbc::escribirOrigenUsuario(QStringLiteral("TARVO_PRUEBA"), odbc::driverSqlite(),
                                            ruta));
        QProcess p;
        p.start(herramienta, {QStringLiteral("-q"), QStringLiteral("-s"), QStringLiteral("-n"),
                              QStringLiteral("TARVO_PRUEBA")});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 0);
        const QString salida = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(salida.contains(QStringLiteral("Driver=SQLite3")), qPrintable(salida));
        QVERIFY2(salida.contains(QStringLiteral("Database=") + ruta), qPrintable(salida));
    }

    void reconoceElDriverSqlite_data() {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<bool>("esSqlite");
        QTest::newRow("nombre") << "SQLite3" << true;
        QTest::newRow("nombre en minúsculas") << "sqlite3" << true;
        QTest::newRow("biblioteca") << "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so" << true;
        QTest::newRow("SQLite 2") << "SQLite" << false;
        QTest::newRow("otro") << "Access" << false;
        QTest::newRow("otra biblioteca") << "/opt/bodex/libbodexodbc.so" << false;
        QTest::newRow("vacío") << "" << false;
    }
    void reconoceElDriverSqlite() {
        QFETCH(QString, driver);
        QFETCH(bool, esSqlite);
        QCOMPARE(odbc::esDriverSqlite(driver), esSqlite);
    }
};

QTEST_GUILESS_MAIN(PruebaOdbc)
#include "tst_odbc.moc"
