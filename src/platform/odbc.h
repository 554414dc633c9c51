#pragma once

#include <QString>

#include <optional>

// User data sources in unixODBC's configuration (~/.odbc.ini, or the file that
// the ODBCINI environment variable names).
namespace odbc {

// The SQLite3 ODBC driver as registered by its Debian package.
QString driverSqlite();

// Creates or replaces the current user's data source `nombre` for `driver`,
// pointing at the database file `baseDatos`. False when the installer refused.
bool escribirOrigenUsuario(const QString& nombre, const QString& driver, const QString& baseDatos);

// The user data source file: the one ODBCINI names, or ~/.odbc.ini.
QString archivoOrigenesUsuario();

// Why the user data source file cannot take a data source (a folder in its
// place, read-only, not text, a folder that cannot hold it), in Spanish;
// empty when nothing is visibly wrong with it.
QString problemaArchivoOrigenes();

struct Origen {
    QString driver;    // the driver's name as registered ("SQLite3")
    QString baseDatos; // its Database attribute
    // A server's attributes (the PostgreSQL driver's names); empty for a file.
    QString servidor; // Servername
    QString puerto;   // Port
    QString usuario;  // Username
    QString ssl;      // SSLmode
};
// A user or system data source by name; nullopt when there is none.
std::optional<Origen> leerOrigen(const QString& nombre);

// The PostgreSQL ODBC driver as registered by its Debian package.
QString driverPostgres();
// True when the driver is the PostgreSQL one (by name or by library file).
bool esDriverPostgres(const QString& driver);

// Creates or replaces the current user's data source `nombre` for the
// PostgreSQL driver with the server's attributes of `origen` (never a
// password: libpq reads it from ~/.pgpass). False when the installer refused.
bool escribirOrigenServidor(const QString& nombre, const Origen& origen);

// True when the driver is the SQLite3 one (by name or by library file).
bool esDriverSqlite(const QString& driver);

} // namespace odbc
