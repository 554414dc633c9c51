#pragma once

#include <QString>

// The password file the PostgreSQL client library reads (~/.pgpass, or the
// file PGPASSFILE names): one line "host:port:database:user:password" per
// server, with ':' and '\' escaped by a backslash. The program keeps server
// passwords only there, never in its settings.
namespace pgpass {

struct Entrada {
    QString servidor; // empty: the local socket ("localhost" in the file)
    QString puerto;   // empty: the default port
    QString baseDatos;
    QString usuario;
    QString contrasena;
};

// The file the client library reads.
QString archivo();

// A field as the file writes it: '\' and ':' preceded by '\'.
QString escapar(const QString& campo);

// Writes the entry's line, replacing the line of the same server, port,
// database and user, and keeping every other line. The file is written whole
// to a temporary file of mode 0600 and renamed over the old one, so that it is
// never readable by others nor left half-written. False, with the reason in
// Spanish in `error`, when it cannot be written or a field holds a line break.
bool guardar(const Entrada& entrada, QString& error);

} // namespace pgpass
