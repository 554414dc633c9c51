#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3;

// The comparison side: the same database through the sqlite3 C API alone, on a
// connection with the same dialect functions, so both sides do the same work.
namespace crudo {

// Opens the file with the dialect and the same settings as the program's
// connection; null on failure.
sqlite3* abrir(const QString& ruta);
void cerrar(sqlite3* bd);

struct Lectura {
    qint64 filas = 0;
    quint64 suma = 0; // of every value read, so that no read can be skipped
    bool ok = false;
};
// Prepares the statement, steps every row and reads every column's value
// (type, then the integer, the double or the text with its length).
Lectura leerTodo(sqlite3* bd, const QByteArray& sql);

} // namespace crudo
