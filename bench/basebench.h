#pragma once

#include "muestras/generadordatos.h"

#include <QString>

// The database every benchmark reads: 100,000 quotes with about 800,000 lines,
// 10,000 products and 5,000 contacts, generated once into the cache folder and
// reused while the parameters, the generator and today's date stay the same.
namespace basebench {

ParametrosGeneracion parametros();
// ~/.cache/tarvo-bench, or the folder TARVO_BENCH_CACHE names.
QString carpeta();
// The database's path, generated first when missing; empty on failure (the
// reason has been printed).
QString preparar();

} // namespace basebench
