// The PostgreSQL engine on a private cluster: the server's preparation, the
// dialect its objects give the program's statements, the driver's traps and
// the copy of a database file.
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/servidorprueba.h"
#include "data/conexionpostgres.h"
#include "data/contadorenhilo.h"
#include "data/copiaservidor.h"
#include "data/modconexion.h"
#include "data/versionservidor.h"
#include "platform/reloj.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

class PruebaPostgresql : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<ConexionPostgres> con;

    QVariant uno(const QString& sql, const QVariantList& valores = {}) {
        const ResultadoSentencia r = con->ejecutar(sql, valores);
        if (!r.ok || !r.filas || r.filas->filas() == 0)
            return QStringLiteral("fallo: ") + con->errores().value(0).descripcion;
        return r.filas->valor(0, 0);
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        con =
            std::make_unique<ConexionPostgres>(servidorprueba::datos(servidorprueba::baseNueva()));
        QVERIFY2(con->abierta(), qPrintable(con->errores().value(0).descripcion));
    }
    void cleanup() {
        con.reset();
        entorno.reset();
        Reloj::liberar();
    }

    void preparacionCreaYLuegoEstaAlDia() {
        // The server's steps must reach the version the program knows.
        QCOMPARE(pasosServidor().back().version, versionesquema::kActual);
        const DatosServidor d = servidorprueba::datos(servidorprueba::baseVacia());
        // An empty database is refused by name, never used half-made.
        ConexionPostgres vacia(d);
        QVERIFY(!vacia.abierta());
        QVERIFY(vacia.errores().value(0).descripcion.contains(u"no tiene los objetos"));
        ResultadoActualizacion r = prepararServidor(d);
        QCOMPARE(int(r.estado), int(ResultadoActualizacion::Estado::Actualizada));
        QCOMPARE(r.versionAnterior, 0);
        r = prepararServidor(d);
        QCOMPARE(int(r.estado), int(ResultadoActualizacion::Estado::AlDia));
        ConexionPostgres lista(d);
        QVERIFY(lista.abierta());
        // A restored dump lacks the cast setting: the connection says so.
        QVERIFY(
            lista
                .ejecutar(QStringLiteral("UPDATE pg_catalog.pg_cast SET castcontext = 'e' WHERE "
                                         "castsource = 'integer'::regtype AND casttarget = "
                                         "'boolean'::regtype"))
                .ok);
        ConexionPostgres sinAjuste(d);
        QVERIFY(!sinAjuste.abierta());
        QVERIFY(sinAjuste.errores().value(0).descripcion.contains(u"integer a boolean"));
        QVERIFY(prepararServidor(d).alDia());
        QVERIFY(ConexionPostgres(d).abierta());
    }

    void servidorInalcanzableSeDiceClaro() {
        DatosServidor d = servidorprueba::datos(QStringLiteral("plantilla"));
        d.servidor = entorno->ruta(QStringLiteral("sin-servidor"));
        ConexionPostgres c(d);
        QVERIFY(!c.abierta());
        QVERIFY(c.errores().value(0).descripcion.startsWith(u"No se puede conectar"));
    }

    void dialectoComoEnElArchivo() {
        Reloj::fijar(QDate(2026, 12, 1));
        // A computed date is a day number, as from the file.
        QCOMPARE(uno(QStringLiteral("SELECT Date() + 30")).toLongLong(),
                 QDate(1899, 12, 30).daysTo(QDate(2026, 12, 31)));
        QCOMPARE(uno(QStringLiteral("SELECT CSTR(Date())")), QVariant(QStringLiteral("01/12/26")));
        QVERIFY(con->ejecutar(QStringLiteral("INSERT INTO PRODUCTOS (ProDescripcion, CatId, "
                                             "ProDesactivado) VALUES (?, 1, ?)"),
                              {QStringLiteral("Ñandutí rojo"), 0})
                    .ok);
        QCOMPARE(uno(QStringLiteral("SELECT COUNT(*) FROM PRODUCTOS WHERE ProDescripcion LIKE "
                                    "'%ñANDUTÍ%' AND ProDesactivado=0")),
                 QVariant(1));
        QCOMPARE(uno(QStringLiteral("SELECT COUNT(*) FROM PRODUCTOS WHERE 1 AND "
                                    "(INSTR(ProDescripcion, 'x') OR INSTR(ProDescripcion, "
                                    "'ROJO'))")),
                 QVariant(1));
        QCOMPARE(uno(QStringLiteral("SELECT IIF(ProDesactivado, 'Si', 'No') FROM PRODUCTOS")),
                 QVariant(QStringLiteral("No")));
        // Nulls sort first, as in the file, and a subquery needs no name.
        for (const QVariant& numero :
             {QVariant(QStringLiteral("B")), QVariant(), QVariant(QStringLiteral("a"))})
            QVERIFY(con->ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS (PreNumero) VALUES (?)"),
                                  {numero})
                        .ok);
        const auto numeros = [&](const QString& sql) {
            QStringList lista;
            const ResultadoSentencia r = con->ejecutar(sql);
            for (int f = 0; r.ok && f < r.filas->filas(); ++f)
                lista << (r.filas->esNulo(f, 0) ? QStringLiteral("-") : r.filas->texto(f, 0));
            return lista;
        };
        QCOMPARE(numeros(QStringLiteral("SELECT PreNumero FROM PRESUPUESTOS ORDER BY PreNumero")),
                 (QStringList{u"-"_s, u"a"_s, u"B"_s}));
        QCOMPARE(numeros(QStringLiteral("SELECT * FROM (SELECT PreNumero AS k FROM PRESUPUESTOS "
                                        "ORDER BY PreNumero DESC LIMIT 2) ORDER BY k LIMIT 5")),
                 (QStringList{u"a"_s, u"B"_s}));
        // Column names come back as the schema spells them.
        const ResultadoSentencia r = con->ejecutar(QStringLiteral("SELECT * FROM PRODUCTOS"));
        QVERIFY(r.ok);
        QCOMPARE(r.filas->columna(2).nombre, QStringLiteral("ProDescripcion"));
        QCOMPARE(r.filas->columna(12).tipo, TipoColumna::SiNo);
    }

    void duplicadoEnTransaccionNoLaAborta() {
        const QString sql = QStringLiteral("INSERT INTO CATEGORIAS (CatDescripcion) VALUES (?)");
        QVERIFY(con->iniciarTransaccion());
        QVERIFY(con->ejecutar(sql, {QStringLiteral("Ábacos")}).ok);
        QVERIFY(!con->ejecutar(sql, {QStringLiteral("ábacos")}).ok);
        QCOMPARE(con->errores().value(0).numero, errores::kErroresEnComando);
        QVERIFY(con->ejecutar(sql, {QStringLiteral("Brocas")}).ok);
        QVERIFY(con->confirmarTransaccion());
        QCOMPARE(uno(QStringLiteral("SELECT COUNT(*) FROM CATEGORIAS")), QVariant(2));
    }

    void dosPuestosEscribenDeAUno() {
        ConexionPostgres otro(con->datos());
        QVERIFY(otro.abierta());
        QVERIFY(otro.ejecutar(QStringLiteral("SET lock_timeout = '100ms'")).ok);
        QVERIFY(con->iniciarTransaccion());
        QVERIFY(
            con->ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS (PreNumero) VALUES ('1')")).ok);
        const qint64 id = con->ultimoIdInsertado();
        QVERIFY(con->ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS_PRODUCTOS (PreId, ProId) "
                                             "VALUES (?, 1)"),
                              {id})
                    .ok);
        // The other desk reads meanwhile, but its save waits for this one.
        QCOMPARE(
            otro.ejecutar(QStringLiteral("SELECT COUNT(*) FROM PRESUPUESTOS")).filas->valor(0, 0),
            QVariant(0));
        QVERIFY(!otro.iniciarTransaccion());
        QVERIFY(otro.errores().value(0).descripcion.contains(u"bloqueada"));
        QVERIFY(!otro.enTransaccion());
        QVERIFY(con->confirmarTransaccion());
        QVERIFY(otro.iniciarTransaccion());
        QVERIFY(otro.deshacerTransaccion());
    }

    // A count in its own thread, on another connection to the same database,
    // is cancelled on the server when dropped and when its owner goes.
    void conteoEnHiloSeCancela() {
        const Conexion::Abridor otra = con->abridorDeOtra();
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
    }

    void procedimientoEnlazaPorNombre() {
        QVariantList v(22);
        v[0] = QStringLiteral("0007");
        v[1] = QStringLiteral("Salto");
        v[2] = QStringLiteral("02/12/2026");
        v[3] = QStringLiteral("Estimados");
        v[4] = 1;
        v[20] = 15;
        v[21] = QStringLiteral("admin");
        const ResultadoSentencia r =
            con->ejecutarProcedimiento(QStringLiteral("Presupuesto_Insertar"), v);
        QVERIFY2(r.ok, qPrintable(con->errores().value(0).descripcion));
        const qint64 id = con->ultimoIdInsertado();
        QVERIFY(id > 0);
        const ResultadoSentencia fila = con->ejecutar(
            QStringLiteral("SELECT PreNumero, PreLugar, PreFecha, PreVigencia, UsuLogin FROM "
                           "PRESUPUESTOS WHERE PreId = ?"),
            {id});
        QVERIFY(fila.ok);
        QCOMPARE(fila.filas->valor(0, 0), QVariant(QStringLiteral("0007")));
        QCOMPARE(fila.filas->valor(0, 1), QVariant(QStringLiteral("Salto")));
        QCOMPARE(fila.filas->valor(0, 2), QVariant(QDate(2026, 12, 2)));
        QCOMPARE(fila.filas->valor(0, 3), QVariant(15));
        QCOMPARE(fila.filas->columna(1).nombre, QStringLiteral("PreLugar"));
        // Declared first, used last: bound by position it would land in the
        // description.
        QVERIFY(con->ejecutar(QStringLiteral("INSERT INTO CATEGORIAS (CatDescripcion) VALUES "
                                             "('Vieja')"))
                    .ok);
        const qint64 cat = con->ultimoIdInsertado();
        QVERIFY(con->ejecutarProcedimiento(QStringLiteral("categoria_actualizar"),
                                           {cat, QStringLiteral("Nueva"), true})
                    .ok);
        QCOMPARE(
            uno(QStringLiteral("SELECT CatDescripcion FROM CATEGORIAS WHERE CatId = ?"), {cat}),
            QVariant(QStringLiteral("Nueva")));
    }

    // A desk reaches the server as the program starts: its data source is
    // written for the PostgreSQL driver (no password in it) and the shared
    // connection opens through it; the status history of the current schema
    // takes a date and time.
    void unPuestoSeConectaPorSuOrigenDeDatos() {
        const DatosServidor d = servidorprueba::datos(servidorprueba::baseNueva());
        QVERIFY(CrearDSNServidor(u"TARVO_PUESTO"_s, d));
        QFile ini(entorno->ruta(u".odbc.ini"_s));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray origen = ini.readAll();
        QVERIFY(origen.contains("PostgreSQL"));
        QVERIFY(!origen.contains("assword"));
        establecerAccionFalloConexion([] { QFAIL("la conexión no se abrió"); });
        AbrirConexion(u"TARVO_PUESTO"_s, u"pelmor"_s);
        QVERIFY(conexion());
        const ResultadoSentencia nuevo = conexion()->ejecutar(
            u"INSERT INTO PRESUPUESTOS (PreNumero) VALUES ('7') RETURNING PreId"_s);
        QVERIFY(nuevo.ok && nuevo.filas);
        const QDateTime cuando(QDate(2026, 12, 9), QTime(10, 32));
        QVERIFY2(
            conexion()
                ->ejecutar(u"INSERT INTO PRESUPUESTOS_ESTADOS (PreId, EstEstado, EstFechaHora, "
                           "UsuLogin) VALUES (?, 'Aceptado', ?, 'ana')"_s,
                           {nuevo.filas->valor(0, 0), cuando})
                .ok,
            qPrintable(conexion()->errores().value(0).descripcion));
        const ResultadoSentencia leido =
            conexion()->ejecutar(u"SELECT EstFechaHora FROM PRESUPUESTOS_ESTADOS"_s);
        QVERIFY(leido.ok && leido.filas);
        QCOMPARE(leido.filas->valor(0, 0).toDateTime(), cuando);
        CerrarConexion();
        establecerAccionFalloConexion({});
    }

    void copiaGuardaClavesYNoSeRepite() {
        const QString ruta = entorno->copiarBase();
        {
            Fixtura f(ruta);
            const int emp = f.contacto(QStringLiteral("Acme"));
            f.ejecutar(QStringLiteral("DELETE FROM PRESUPUESTOS"));
            f.ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS (PreId, PreNumero, EmpId) VALUES "
                                      "(41, '0041', ?)"),
                       {emp});
            f.linea(41, f.producto(QStringLiteral("Tornillo")), 2.5, 3);
        }
        const DatosServidor d = servidorprueba::datos(servidorprueba::baseNueva());
        ResultadoCopia r = copiarAServidor(ruta, d);
        QVERIFY2(r.ok, qPrintable(r.error));
        QVERIFY(r.filas.contains(qMakePair(QStringLiteral("PRESUPUESTOS"), qint64(1))));
        QVERIFY(r.filas.contains(qMakePair(QStringLiteral("USUARIOS"), qint64(2))));
        ConexionPostgres c(d);
        QVERIFY(c.abierta());
        // The next key follows the copied ones.
        QVERIFY(
            c.ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS (PreNumero) VALUES ('0042')")).ok);
        QCOMPARE(c.ultimoIdInsertado(), 42);
        QCOMPARE(c.ejecutar(QStringLiteral("SELECT PreProCantidad FROM PRESUPUESTOS_PRODUCTOS "
                                           "WHERE PreId = 41"))
                     .filas->valor(0, 0),
                 QVariant(3.0));
        // A server that already holds quotes is never copied into.
        r = copiarAServidor(ruta, d);
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(u"ya tiene presupuestos"), qPrintable(r.error));
    }
};

QTEST_GUILESS_MAIN(PruebaPostgresql)
#include "tst_postgresql.moc"
