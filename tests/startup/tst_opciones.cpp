// Loading the settings: defaults written back, folders and the database prepared.
#include "comun/entornoprueba.h"
#include "comun/mensajesguion.h"
#include "platform/carpetas.h"
#include "startup/cqueryreg.h"
#include "startup/opciones.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

#include <memory>

class PruebaOpciones : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;

    QString documentos() const { return entorno->ruta(QStringLiteral("Documents")); }
    QString archivoAjustes() const {
        return entorno->ruta(QStringLiteral(".config/Varnel Software/Tarvo.conf"));
    }
    QString valor(const QString& nombre) const {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope,
                    QStringLiteral("Varnel Software"), QStringLiteral("Tarvo"));
        return s.value(nombre).toString();
    }
    bool existe(const QString& nombre) const {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope,
                    QStringLiteral("Varnel Software"), QStringLiteral("Tarvo"));
        return s.contains(nombre);
    }
    void guardar(const QString& nombre, const QString& texto) const {
        long estado = 0;
        cQueryReg().SetReg(claveTarvo(), nombre, texto, cQueryReg::HKEY_CURRENT_USER,
                           cQueryReg::REG_SZ, true, estado);
        QCOMPARE(estado, cQueryReg::kExito);
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        const QString programa = entorno->ruta(QStringLiteral("programa"));
        QDir().mkpath(programa);
        QFile::copy(rutaBasePristina(), programa + QStringLiteral("/bd2000.mdb"));
        establecerCarpetaPrograma(programa);
    }
    void cleanup() {
        establecerCarpetaPrograma({});
        mensajes.reset();
        entorno.reset();
    }

    void cuentaNuevaRecibeTodo() {
        CargarOpciones();
        const QString tarvo = documentos() + QStringLiteral("/Tarvo");
        QCOMPARE(valor(QStringLiteral("db_path")), tarvo + QStringLiteral("/bd2000.mdb"));
        QCOMPARE(valor(QStringLiteral("doc_path")), tarvo + QStringLiteral("/presupuestos"));
        for (const char* vacio : {"db_backup", "logo_path", "empresa"}) {
            QVERIFY2(existe(QString::fromLatin1(vacio)), vacio);
            QCOMPARE(valor(QString::fromLatin1(vacio)), QString());
        }
        QCOMPARE(valor(QStringLiteral("iva")), QStringLiteral("0.0"));
        QCOMPARE(valor(QStringLiteral("aviso_dias")), QStringLiteral("0"));
        QCOMPARE(valor(QStringLiteral("ultimo_login")), QStringLiteral("admin"));
        QVERIFY(QFileInfo(tarvo + QStringLiteral("/presupuestos")).isDir());
        QFile copia(tarvo + QStringLiteral("/bd2000.mdb"));
        QFile original(rutaBasePristina());
        QVERIFY(copia.open(QIODevice::ReadOnly) && original.open(QIODevice::ReadOnly));
        QCOMPARE(copia.readAll(), original.readAll());
        // The in-memory copies.
        QCOMPARE(opciones().db_path, tarvo + QStringLiteral("/bd2000.mdb"));
        QCOMPARE(opciones().iva, 0.0);
        QCOMPARE(opciones().aviso_dias, 0);
        QCOMPARE(opciones().ultimo_login, QStringLiteral("admin"));
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    void segundaVueltaNoEscribeNada() {
        CargarOpciones();
        const QFileInfo antes(archivoAjustes());
        QVERIFY(antes.exists());
        QFile archivo(archivoAjustes());
        QVERIFY(archivo.open(QIODevice::ReadOnly));
        const QByteArray contenido = archivo.readAll();
        archivo.close();
        QTest::qWait(20);
        CargarOpciones();
        QCOMPARE(QFileInfo(archivoAjustes()).lastModified(), antes.lastModified());
        QVERIFY(archivo.open(QIODevice::ReadOnly));
        QCOMPARE(archivo.readAll(), contenido);
    }

    void baseExistenteNoSeReemplaza() {
        const QString tarvo = documentos() + QStringLiteral("/Tarvo");
        QDir().mkpath(tarvo);
        QFile propia(tarvo + QStringLiteral("/bd2000.mdb"));
        QVERIFY(propia.open(QIODevice::WriteOnly));
        propia.write("datos del usuario");
        propia.close();
        CargarOpciones();
        QVERIFY(propia.open(QIODevice::ReadOnly));
        QCOMPARE(propia.readAll(), QByteArray("datos del usuario"));
    }

    void iva_data() {
        QTest::addColumn<QString>("guardado");
        QTest::addColumn<double>("tasa");
        QTest::addColumn<QString>("queda");
        QTest::addColumn<int>("avisos");
        QTest::newRow("21 se conserva") << "21" << 21.0 << "21" << 0;
        QTest::newRow("0 se reescribe") << "0" << 0.0 << "0.0" << 0;
        QTest::newRow("decimal con punto") << "10.5" << 10.5 << "10.5" << 0;
        QTest::newRow("decimal con coma") << "10,5" << 10.5 << "10,5" << 0;
        QTest::newRow("letras: aviso y cero") << "abc" << 0.0 << "0.0" << 1;
    }
    void iva() {
        QFETCH(QString, guardado);
        QFETCH(double, tasa);
        QFETCH(QString, queda);
        QFETCH(int, avisos);
        guardar(QStringLiteral("iva"), guardado);
        CargarOpciones();
        QCOMPARE(opciones().iva, tasa);
        QCOMPARE(valor(QStringLiteral("iva")), queda);
        QCOMPARE(mensajes->mostrados().size(), avisos);
    }

    void diasDeAviso_data() {
        QTest::addColumn<QString>("guardado");
        QTest::addColumn<int>("dias");
        QTest::addColumn<QString>("queda");
        QTest::addColumn<int>("avisos");
        QTest::newRow("número") << "12" << 12 << "12" << 0;
        QTest::newRow("letras") << "abc" << 0 << "0" << 0;
        QTest::newRow("decimal redondea") << "2.5" << 2 << "2.5" << 0;
        QTest::newRow("fuera de rango") << "40000" << 0 << "0" << 1;
        QTest::newRow("límite") << "32767" << 32767 << "32767" << 0;
    }
    void diasDeAviso() {
        QFETCH(QString, guardado);
        QFETCH(int, dias);
        QFETCH(QString, queda);
        QFETCH(int, avisos);
        guardar(QStringLiteral("aviso_dias"), guardado);
        CargarOpciones();
        QCOMPARE(opciones().aviso_dias, dias);
        QCOMPARE(valor(QStringLiteral("aviso_dias")), queda);
        QCOMPARE(mensajes->mostrados().size(), avisos);
    }

    void valoresPresentesSeUsanTalCual() {
        guardar(QStringLiteral("db_path"), QStringLiteral("/srv/datos/bd2000.mdb"));
        guardar(QStringLiteral("empresa"), QStringLiteral("Acme S.A."));
        guardar(QStringLiteral("ultimo_login"), QStringLiteral("pepe"));
        CargarOpciones();
        QCOMPARE(opciones().db_path, QStringLiteral("/srv/datos/bd2000.mdb"));
        QCOMPARE(opciones().empresa, QStringLiteral("Acme S.A."));
        QCOMPARE(opciones().ultimo_login, QStringLiteral("pepe"));
        // Nothing was prepared for a database that lives elsewhere.
        QVERIFY(!QFileInfo::exists(documentos() + QStringLiteral("/Tarvo/bd2000.mdb")));
    }

    void valorDeLaMaquinaPasaAlUsuario() {
        {
            QSettings maquina(QSettings::NativeFormat, QSettings::SystemScope,
                              QStringLiteral("Varnel Software"), QStringLiteral("Tarvo"));
            maquina.setValue(QStringLiteral("db_path"), QStringLiteral("/srv/bd2000.mdb"));
            maquina.setValue(QStringLiteral("doc_path"), QStringLiteral("/srv/presupuestos"));
        }
        CargarOpciones();
        QCOMPARE(valor(QStringLiteral("db_path")), QStringLiteral("/srv/bd2000.mdb"));
        QCOMPARE(valor(QStringLiteral("doc_path")), QStringLiteral("/srv/presupuestos"));
        QVERIFY(!QFileInfo::exists(documentos() + QStringLiteral("/Tarvo")));
    }

    void faltaLaBaseDelPrograma() {
        establecerCarpetaPrograma(entorno->ruta(QStringLiteral("vacia")));
        CargarOpciones();
        QCOMPARE(mensajes->mostrados().size(), 1);
        QVERIFY(mensajes->textos().first().contains(QStringLiteral("bd2000.mdb")));
        QCOMPARE(opciones().db_path, documentos() + QStringLiteral("/Tarvo/bd2000.mdb"));
        QVERIFY(!QFileInfo::exists(opciones().db_path));
    }

    void carpetaQueNoSePuedeCrear() {
        // A file where the program's folder should be.
        QFile estorbo(documentos() + QStringLiteral("/Tarvo"));
        QVERIFY(estorbo.open(QIODevice::WriteOnly));
        estorbo.close();
        CargarOpciones();
        QVERIFY(!mensajes->mostrados().isEmpty());
        QVERIFY(mensajes->textos().first().startsWith(QStringLiteral("No se pudo crear la "
                                                                     "carpeta")));
        // Every value is still there for the next steps.
        QCOMPARE(valor(QStringLiteral("ultimo_login")), QStringLiteral("admin"));
    }
};

QTEST_GUILESS_MAIN(PruebaOpciones)
#include "tst_opciones.moc"
