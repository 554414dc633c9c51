#pragma once

// Connects the quote editor to the catalogue windows: "cmdBusquedaAvanzada"
// opens the advanced product search and filters the editor's product list
// with its condition, "cmdEditarProducto" opens product maintenance on the
// grid's product, "cmdNuevoProveedor" opens contact maintenance. The program
// calls it once at start-up.
void conectarCatalogoAlEditor();
