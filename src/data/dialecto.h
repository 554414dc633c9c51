#pragma once

#include <QString>

struct sqlite3;

// Makes an SQLite connection accept the statements of the system's dialect with
// the same results: Date() is today's day number (from the clock service),
// CSTR(date) is the short date text, INSTR and LIKE ignore letter case
// (accented letters included), and the text columns' Spanish collation
// (cotejo.h) is there. IIF, BETWEEN, True/False and the rest are the engine's
// own.
namespace dialecto {

// Adds the dialect's functions and the collation to the connection; false
// when the engine refused.
bool registrar(sqlite3* bd);

// The one textual rewrite: "DELETE * FROM" becomes "DELETE FROM".
QString adaptar(const QString& sentencia);

} // namespace dialecto
