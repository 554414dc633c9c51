#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

// Where the quote editor meets windows and services that live elsewhere.
// Each is empty until the program connects it at start-up; while empty, the
// editor's control that needs it does what the comment says.
struct EnlacesPresupuesto {
    // The advanced product search: the filter the user built ("1 and ..."),
    // nothing when cancelled. Empty: the editor shows no advanced search.
    std::function<std::optional<QString>(QWidget* padre)> buscarProductos;
    // Product maintenance standing on a product. Empty: "cmdEditarProducto"
    // only checks that there are products.
    std::function<void(qint32 proId)> editarProducto;
    // Contact maintenance, for a contact not yet entered. Empty:
    // "cmdNuevoProveedor" is disabled.
    std::function<void()> nuevoContacto;
};

// The program's one set of connections.
EnlacesPresupuesto& enlacesPresupuesto();
