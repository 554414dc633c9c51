#pragma once

#include "reports/definicion.h"

// The program's reports, declared as data. Each comes with the company header
// (imgLogo, lblEmpresa) and the page footer (today's long date; page N "de" M).
namespace informes {

// dtrPresupuestos2: every quote in full, from the three levels of
// TotalPresupuestos.
DefinicionInforme presupuestos();
// dtrCategorias: the categories of the command Categorias.
DefinicionInforme categorias();
// dtrProductos: the products of the command ListadoProductos.
DefinicionInforme productos();
// dtrProductosCategorias: each category with its active products and their count.
DefinicionInforme productosCategorias();
// dtrProveedores: every contact, one block each.
DefinicionInforme proveedores();

// dtrResultados: the results of the quotes of a period, by month and by
// customer or user; its rows come from filasResultados (resultados.h), and
// its period line (lblPeriodo) and first column label (lblColumna1) are set
// for each opening.
DefinicionInforme resultados();

} // namespace informes
