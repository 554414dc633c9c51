#pragma once

#include <QString>

struct sqlite3;

// A stand-in for the stock-control program's database, for trying and
// measuring the import without that program: a SQLite file with its four
// tables (categorias, productos, sectores, proveedores), the columns the
// import reads, ids with gaps and some rows deactivated. The same seed gives
// the same rows on every machine.
namespace muestrabodex {

struct Parametros {
    quint32 semilla = 1;
    int categorias = 25;
    int productos = 300;
    int sectores = 8;
    int proveedores = 40;
};

// The four tables, empty, in an open database.
bool crearTablas(sqlite3* bd, QString& error);

// Writes a new file `ruta` (replacing it) with the tables filled. The file is
// filled under a temporary name and renamed at the end.
bool generar(const QString& ruta, const Parametros& p, QString& error);

} // namespace muestrabodex
