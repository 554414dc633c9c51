#pragma once

#include <QString>

#include <functional>
#include <optional>

class EditorPresupuesto;
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
    // The quote's document, made after every successful save.
    std::function<void(const EditorPresupuesto& editor)> generarDocumento;
    // Print, open for editing and send the document of the last save. Empty:
    // "Imprimir", "Modificar" and "Enviar" stay disabled.
    std::function<void(const EditorPresupuesto& editor)> imprimirDocumento;
    std::function<void(const EditorPresupuesto& editor)> abrirDocumento;
    std::function<void(const EditorPresupuesto& editor)> enviarDocumento;
    // The editor closes: whatever the document operations started is closed
    // without saving.
    std::function<void()> cerrarDocumentos;
};

// The program's one set of connections.
EnlacesPresupuesto& enlacesPresupuesto();
