#pragma once

#include "comun/entornoprueba.h"

#include <QString>

// The benchmarks of the windows, registered with Google Benchmark.
namespace registro {

// The generated database every benchmark opens (read only use: nothing is
// written to it).
void establecerBase(const QString& ruta);
const QString& base();

// A private account whose settings name that database.
class Cuenta : public EntornoPrueba {
public:
    Cuenta() { ajustar(QStringLiteral("db_path"), base()); }
};

// Start-up from a fresh process: to the login window, and from "Aceptar" to
// the quote list with the resident memory at that point.
void registrarProcesos();
// Start-up inside this process, and the list's re-sort and searches.
void registrarEnProceso();
// The quote editor's product grid reloaded.
void registrarProductos();
// The quote editor: opening a quote, the activation reload, saving, bar code.
void registrarEditor();
// Product maintenance: open, search, sort, next row, save.
void registrarCatalogo();

} // namespace registro
