#pragma once

#include "exchange/tablasbodex.h"

#include <QString>
#include <QVariant>

// The check of the source's values before anything is written. The source
// driver converts what it reads to each column's declared type, and silently:
// "1,5" in a number column comes as 1, "abc" as Null, "si" in a yes/no column
// as Null (not deactivated). So the columns that hold numbers and yes/no
// values are read a second time as the text the source stores, and each value
// must read as its column's type, and as the value the import received.
namespace bodex {

// The statement that reads, as text and in the order of the table's own
// statement, every column that is not text; empty when there is none.
QString consultaComprobacion(Tabla tabla);
// The positions, in the table's statement, of the columns that statement reads.
QList<int> columnasComprobadas(Tabla tabla);
// The name of column `columna` of the table's statement.
QString nombreColumna(Tabla tabla, int columna);
// The table's name in the source.
QString nombreTabla(Tabla tabla);

// Why `guardado` (the source's text of a value of class `clase`, see
// DefinicionTabla::clases) does not fit its column, or does not match
// `leido`, the value the import received for it; empty when it fits.
QString problemaValor(QChar clase, const QVariant& guardado, const QVariant& leido);

} // namespace bodex
