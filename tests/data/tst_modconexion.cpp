// The shared connection and its helpers: data source, opening (and how a failed
// open ends the program), result sets from SQL text, stored queries, the error
// reports the user sees, and the second connection for a foreign data source.
#include "comun/entornoprueba.h"
#include "comun/mensajesguion.h"
#include "data/conexionodbc.h"
#include "data/conexionsqlite.h"
#include "data/contadorenhilo.h"
#include "data/modconexion.h"
#include "platform/odbc.h"
#include "platform/salida.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <cstdio>
#include <memory>
#include <utility>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Thrown by the terminator the tests install: the code after terminarPrograma
// never runs, as in the real program.
struct FinPrograma {
    int codigo;
};

const QString kDsn = QStringLiteral("TARVO_PRUEBA");

QString informe(const ErrorProveedor& e) {
    return QStringLiteral("Error número: ") + QString::number(e.numero) + u'\r' + e.descripcion;
}

QString baseDelOrigen(const QString& nombre) {
    const auto origen = odbc::leerOrigen(nombre);
    return origen ? origen->baseDatos : QStringLiteral("<sin origen>");
}

// Values of Presupuesto_Insertar in the order the editor sends them.
QVariantList valoresPresupuesto(const QVariant& fecha, const QVariant& vigencia) {
    return {QStringLiteral("P-0001"),
            QStringLiteral("Montevideo"),
            fecha,
            QStringLiteral("Estimados señores:"),
            QStringLiteral("12"),
            QStringLiteral("Primer párrafo"),
            QStringLiteral(""),
            QVariant(),
            QStringLiteral("Mano de obra"),
            QStringLiteral("1234.5"),
            QStringLiteral("USD"),
            QString(),
            QStringLiteral("0"),
            QString(),
            QVariant(),
            QVariant(),
            QVariant(),
            QStringLiteral("Atentamente"),
            QStringLiteral("Juan Pérez"),
            QStringLiteral("Plazo de vigencia de la oferta:"),
            vigencia,
            QStringLiteral("admin")};
}

// unixODBC's driver manager carries its own private copy of the odbc.ini reader
// and cache, which the installer's writes do not clear: a data source opened
// through ODBC is never re-pointed within one test process, each test takes a
// name of its own.
QString nombreOrigenExterno() {
    static int contador = 0;
    return QStringLiteral("BODEX_PRUEBA_%1").arg(++contador);
}

enum Falla {
    OrigenInexistente,
    BytesAlAzar,
    ArchivoVacio,
    ArchivoAusente,
    Carpeta,
    BaseAjena,
    Bloqueada
};

} // namespace

class PruebaModConexion : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> guion;
    QString base;

    bool conectar() {
        CrearDSN(kDsn, base);
        AbrirConexion(kDsn, QString());
        return conexion() && conexion()->abierta();
    }

    // Rows as they reached the file, read on a connection of their own.
    QList<QVariantList> filas(const QString& sql) {
        ConexionSqlite lector(base);
        const ResultadoSentencia r = lector.ejecutar(sql);
        if (!r.ok || !r.filas) {
            qWarning() << sql << lector.errores().value(0).descripcion;
            return {};
        }
        QList<QVariantList> lista;
        for (int f = 0; f < r.filas->filas(); ++f) {
            QVariantList fila;
            for (int c = 0; c < r.filas->columnas(); ++c)
                fila << r.filas->valor(f, c);
            lista << fila;
        }
        return lista;
    }
    QVariant escalar(const QString& sql) { return filas(sql).value(0).value(0); }
    bool preparar(const QString& sql) {
        ConexionSqlite escritor(base);
        const bool ok = escritor.ejecutar(sql).ok;
        if (!ok)
            qWarning() << sql << escritor.errores().value(0).descripcion;
        return ok;
    }
    // Row counts of the tables the stored queries below write.
    QVariantList recuento() {
        return filas(QStringLiteral(
                         "SELECT (SELECT COUNT(*) FROM USUARIOS), (SELECT COUNT(*) FROM "
                         "PRESUPUESTOS), (SELECT COUNT(*) FROM PRESUPUESTOS_PRODUCTOS), (SELECT "
                         "COUNT(*) FROM CATEGORIAS), (SELECT COUNT(*) FROM PRODUCTOS)"))
            .value(0);
    }
    // Each message a provider error report, in the connection's order.
    void verificarInformes(const QList<ErrorProveedor>& errores) {
        QVERIFY(!errores.isEmpty());
        const auto& mostrados = guion->mostrados();
        QVERIFY(mostrados.size() >= errores.size());
        for (int i = 0; i < errores.size(); ++i) {
            QCOMPARE(mostrados[i].texto, informe(errores[i]));
            QCOMPARE(mostrados[i].botones, Botones::Aceptar);
            QCOMPARE(mostrados[i].titulo, QStringLiteral("Tarvo"));
        }
    }

