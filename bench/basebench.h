#pragma once

#include "muestras/generadordatos.h"

#include <QString>

// The database every benchmark reads: 100,000 quotes (or as many as
// TARVO_BENCH_PRESUPUESTOS says) with about 8 lines each, 10,000 products and
// 5,000 contacts, generated once into the cache folder and reused while the
// parameters, the generator and today's date stay the same.
namespace basebench {

ParametrosGeneracion parametros();
// ~/.cache/tarvo-bench, or the folder TARVO_BENCH_CACHE names.
QString carpeta();
// The database's path, generated first when missing; empty on failure (the
// reason has been printed).
QString preparar();
// A copy of it at `destino` that the benchmark may write (owner only); the
// path, or empty on failure (the reason has been printed).
QString copiarA(const QString& destino);

} // namespace basebench
