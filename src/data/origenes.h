#pragma once

#include "data/conexion.h"

#include <memory>

// Opens a data source by name: its driver and database are read back from the
// ODBC configuration; a SQLite3 source opens natively with the system's
// dialect, any other driver through ODBC. On failure the result is null and
// `fallos` says why.
std::unique_ptr<Conexion> abrirOrigenDatos(const QString& dsn, const QString& password,
                                           QList<ErrorProveedor>& fallos);
