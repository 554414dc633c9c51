#pragma once

#include <QSqlDatabase>
#include <QString>

#include <optional>

// Where a PostgreSQL database of the program is and who connects to it. The
// password is never here: libpq reads it from ~/.pgpass.
struct DatosServidor {
    QString servidor; // host name, address or socket folder; empty for the local socket
    int puerto = 0;   // 0 for the default
    QString baseDatos;
    QString usuario;
    QString ssl; // libpq's sslmode; empty for its default

    // "servidor «h» (puerto p), base de datos «d»", for messages.
    QString descripcion() const;
};

class QSqlQuery;

namespace servidor {

// Reads a libpq connection string ("host=… port=… dbname=… user=…
// sslmode=…"; values may be quoted with '…' and escape \' and \\). nullopt,
// with the reason in `error`, for a malformed string, an unknown key or a
// password (which belongs in ~/.pgpass).
std::optional<DatosServidor> leerCadena(const QString& cadena, QString& error);
// The connection string of `datos` for libpq's programs (pg_dump): every
// value quoted, empty ones left out; never a password.
QString escribirCadena(const DatosServidor& datos);

// Opens a connection through Qt's QPSQL driver under the Qt connection name
// `nombreQt`. On failure the connection is removed and `error` says, in
// Spanish, what is wrong (password, unreachable server, missing database).
std::optional<QSqlDatabase> abrir(const DatosServidor& datos, const QString& nombreQt,
                                  QString& error);

// Closes and forgets the Qt connection `nombreQt`.
void cerrar(const QString& nombreQt);

// Runs `sql`, which may hold several statements, as one query on `q`; true
// when every statement succeeded. The driver judges such a query by its
// first statement alone: a later one's failure (after which the server runs
// none of the rest) is read from its own result into q.lastError().
bool ejecutarTodo(QSqlQuery& q, const QString& sql);

// A Qt connection name not used before in this process.
QString nombreNuevo();

// Checks that the database holds the program's objects in the version this
// program knows, and that integers work as conditions; the Spanish reason
// when not, empty when it can be used.
QString problemaObjetos(QSqlDatabase& bd, const DatosServidor& datos);

} // namespace servidor
