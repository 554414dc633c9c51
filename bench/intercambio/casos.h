#pragma once

#include "bases.h"

// The exchange benchmarks, each program side ("caso/tarvo") beside its
// comparison side ("caso/sqlite").
namespace intercambio {

void registrarExportar(const bases::Rutas& rutas);
void registrarImportar(const bases::Rutas& rutas);

// Runs both sides of each case once and says whether they agree.
bool comprobar(const bases::Rutas& rutas);

// Points the shared connection at a data source (closing the one open).
bool usarConexion(const QString& dsn);

} // namespace intercambio