private slots:
    void initTestCase() {
        instalarTerminador([](int codigo) { throw FinPrograma{codigo}; });
    }

    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        guion = std::make_unique<MensajesGuion>();
        base = entorno->copiarBase();
        establecerAccionFalloConexion({});
    }

    void cleanup() {
        CerrarConexion();
        establecerAccionFalloConexion({});
        guion.reset();
        entorno.reset();
    }

    // --- Data source and shared connection ---

    void crearDSNDosVecesRedirigeElOrigen() {
        const QString a = entorno->copiarBase(QStringLiteral("a.mdb"));
        const QString b = entorno->copiarBase(QStringLiteral("b.mdb"));
        base = b;
        QVERIFY(preparar(QStringLiteral(
            "INSERT INTO USUARIOS (UsuLogin, UsuNombre) VALUES ('solo_b', 'Sólo en B')")));

        for (const QString& ruta : {a, b}) {
            CrearDSN(kDsn, ruta);
            QCOMPARE(baseDelOrigen(kDsn), ruta);
            AbrirConexion(kDsn, QString());
            RegistrosPtr rs;
            AbrirConsulta(QStringLiteral("SELECT UsuNombre FROM USUARIOS WHERE UsuLogin='solo_b'"),
                          rs);
            QCOMPARE(rs->cantidad(), ruta == b ? 1 : 0);
            CerrarConsulta(rs, true);
            CerrarConexion();
        }
        QVERIFY(guion->mostrados().isEmpty());
    }

    void crearDSNRechazado_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<bool>("archivoInaccesible");
        QTest::newRow("punto y coma") << "TARVO_A;B" << false;
        QTest::newRow("igual") << "TARVO_A=B" << false;
        QTest::newRow("vacío") << "" << false;
        QTest::newRow("demasiado largo") << "TARVO_NOMBRE_DE_CUENTA_MUY_LARGO_X" << false;
        QTest::newRow("configuración inaccesible") << "TARVO_PRUEBA" << true;
    }
    void crearDSNRechazado() {
        QFETCH(QString, nombre);
        QFETCH(bool, archivoInaccesible);
        const QByteArray propio = qgetenv("ODBCINI");
        if (archivoInaccesible)
            qputenv("ODBCINI", entorno->ruta(QStringLiteral("no/existe/.odbc.ini")).toUtf8());
        CrearDSN(nombre, base);
        qputenv("ODBCINI", propio);

        QCOMPARE(guion->textos().size(), 1);
        QCOMPARE(guion->textos().first().section(u'\n', 0, 0),
                 QStringLiteral("DSN Creation Failed"));
        QCOMPARE(guion->mostrados().first().botones, Botones::Aceptar);
        QVERIFY(!odbc::leerOrigen(nombre));
    }

    // A broken data source file: the file and the reason after the first line,
    // and the file left as it was.
    void crearDSNConArchivoRoto_data() {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("bytes al azar") << "azar"
                                       << "no es un archivo de texto";
        QTest::newRow("carpeta") << "carpeta"
                                 << "hay una carpeta";
        QTest::newRow("solo lectura") << "lectura"
                                      << "es de solo lectura";
    }
    void crearDSNConArchivoRoto() {
        QFETCH(QString, caso);
        QFETCH(QString, motivo);
        const QString archivo = QString::fromLocal8Bit(qgetenv("ODBCINI"));
        QVERIFY(!archivo.isEmpty());
        QFile::remove(archivo);
        QByteArray contenido;
        if (caso == u"carpeta") {
            QVERIFY(QDir().mkpath(archivo));
        } else {
            if (caso == u"lectura" && geteuid() == 0)
                QSKIP("Como root un archivo de solo lectura se escribe igual.");
            QRandomGenerator azar(7);
            contenido.resize(2048);
            for (char& c : contenido)
                c = char(azar.bounded(256));
            if (caso == u"lectura")
                contenido = "[Otro]\nDriver=SQLite3\n";
            QFile f(archivo);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(contenido);
            f.close();
            if (caso == u"lectura")
                QVERIFY(QFile::setPermissions(archivo, QFile::ReadOwner));
        }
        CrearDSN(kDsn, base);
        const QStringList lineas = guion->textos().value(0).split(u'\n');
        QCOMPARE(guion->textos().size(), 1);
        QCOMPARE(lineas.size(), 2);
        QCOMPARE(lineas.first(), QStringLiteral("DSN Creation Failed"));
        QVERIFY2(lineas.last().startsWith(QStringLiteral("Archivo «") + archivo +
                                          QStringLiteral("»: ")) &&
                     lineas.last().contains(motivo),
                 qPrintable(lineas.last()));
        if (caso == u"carpeta") {
            QVERIFY(QFileInfo(archivo).isDir());
            QVERIFY(QDir(archivo).removeRecursively());
        } else {
            QFile::setPermissions(archivo, QFile::ReadOwner | QFile::WriteOwner);
            QFile f(archivo);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), contenido);
        }
    }

    void abrirConexion() {
        QVERIFY(conectar());
        const auto* sqlite = dynamic_cast<ConexionSqlite*>(conexion());
        QVERIFY(sqlite);
        QCOMPARE(sqlite->ruta(), base);
        RegistrosPtr rs;
        AbrirConsulta(QStringLiteral("SELECT UsuLogin FROM USUARIOS ORDER BY UsuLogin"), rs);
        QCOMPARE(rs->cantidad(), 2);
        QCOMPARE(rs->texto(QStringLiteral("UsuLogin")), QStringLiteral("admin"));
        QVERIFY(guion->mostrados().isEmpty());
        CerrarConexion();
        QVERIFY(!conexion());
    }

    void abrirConexionFallidaTerminaElPrograma_data() {
        QTest::addColumn<int>("falla");
        // The reason on the message's second line.
        QTest::addColumn<QString>("motivo");
        QTest::newRow("origen inexistente")
            << int(OrigenInexistente) << "No se encontró el nombre del origen de datos";
        QTest::newRow("bytes al azar") << int(BytesAlAzar) << "El archivo no es una base de datos.";
        QTest::newRow("archivo vacío")
            << int(ArchivoVacio) << "no es una base de datos del programa";
        QTest::newRow("archivo ausente") << int(ArchivoAusente) << "No se encuentra el archivo";
        QTest::newRow("carpeta") << int(Carpeta) << "No se encuentra el archivo";
        QTest::newRow("base de otro programa")
            << int(BaseAjena) << "no es una base de datos del programa";
        QTest::newRow("bloqueada por otro programa")
            << int(Bloqueada) << "La base de datos está bloqueada por otro usuario o programa.";
    }
    void abrirConexionFallidaTerminaElPrograma() {
        QFETCH(int, falla);
        QFETCH(QString, motivo);
        const QString ruta = entorno->ruta(QStringLiteral("roto.mdb"));
        QByteArray contenido;
        if (falla == BytesAlAzar) {
            QRandomGenerator azar(20240305);
            contenido.resize(8192);
            for (char& c : contenido)
                c = char(azar.bounded(256));
        }
        if (falla == BytesAlAzar || falla == ArchivoVacio) {
            QFile f(ruta);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QCOMPARE(f.write(contenido), contenido.size());
        } else if (falla == Carpeta) {
            QVERIFY(QDir().mkpath(ruta));
        } else if (falla == BaseAjena) {
            QVERIFY(QFile::copy(rutaBasePristina(), ruta));
            QFile::setPermissions(ruta, QFile::ReadOwner | QFile::WriteOwner);
            ConexionSqlite con(ruta);
            QVERIFY(con.ejecutar(QStringLiteral("DROP TABLE CONSULTAS_GUARDADAS")).ok);
        } else if (falla == Bloqueada) {
            QVERIFY(QFile::copy(rutaBasePristina(), ruta));
            QFile::setPermissions(ruta, QFile::ReadOwner | QFile::WriteOwner);
        }
        // Another program holding the file for writing, past the busy wait.
        std::unique_ptr<ConexionSqlite> otra;
        if (falla == Bloqueada) {
            otra = std::make_unique<ConexionSqlite>(ruta);
            QVERIFY(otra->ejecutar(QStringLiteral("BEGIN EXCLUSIVE")).ok);
        }
        if (falla != OrigenInexistente)
            CrearDSN(kDsn, ruta);
        QVERIFY(guion->mostrados().isEmpty());

        int accionesVistas = 0;
        qsizetype mensajesAlActuar = -1;
        establecerAccionFalloConexion([&] {
            ++accionesVistas;
            mensajesAlActuar = guion->mostrados().size();
        });
        bool terminado = false;
        bool siguio = false;
        try {
            AbrirConexion(kDsn, QStringLiteral("clave"));
            siguio = true;
        } catch (const FinPrograma&) {
            terminado = true;
        }
        QVERIFY(terminado);
        QVERIFY(!siguio);
        QCOMPARE(accionesVistas, 1);
        QCOMPARE(mensajesAlActuar, 1);
        QCOMPARE(guion->mostrados().size(), 1);
        const auto& m = guion->mostrados().first();
        const QStringList lineas = m.texto.split(u'\n');
        QCOMPARE(lineas.size(), 2);
        QCOMPARE(lineas.first(), QStringLiteral("No tiene suficientes permisos en la ubicación "
                                                "actual de la base de datos."));
        QVERIFY2(lineas.last().contains(motivo), qPrintable(lineas.last()));
        otra.reset();
        QCOMPARE(m.titulo, QStringLiteral("Atención"));
        QCOMPARE(m.icono, Icono::Informacion);
        QCOMPARE(m.botones, Botones::Aceptar);
        QVERIFY(!conexion());

        // Trying to open never creates, fills or rewrites the file.
        const QFileInfo info(ruta);
        switch (falla) {
        case ArchivoAusente:
        case OrigenInexistente:
            QVERIFY(!info.exists());
            break;
        case ArchivoVacio:
        case BytesAlAzar: {
            QFile f(ruta);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), contenido);
            break;
        }
        case Carpeta:
            QVERIFY(info.isDir());
            break;
        default:
            break;
        }
    }

    // --- Result sets from SQL text ---

    void consulta_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("cantidad");
        QTest::newRow("no encuentra nada") << "SELECT * FROM USUARIOS WHERE UsuLogin='nadie'" << 0;
        QTest::newRow("tabla vacía") << "SELECT * FROM PRESUPUESTOS" << 0;
        QTest::newRow("encuentra") << "SELECT * FROM USUARIOS WHERE UsuLogin='ADMIN'" << 1;
        QTest::newRow("punto y coma final") << "SELECT * FROM USUARIOS;" << 2;
    }
    void consulta() {
        QFETCH(QString, sql);
        QFETCH(int, cantidad);
        QVERIFY(conectar());
        RegistrosPtr rs;
        AbrirConsulta(sql, rs);
        QVERIFY(rs);
        QVERIFY(rs->abierto());
        QCOMPARE(rs->cantidad(), cantidad);
        QCOMPARE(rs->posicionAbsoluta() > 0, cantidad > 0);
        QCOMPARE(rs->alFinal(), cantidad == 0);
        QCOMPARE(rs->origen(), sql);
        QVERIFY(guion->mostrados().isEmpty());
    }

    // A count in its own thread, on a read-only connection to the same file,
    // is interrupted when dropped and when its owner goes.
    void conteoEnHiloSeInterrumpe() {
        QVERIFY(conectar());
        const Conexion::Abridor otra = conexion()->abridorDeOtra();
        QVERIFY(otra);
        const QString corta = u"SELECT count(*) FROM USUARIOS"_s;
        const QString larga =
            u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<400000000) "
            "SELECT count(*) FROM n"_s;
        auto contador = std::make_unique<ContadorEnHilo>();
        QSignalSpy contado(contador.get(), &ContadorEnHilo::contado);
        contador->contar(1, otra, corta, {});
        QVERIFY(contado.wait());
        QCOMPARE(contado.last().at(0).toULongLong(), 1u);
        QVERIFY(contado.last().at(1).toLongLong() > 0);
        // A long count dropped by the next one: the next one lands at once.
        contador->contar(2, otra, larga, {});
        QTest::qWait(300);
        QElapsedTimer reloj;
        reloj.start();
        contador->contar(3, otra, corta, {});
        QVERIFY(contado.wait(5000));
        QVERIFY(reloj.elapsed() < 3000);
        QCOMPARE(contado.size(), 2);
        QCOMPARE(contado.last().at(0).toULongLong(), 3u);
        // Going while a long count runs neither waits for it nor crashes.
        contador->contar(4, otra, larga, {});
        QTest::qWait(300);
        reloj.restart();
        contador.reset();
        QVERIFY(reloj.elapsed() < 3000);
        QTest::qWait(100);
        QCOMPARE(contado.size(), 2);
        // The counting connection never writes.
        const auto lectora = otra();
        QVERIFY(lectora->abierta());
        QVERIFY(!lectora->ejecutar(u"DELETE FROM USUARIOS"_s).ok);
    }

    void consultaErronea_data() {
        QTest::addColumn<QString>("sql");
        QTest::newRow("sintaxis") << "SELEC * FROM USUARIOS";
        QTest::newRow("tabla inexistente") << "SELECT * FROM CLIENTES";
        QTest::newRow("columna inexistente") << "SELECT UsuClave FROM USUARIOS";
        QTest::newRow("comilla en un valor")
            << "SELECT * FROM PRODUCTOS WHERE INSTR(ProDescripcion,'llave 1/2'')>0";
    }
    void consultaErronea() {
        QFETCH(QString, sql);
        QVERIFY(conectar());
        RegistrosPtr rs;
        AbrirConsulta(sql, rs);
        QVERIFY(rs);
        QVERIFY(!rs->abierto());
        QVERIFY(rs->posicionAbsoluta() <= 0);
        const QList<ErrorProveedor> errores = conexion()->errores();
        QCOMPARE(guion->mostrados().size(), errores.size());
        verificarInformes(errores);

        // The caller goes on, on the same connection.
        guion->limpiar();
        AbrirConsulta(QStringLiteral("SELECT * FROM USUARIOS"), rs);
        QCOMPARE(rs->cantidad(), 2);
        QVERIFY(guion->mostrados().isEmpty());
    }

    void sentenciaSinFilas_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("verificar");
        QTest::addColumn<QVariant>("esperado");
        QTest::newRow("update") << "UPDATE OPCIONES SET OpcAvisoVencimiento=15"
                                << "SELECT OpcAvisoVencimiento FROM OPCIONES" << QVariant(15);
        QTest::newRow("delete *") << "DELETE * FROM USUARIOS WHERE UsuLogin='SUPER'"
                                  << "SELECT COUNT(*) FROM USUARIOS" << QVariant(1);
    }
    void sentenciaSinFilas() {
        QFETCH(QString, sql);
        QFETCH(QString, verificar);
        QFETCH(QVariant, esperado);
        QVERIFY(conectar());
        RegistrosPtr rs;
        AbrirConsulta(sql, rs);
        QVERIFY(rs);
        QVERIFY(!rs->abierto());
        QVERIFY(guion->mostrados().isEmpty());
        QCOMPARE(escalar(verificar), esperado);
    }

    void sentenciaRechazadaNoCambiaNada_data() {
        QTest::addColumn<QString>("sql");
        QTest::newRow("comilla en un valor")
            << "UPDATE USUARIOS SET UsuNombre='Pedro O'Neill' WHERE UsuLogin='admin'";
        QTest::newRow("dos sentencias")
            << "UPDATE USUARIOS SET UsuNombre='Nadie'; DELETE FROM USUARIOS";
        QTest::newRow("segunda sentencia en un valor")
            << "SELECT * FROM USUARIOS WHERE UsuLogin='x'; DELETE FROM USUARIOS; --'";
        QTest::newRow("consulta y después update")
            << "SELECT * FROM USUARIOS; UPDATE USUARIOS SET UsuNombre='Nadie'";
    }
    void sentenciaRechazadaNoCambiaNada() {
        QFETCH(QString, sql);
        QVERIFY(conectar());
        const QList<QVariantList> antes =
            filas(QStringLiteral("SELECT UsuLogin, UsuNombre FROM USUARIOS ORDER BY UsuLogin"));
        QCOMPARE(antes.size(), 2);
        RegistrosPtr rs;
        AbrirConsulta(sql, rs);
        QVERIFY(rs && !rs->abierto());
        QCOMPARE(guion->mostrados().size(), conexion()->errores().size());
        verificarInformes(conexion()->errores());
        QCOMPARE(filas(QStringLiteral("SELECT UsuLogin, UsuNombre FROM USUARIOS ORDER BY "
                                      "UsuLogin")),
                 antes);
    }

    void cerrarConsultaNuncaFalla() {
        QVERIFY(conectar());
        RegistrosPtr nulo;
        CerrarConsulta(nulo, false);
        QVERIFY(!nulo);
        CerrarConsulta(nulo, true);
        QVERIFY(!nulo);

        auto nuncaAbierto = std::make_shared<Registros>();
        CerrarConsulta(nuncaAbierto, false);
        CerrarConsulta(nuncaAbierto, false);
        QVERIFY(nuncaAbierto && !nuncaAbierto->abierto());

        RegistrosPtr fallido;
        AbrirConsulta(QStringLiteral("SELEC"), fallido);
        guion->limpiar();
        CerrarConsulta(fallido, false);
        CerrarConsulta(fallido, true);
        QVERIFY(!fallido);

        RegistrosPtr rs;
        AbrirConsulta(QStringLiteral("SELECT * FROM USUARIOS"), rs);
        QVERIFY(rs->abierto());
        CerrarConsulta(rs, false);
        QVERIFY(rs && !rs->abierto());
        QCOMPARE(rs->cantidad(), -1);
        CerrarConsulta(rs, false);
        // Reopened in the same variable, as callers do.
        AbrirConsulta(QStringLiteral("SELECT * FROM USUARIOS"), rs);
        QCOMPARE(rs->cantidad(), 2);
        CerrarConsulta(rs, true);
        QVERIFY(!rs);
        QVERIFY(guion->mostrados().isEmpty());
    }

    void sinConexionSeInformaSinFallar() {
        RegistrosPtr rs;
        AbrirConsulta(QStringLiteral("SELECT * FROM USUARIOS"), rs);
        QVERIFY(rs && !rs->abierto());
        QCOMPARE(guion->mostrados().size(), 1);
        QVERIFY(guion->textos().first().startsWith(QStringLiteral("Error número: ")));
        guion->limpiar();
        QCOMPARE(EjecutarProcedimiento(QStringLiteral("usuario_insertar"), rs,
                                       {QStringLiteral("pepe"), QString(), QString()}),
                 0);
        QVERIFY(rs && !rs->abierto());
        QVERIFY(!guion->mostrados().isEmpty());
        for (const QString& t : guion->textos())
            QVERIFY(t.startsWith(QStringLiteral("Error número: ")));
    }

    // A file deleted or replaced under the running program is not called
    // read-only.
    void archivoBorradoOReemplazado() {
        QVERIFY(conectar());
        const auto verificar = [this] {
            guion->limpiar();
            RegistrosPtr rs;
            AbrirConsulta(QStringLiteral("UPDATE USUARIOS SET UsuNombre='Otro'"), rs);
            QCOMPARE(guion->textos().size(), 1);
            const QString texto = guion->textos().first();
            QVERIFY2(texto.contains(u"fue borrado, movido o reemplazado"), qPrintable(texto));
            QVERIFY(!texto.contains(u"solo lectura"));
        };
        // Another file takes its name.
        const QString copia = entorno->ruta(QStringLiteral("otra.mdb"));
        QVERIFY(QFile::copy(base, copia));
        QCOMPARE(
            std::rename(QFile::encodeName(copia).constData(), QFile::encodeName(base).constData()),
            0);
        verificar();
        QVERIFY(QFile::remove(base));
        verificar();
    }

    // --- Stored queries ---

    void presupuestoInsertar_data() {
        QTest::addColumn<QVariant>("fecha");
        QTest::addColumn<QVariant>("vigencia");
        QTest::addColumn<int>("dias");
        QTest::newRow("fecha como fecha, vigencia 0")
            << QVariant(QDate(2024, 3, 5)) << QVariant(0) << 0;
        QTest::newRow("fecha dd/MM/yyyy, vigencia en texto")
            << QVariant(QStringLiteral("05/03/2024")) << QVariant(QStringLiteral("30")) << 30;
    }
    void presupuestoInsertar() {
        QFETCH(QVariant, fecha);
        QFETCH(QVariant, vigencia);
        QFETCH(int, dias);
        QVERIFY(conectar());
        RegistrosPtr rs;
        QCOMPARE(EjecutarProcedimiento(QStringLiteral("Presupuesto_Insertar"), rs,
                                       valoresPresupuesto(fecha, vigencia)),
                 1);
        QVERIFY(guion->mostrados().isEmpty());
        QVERIFY(rs && !rs->abierto());

        const QList<QVariantList> leidas = filas(QStringLiteral(
            "SELECT PreNumero, PreLugar, PreFecha, PreSaludo, EmpId, PreDescripcion1, "
            "PreDescripcion2, PreDescripcion3, PreOtroConcepto1, PreOtroPrecio1, PreOtroMoneda1, "
            "PreOtroPrecio2, PreOtroConcepto3, PreOtroPrecio3, PreDespedida, PreFirma, "
            "PreTextoVigencia, PreVigencia, UsuLogin FROM PRESUPUESTOS"));
        QCOMPARE(leidas.size(), 1);
        const QVariantList esperado = {QStringLiteral("P-0001"),
                                       QStringLiteral("Montevideo"),
                                       QDate(2024, 3, 5),
                                       QStringLiteral("Estimados señores:"),
                                       12,
                                       QStringLiteral("Primer párrafo"),
                                       QString(),
                                       QVariant(),
                                       QStringLiteral("Mano de obra"),
                                       1234.5,
                                       QStringLiteral("USD"),
                                       0.0,
                                       QVariant(),
                                       QVariant(),
                                       QStringLiteral("Atentamente"),
                                       QStringLiteral("Juan Pérez"),
                                       QStringLiteral("Plazo de vigencia de la oferta:"),
                                       dias,
                                       QStringLiteral("admin")};
        const QVariantList& fila = leidas.first();
        QCOMPARE(fila.size(), esperado.size());
        for (int i = 0; i < esperado.size(); ++i) {
            QVERIFY2(fila[i].isNull() == esperado[i].isNull(), qPrintable(QString::number(i)));
            QVERIFY2(fila[i] == esperado[i],
                     qPrintable(QStringLiteral("columna %1: %2").arg(i).arg(fila[i].toString())));
        }
        // Stored as whole day numbers and numbers, so that date arithmetic, joins
        // and sums work on them.
        QCOMPARE(filas(QStringLiteral("SELECT typeof(PreFecha), PreFecha + 0, typeof(EmpId), "
                                      "typeof(PreOtroPrecio1), typeof(PreVigencia) FROM "
                                      "PRESUPUESTOS"))
                     .value(0),
                 (QVariantList{QStringLiteral("integer"), QDate(1899, 12, 30).daysTo({2024, 3, 5}),
                               QStringLiteral("integer"), QStringLiteral("real"),
                               QStringLiteral("integer")}));
    }

    void presupuestoActualizar() {
        QVERIFY(conectar());
        RegistrosPtr rs;
        QCOMPARE(EjecutarProcedimiento(QStringLiteral("Presupuesto_Insertar"), rs,
                                       valoresPresupuesto(QDate(2024, 3, 5), 0)),
                 1);
        AbrirConsulta(QStringLiteral("SELECT MAX(PREID) FROM PRESUPUESTOS"), rs);
        const QVariant preId = rs->campo(0);
        QVERIFY(preId.toInt() > 0);

        QVariantList valores = valoresPresupuesto(QStringLiteral("28/02/2025"), 15);
        valores[0] = QStringLiteral("P-0002");
        valores[9] = QStringLiteral("99.25");
        valores[21] = QStringLiteral("super");
        QCOMPARE(EjecutarProcedimiento(QStringLiteral("Presupuesto_Actualizar"), rs,
                                       valores + QVariantList{preId}),
                 1);
        QCOMPARE(filas(QStringLiteral("SELECT PreNumero, PreFecha, PreOtroPrecio1, PreVigencia, "
                                      "UsuLogin FROM PRESUPUESTOS")),
                 (QList<QVariantList>{{QStringLiteral("P-0002"), QDate(2025, 2, 28), 99.25, 15,
                                       QStringLiteral("super")}}));

        // A quote that does not exist: nothing affected, nothing reported.
        valores[0] = QStringLiteral("P-9999");
        QCOMPARE(EjecutarProcedimiento(QStringLiteral("Presupuesto_Actualizar"), rs,
                                       valores + QVariantList{preId.toInt() + 1}),
                 0);
        QCOMPARE(escalar(QStringLiteral("SELECT PreNumero FROM PRESUPUESTOS")),
                 QVariant(QStringLiteral("P-0002")));
        QVERIFY(guion->mostrados().isEmpty());
    }

    void lineasDePresupuesto() {
        QVERIFY(conectar());
        RegistrosPtr rs;
        QCOMPARE(EjecutarProcedimiento(QStringLiteral("Presupuesto_Producto_Insertar"), rs,
                                       {1, 7, 12.5, QStringLiteral("USD"), 3.0}),
                 1);
        QCOMPARE(filas(QStringLiteral("SELECT PreId, ProId, PreProPrecio, PreProMoneda, "
                                      "PreProCantidad, RemProBajaStock FROM "
                                      "PRESUPUESTOS_PRODUCTOS")),
                 (QList<QVariantList>{{1, 7, 12.5, QStringLiteral("USD"), 3.0, false}}));

        for (const auto& [proId, cantidad] : {std::pair{7, 1}, std::pair{8, 0}}) {
            QCOMPARE(EjecutarProcedimiento(QStringLiteral("Presupuestos_Productos_Existe"), rs,
                                           {1, proId}),
                     -1);
            QVERIFY(rs && rs->abierto());
            QCOMPARE(rs->cantidad(), 1);
            QVERIFY(rs->posicionAbsoluta() > 0);
            QCOMPARE(rs->campo(0).toInt(), cantidad);
        }
        QVERIFY(guion->mostrados().isEmpty());

        // A second line for the same product of the same quote is refused.
        QCOMPARE(EjecutarProcedimiento(QStringLiteral("Presupuesto_Producto_Insertar"), rs,
                                       {1, 7, 10.0, QStringLiteral("USD"), 1.0}),
                 0);
        QVERIFY(guion->textos().last().contains(QStringLiteral("-2147217900")));
        QCOMPARE(escalar(QStringLiteral("SELECT COUNT(*) FROM PRESUPUESTOS_PRODUCTOS")),
                 QVariant(1));
    }

    void consultasDelCatalogo_data() {
        QTest::addColumn<QString>("previa");
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QVariantList>("valores");
        QTest::addColumn<int>("afectados");
        QTest::addColumn<QString>("verificar");
        QTest::addColumn<QVariantList>("esperado");

        const QString usuario =
            QStringLiteral("SELECT UsuLogin, UsuPassword, UsuNombre FROM USUARIOS WHERE ");
        QTest::newRow("usuario_insertar")
            << QString() << "usuario_insertar"
            << QVariantList{QStringLiteral("pepe"), QStringLiteral("dmbwf"),
                            QStringLiteral("Pepe Núñez")}
            << 1 << usuario + QStringLiteral("UsuLogin='pepe'")
            << QVariantList{QStringLiteral("pepe"), QStringLiteral("dmbwf"),
                            QStringLiteral("Pepe Núñez")};
        QTest::newRow("usuario_actualizar sin importar mayúsculas")
            << QString() << "usuario_actualizar"
            << QVariantList{QStringLiteral("ADMIN"), QStringLiteral("ovfwb"),
                            QStringLiteral("Jefe")}
            << 1 << usuario + QStringLiteral("UsuLogin='admin'")
            << QVariantList{QStringLiteral("admin"), QStringLiteral("ovfwb"),
                            QStringLiteral("Jefe")};
        QTest::newRow("usuario_actualizar contraseña nula")
            << QString() << "usuario_actualizar"
            << QVariantList{QStringLiteral("super"), QVariant(), QStringLiteral("Sup")} << 1
            << usuario + QStringLiteral("UsuLogin='super'")
            << QVariantList{QStringLiteral("super"), QVariant(), QStringLiteral("Sup")};
        QTest::newRow("usuario_actualizar inexistente")
            << QString() << "usuario_actualizar"
            << QVariantList{QStringLiteral("nadie"), QString(), QStringLiteral("Nadie")} << 0
            << QStringLiteral("SELECT COUNT(*) FROM USUARIOS WHERE UsuNombre='Nadie'")
            << QVariantList{0};

        const QString categoria =
            QStringLiteral("SELECT CatId, CatDescripcion, CatDesactivada FROM CATEGORIAS");
        QTest::newRow("categoria_insertar")
            << QString() << "categoria_insertar" << QVariantList{QStringLiteral("Ferretería")} << 1
            << categoria << QVariantList{1, QStringLiteral("Ferretería"), false};
        QTest::newRow("categoria_actualizar")
            << "INSERT INTO CATEGORIAS (CatId, CatDescripcion) VALUES (5, 'Vieja')"
            << "categoria_actualizar" << QVariantList{5, QStringLiteral("Nueva"), true} << 1
            << categoria << QVariantList{5, QStringLiteral("Nueva"), true};

        const QString producto = QStringLiteral(
            "SELECT ProCodigo, ProDescripcion, CatId, ProUnidadMedida, ProPrecio, ProCosto, "
            "ProMoneda, ProMinimo, EmpId, ProSinVencimiento, ProDesactivado FROM PRODUCTOS");
        QTest::newRow("producto_insertar")
            << "INSERT INTO CATEGORIAS (CatId, CatDescripcion) VALUES (3, 'Tornillería')"
            << "producto_insertar"
            << QVariantList{QStringLiteral("T-001"),
                            QStringLiteral("Tornillo 3 mm"),
                            3,
                            QStringLiteral("unidad"),
                            12.5,
                            8.0,
                            QStringLiteral("USD"),
                            10,
                            4,
                            true}
            << 1 << producto
            << QVariantList{QStringLiteral("T-001"),
                            QStringLiteral("Tornillo 3 mm"),
                            3,
                            QStringLiteral("unidad"),
                            12.5,
                            8.0,
                            QStringLiteral("USD"),
                            10,
                            4,
                            true,
                            false};
        QTest::newRow("producto_actualizar")
            << "INSERT INTO PRODUCTOS (ProId, ProDescripcion, CatId) VALUES (9, 'Viejo', 1)"
            << "producto_actualizar"
            << QVariantList{9,
                            QStringLiteral("T-002"),
                            QStringLiteral("Tuerca"),
                            3,
                            QStringLiteral("caja"),
                            1.25,
                            0.5,
                            QStringLiteral("$"),
                            0,
                            QVariant(),
                            false,
                            true}
            << 1 << producto
            << QVariantList{QStringLiteral("T-002"),
                            QStringLiteral("Tuerca"),
                            3,
                            QStringLiteral("caja"),
                            1.25,
                            0.5,
                            QStringLiteral("$"),
                            0,
                            QVariant(),
                            false,
                            true};

        const QString sector =
            QStringLiteral("SELECT SecId, SecDescripcion, SecDesactivado FROM SECTORES");
        QTest::newRow("sector_insertar")
            << QString() << "sector_insertar" << QVariantList{QStringLiteral("Depósito")} << 1
            << sector << QVariantList{1, QStringLiteral("Depósito"), false};
        QTest::newRow("sector_actualizar")
            << "INSERT INTO SECTORES (SecId, SecDescripcion) VALUES (2, 'x')"
            << "sector_actualizar" << QVariantList{2, QStringLiteral("Mostrador"), true} << 1
            << sector << QVariantList{2, QStringLiteral("Mostrador"), true};

        QVariantList textos;
        for (const char* t : {"Ferretería Sur", "Sur S.A.", "211234560012", "Av. Italia 1234",
                              "11300", "2600 1234", "099 123 456", "2600 1235", "ventas@sur.uy",
                              "www.sur.uy", "Este", "Montevideo", "Montevideo", "Uruguay"})
            textos << QString::fromUtf8(t);
        const QString contacto = QStringLiteral(
            "SELECT EmpNombreFantasia, EmpRazonSocial, EmpRuc, EmpDireccion, EmpCodigoPostal, "
            "EmpTelefono1, EmpTelefono2, EmpFax, EmpEmail, EmpURL, EmpZona, EmpCiudad, "
            "EmpProvinciaEstado, EmpPais, VinId, EmpDesactivado FROM CONTACTOS");
        QTest::newRow("contacto_insertar")
            << QString() << "contacto_insertar" << textos + QVariantList{2} << 1 << contacto
            << textos + QVariantList{2, false};
        QTest::newRow("contacto_actualizar")
            << "INSERT INTO CONTACTOS (EmpId, EmpNombreFantasia) VALUES (6, 'Viejo')"
            << "contacto_actualizar" << QVariantList{6} + textos + QVariantList{2, true} << 1
            << contacto << textos + QVariantList{2, true};
    }
    void consultasDelCatalogo() {
        QFETCH(QString, previa);
        QFETCH(QString, nombre);
        QFETCH(QVariantList, valores);
        QFETCH(int, afectados);
        QFETCH(QString, verificar);
        QFETCH(QVariantList, esperado);
        if (!previa.isEmpty())
            QVERIFY(preparar(previa));
        QVERIFY(conectar());
        RegistrosPtr rs;
        QCOMPARE(EjecutarProcedimiento(nombre, rs, valores), afectados);
        QVERIFY(rs && !rs->abierto());
        QCOMPARE(guion->textos(), QStringList());
        const QList<QVariantList> leidas = filas(verificar);
        QCOMPARE(leidas.size(), 1);
        const QVariantList& fila = leidas.first();
        QCOMPARE(fila.size(), esperado.size());
        for (int i = 0; i < esperado.size(); ++i) {
            QVERIFY2(fila[i].isNull() == esperado[i].isNull() && fila[i] == esperado[i],
                     qPrintable(QStringLiteral("columna %1: %2").arg(i).arg(fila[i].toString())));
        }
    }

    void procedimientoFallido_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QVariantList>("valores");
        QTest::addColumn<int>("numero");
        QTest::newRow("consulta inexistente") << "Presupuesto_Borrar" << QVariantList{1} << 0;
        QTest::newRow("faltan valores")
            << "usuario_insertar" << QVariantList{QStringLiteral("pepe"), QString()} << 0;
        QTest::newRow("sobran valores")
            << "usuario_insertar"
            << QVariantList{QStringLiteral("pepe"), QString(), QStringLiteral("Pepe"), 1} << 0;
        QTest::newRow("tipo que no corresponde")
            << "Presupuesto_Producto_Insertar"
            << QVariantList{QStringLiteral("uno"), 7, 1.0, QStringLiteral("USD"), 1.0} << 0;
        QTest::newRow("fecha que no es fecha")
            << "Presupuesto_Insertar" << valoresPresupuesto(QStringLiteral("31/02/2024"), 0) << 0;
        QTest::newRow("usuario duplicado en otras mayúsculas")
            << "usuario_insertar"
            << QVariantList{QStringLiteral("ADMIN"), QString(), QStringLiteral("Otro")}
            << int(errores::kErroresEnComando);
    }
    void procedimientoFallido() {
        QFETCH(QString, nombre);
        QFETCH(QVariantList, valores);
        QFETCH(int, numero);
        QVERIFY(conectar());
        const QVariantList antes = recuento();
        RegistrosPtr rs;
        QCOMPARE(EjecutarProcedimiento(nombre, rs, valores), 0);
        QVERIFY(rs && !rs->abierto());

        // Each provider error, then the failing step's own report.
        const QList<ErrorProveedor> errores = conexion()->errores();
        QCOMPARE(guion->mostrados().size(), errores.size() + 1);
        verificarInformes(errores);
        const QString final = guion->textos().last();
        QVERIFY(final.startsWith(QStringLiteral("Error número: ")));
        if (numero != 0) {
            QVERIFY2(final.startsWith(QStringLiteral("Error número: -2147217900\r")),
                     qPrintable(final));
            QCOMPARE(errores.first().numero, numero);
        }
        QCOMPARE(recuento(), antes);

        // The caller goes on.
        guion->limpiar();
        QCOMPARE(EjecutarProcedimiento(QStringLiteral("usuario_insertar"), rs,
                                       {QStringLiteral("pepe"), QString(), QStringLiteral("Pepe")}),
                 1);
        QVERIFY(guion->mostrados().isEmpty());
    }

    // --- Helpers for the windows ---

    void obtenerCampoProducto_data() {
        QTest::addColumn<int>("proId");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("texto");
        QTest::newRow("descripción") << 7 << "ProDescripcion"
                                     << "Tornillo ½\"";
        QTest::newRow("campo en minúsculas") << 7 << "promoneda"
                                             << "USD";
        QTest::newRow("precio") << 7 << "ProPrecio"
                                << "12.5";
        QTest::newRow("entero") << 7 << "ProMinimo"
                                << "5";
        QTest::newRow("columna nula") << 7 << "ProCodigo"
                                      << "";
        QTest::newRow("producto inexistente") << 8 << "ProDescripcion"
                                              << "";
    }
    void obtenerCampoProducto() {
        QFETCH(int, proId);
        QFETCH(QString, campo);
        QFETCH(QString, texto);
        QVERIFY(preparar(QStringLiteral(
            "INSERT INTO PRODUCTOS (ProId, ProCodigo, ProDescripcion, CatId, ProPrecio, "
            "ProMinimo, ProMoneda) VALUES (7, NULL, 'Tornillo ½\"', 1, 12.5, 5, 'USD')")));
        QVERIFY(conectar());
        const QString valor = ObtenerCampoProducto(proId, campo);
        QCOMPARE(valor, texto);
        QVERIFY(guion->mostrados().isEmpty());
    }

    void mostrarError_data() {
        QTest::addColumn<int>("numero");
        QTest::addColumn<QString>("descripcion");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("icono");
        QTest::newRow("sin registro actual")
            << 3021 << "No hay ningún registro activo."
            << "Seleccione primero una empresa" << int(Icono::Ninguno);
        QTest::newRow("otro error") << int(errores::kFalloGeneral) << "El disco está lleno."
                                    << "El disco está lleno." << int(Icono::Exclamacion);
        QTest::newRow("número cercano") << 3022 << "Valor duplicado."
                                        << "Valor duplicado." << int(Icono::Exclamacion);
    }
    void mostrarError() {
        QFETCH(int, numero);
        QFETCH(QString, descripcion);
        QFETCH(QString, texto);
        QFETCH(int, icono);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        MostrarError({numero, descripcion});
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(guion->mostrados().size(), 1);
        const auto& m = guion->mostrados().first();
        QCOMPARE(m.texto, texto);
        QCOMPARE(int(m.icono), icono);
        QCOMPARE(m.titulo, QStringLiteral("Tarvo"));
        QCOMPARE(m.botones, Botones::Aceptar);
    }

    // --- The second connection ---

    // A data source of another driver is read through ODBC. The SQLite3 ODBC
    // library is registered under another file name, as a foreign program's
    // driver would be, so that it is not taken for this system's own.
    void origenDeOtroDriverSeLeePorOdbc() {
        const QString biblioteca =
            QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so");
        if (!QFile::exists(biblioteca))
            QSKIP("falta el driver ODBC de SQLite3 (libsqliteodbc)");
        const QString driver = entorno->ruta(QStringLiteral("libbodexodbc.so"));
        QVERIFY(QFile::link(biblioteca, driver));
        const QString stock = entorno->ruta(QStringLiteral("bodex.mdb"));
        {
            QSqlDatabase bd = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                        QStringLiteral("prueba_stock"));
            bd.setDatabaseName(stock);
            QVERIFY(bd.open());
            QSqlQuery q(bd);
            QVERIFY(q.exec(QStringLiteral(
                "CREATE TABLE ARTICULOS (ArtId INTEGER, ArtNombre TEXT, ArtPrecio DOUBLE)")));
            QVERIFY(q.exec(QStringLiteral(
                "INSERT INTO ARTICULOS VALUES (1, 'Tornillo', 1.5), (2, 'Tuerca ñ', 0.25)")));
            bd.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("prueba_stock"));
        const QString dsn = nombreOrigenExterno();
        QVERIFY(odbc::escribirOrigenUsuario(dsn, driver, stock));
        QVERIFY(conectar());
        Conexion* compartida = conexion();

        AbrirConexionOrigen(dsn, QString());
        QVERIFY(dynamic_cast<ConexionOdbc*>(conexionOrigen()));
        QCOMPARE(conexion(), compartida);
        RegistrosPtr rs;
        AbrirConsultaOrigen(
            QStringLiteral("SELECT ArtId, ArtNombre, ArtPrecio FROM ARTICULOS ORDER BY ArtId"), rs);
        QVERIFY(rs && rs->abierto());
        QCOMPARE(rs->cantidad(), 2);
        QCOMPARE(rs->posicionAbsoluta(), 1);
        QCOMPARE(rs->campo(QStringLiteral("ArtId")).toInt(), 1);
        QCOMPARE(rs->texto(QStringLiteral("ArtNombre")), QStringLiteral("Tornillo"));
        rs->moverSiguiente();
        QCOMPARE(rs->texto(QStringLiteral("ArtNombre")), QStringLiteral("Tuerca ñ"));
        QCOMPARE(rs->campo(QStringLiteral("ArtPrecio")).toDouble(), 0.25);
        CerrarConsulta(rs, true);
        QVERIFY(guion->mostrados().isEmpty());

        // A statement the foreign driver rejects is reported like the others.
        AbrirConsultaOrigen(QStringLiteral("SELEC * FROM ARTICULOS"), rs);
        QVERIFY(rs && !rs->abierto());
        QCOMPARE(guion->mostrados().size(), conexionOrigen()->errores().size());
        verificarInformes(conexionOrigen()->errores());

        // The shared connection is untouched.
        guion->limpiar();
        AbrirConsulta(QStringLiteral("SELECT * FROM USUARIOS"), rs);
        QCOMPARE(rs->cantidad(), 2);
        QVERIFY(guion->mostrados().isEmpty());
    }

    void origenQueNoAbreLanza_data() {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("archivo");
        QTest::newRow("origen inexistente") << QString() << QString();
        QTest::newRow("SQLite3 sin archivo") << "SQLite3"
                                             << "no_existe.mdb";
        QTest::newRow("driver sin biblioteca") << "no_existe_odbc.so"
                                               << "bodex.mdb";
    }
    void origenQueNoAbreLanza() {
        QFETCH(QString, driver);
        QFETCH(QString, archivo);
        const QString dsn = nombreOrigenExterno();
        if (!driver.isEmpty()) {
            const QString d = driver.endsWith(u".so") ? entorno->ruta(driver) : driver;
            QVERIFY(odbc::escribirOrigenUsuario(dsn, d, entorno->ruta(archivo)));
        }
        bool lanzada = false;
        try {
            AbrirConexionOrigen(dsn, QString());
        } catch (const ExcepcionBaseDatos& e) {
            lanzada = true;
            QVERIFY(!e.error().descripcion.isEmpty());
            QVERIFY(e.error().numero != 0);
        }
        QVERIFY(lanzada);
        QVERIFY(!conexionOrigen());
        // The caller decides what the user sees.
        QVERIFY(guion->mostrados().isEmpty());
        QVERIFY(!QFile::exists(entorno->ruta(QStringLiteral("no_existe.mdb"))));
    }
};

QTEST_MAIN(PruebaModConexion)
#include "tst_modconexion.moc"
