#pragma once

#include <QString>

// The files the exchange benchmarks work on, generated once into the
// benchmark cache and reused: this system's database with 100,000 products,
// and a database of the stock-control program with 100,000 products
// registered as an ODBC data source in a private configuration file.
namespace bases {

constexpr int kProductos = 100000;

struct Rutas {
    QString catalogo; // this system's database with the products
    QString origen;   // the stock-control program's database
    QString trabajo;  // a scratch copy of the pristine database, for imports
    QString salida;   // the export file
};

// Generates what is missing; false when something could not be prepared
// (the reason has been printed).
bool preparar(Rutas& rutas);

// The data sources, in the private ODBC configuration.
extern const QString kOrigenCatalogo;
extern const QString kOrigenTrabajo;
extern const QString kOrigenBodex;

} // namespace bases
