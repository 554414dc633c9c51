// The automatic backup: names, replacement, and the database held by someone else;
// a server database's dump, made by one desk a day.
#include "comun/ejecutorguion.h"
#include "comun/entornoprueba.h"
#include "comun/mensajesguion.h"
#include "comun/servidorprueba.h"
#include "data/conexionpostgres.h"
#include "platform/reloj.h"
#include "startup/copiaseguridad.h"
#include "startup/copiaseguridadservidor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sqlite3.h>

#include <memory>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray contenido(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A second connection to the file, as another program would hold it.
class OtraConexion {
public:
    explicit OtraConexion(const QString& ruta) {
        sqlite3_open_v2(QFile::encodeName(ruta).constData(), &bd_, SQLITE_OPEN_READWRITE, nullptr);
    }
    ~OtraConexion() { sqlite3_close(bd_); }
    int ejecutar(const char* sql) { return sqlite3_exec(bd_, sql, nullptr, nullptr, nullptr); }

private:
    sqlite3* bd_ = nullptr;
};

const QString kMensajeEnUso = QStringLiteral(
    "La copia de seguridad no se realizó porque la base de datos está siendo utilizada por "
    "otro usuario.");

} // namespace

class PruebaCopiaSeguridad : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;
    QString base;
    QString carpeta;

    QStringList copias() const {
        return QDir(carpeta).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        base = entorno->copiarBase();
        carpeta = entorno->ruta(QStringLiteral("respaldos"));
        QDir().mkpath(carpeta);
        Reloj::fijar(QDate(2026, 12, 7));
    }
    void cleanup() {
        Reloj::liberar();
        mensajes.reset();
        entorno.reset();
    }

    void nombreConElMesAbreviado() {
        QCOMPARE(nombreCopiaSeguridad(QDate(2026, 12, 7)), QStringLiteral("bd200007dic2026.mdb"));
        QCOMPARE(nombreCopiaSeguridad(QDate(2027, 1, 31)), QStringLiteral("bd200031ene2027.mdb"));
    }

    void copiaDelDiaSeReemplaza() {
        QCOMPARE(CopiaSeguridad(base, carpeta), ResultadoCopia::Hecha);
        OtraConexion(base).ejecutar("INSERT INTO CATEGORIAS (CatDescripcion) VALUES ('Nueva')");
        QCOMPARE(CopiaSeguridad(base, carpeta), ResultadoCopia::Hecha);
        QCOMPARE(copias(), QStringList{QStringLiteral("bd200007dic2026.mdb")});
        // The later copy, byte for byte.
        QCOMPARE(contenido(carpeta + QStringLiteral("/bd200007dic2026.mdb")), contenido(base));
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    void dosDiasDosCopias() {
        QCOMPARE(CopiaSeguridad(base, carpeta), ResultadoCopia::Hecha);
        Reloj::fijar(QDate(2026, 12, 8));
        QCOMPARE(CopiaSeguridad(base, carpeta), ResultadoCopia::Hecha);
        QCOMPARE(copias(), (QStringList{QStringLiteral("bd200007dic2026.mdb"),
                                        QStringLiteral("bd200008dic2026.mdb")}));
    }

    void baseEnUsoPorOtraConexion_data() {
        QTest::addColumn<QByteArray>("sentencia");
        QTest::newRow("escribiendo") << QByteArray("BEGIN IMMEDIATE");
        // A plain read, which another program can do without the text collation.
        QTest::newRow("leyendo") << QByteArray("BEGIN; SELECT UsuNombre FROM USUARIOS;");
        QTest::newRow("exclusiva") << QByteArray("BEGIN EXCLUSIVE");
    }
    void baseEnUsoPorOtraConexion() {
        QFETCH(QByteArray, sentencia);
        OtraConexion otra(base);
        QCOMPARE(otra.ejecutar(sentencia.constData()), SQLITE_OK);
        QCOMPARE(CopiaSeguridad(base, carpeta), ResultadoCopia::EnUso);
        QCOMPARE(mensajes->mostrados().size(), 1);
        QCOMPARE(mensajes->mostrados().first().texto, kMensajeEnUso);
        QCOMPARE(mensajes->mostrados().first().titulo,
                 QStringLiteral("Copia de seguridad automática"));
        QCOMPARE(mensajes->mostrados().first().icono, Icono::Informacion);
        QVERIFY(copias().isEmpty());
        // Once the other program lets go, the copy works.
        otra.ejecutar("ROLLBACK");
        QCOMPARE(CopiaSeguridad(base, carpeta), ResultadoCopia::Hecha);
    }

    void conexionAbiertaSinBloqueoNoImpide() {
        OtraConexion otra(base);
        QCOMPARE(otra.ejecutar("SELECT 1"), SQLITE_OK);
        QCOMPARE(CopiaSeguridad(base, carpeta), ResultadoCopia::Hecha);
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    // Every other failure: one box saying where and why, and no partial file.
    void otrosFallosSeInformanSinArchivoAMedias_data() {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("carpeta inexistente") << "carpeta"
                                             << "no existe";
        QTest::newRow("base ausente") << "base"
                                      << "no se encuentra la base de datos";
        QTest::newRow("carpeta en el nombre del día") << "dia"
                                                      << "hay una carpeta con ese nombre";
        QTest::newRow("archivo en lugar de carpeta") << "archivo"
                                                     << "no es una carpeta";
        QTest::newRow("carpeta de solo lectura") << "permisos"
                                                 << "no tiene permiso";
    }
    void otrosFallosSeInformanSinArchivoAMedias() {
        QFETCH(QString, caso);
        QFETCH(QString, motivo);
        QString rutaBase = base;
        QString destino = carpeta;
        if (caso == u"carpeta") {
            destino = entorno->ruta(QStringLiteral("no-existe"));
        } else if (caso == u"base") {
            rutaBase = entorno->ruta(QStringLiteral("falta.mdb"));
        } else if (caso == u"dia") {
            // The copy is written, then cannot be renamed into place.
            QDir().mkpath(carpeta + QStringLiteral("/bd200007dic2026.mdb"));
        } else if (caso == u"archivo") {
            destino = entorno->ruta(QStringLiteral("un-archivo"));
            QFile f(destino);
            QVERIFY(f.open(QIODevice::WriteOnly));
        } else if (caso == u"permisos") {
            if (geteuid() == 0)
                QSKIP("Como root los permisos de la carpeta no impiden escribir.");
            QVERIFY(QFile::setPermissions(carpeta, QFile::ReadOwner | QFile::ExeOwner));
        }
        QCOMPARE(CopiaSeguridad(rutaBase, destino), ResultadoCopia::Fallida);
        QFile::setPermissions(carpeta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(mensajes->mostrados().size(), 1);
        const auto& m = mensajes->mostrados().first();
        QCOMPARE(m.titulo, QStringLiteral("Copia de seguridad automática"));
        QCOMPARE(m.icono, Icono::Informacion);
        QVERIFY2(m.texto.startsWith(QStringLiteral("La copia de seguridad no se realizó en «") +
                                    destino + QStringLiteral("/bd200007dic2026.mdb»:\n")),
                 qPrintable(m.texto));
        QVERIFY2(m.texto.contains(motivo), qPrintable(m.texto));
        QStringList dentro = copias();
        if (caso == u"dia")
            QVERIFY(QFileInfo(carpeta + QStringLiteral("/bd200007dic2026.mdb")).isDir());
        QCOMPARE(dentro, QStringList());
        QVERIFY(!QFile::exists(entorno->ruta(QStringLiteral("falta.mdb"))));
    }

    // Two desks of one server start on the same day: the first dumps, the
    // second finds the day taken. A dump that fails gives the day back, so
    // the next start makes it; a missing or old pg_dump never takes it.
    void servidorUnaCopiaPorDia() {
        const DatosServidor d = servidorprueba::datos(servidorprueba::baseNueva());
        ConexionPostgres puesto1(d);
        ConexionPostgres puesto2(d);
        QVERIFY(puesto1.abierta() && puesto2.abierta());
        EjecutorGuion ejecutor;
        // A dump that works writes its file.
        const auto escribir = [](const EjecutorGuion::Llamada& ll) {
            for (const QString& a : ll.argumentos)
                if (a.startsWith(u"--file=")) {
                    QFile f(a.mid(7));
                    QVERIFY(f.open(QIODevice::WriteOnly));
                    f.write("PGDMP");
                }
        };
        ejecutor.alLlamar(escribir);
        const auto volcados = [&ejecutor] {
            int n = 0;
            for (const auto& ll : ejecutor.llamadas())
                n += ll.argumentos.contains(u"--format=custom"_s) ? 1 : 0;
            return n;
        };
        const QString dump7 = carpeta + QStringLiteral("/bd200007dic2026.dump");

        QCOMPARE(CopiaSeguridadServidor(puesto1, d, carpeta), ResultadoCopia::Hecha);
        QCOMPARE(contenido(dump7), QByteArray("PGDMP"));
        const QStringList args = ejecutor.llamadas().last().argumentos;
        QVERIFY(args.contains(u"--no-password"_s));
        const QString cadena = args.last();
        QVERIFY2(cadena.startsWith(u"--dbname=") &&
                     cadena.contains(QStringLiteral("dbname='%1'").arg(d.baseDatos)) &&
                     !cadena.contains(u"password"),
                 qPrintable(cadena));
        QCOMPARE(CopiaSeguridadServidor(puesto2, d, carpeta), ResultadoCopia::YaHecha);
        QCOMPARE(volcados(), 1);

        // Next day: pg_dump is missing on the first desk, then fails on the
        // second; the day stays free for the next start.
        Reloj::fijar(QDate(2026, 12, 8));
        ejecutor.responder(u"pg_dump"_s, EjecutorGuion::ausente());
        QCOMPARE(CopiaSeguridadServidor(puesto1, d, carpeta), ResultadoCopia::Fallida);
        QVERIFY2(mensajes->textos().value(0).contains(u"no se encuentra el programa pg_dump"),
                 qPrintable(mensajes->textos().value(0)));
        ejecutor.responder(u"pg_dump"_s, EjecutorGuion::exito());
        ejecutor.responder(u"pg_dump"_s,
                           EjecutorGuion::fallo(1, "pg_dump: error: disco lleno\nmás\n"));
        QCOMPARE(CopiaSeguridadServidor(puesto2, d, carpeta), ResultadoCopia::Fallida);
        QCOMPARE(volcados(), 2);
        QVERIFY2(mensajes->textos().value(1).endsWith(u"pg_dump: error: disco lleno"),
                 qPrintable(mensajes->textos().value(1)));
        QCOMPARE(copias(), QStringList{u"bd200007dic2026.dump"_s});
        QCOMPARE(CopiaSeguridadServidor(puesto1, d, carpeta), ResultadoCopia::Hecha);
        QCOMPARE(volcados(), 3);
        QCOMPARE(contenido(carpeta + QStringLiteral("/bd200008dic2026.dump")), QByteArray("PGDMP"));

        // A pg_dump older than the server is named with the package to install.
        Reloj::fijar(QDate(2026, 12, 9));
        ResultadoComando viejo = EjecutorGuion::exito();
        viejo.salida = "pg_dump (PostgreSQL) 11.22 (Debian 11.22-0+deb10u2)\n";
        ejecutor.responder(u"pg_dump"_s, viejo);
        QCOMPARE(CopiaSeguridadServidor(puesto1, d, carpeta), ResultadoCopia::Fallida);
        QVERIFY2(mensajes->textos().last().contains(u"versión 11 de PostgreSQL") &&
                     mensajes->textos().last().contains(u"postgresql-client-"),
                 qPrintable(mensajes->textos().last()));
        QCOMPARE(volcados(), 3);
        QCOMPARE(CopiaSeguridadServidor(puesto2, d, carpeta), ResultadoCopia::Hecha);

        // A desk starting while another dumps leaves the copy to it; when
        // that one dies before its copy is there, the next start makes it.
        Reloj::fijar(QDate(2026, 12, 10));
        std::optional<ResultadoCopia> mientras;
        ejecutor.alLlamar([&](const EjecutorGuion::Llamada& ll) {
            if (mientras || !ll.argumentos.contains(u"--format=custom"_s))
                return;
            mientras = CopiaSeguridadServidor(puesto2, d, carpeta);
            puesto1.cerrar();
        });
        QCOMPARE(CopiaSeguridadServidor(puesto1, d, carpeta), ResultadoCopia::Fallida);
        QCOMPARE(mientras, std::optional(ResultadoCopia::YaHecha));
        ejecutor.alLlamar(escribir);
        QCOMPARE(CopiaSeguridadServidor(puesto2, d, carpeta), ResultadoCopia::Hecha);
        QCOMPARE(contenido(carpeta + QStringLiteral("/bd200010dic2026.dump")), QByteArray("PGDMP"));
    }

    // The real pg_dump of the test server gives a file pg_restore can read.
    void servidorVolcadoReal() {
        const DatosServidor d = servidorprueba::datos(servidorprueba::baseNueva());
        ConexionPostgres puesto(d);
        QVERIFY(puesto.abierta());
        QCOMPARE(CopiaSeguridadServidor(puesto, d, carpeta), ResultadoCopia::Hecha);
        QCOMPARE(mensajes->mostrados().size(), 0);
        const ResultadoComando lista = ejecutorReal().ejecutar(
            u"pg_restore"_s, {u"--list"_s, carpeta + QStringLiteral("/bd200007dic2026.dump")},
            OpcionesComando{});
        QCOMPARE(lista.codigo, 0);
        QVERIFY(lista.salida.contains("TABLE public presupuestos"));
    }
};

QTEST_GUILESS_MAIN(PruebaCopiaSeguridad)
#include "tst_copiaseguridad.moc"
