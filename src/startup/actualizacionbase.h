#pragma once

#include "data/versionesquema.h"

#include <optional>

// Brings the database file up to the schema version this program knows.

// Where the copy kept before an upgrade goes: the backup folder when it
// names one, otherwise the database's own folder; the name is the database's
// followed by "-antes-de-version-N" (bd2000-antes-de-version-2.mdb).
QString rutaCopiaPrevia(const QString& rutaBase, const QString& carpetaCopias, int version);

// Upgrades the file when its version is older than the program's; a current
// file is only read. Shows nothing.
ResultadoActualizacion actualizarBase(const QString& rutaBase, const QString& carpetaCopias);

// The same at start-up, telling the user how it went when there was
// something to do; start-up goes on with the file either way.
void actualizarBaseAlIniciar(const QString& rutaBase, const QString& carpetaCopias);

// Why a file cannot be used because it is newer than the program (a text
// that names both versions); empty otherwise.
QString problemaVersionBase(const QString& rutaBase);

// The administrators' options, run without a display:
//   tarvo --version-base RUTA             prints the file's version
//   tarvo --actualizar-base RUTA [CARPETA] upgrades it, keeping the copy in
//                                          CARPETA (by default beside it)
// Exit status 0 when the file is current afterwards (or its version was
// printed), 1 when not, 2 for a wrong use. nullopt for any other command line.
std::optional<int> atenderOrdenesBase(int argc, char** argv);
