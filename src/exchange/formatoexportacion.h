#pragma once

#include "data/tablaresultado.h"

#include <QByteArray>

// How one value is written in an exported text file, already in Windows-1252:
// - numbers without thousands separators, with the locale's decimal separator
//   and up to 15 significant digits ("1250", "12,5", "1,5E+20");
// - dates as "dd/MM/yyyy", with " HH:mm:ss" when they carry a time of day;
// - yes/no as "VERDADERO" and "FALSO", the words a Spanish spreadsheet reads
//   as logical values;
// - text as it is, with no quoting and no escaping;
// - Null as nothing.
namespace formatoexportacion {

void agregar(QByteArray& destino, const TablaResultado::Celda& celda, TipoColumna tipo,
             char separadorDecimal);

// The decimal separator of the program's locale (',' in Spain).
char separadorDecimal();

} // namespace formatoexportacion
