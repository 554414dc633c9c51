#pragma once

#include "data/registros.h"
#include "reports/resultados.h"

#include <QString>

class frmInforme;
class QWidget;

// The reports of the program. Each is one window for the whole run, created
// the first time it is asked for; asking again while it is open reads its
// data again and brings it forward. All of them start with the company
// header rule; a report whose rows cannot be read is not shown (the data
// environment has told the user why).

// dtrPresupuestos2, not modal: every stored quote, whatever a list shows.
// Closing it closes the command's result set, so each opening reads the
// database again.
void mostrarReportePresupuestos();

// dtrCategorias, not modal: the categories as the command Categorias holds
// them (the category window's list), without touching that list.
void mostrarReporteCategorias();

// dtrProductos, modal: the products of the product window's current list, in
// its order. The command ListadoProductos takes the list's source and rows
// (a closed list leaves the command to read its own text).
void mostrarReporteProductos(const Registros& listaActual);

// dtrProductosCategorias, not modal: every category with its active
// products, read again at each opening.
void mostrarReporteProductosCategorias();

// dtrProveedores, modal: the command Proveedores is closed first and read
// again with its current text (the contact window's query). The contact
// window reloads its list afterwards.
void mostrarReporteProveedores();

// dtrResultados, not modal: the results of the quotes of a period, read
// again at each opening.
void mostrarReporteResultados(const PeticionResultados& peticion);
// Asks for the period and the grouping (frmResultados, modal), then shows
// dtrResultados.
void pedirReporteResultados(QWidget* padre);

// The window of a report by its name ("dtrCategorias"); null before its first
// opening.
frmInforme* ventanaReporte(const QString& nombre);
