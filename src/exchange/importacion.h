#pragma once

#include "exchange/tablasbodex.h"

#include <QString>

#include <array>
#include <functional>

// The import from the stock-control program: categories, products, sectors
// and suppliers are read from its data source and added to this system's
// database through the stored queries, all in one transaction.

// What the import is doing, for a progress display.
struct AvanceImportacion {
    QString texto;  // "Leyendo productos de Bodex", "Importando productos"
    int hechas = 0; // rows of this table written so far
    int total = 0;  // rows of this table; 0 while the table is being read
};
// Called between batches of rows; returning false stops the import, which is
// then undone.
using ProgresoImportacion = std::function<bool(const AvanceImportacion&)>;

enum class FinImportacion { Terminada, SinOrigen, Fallida, Cancelada };

struct ResultadoImportacion {
    FinImportacion fin = FinImportacion::Fallida;
    // Rows added per table (bodex::Tabla order); what a failed or cancelled
    // import had reached before it was undone.
    std::array<int, bodex::kTablas> importadas{};
};

// Opens the data source `dsn` as the source connection, reads the four tables
// and writes them: categories, suppliers, products, sectors, so that every
// product can point at the rows its own category and supplier became. Each
// deactivated row is updated right after its insert, by the id the database
// gave it. Anything that fails (the source, a table, a stored query, the
// commit) or a cancel leaves the database as it was. The user is told how it
// ended in one message, after the database's own messages.
ResultadoImportacion importarBodex(const QString& dsn, const QString& password,
                                   const ProgresoImportacion& progreso = {});
