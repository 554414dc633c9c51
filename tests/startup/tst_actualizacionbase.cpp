// Upgrading a database of an older schema: the rows and the schema that come
// out, the copy kept first, and the cases that must leave the file untouched.
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"
#include "data/cotejo.h"
#include "data/versionsqlite.h"
#include "startup/actualizacionbase.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <sqlite3.h>

#include <memory>

namespace {

using Estado = ResultadoActualizacion::Estado;

QByteArray contenido(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Rows of one statement as text, each value with its storage class.
QStringList filas(sqlite3* bd, const QString& sql) {
    QStringList salida;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(bd, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        qFatal("%s: %s", qPrintable(sql), sqlite3_errmsg(bd));
    while (sqlite3_step(st) == SQLITE_ROW) {
        QStringList fila;
        for (int i = 0; i < sqlite3_column_count(st); ++i)
            fila << QString::number(sqlite3_column_type(st, i)) + u':' +
                        QString::fromUtf8(
                            reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
        salida << fila.join(u'|');
    }
    sqlite3_finalize(st);
    return salida;
}

template <typename F> QStringList leer(const QString& ruta, F&& f) {
    sqlite3* bd = nullptr;
    sqlite3_open_v2(QFile::encodeName(ruta).constData(), &bd, SQLITE_OPEN_READONLY, nullptr);
    cotejo::registrar(bd);
    const QStringList r = f(bd);
    sqlite3_close(bd);
    return r;
}

// Every row of every table, keys and row ids included. Tables without rows
// are left out: an upgrade may add empty tables, which the schema compares.
QStringList datos(const QString& ruta) {
    return leer(ruta, [](sqlite3* bd) {
        QStringList todo;
        for (const QString& t : filas(bd, QStringLiteral("SELECT name FROM sqlite_master WHERE "
                                                         "type = 'table' ORDER BY name"))) {
            const QString tabla = t.section(u':', 1);
            const QString orden =
                tabla == u"sqlite_sequence" ? QStringLiteral("name") : QStringLiteral("rowid");
            const QStringList contenido =
                filas(bd, QStringLiteral("SELECT %1, * FROM %2 ORDER BY %1").arg(orden, tabla));
            if (!contenido.isEmpty())
                todo << tabla << contenido;
        }
        return todo;
    });
}

// The schema's objects with their statements, quoting and spacing aside.
QStringList esquema(const QString& ruta) {
    return leer(ruta, [](sqlite3* bd) {
        QStringList objetos = filas(bd, QStringLiteral("SELECT type, name, tbl_name, sql FROM "
                                                       "sqlite_master"));
        for (QString& o : objetos)
            o = o.remove(u'"').replace(QRegularExpression(QStringLiteral("\\s+")),
                                       QStringLiteral(" "));
        objetos.sort();
        return objetos;
    });
}

void ejecutar(const QString& ruta, const char* sql) {
    sqlite3* bd = nullptr;
    sqlite3_open_v2(QFile::encodeName(ruta).constData(), &bd,
                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (sqlite3_exec(bd, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        qFatal("%s: %s", sql, sqlite3_errmsg(bd));
    sqlite3_close(bd);
}

} // namespace

class PruebaActualizacionBase : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPrueba> entorno;
    QString base;

    // A file of the first schema holding a little of everything.
    QString baseVersion1() {
        const QString ruta = entorno->ruta(QStringLiteral("bd2000.mdb"));
        QFile::copy(QStringLiteral(TARVO_BD_VERSION_1), ruta);
        QFile::setPermissions(ruta, QFile::ReadOwner | QFile::WriteOwner);
        Fixtura f(ruta);
        f.ejecutar(QStringLiteral("INSERT INTO CATEGORIAS (CatDescripcion) VALUES ('Árboles')"));
        const int cliente = f.contacto(QStringLiteral("Ñandú S.A."), QStringLiteral("Ñandú"));
        const int yerba =
            f.producto(QStringLiteral("Yerba"), QStringLiteral("A1"), 120.5, QStringLiteral("$"));
        const int mate = f.producto(QStringLiteral("Mate de calabaza"));
        // A key given and then deleted is not given again after the upgrade.
        f.producto(QStringLiteral("Descartado"));
        f.ejecutar(QStringLiteral("DELETE FROM PRODUCTOS WHERE ProDescripcion = 'Descartado'"));
        Fixtura::Presupuesto p;
        p.empId = cliente;
        p.lugar = QStringLiteral("Asunción");
        const int q = f.presupuesto(p);
        f.linea(q, yerba, 100.0, 3.0);
        f.linea(q, mate, 50.0, 1.0);
        f.usuario(QStringLiteral("ñoño"), QStringLiteral("x"), QStringLiteral("Íñigo"));
        return ruta;
    }

private slots:
    void init() { entorno = std::make_unique<EntornoPrueba>(); }
    void cleanup() { entorno.reset(); }

    void reconoceLaVersion() {
        const QString v1 = QStringLiteral(TARVO_BD_VERSION_1);
        QCOMPARE(versionArchivo(v1), 1);
        const QString v2 = entorno->copiarBase();
        QCOMPARE(versionArchivo(v2), versionesquema::kActual);
        // Files written before the version was kept carry 0.
        ejecutar(v2, "PRAGMA user_version = 0");
        QCOMPARE(versionArchivo(v2), 2);
        const QString ajena = entorno->ruta(QStringLiteral("ajena.mdb"));
        ejecutar(ajena, "CREATE TABLE CATEGORIAS (CatId INTEGER)");
        QCOMPARE(versionArchivo(ajena), versionesquema::kDesconocida);
    }

    void actualizaUnaBaseDeLaVersion1() {
        const QString ruta = baseVersion1();
        const QStringList antes = datos(ruta);
        const QString copias = entorno->ruta(QStringLiteral("respaldos"));
        QDir().mkpath(copias);

        const ResultadoActualizacion r = actualizarBase(ruta, copias);
        QCOMPARE(r.estado, Estado::Actualizada);
        QCOMPARE(r.versionAnterior, 1);
        QCOMPARE(versionArchivo(ruta), versionesquema::kActual);
        QCOMPARE(esquema(ruta), esquema(rutaBasePristina()));
        QCOMPARE(datos(ruta), antes);
        // The copy is the file as it was.
        const QString copia = copias + QStringLiteral("/bd2000-antes-de-version-2.mdb");
        QCOMPARE(r.copia, copia);
        QCOMPARE(versionArchivo(copia), 1);
        QCOMPARE(datos(copia), antes);

        const QByteArray actualizada = contenido(ruta);
        QCOMPARE(actualizarBase(ruta, copias).estado, Estado::AlDia);
        QCOMPARE(contenido(ruta), actualizada);
    }

    // A file of the previous schema gets what this one adds (the index of the
    // expiry day) and nothing else changes.
    void actualizaUnaBaseDeLaVersion2() {
        const QString ruta = entorno->copiarBase();
        ejecutar(ruta, "DROP TABLE PRESUPUESTOS_ESTADOS; DROP INDEX PRESUPUESTOS_Vencimiento; "
                       "DROP TABLE PRESUPUESTOS_ESTADO_ACTUAL; "
                       "DROP TRIGGER PRESUPUESTOS_EstadoActual_Baja; PRAGMA user_version = 2");
        const QStringList antes = datos(ruta);
        const ResultadoActualizacion r = actualizarBase(ruta, entorno->ruta(QString()));
        QCOMPARE(r.estado, Estado::Actualizada);
        QCOMPARE(r.versionAnterior, 2);
        QCOMPARE(esquema(ruta), esquema(rutaBasePristina()));
        QCOMPARE(datos(ruta), antes);
    }

    // A file of version 4 gets each stored quote's current status from the
    // history it holds: its newest row, whatever the other quotes' rows.
    void actualizaUnaBaseDeLaVersion4() {
        const QString ruta = entorno->copiarBase();
        ejecutar(ruta, "DROP TRIGGER PRESUPUESTOS_ESTADOS_Alta; DROP TRIGGER "
                       "PRESUPUESTOS_ESTADOS_Baja; DROP TRIGGER PRESUPUESTOS_ESTADOS_Cambio; "
                       "DROP TRIGGER PRESUPUESTOS_EstadoActual_Baja; DROP TABLE "
                       "PRESUPUESTOS_ESTADO_ACTUAL; PRAGMA user_version = 4");
        QList<int> q;
        {
            Fixtura f(ruta);
            Fixtura::Presupuesto p;
            p.empId = f.contacto(QStringLiteral("Acme"));
            for (int i = 0; i < 3; ++i)
                q << f.presupuesto(p);
            const auto estado = [&](int preId, const char* nombre) {
                f.ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS_ESTADOS (PreId, EstEstado, "
                                          "EstFechaHora) VALUES (?, ?, 46000.5)"),
                           {preId, QString::fromLatin1(nombre)});
            };
            estado(q[0], "Enviado");
            estado(q[1], "Aceptado");
            estado(q[0], "Rechazado");
            estado(q[1], "Enviado");
            estado(q[2] + 100, "Anulado"); // a quote that is gone
        }
        const ResultadoActualizacion r = actualizarBase(ruta, entorno->ruta(QString()));
        QCOMPARE(r.estado, Estado::Actualizada);
        QCOMPARE(r.versionAnterior, 4);
        QCOMPARE(esquema(ruta), esquema(rutaBasePristina()));
        const QStringList actual = leer(ruta, [](sqlite3* bd) {
            return filas(bd, QStringLiteral("SELECT PreId, EstEstado, EstId FROM "
                                            "PRESUPUESTOS_ESTADO_ACTUAL ORDER BY PreId"));
        });
        QCOMPARE(actual, (QStringList{QStringLiteral("1:%1|3:Rechazado|1:3").arg(q[0]),
                                      QStringLiteral("1:%1|3:Enviado|1:4").arg(q[1])}));
    }

    // Values a unique column would take for one are never merged: the file
    // stays as it is and the user learns what to rename.
    void unaColisionNoCambiaNada() {
        const QString ruta = baseVersion1();
        {
            Fixtura f(ruta);
            f.producto(QStringLiteral("Ñandutí"));
            f.producto(QStringLiteral("ñandutí"));
            f.ejecutar(QStringLiteral("INSERT INTO CATEGORIAS (CatDescripcion) VALUES ('Ácido'), "
                                      "('ácido')"));
        }
        const QByteArray antes = contenido(ruta);
        MensajesGuion mensajes;
        actualizarBaseAlIniciar(ruta, {});
        QCOMPARE(contenido(ruta), antes);
        QCOMPARE(mensajes.mostrados().size(), 1);
        const QString texto = mensajes.mostrados().first().texto;
        for (const QString& parte :
             {QStringLiteral("tabla PRODUCTOS, columna ProDescripcion: «Ñandutí» y «ñandutí»"),
              QStringLiteral("tabla CATEGORIAS, columna CatDescripcion: «Ácido» y «ácido»"),
              QStringLiteral("ventana de mantenimiento")})
            QVERIFY2(texto.contains(parte), qPrintable(texto));
        QVERIFY(!QFile::exists(entorno->ruta(QStringLiteral("bd2000-antes-de-version-2.mdb"))));
    }

    void unPasoFallidoNoCambiaNada() {
        const QString ruta = baseVersion1();
        const QString guion = entorno->ruta(QStringLiteral("version-3.sql"));
        QFile f(guion);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("CREATE TABLE NUEVA (a INTEGER);\nINSERT INTO NO_EXISTE VALUES (1);\n");
        f.close();
        std::vector<PasoEsquema> pasos = pasosEsquema();
        pasos.push_back({versionesquema::kActual + 1, guion, {}});
        const QByteArray antes = contenido(ruta);

        BaseVersionadaSqlite bd(ruta);
        const ResultadoActualizacion r = actualizarEsquema(
            bd, [&](int) { return entorno->ruta(QStringLiteral("copia.mdb")); }, pasos);
        QCOMPARE(r.estado, Estado::Fallida);
        QVERIFY2(r.texto().contains(QStringLiteral("NO_EXISTE")), qPrintable(r.texto()));
        QCOMPARE(contenido(ruta), antes);
    }

    void unaBaseMasNuevaNoSeEscribe() {
        const QString ruta = entorno->copiarBase();
        const int posterior = versionesquema::kActual + 1;
        ejecutar(ruta,
                 QByteArray("PRAGMA user_version = " + QByteArray::number(posterior)).constData());
        const QByteArray antes = contenido(ruta);
        const ResultadoActualizacion r = actualizarBase(ruta, {});
        QCOMPARE(r.estado, Estado::MasNueva);
        QVERIFY(r.texto().contains(QStringLiteral("versión %1").arg(posterior)));
        QVERIFY(r.texto().contains(QStringLiteral("versión %1").arg(versionesquema::kActual)));
        QVERIFY(!problemaVersionBase(ruta).isEmpty());
        {
            ConexionSqlite con(ruta);
            QVERIFY(!con.abierta());
            QVERIFY(con.errores().value(0).descripcion.contains(
                QStringLiteral("versión %1").arg(posterior)));
        }
        QCOMPARE(contenido(ruta), antes);
    }

    void unaBaseEnUsoSeDejaComoEsta() {
        const QString ruta = baseVersion1();
        const QByteArray antes = contenido(ruta);
        sqlite3* otra = nullptr;
        sqlite3_open_v2(QFile::encodeName(ruta).constData(), &otra, SQLITE_OPEN_READWRITE, nullptr);
        QCOMPARE(sqlite3_exec(otra, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        const ResultadoActualizacion r = actualizarBase(ruta, {});
        sqlite3_exec(otra, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(otra);
        QCOMPARE(r.estado, Estado::EnUso);
        QCOMPARE(contenido(ruta), antes);
        QCOMPARE(versionArchivo(ruta), 1);
    }

    void ordenesDeAdministrador() {
        const QString ruta = baseVersion1();
        const QByteArray r = QFile::encodeName(ruta);
        char programa[] = "tarvo";
        char version[] = "--version-base";
        char actualizar[] = "--actualizar-base";
        char* consultarArgs[] = {programa, version, const_cast<char*>(r.constData())};
        QCOMPARE(atenderOrdenesBase(3, consultarArgs), 0);
        char* actualizarArgs[] = {programa, actualizar, const_cast<char*>(r.constData())};
        QCOMPARE(atenderOrdenesBase(3, actualizarArgs), 0);
        QCOMPARE(versionArchivo(ruta), versionesquema::kActual);
        QVERIFY(QFile::exists(entorno->ruta(QStringLiteral("bd2000-antes-de-version-2.mdb"))));
        QCOMPARE(atenderOrdenesBase(2, actualizarArgs), 2);
        char otra[] = "--carpeta-programa";
        char* otraArgs[] = {programa, otra};
        QVERIFY(!atenderOrdenesBase(2, otraArgs).has_value());
    }
};

QTEST_MAIN(PruebaActualizacionBase)
#include "tst_actualizacionbase.moc"
