#pragma once

#include <QString>
#include <QVariantList>

#include <array>

// The four tables of the stock-control program that the import copies, with
// the source statement of each and the stored queries that write its rows.
namespace bodex {

// The data source that the stock-control program installs, and its password.
extern const QString kOrigen;
extern const QString kPassword;

enum Tabla { Categorias, Productos, Sectores, Proveedores, kTablas };

struct DefinicionTabla {
    QString consulta;   // the source statement; the row's own id comes first
    QString insertar;   // stored query for every row
    QString actualizar; // stored query for a deactivated row
    int columnas;       // the statement's columns; the deactivation flag is the last
    int columnaNombre;  // the column that names the row in messages
    QString plural;     // "Categorías", for progress and the summary
    QString elemento;   // "la categoría", for the message of a failed row
    // What each column of the statement holds, one letter per column: E a
    // whole number (an id, the minimum stock), N a number, S a yes/no value,
    // T text.
    QString clases;
};

// In the order the tables are read.
const std::array<DefinicionTabla, kTablas>& tablas();

// Product columns that refer to rows of other tables.
constexpr int kProductoCategoria = 3;
constexpr int kProductoProveedor = 9;
// The relation the imported contacts get: "Proveedor".
constexpr int kVinculoProveedor = 2;

// The values of the insert query of `tabla` from a source row (its columns in
// statement order): every column between the id and the flag, then, for
// suppliers, the relation.
QVariantList valoresInsertar(Tabla tabla, const QVariantList& fila);
// The values of the update query: the target row's id, the insert values,
// then the flag.
QVariantList valoresActualizar(Tabla tabla, const QVariantList& fila, qint64 id);

} // namespace bodex
