// The PostgreSQL engine on a private cluster: the server's preparation, the
// dialect its objects give the program's statements, the driver's traps and
// the copy of a database file.
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"
#include "comun/mundopresupuestos.h"
#include "comun/servidorprueba.h"
#include "data/conexionpostgres.h"
#include "data/contadorenhilo.h"
#include "data/copiaservidor.h"
#include "data/marcasedicion.h"
#include "data/modconexion.h"
#include "data/versionservidor.h"
#include "platform/pgpass.h"
#include "platform/reloj.h"
#include "quotes/editorpresupuesto.h"
#include "quotes/estadospresupuesto.h"
#include "quotes/repositoriopresupuestos.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QScopeGuard>
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

    // A server of version 4 gets each quote's current status from the
    // history it holds; afterwards the triggers keep it.
    void guionQueFallaAMitadDiceSuError() {
        // A step's script is one query: the statement that failed is named,
        // not the next one the aborted transaction refuses.
        BaseVersionadaServidor base(con->datos());
        QVERIFY(base.comenzar());
        QVERIFY(!base.ejecutarGuion(u"SELECT 1; SELECT * FROM no_existe; SELECT 2"_s));
        QVERIFY2(base.error().contains(u"no_existe"), qPrintable(base.error()));
    }

    void actualizacionLlenaElEstadoActual() {
        const DatosServidor d = servidorprueba::datos(servidorprueba::baseVacia());
        {
            BaseVersionadaServidor base(d);
            std::vector<PasoEsquema> hasta4;
            for (const PasoEsquema& p : pasosServidor())
                if (p.version <= 4)
                    hasta4.push_back(p);
            QVERIFY(actualizarEsquema(
                        base, [](int) { return QString(); }, hasta4)
                        .alDia());
            QVERIFY(base.comenzar());
            QVERIFY2(base.ejecutarGuion(QStringLiteral(
                         "INSERT INTO PRESUPUESTOS (PreId, PreNumero) VALUES (1, '1'), (2, '2'), "
                         "(3, '3'); INSERT INTO PRESUPUESTOS_ESTADOS (PreId, EstEstado, "
                         "EstFechaHora) VALUES (1, 'Enviado', now()), (2, 'Aceptado', now()), "
                         "(1, 'Rechazado', now()), (2, 'Enviado', now())")),
                     qPrintable(base.error()));
            QVERIFY(base.confirmar());
        }
        const ResultadoActualizacion r = prepararServidor(d);
        QCOMPARE(int(r.estado), int(ResultadoActualizacion::Estado::Actualizada));
        QCOMPARE(r.versionAnterior, 4);
        ConexionPostgres c(d);
        QVERIFY(c.abierta());
        const auto actual = [&] {
            const ResultadoSentencia e = c.ejecutar(QStringLiteral(
                "SELECT PreId, EstEstado FROM PRESUPUESTOS_ESTADO_ACTUAL ORDER BY PreId"));
            QStringList t;
            for (int f = 0; e.ok && f < e.filas->filas(); ++f)
                t << e.filas->texto(f, 0) + u':' + e.filas->texto(f, 1);
            return t;
        };
        QCOMPARE(actual(), (QStringList{u"1:Rechazado"_s, u"2:Enviado"_s}));
        QVERIFY(c.ejecutar(u"INSERT INTO PRESUPUESTOS_ESTADOS (PreId, EstEstado, EstFechaHora) "
                           "VALUES (3, 'Anulado', now())"_s)
                    .ok);
        QVERIFY(c.ejecutar(u"DELETE FROM PRESUPUESTOS_ESTADOS WHERE PreId = 2 AND EstEstado = "
                           "'Enviado'"_s)
                    .ok);
        QVERIFY(c.ejecutar(u"DELETE FROM PRESUPUESTOS WHERE PreId = 1"_s).ok);
        QCOMPARE(actual(), (QStringList{u"2:Aceptado"_s, u"3:Anulado"_s}));
    }

    void servidorInalcanzableSeDiceClaro() {
        DatosServidor d = servidorprueba::datos(QStringLiteral("plantilla"));
        d.servidor = entorno->ruta(QStringLiteral("sin-servidor"));
        ConexionPostgres c(d);
        QVERIFY(!c.abierta());
        QVERIFY(c.errores().value(0).descripcion.startsWith(u"No se puede conectar"));
    }

    void contrasenaYBaseConAcentos() {
        // A desk's user that must give its password (with ':' and '\', which
        // ~/.pgpass escapes), on a database whose name has accents and a space.
        const QString base = QStringLiteral("Presupuestos Año Ñ");
        QVERIFY(con->ejecutar(QStringLiteral("CREATE DATABASE \"%1\" TEMPLATE plantilla").arg(base))
                    .ok);
        QVERIFY(con->ejecutar(QStringLiteral("CREATE ROLE tarvo_clave LOGIN PASSWORD "
                                             "'se:cr\\eto' IN ROLE tarvo_puestos"))
                    .ok);
        const QString hba = uno(QStringLiteral("SHOW hba_file")).toString();
        const auto reglas = [&](const char* primera) {
            return con->ejecutar(QStringLiteral("COPY (SELECT r FROM (VALUES (1, '%1'), (2, 'local "
                                                "all all trust')) v(n, r) ORDER BY n) TO '%2'")
                                     .arg(QLatin1StringView(primera), hba))
                       .ok &&
                   con->ejecutar(QStringLiteral("SELECT pg_reload_conf()")).ok;
        };
        const auto restaurar = qScopeGuard([&] { reglas("local all all trust"); });
        QVERIFY(reglas("local all tarvo_clave scram-sha-256"));
        DatosServidor d = con->datos();
        d.baseDatos = base;
        d.usuario = QStringLiteral("tarvo_clave");
        const auto conClave = [&](const char* clave) {
            QString error;
            QVERIFY2(pgpass::guardar({d.servidor, QString::number(d.puerto), base, d.usuario,
                                      QString::fromUtf8(clave)},
                                     error),
                     qPrintable(error));
        };
        conClave("otra");
        // The server reads its rules again in the background.
        QElapsedTimer reloj;
        reloj.start();
        auto mala = std::make_unique<ConexionPostgres>(d);
        while (mala->abierta() && reloj.elapsed() < 5000) {
            QTest::qWait(100);
            mala = std::make_unique<ConexionPostgres>(d);
        }
        QVERIFY(!mala->abierta());
        QVERIFY2(mala->errores().value(0).descripcion.startsWith(
                     u"El servidor rechazó la contraseña del usuario «tarvo_clave»"),
                 qPrintable(mala->errores().value(0).descripcion));
        conClave("se:cr\\eto");
        ConexionPostgres buena(d);
        QVERIFY2(buena.abierta(), qPrintable(buena.errores().value(0).descripcion));
        const ResultadoSentencia r = buena.ejecutar(QStringLiteral("SELECT current_database()"));
        QVERIFY(r.ok);
        QCOMPARE(r.filas->texto(0, 0), base);
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
        // A column that holds no Null is sorted as the server's index is,
        // so that the newest quote is one index step, not a sort of all;
        // an outer join can still bring Nulls, which sort first.
        const ResultadoSentencia plan = con->ejecutar(QStringLiteral(
            "EXPLAIN SELECT PreNumero FROM PRESUPUESTOS ORDER BY PreId DESC LIMIT 1"));
        QVERIFY(plan.ok);
        QVERIFY2(!plan.filas->texto(1, 0).contains(u"Sort"), qPrintable(plan.filas->texto(1, 0)));
        QCOMPARE(numeros(QStringLiteral("SELECT L.ProId FROM PRESUPUESTOS P LEFT JOIN "
                                        "PRESUPUESTOS_PRODUCTOS L ON L.PreId = P.PreId "
                                        "ORDER BY L.ProId LIMIT 1")),
                 QStringList{u"-"_s});
        // A prepared statement run again is planned for its values.
        QCOMPARE(uno(QStringLiteral("SELECT current_setting('plan_cache_mode')")),
                 QVariant(QStringLiteral("force_custom_plan")));
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
        QVERIFY(!con->ejecutar(sql, {QStringLiteral("ÁBACOS")}).ok);
        QVERIFY(con->ejecutar(sql, {QStringLiteral("Brocas")}).ok);
        QVERIFY(con->confirmarTransaccion());
        QCOMPARE(uno(QStringLiteral("SELECT COUNT(*) FROM CATEGORIAS")), QVariant(2));
    }

    void sentenciaPreparadaTrasCambiarLaTabla() {
        // Statements are prepared once per connection: another desk adding a
        // column must not leave this one failing on its prepared copy.
        const QString sql = QStringLiteral("SELECT * FROM CATEGORIAS WHERE CatId = ?");
        const auto columnas = [&] {
            const ResultadoSentencia r = con->ejecutar(sql, {1});
            return r.ok ? r.filas->columnas() : -1;
        };
        QCOMPARE(columnas(), 3);
        ConexionPostgres otro(con->datos());
        const auto cambiar = [&](const char* cambio) {
            return otro
                .ejecutar(QStringLiteral("ALTER TABLE CATEGORIAS ") + QLatin1StringView(cambio))
                .ok;
        };
        QVERIFY(cambiar("ADD COLUMN CatOtra integer"));
        QCOMPARE(columnas(), 4);
        QVERIFY(cambiar("DROP COLUMN CatOtra"));
        // Inside a transaction, the failed first try does not abort it.
        QVERIFY(con->iniciarTransaccion());
        QCOMPARE(columnas(), 3);
        QVERIFY(con->confirmarTransaccion());
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

    // A quote open for changes on one desk opens for viewing only on
    // another, which is told who has it; it can be edited there once the
    // first desk lets it go, or once that desk's connection is gone.
    void unPresupuestoSeEditaEnUnPuestoALaVez() {
        qputenv("TARVO_PRUEBA_MOTOR", "postgresql");
        const auto restaurar = qScopeGuard([] { qunsetenv("TARVO_PRUEBA_MOTOR"); });
        MundoPresupuestos mundo(u"ana"_s);
        const int acme = mundo.datos().contacto(u"Acme"_s);
        const int pre = mundo.presupuesto(u"42"_s, acme, u"ana"_s);
        mundo.datos().linea(pre, mundo.datos().producto(u"Tornillo"_s));
        const DatosServidor d = servidorprueba::baseDeArchivo(mundo.base());
        auto otra = std::make_unique<ConexionPostgres>(d);
        QVERIFY(otra->abierta());
        auto marcas = marcasEdicion(*otra);
        QCOMPARE(marcas->tomar(pre, u"ana"_s, u"OFICINA-2"_s), MarcasEdicion::Toma::Tomada);
        // Taken twice by one desk, one release lets it go.
        QCOMPARE(marcas->tomar(pre, u"ana"_s, u"OFICINA-2"_s), MarcasEdicion::Toma::Tomada);
        const QDateTime desde(QDate(2026, 12, 9), QTime(10, 32));
        QVERIFY(otra->ejecutar(u"UPDATE TARVO_EDICIONES SET Desde = to_timestamp(?)"_s,
                               {desde.toSecsSinceEpoch()})
                    .ok);

        EditorPresupuesto editor;
        const auto abrir = [&] {
            editor.agregando = false;
            editor.CargarPre(pre);
        };
        abrir();
        QCOMPARE(mundo.mensajes().textos(),
                 QStringList{u"El presupuesto 42 está siendo modificado por ana en OFICINA-2 "
                             "desde las 10:32."_s});
        QVERIFY(editor.soloLectura());
        QVERIFY(!editor.camposHabilitados());
        QVERIFY(!editor.botones()[2] && !editor.botones()[3]);
        QVERIFY(!editor.guardar());
        QCOMPARE(editor.lineas().cantidad(), 1);
        mundo.mensajes().escribir(u"1"_s);
        editor.quitarUnidades(0);
        QCOMPARE(editor.lineas().cantidad(), 1);

        // The other desk lets it go: "Editar" takes it here.
        marcas->soltar(pre);
        editor.cmdMenu_Click(1);
        QVERIFY2(editor.modo() == ModoEditor::Edicion,
                 qPrintable(mundo.mensajes().textos().join(u'|')));
        QCOMPARE(marcas->tomar(pre, u"luis"_s, u"OFICINA-3"_s), MarcasEdicion::Toma::Ocupada);
        const std::optional<MarcaEdicion> quien = marcas->quien(pre);
        QVERIFY(quien);
        QCOMPARE(quien->usuario, u"ana"_s);
        QCOMPARE(quien->puesto, puestoActual());
        // Closing the editor lets it go.
        editor.cerrar();
        QCOMPARE(marcas->tomar(pre, u"ana"_s, u"OFICINA-2"_s), MarcasEdicion::Toma::Tomada);

        // A desk whose connection ends without letting go holds nothing.
        mundo.mensajes().limpiar();
        abrir();
        QVERIFY(editor.soloLectura());
        const QVariant pid = otra->ejecutar(u"SELECT pg_backend_pid()"_s).filas->valor(0, 0);
        marcas.reset();
        otra.reset();
        // The server ends that session a moment after the desk goes.
        QTRY_VERIFY(conexion()
                        ->ejecutar(u"SELECT COUNT(*) FROM pg_stat_activity WHERE pid = ?"_s, {pid})
                        .filas->valor(0, 0)
                        .toInt() == 0);
        editor.cmdMenu_Click(1);
        QCOMPARE(editor.modo(), ModoEditor::Edicion);
        QCOMPARE(mundo.mensajes().textos().size(), 1);
        editor.cerrar();
    }

    // Deleting a quote while another desk or program adds a line to it
    // leaves no line without its quote, whichever goes first: the deletion
    // waits for the line and takes it along; a line added after the
    // deletion is refused with the program's message.
    void borrarMientrasOtroAgregaUnaLinea() {
        const QString huerfanas = u"SELECT COUNT(*) FROM PRESUPUESTOS_PRODUCTOS L WHERE NOT "
                                  "EXISTS (SELECT 1 FROM PRESUPUESTOS P WHERE P.PreId = L.PreId)"_s;
        ConexionPostgres vigia(con->datos());
        // Waits until another session holds (or waits for) the write lock
        // that a statement changing quotes takes.
        const auto hasta = [&vigia](bool concedido) {
            for (int i = 0; i < 250; ++i) {
                const ResultadoSentencia r = vigia.ejecutar(
                    u"SELECT COUNT(*) FROM pg_locks l JOIN pg_class c ON c.oid = l.relation "
                    "WHERE c.relname = 'presupuestos' AND l.pid <> pg_backend_pid() AND "
                    "l.mode = 'RowExclusiveLock' AND l.granted = ?"_s,
                    {concedido});
                if (r.ok && r.filas->valor(0, 0).toInt() > 0)
                    return true;
                QTest::qWait(20);
            }
            return false;
        };
        const QString base = con->datos().baseDatos;
        QVERIFY(con->ejecutar(u"INSERT INTO PRESUPUESTOS (PreId, PreNumero) VALUES (1, '1'), "
                              "(2, '2')"_s)
                    .ok);

        QVERIFY(con->iniciarTransaccion());
        QVERIFY(
            con->ejecutar(u"INSERT INTO PRESUPUESTOS_PRODUCTOS (PreId, ProId) VALUES (1, 1)"_s).ok);
        QProcess borrado;
        servidorprueba::psqlAparte(borrado, base, u"DELETE FROM PRESUPUESTOS WHERE PreId = 1;"_s);
        QVERIFY(hasta(false)); // waiting for the desk's transaction
        QVERIFY(con->confirmarTransaccion());
        QVERIFY(borrado.waitForFinished());
        QCOMPARE(borrado.exitCode(), 0);
        QCOMPARE(uno(u"SELECT COUNT(*) FROM PRESUPUESTOS"_s), QVariant(1));
        QCOMPARE(uno(huerfanas), QVariant(0));

        QProcess antes;
        servidorprueba::psqlAparte(antes, base,
                                   u"BEGIN; DELETE FROM PRESUPUESTOS WHERE PreId = 2; SELECT "
                                   "pg_sleep(0.3); COMMIT;"_s);
        QVERIFY(hasta(true) || antes.state() == QProcess::NotRunning);
        QVERIFY(con->iniciarTransaccion());
        QVERIFY(!con->ejecutar(u"INSERT INTO PRESUPUESTOS_PRODUCTOS (PreId, ProId) VALUES (2, 1)"_s)
                     .ok);
        QVERIFY2(con->errores().value(0).descripcion.startsWith(
                     u"No se puede guardar el registro: el registro al que pertenece ya no existe"),
                 qPrintable(con->errores().value(0).descripcion));
        QVERIFY(con->deshacerTransaccion());
        QVERIFY(antes.waitForFinished());
        QCOMPARE(antes.exitCode(), 0);
        QCOMPARE(uno(u"SELECT COUNT(*) FROM PRESUPUESTOS"_s), QVariant(0));
        QCOMPARE(uno(huerfanas), QVariant(0));
    }

    // A server of the previous version may hold lines whose quote is gone:
    // the upgrade deletes them and keeps the others.
    void actualizacionQuitaLineasSinPresupuesto() {
        const DatosServidor d = servidorprueba::datos(servidorprueba::baseVacia());
        {
            BaseVersionadaServidor base(d);
            std::vector<PasoEsquema> anteriores;
            for (const PasoEsquema& paso : pasosServidor())
                if (paso.version < 5)
                    anteriores.push_back(paso);
            const ResultadoActualizacion r = actualizarEsquema(
                base, [](int) { return QString(); }, anteriores);
            QVERIFY2(r.alDia(), qPrintable(r.texto()));
        }
        QProcess psql;
        servidorprueba::psqlAparte(psql, d.baseDatos,
                                   u"INSERT INTO PRESUPUESTOS (PreId, PreNumero) VALUES (1, '1'); "
                                   "INSERT INTO PRESUPUESTOS_PRODUCTOS (PreId, ProId) VALUES (1, "
                                   "1), (9, 1), (9, 2);"_s);
        QVERIFY(psql.waitForFinished());
        QCOMPARE(psql.exitCode(), 0);
        const ResultadoActualizacion r = prepararServidor(d);
        QVERIFY2(r.alDia(), qPrintable(r.texto()));
        ConexionPostgres c(d);
        QVERIFY(c.abierta());
        const ResultadoSentencia quedan =
            c.ejecutar(u"SELECT COUNT(*), MIN(PreId) FROM PRESUPUESTOS_PRODUCTOS"_s);
        QVERIFY(quedan.ok);
        QCOMPARE(quedan.filas->valor(0, 0), QVariant(1));
        QCOMPARE(quedan.filas->valor(0, 1), QVariant(1));
    }

    // A desk whose login owns nothing, only a member of the desks' role,
    // works as the owner does: it saves a quote (the key trigger moves a
    // sequence), marks its status and deletes it; the schema's version it
    // only reads.
    void unPuestoQueNoEsElDueno() {
        MensajesGuion mensajes;
        QVERIFY(con->ejecutar(u"CREATE ROLE puesto_ana LOGIN"_s).ok);
        DatosServidor puesto = con->datos();
        puesto.usuario = u"puesto_ana"_s;
        // Not let in yet: refused with what the administrator must do.
        ConexionPostgres ajeno(puesto);
        QVERIFY(!ajeno.abierta());
        QVERIFY2(
            ajeno.errores().value(0).descripcion.contains(u"GRANT tarvo_puestos TO puesto_ana"),
            qPrintable(ajeno.errores().value(0).descripcion));
        QVERIFY(con->ejecutar(u"GRANT tarvo_puestos TO puesto_ana"_s).ok);
        QVERIFY(con->ejecutar(u"INSERT INTO CONTACTOS (EmpNombreFantasia) VALUES ('Acme')"_s).ok);
        const qint64 acme = con->ultimoIdInsertado();
        QVERIFY(CrearDSNServidor(u"TARVO_PUESTO"_s, puesto));
        establecerAccionFalloConexion([] { QFAIL("la conexión no se abrió"); });
        AbrirConexion(u"TARVO_PUESTO"_s, u"pelmor"_s);
        QVERIFY(conexion());

        Presupuesto p;
        p.fecha = QDate(2026, 12, 9);
        p.empId = qint32(acme);
        p.lineas.push_back({});
        p.lineas.back().proId = 1;
        p.lineas.back().precio = 2.5;
        p.lineas.back().cantidad = 4;
        const RepositorioPresupuestos::Guardado g =
            RepositorioPresupuestos::guardar(p, std::nullopt, u"ana"_s, true);
        QVERIFY2(g.resultado == RepositorioPresupuestos::Resultado::Guardado,
                 qPrintable(mensajes.textos().join(u'\n')));
        const qint32 id = g.presupuesto.id.value_or(0);
        QCOMPARE(estados::marcar(id, EstadoPresupuesto::Borrador, EstadoPresupuesto::Enviado,
                                 u"ana"_s, {}),
                 estados::Marca::Marcado);
        // A key given on insert moves its sequence past it.
        QVERIFY2(conexion()
                     ->ejecutar(u"INSERT INTO CATEGORIAS (CatId, CatDescripcion) VALUES (50, "
                                "'Dada')"_s)
                     .ok,
                 qPrintable(conexion()->errores().value(0).descripcion));
        QVERIFY(
            conexion()->ejecutar(u"INSERT INTO CATEGORIAS (CatDescripcion) VALUES ('Sigue')"_s).ok);
        QCOMPARE(conexion()->ultimoIdInsertado(), 51);
        QList<ErrorProveedor> fallos;
        QVERIFY(RepositorioPresupuestos::eliminar(id, fallos));
        QVERIFY(!conexion()->ejecutar(u"UPDATE TARVO_VERSION SET Version = 9"_s).ok);
        QVERIFY2(mensajes.mostrados().isEmpty(), qPrintable(mensajes.textos().join(u'\n')));
        QCOMPARE(uno(u"SELECT COUNT(*) FROM PRESUPUESTOS"_s), QVariant(0));
        QCOMPARE(uno(u"SELECT COUNT(*) FROM PRESUPUESTOS_PRODUCTOS"_s), QVariant(0));
        CerrarConexion();
        establecerAccionFalloConexion({});
    }

    // A count in its own thread, on another connection to the same database,
    // is cancelled on the server when dropped and when its owner goes.
    void conteoEnHiloSeCancela() {
        const Conexion::Abridor otra = con->abridorDeOtra();
        QVERIFY(otra);
        // The counts name their server session: one kept between counts,
        // never after it was interrupted.
        const QString clave = con->identidad();
        const QString sesion = u"SELECT pg_backend_pid()"_s;
        const QString larga =
            u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<400000000) "
            "SELECT count(*) FROM n"_s;
        auto contador = std::make_unique<ContadorEnHilo>();
        QSignalSpy contado(contador.get(), &ContadorEnHilo::contado);
        contador->contar(1, otra, sesion, {}, clave);
        QVERIFY(contado.wait());
        QCOMPARE(contado.last().at(0).toULongLong(), 1u);
        const qint64 primera = contado.last().at(1).toLongLong();
        QVERIFY(primera > 0);
        contador->contar(2, otra, sesion, {}, clave);
        QVERIFY(contado.wait());
        QCOMPARE(contado.last().at(1).toLongLong(), primera);
        // A long count dropped by the next one: the next one lands at once.
        contador->contar(3, otra, larga, {}, clave);
        QTest::qWait(300);
        QElapsedTimer reloj;
        reloj.start();
        contador->contar(4, otra, sesion, {}, clave);
        QVERIFY(contado.wait(5000));
        QVERIFY(reloj.elapsed() < 3000);
        QCOMPARE(contado.size(), 3);
        QCOMPARE(contado.last().at(0).toULongLong(), 4u);
        QVERIFY(contado.last().at(1).toLongLong() > 0);
        QVERIFY(contado.last().at(1).toLongLong() != primera);
        // Going while a long count runs neither waits for it nor crashes.
        contador->contar(5, otra, larga, {}, clave);
        QTest::qWait(300);
        reloj.restart();
        contador.reset();
        QVERIFY(reloj.elapsed() < 3000);
        QTest::qWait(100);
        QCOMPARE(contado.size(), 3);
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
            // A line of a quote the file no longer has is left out.
            f.linea(77, 1);
            f.ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS_ESTADOS (PreId, EstEstado, "
                                      "EstFechaHora) VALUES (41, 'Enviado', 46000.5), "
                                      "(41, 'Aceptado', 46001.5)"));
        }
        const DatosServidor d = servidorprueba::datos(servidorprueba::baseNueva());
        ResultadoCopia r = copiarAServidor(ruta, d);
        QVERIFY2(r.ok, qPrintable(r.error));
        QVERIFY(r.filas.contains(qMakePair(QStringLiteral("PRESUPUESTOS"), qint64(1))));
        QVERIFY(r.filas.contains(qMakePair(QStringLiteral("USUARIOS"), qint64(2))));
        QVERIFY(r.filas.contains(qMakePair(QStringLiteral("PRESUPUESTOS_PRODUCTOS"), qint64(1))));
        QCOMPARE(r.sinPresupuesto,
                 (QList<QPair<QString, qint64>>{{QStringLiteral("PRESUPUESTOS_PRODUCTOS"), 1}}));
        ConexionPostgres c(d);
        QVERIFY(c.abierta());
        // The next key follows the copied ones.
        QVERIFY(
            c.ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS (PreNumero) VALUES ('0042')")).ok);
        QCOMPARE(c.ultimoIdInsertado(), 42);
        // The current status is the server's own, derived from the history
        // copied.
        QCOMPARE(c.ejecutar(QStringLiteral("SELECT EstEstado FROM PRESUPUESTOS_ESTADO_ACTUAL"))
                     .filas->valor(0, 0)
                     .toString(),
                 QStringLiteral("Aceptado"));
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
