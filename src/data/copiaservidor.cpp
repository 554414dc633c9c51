#include "data/copiaservidor.h"

#include "data/conexionsqlite.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {

// Tables the preparation fills with seed rows: the file's rows replace them.
const QSet<QString> kSemillas{QStringLiteral("usuarios"), QStringLiteral("vinculos"),
                              QStringLiteral("opciones")};
// Tables whose rows belong to a quote: the server refuses a row whose quote
// does not exist, which a file may hold; such rows belong to nothing.
const QSet<QString> kDePresupuesto{QStringLiteral("presupuestos_productos"),
                                   QStringLiteral("presupuestos_estados")};
// The server's own: its version, its stored queries, who edits which quote
// and the day of the last backup (a file has none of the last two).
const QSet<QString> kPropias{QStringLiteral("tarvo_version"), QStringLiteral("consultas_guardadas"),
                             QStringLiteral("tarvo_ediciones"),
                             QStringLiteral("tarvo_copia_diaria")};
// Kept by the server's own triggers as the rows they derive from are copied:
// copying them too would write each row twice.
const QSet<QString> kDerivadas{QStringLiteral("presupuestos_estado_actual")};

QString errorDe(const QSqlQuery& q) {
    const QString t = q.lastError().databaseText().trimmed();
    return t.isEmpty() ? q.lastError().text() : t;
}

} // namespace

