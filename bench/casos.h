#pragma once

#include <QString>

#include <string>
#include <vector>

struct sqlite3;

// The statements measured, written exactly as the main window sends them, and
// the state the benchmarks share.
namespace casos {

struct Lectura {
    std::string nombre; // "lista", "busqueda_ciudad", ...
    QString sql;
};
std::vector<Lectura> lecturas();

// The raw connection of the comparison side; the program's side uses the
// shared connection (modconexion).
void establecerCruda(sqlite3* bd);
sqlite3* cruda();

// Our path: AbrirConsulta, then every row walked; the number of rows.
qint64 leerConTarvo(const QString& sql);

// Resident memory in KiB before and while the result of `sql` is open, and
// the peak since just before it was opened. The result's own size is the
// growth of the heap in use: the resident size may not grow when the result
// reuses memory freed just before.
struct MemoriaAbierta {
    qint64 antes = 0;
    qint64 abierta = 0;
    qint64 pico = 0;
    qint64 monton = -1; // bytes of heap the open result holds; -1 unknown
    int filas = 0;
};
MemoriaAbierta medirMemoriaAbierta(const QString& sql);

// Registers every benchmark, each case's program side beside its raw side.
void registrarLecturas();
void registrarInsercion();

} // namespace casos
