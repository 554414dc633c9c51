#pragma once

// Connects the quote editor to the catalogue windows: "cmdEditarProducto"
// opens product maintenance on the grid's product, "cmdNuevoProveedor" opens
// contact maintenance. The program calls it once at start-up.
void conectarCatalogoAlEditor();