ResultadoCopia copiarAServidor(const QString& rutaArchivo, const DatosServidor& datos) {
    ResultadoCopia r;
    ConexionSqlite archivo(rutaArchivo);
    if (!archivo.abierta()) {
        r.error = archivo.errores().isEmpty()
                      ? QStringLiteral("no se puede abrir «%1».").arg(rutaArchivo)
                      : archivo.errores().first().descripcion;
        return r;
    }
    const QString nombreQt = servidor::nombreNuevo();
    struct Cerrar {
        QString nombre;
        ~Cerrar() { servidor::cerrar(nombre); }
    } cerrar{nombreQt};
    auto abierta = servidor::abrir(datos, nombreQt, r.error);
    if (!abierta)
        return r;
    QSqlDatabase bd = *abierta;
    if (const QString problema = servidor::problemaObjetos(bd, datos); !problema.isEmpty()) {
        r.error = problema;
        return r;
    }
    QSqlQuery q(bd);
    const auto falloEn = [&](const QString& donde, const QSqlQuery& cual) {
        r.error = donde + QStringLiteral(": ") + errorDe(cual);
        QSqlQuery(bd).exec(QStringLiteral("ROLLBACK"));
        r.filas.clear();
        return r;
    };
    const auto fallo = [&](const QString& donde) { return falloEn(donde, q); };
    if (!q.exec(QStringLiteral("BEGIN")) ||
        !q.exec(QStringLiteral("LOCK TABLE PRESUPUESTOS IN SHARE ROW EXCLUSIVE MODE")))
        return fallo(QStringLiteral("no se pudo comenzar la copia"));

    // The server's tables, in the order they were created, with their
    // columns and generated keys.
    if (!q.exec(QStringLiteral(
            "SELECT c.relname, a.attname, a.attidentity <> '' FROM pg_class c "
            "JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped "
            "WHERE c.relkind = 'r' AND c.relnamespace = current_schema()::regnamespace "
            "ORDER BY c.oid, a.attnum")))
        return fallo(QStringLiteral("no se pudieron leer las tablas del servidor"));
    QStringList tablas;
    QHash<QString, QStringList> columnas;
    QHash<QString, QString> claves;
    while (q.next()) {
        const QString t = q.value(0).toString();
        if (kPropias.contains(t))
            continue;
        if (!columnas.contains(t))
            tablas << t;
        columnas[t] << q.value(1).toString();
        if (q.value(2).toBool())
            claves.insert(t, q.value(1).toString());
    }
    // Quotes on the server mean desks already work on it.
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM PRESUPUESTOS")) || !q.next())
        return fallo(QStringLiteral("no se pudo leer la tabla PRESUPUESTOS"));
    if (q.value(0).toLongLong() > 0) {
        r.error = QStringLiteral("la base de datos del %1 ya tiene presupuestos: la copia solo "
                                 "se hace a un servidor recién preparado.")
                      .arg(datos.descripcion());
        QSqlQuery(bd).exec(QStringLiteral("ROLLBACK"));
        return r;
    }
    for (const QString& t : std::as_const(tablas)) {
        if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(t)) || !q.next())
            return fallo(QStringLiteral("no se pudo leer la tabla %1").arg(t));
        const qint64 n = q.value(0).toLongLong();
        if (n > 0 && !kSemillas.contains(t)) {
            r.error = QStringLiteral("la tabla %1 del servidor ya tiene filas: la copia solo se "
                                     "hace a un servidor recién preparado.")
                          .arg(t);
            QSqlQuery(bd).exec(QStringLiteral("ROLLBACK"));
            return r;
        }
        if (n > 0 && !q.exec(QStringLiteral("DELETE FROM %1").arg(t)))
            return fallo(QStringLiteral("no se pudo vaciar la tabla %1").arg(t));
    }

    // Tables are reported as the file spells them.
    QHash<QString, QString> nombresArchivo;
    if (const ResultadoSentencia n =
            archivo.ejecutar(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
        n.ok)
        for (int f = 0; f < n.filas->filas(); ++f)
            nombresArchivo.insert(n.filas->texto(f, 0).toLower(), n.filas->texto(f, 0));
    for (const QString& t : std::as_const(tablas)) {
        if (kDerivadas.contains(t))
            continue;
        const QString deUnPresupuesto =
            kDePresupuesto.contains(t)
                ? QStringLiteral(" WHERE PreId IN (SELECT PreId FROM PRESUPUESTOS)")
                : QString();
        const ResultadoSentencia filas =
            archivo.ejecutar(QStringLiteral("SELECT * FROM %1").arg(t) + deUnPresupuesto);
        if (!filas.ok) {
            // A table the file lacks (a newer server step) stays empty.
            r.filas << qMakePair(t.toUpper(), qint64(0));
            continue;
        }
        const TablaResultado& tabla = *filas.filas;
        QList<int> indices;
        QStringList nombres;
        for (int c = 0; c < tabla.columnas(); ++c)
            if (columnas[t].contains(tabla.columna(c).nombre.toLower())) {
                indices << c;
                nombres << tabla.columna(c).nombre;
            }
        QStringList marcas(indices.size(), QStringLiteral("?"));
        QSqlQuery insertar(bd);
        if (!insertar.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(t, nombres.join(u','), marcas.join(u',')))) {
            return falloEn(QStringLiteral("no se pudo preparar la copia de %1").arg(t), insertar);
        }
        for (int f = 0; f < tabla.filas(); ++f) {
            for (int i = 0; i < indices.size(); ++i)
                insertar.bindValue(i, tabla.valor(f, indices[i]));
            if (!insertar.exec()) {
                return falloEn(
                    QStringLiteral("no se pudo copiar la fila %1 de la tabla %2").arg(f + 1).arg(t),
                    insertar);
            }
        }
        r.filas << qMakePair(nombresArchivo.value(t, t), qint64(tabla.filas()));
        if (!deUnPresupuesto.isEmpty()) {
            const ResultadoSentencia todas =
                archivo.ejecutar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(t));
            if (!todas.ok) {
                QSqlQuery(bd).exec(QStringLiteral("ROLLBACK"));
                r.filas.clear();
                r.error = QStringLiteral("no se pudo contar la tabla %1 del archivo: %2")
                              .arg(t, archivo.errores().value(0).descripcion);
                return r;
            }
            if (const qint64 fuera = todas.filas->valor(0, 0).toLongLong() - tabla.filas();
                fuera > 0)
                r.sinPresupuesto << qMakePair(nombresArchivo.value(t, t), fuera);
        }
        if (const QString clave = claves.value(t);
            !clave.isEmpty() && !q.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', "
                                                       "'%2'), COALESCE(MAX(%2), 0) + 1, false) "
                                                       "FROM %1")
                                            .arg(t, clave)))
            return fallo(QStringLiteral("no se pudo ajustar la numeración de %1").arg(t));
    }
    if (!q.exec(QStringLiteral("COMMIT")))
        return fallo(QStringLiteral("no se pudo confirmar la copia"));
    r.ok = true;
    return r;
}
