#pragma once

#include "data/conexion.h"

#include <memory>

// Opens a data source by name: its driver and database are read back from the
// ODBC configuration; a SQLite3 source opens natively with the system's
// dialect, any other driver through ODBC. On failure the result is null and
// `fallos` says why.
std::unique_ptr<Conexion> abrirOrigenDatos(const QString& dsn, const QString& password,
                                           QList<ErrorProveedor>& fallos);

// Opens a data source of another program through ODBC, whatever its driver
// (the stock-control program's database). A source registered for the SQLite3
// driver whose file does not exist is refused rather than created empty by
// the driver. On failure the result is null and `fallos` says why.
std::unique_ptr<Conexion> abrirOrigenOdbc(const QString& dsn, const QString& password,
                                          QList<ErrorProveedor>& fallos);
