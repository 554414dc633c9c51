// The registry layer over the settings files.
#include "comun/entornoprueba.h"
#include "startup/cqueryreg.h"

#include <QSettings>
#include <QTest>

#include <memory>

namespace {
const QString kClave = QStringLiteral("Software\\Varnel Software\\Tarvo");
constexpr quint32 HKCU = cQueryReg::HKEY_CURRENT_USER;
} // namespace

class PruebaRegistro : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPrueba> entorno;
    cQueryReg reg;

    long escribir(const QString& clave, const QString& nombre, const QVariant& valor, quint32 raiz,
                  int tipo, bool crear = true) {
        long estado = -1;
        reg.SetReg(clave, nombre, valor, raiz, tipo, crear, estado);
        return estado;
    }

private slots:
    void init() { entorno = std::make_unique<EntornoPrueba>(); }
    void cleanup() { entorno.reset(); }

    void resolucionDeRaices_data() {
        QTest::addColumn<QString>("clave");
        QTest::addColumn<quint32>("raiz");
        QTest::addColumn<quint32>("resuelta");
        QTest::addColumn<QString>("ruta");
        const quint32 CR = cQueryReg::HKEY_CLASSES_ROOT, CU = cQueryReg::HKEY_CURRENT_USER,
                      LM = cQueryReg::HKEY_LOCAL_MACHINE, U = cQueryReg::HKEY_USERS,
                      CC = cQueryReg::HKEY_CURRENT_CONFIG, DD = cQueryReg::HKEY_DYN_DATA,
                      PD = cQueryReg::HKEY_PERFORMANCE_DATA;
        QTest::newRow("HKCU prefijo, raíz cualquiera")
            << "HKCU\\Software\\X" << LM << CU << "Software\\X";
        QTest::newRow("HKLM prefijo va al usuario")
            << "HKLM\\Software\\X" << CR << CU << "Software\\X";
        QTest::newRow("HKCR prefijo") << "HKCR\\.txt" << CU << CR << ".txt";
        QTest::newRow("HKU prefijo") << "HKU\\x" << CU << U << "x";
        QTest::newRow("HKCC prefijo") << "HKCC\\x" << CU << CC << "x";
        QTest::newRow("HKDD prefijo") << "HKDD\\x" << CU << DD << "x";
        QTest::newRow("nombre HKEY en la ruta")
            << "HKEY_CURRENT_USER\\Software\\X" << CR << CU << "Software\\X";
        QTest::newRow("HKEY_LOCAL_MACHINE por nombre")
            << "HKEY_LOCAL_MACHINE\\Software" << CU << CR << "Software";
        QTest::newRow("nombre HKEY sin barra") << "HKEY_USERS" << CU << U << "";
        QTest::newRow("raíz usuario sin prefijo") << "Software\\X" << CU << CU << "Software\\X";
        QTest::newRow("raíz máquina sin prefijo") << "Software\\X" << LM << CR << "Software\\X";
        QTest::newRow("datos de rendimiento") << "Software\\X" << PD << CR << "Software\\X";
        QTest::newRow("raíz usuarios sin prefijo") << "x" << U << U << "x";
    }
    void resolucionDeRaices() {
        QFETCH(QString, clave);
        QFETCH(quint32, raiz);
        QFETCH(quint32, resuelta);
        QFETCH(QString, ruta);
        const auto destino = cQueryReg::resolver(clave, raiz);
        QCOMPARE(destino.raiz, resuelta);
        QCOMPARE(destino.ruta, ruta);
    }

    void textoVacioNoEsValorAusente() {
        QVERIFY(!reg.GetReg(kClave, QStringLiteral("db_path"), HKCU, true).isValid());
        QCOMPARE(escribir(kClave, QStringLiteral("empresa"), QString(), HKCU, cQueryReg::REG_SZ),
                 cQueryReg::kExito);
        const QVariant vacio = reg.GetReg(kClave, QStringLiteral("empresa"), HKCU, true);
        QVERIFY(vacio.isValid());
        QCOMPARE(vacio.toString(), QString());
        QVERIFY(!reg.GetReg(QStringLiteral("Software\\Otra\\Clave"), QStringLiteral("empresa"),
                            HKCU, true)
                     .isValid());
    }

    void textoSeGuardaEnElArchivoDelUsuario() {
        QCOMPARE(escribir(kClave, QStringLiteral("db_path"), QStringLiteral("/datos/bd2000.mdb"),
                          HKCU, cQueryReg::REG_SZ),
                 cQueryReg::kExito);
        QSettings archivo(QSettings::NativeFormat, QSettings::UserScope,
                          QStringLiteral("Varnel Software"), QStringLiteral("Tarvo"));
        QCOMPARE(archivo.value(QStringLiteral("db_path")).toString(),
                 QStringLiteral("/datos/bd2000.mdb"));
        QVERIFY(archivo.fileName().startsWith(entorno->home()));
        // Through the HKLM prefix it is the same user value.
        QCOMPARE(reg.GetReg(QStringLiteral("HKLM\\") + kClave, QStringLiteral("db_path"),
                            cQueryReg::HKEY_USERS, true)
                     .toString(),
                 QStringLiteral("/datos/bd2000.mdb"));
    }

    void textosQueParecenOtroTipoSeConservan() {
        for (const QString& t : {QStringLiteral("dword:00000010"), QStringLiteral("sz:x"),
                                 QStringLiteral("@ByteArray(x)")}) {
            escribir(kClave, QStringLiteral("v"), t, HKCU, cQueryReg::REG_SZ);
            QCOMPARE(reg.GetReg(kClave, QStringLiteral("v"), HKCU, false), QVariant(t));
        }
    }

    void numeroYBinarioEnSusFormasDeTexto() {
        QCOMPARE(escribir(kClave, QStringLiteral("n"), 16, HKCU, cQueryReg::REG_DWORD),
                 cQueryReg::kExito);
        QCOMPARE(reg.GetReg(kClave, QStringLiteral("n"), HKCU, true).toString(),
                 QStringLiteral("0x00000010 (16)"));
        QCOMPARE(reg.GetReg(kClave, QStringLiteral("n"), HKCU, false), QVariant(quint32(16)));
        escribir(kClave, QStringLiteral("n"), 4294967295LL, HKCU, cQueryReg::REG_DWORD);
        QCOMPARE(reg.GetReg(kClave, QStringLiteral("n"), HKCU, true).toString(),
                 QStringLiteral("0xFFFFFFFF (4294967295)"));
        QCOMPARE(escribir(kClave, QStringLiteral("n"), QStringLiteral("abc"), HKCU,
                          cQueryReg::REG_DWORD),
                 cQueryReg::kTipoInvalido);

        const QByteArray bytes("\x00\x0a\xff", 3);
        QCOMPARE(escribir(kClave, QStringLiteral("b"), bytes, HKCU, cQueryReg::REG_BINARY),
                 cQueryReg::kExito);
        QCOMPARE(reg.GetReg(kClave, QStringLiteral("b"), HKCU, true).toString(),
                 QStringLiteral("00 0A FF "));
        QCOMPARE(reg.GetReg(kClave, QStringLiteral("b"), HKCU, false).toByteArray(), bytes);
        QCOMPARE(escribir(kClave, QStringLiteral("x"), 1, HKCU, 7), cQueryReg::kTipoInvalido);
    }

    void crearClaveSoloSiSePide() {
        const QString nueva = QStringLiteral("Software\\Varnel Software\\Tarvo\\Nueva");
        QCOMPARE(escribir(nueva, QStringLiteral("a"), QStringLiteral("1"), HKCU, cQueryReg::REG_SZ,
                          false),
                 cQueryReg::kNoEncontrado);
        QVERIFY(!reg.GetReg(nueva, QStringLiteral("a"), HKCU, true).isValid());
        QCOMPARE(escribir(nueva, QStringLiteral("a"), QStringLiteral("1"), HKCU, cQueryReg::REG_SZ,
                          true),
                 cQueryReg::kExito);
        QCOMPARE(escribir(nueva, QStringLiteral("b"), QStringLiteral("2"), HKCU, cQueryReg::REG_SZ,
                          false),
                 cQueryReg::kExito);
        QCOMPARE(reg.GetReg(nueva, QStringLiteral("b"), HKCU, true).toString(),
                 QStringLiteral("2"));
    }

    void almacenDeLaMaquinaEsDeSoloLectura() {
        // An installation's defaults, readable through HKEY_LOCAL_MACHINE.
        {
            QSettings maquina(QSettings::NativeFormat, QSettings::SystemScope,
                              QStringLiteral("Varnel Software"), QStringLiteral("Tarvo"));
            maquina.setValue(QStringLiteral("db_path"), QStringLiteral("/srv/bd2000.mdb"));
        }
        QCOMPARE(reg.GetReg(kClave, QStringLiteral("db_path"), cQueryReg::HKEY_LOCAL_MACHINE, true)
                     .toString(),
                 QStringLiteral("/srv/bd2000.mdb"));
        QVERIFY(!reg.GetReg(kClave, QStringLiteral("db_path"), HKCU, true).isValid());
        QCOMPARE(escribir(kClave, QStringLiteral("db_path"), QStringLiteral("/x"),
                          cQueryReg::HKEY_LOCAL_MACHINE, cQueryReg::REG_SZ),
                 cQueryReg::kAccesoDenegado);
        // Roots this platform does not have: nothing to read, nothing written.
        QVERIFY(
            !reg.GetReg(kClave, QStringLiteral("db_path"), cQueryReg::HKEY_USERS, true).isValid());
        QVERIFY(escribir(kClave, QStringLiteral("a"), QStringLiteral("1"),
                         cQueryReg::HKEY_CURRENT_CONFIG, cQueryReg::REG_SZ) != cQueryReg::kExito);
    }

    void archivoIlegibleNoRompeNada() {
        // A folder where the settings file should be: reads are empty, writes fail.
        QDir().mkpath(entorno->ruta(QStringLiteral(".config/Varnel Software/Tarvo.conf")));
        QVERIFY(!reg.GetReg(kClave, QStringLiteral("db_path"), HKCU, true).isValid());
        QVERIFY(escribir(kClave, QStringLiteral("db_path"), QStringLiteral("/x"), HKCU,
                         cQueryReg::REG_SZ) != cQueryReg::kExito);
    }
};

QTEST_GUILESS_MAIN(PruebaRegistro)
#include "tst_cqueryreg.moc"
