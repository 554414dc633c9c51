#pragma once

#include "data/registros.h"

#include <QString>

// The product catalogue as a tab-separated text file.

// The rows exported: every product with the description of its category.
extern const QString kConsultaExportacion;

// Writes `rsExport` to `fileName` in Windows-1252 without a byte-order mark:
// the column names separated by TAB, then the rows from the current one on,
// values separated by `cDelimeter`, every line ended by CR LF, Null as
// nothing, no quoting. The file is written under a temporary name in the same
// folder and takes the place of `fileName` only once it is whole, so a
// failure never leaves half a file nor loses the earlier one. True when the
// file is in place; false on any failure (no message). The recordset stays
// open, positioned past its last row.
bool writeRecordsetToFile(Registros& rsExport, const QString& fileName, const QString& cDelimeter);
// The same; on failure `codigo` receives the system's reason (an errno
// value), 0 when there is none to give.
bool writeRecordsetToFile(Registros& rsExport, const QString& fileName, const QString& cDelimeter,
                          int& codigo);

// The message of an export to `ruta` that failed for the reason `codigo`
// (an errno value, or 0): the cause when the system gave a clear one, else
// the advice to check that the file is not in use.
QString mensajeExportacionFallida(const QString& ruta, int codigo);

// The export dialog's "Exportar": writes the catalogue to `destino` (a
// relative name is taken inside the Documents folder) and tells the user how
// it went.
void ExportarProductos(const QString& destino);
