#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What the entries share.
namespace entradas::comun {

// A file of a per-process temporary folder with that name (created on first use).
QString rutaTemporal(const QString& nombre);
// Writes the bytes to that file; aborts when it cannot, as the fuzzing is then void.
QString escribirTemporal(const QString& nombre, const QByteArray& bytes);

// Stops the run: an invariant of the code under test does not hold.
[[noreturn]] void fallo(const char* que);

} // namespace entradas::comun
