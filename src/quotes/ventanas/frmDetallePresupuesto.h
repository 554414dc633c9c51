#pragma once

#include "quotes/editorpresupuesto.h"
#include "quotes/ventanas/controlespresupuesto.h"

#include <QWidget>

#include <array>

class FiltroEnterTab;
class ModeloRegistros;

// "Detalle del Presupuesto - Tarvo": the quote editor, one shared modeless
// window. What it holds and every command live in EditorPresupuesto; the
// window shows that and wires its controls to it.
class frmDetallePresupuesto : public QWidget {
    Q_OBJECT
public:
    explicit frmDetallePresupuesto(QWidget* padre = nullptr);
    ~frmDetallePresupuesto() override;

    EditorPresupuesto& editor() { return editor_; }
    const ControlesPresupuesto& controles() const { return c_; }

    // The opener's calls: set `agregando`, then CargarPre (after Actualizar
    // for a stored quote), then show the window.
    void setAgregando(bool valor) { editor_.agregando = valor; }
    void Actualizar() { recargar(); }
    void CargarPre(qint32 id) { editor_.CargarPre(id); }
    // A new version of stored quote `id` (after Actualizar).
    bool NuevaVersion(qint32 id) { return editor_.NuevaVersion(id); }

    // The command bar: 0 Nuevo .. 8 Atras.
    void cmdMenu_Click(int indice);
    // Enter in txtCliente, or cmdBuscarProveedor: the contact picker.
    void buscarCliente();
    // Double click or Enter in the product grid.
    void agregarProducto();
    // Enter in the bar-code box.
    void agregarPorCodigo();
    // Double click or Enter in the lines list.
    void quitarProducto();
    // The advanced product search, when the program provides one.
    void busquedaAvanzada();

protected:
    void showEvent(QShowEvent* evento) override;
    void changeEvent(QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void conectarCampos();
    void conectarComandos();
    void mostrarCampos();
    void mostrarModo();
    void mostrarLineas();
    void mostrarListas();
    void mostrarProductos();
    void mostrarProductoActual();
    std::optional<QString> pedirCantidad(qint32 proId);
    // Runs one of the window's own commands or reloads. Any of them may show
    // a modal box, whose event loop can close the window: while one runs, a
    // close hides the window and its deletion waits until the outermost one
    // has returned.
    template <typename F> void enUso(F&& hacer);
    void recargar();

    EditorPresupuesto editor_;
    ControlesPresupuesto c_;
    std::array<ModeloRegistros*, 8> modelosListas_{};
    ModeloRegistros* modeloProductos_ = nullptr;
    FiltroEnterTab* enter_ = nullptr;
    // Set while the window writes into its controls, so that their change
    // signals do not write back.
    bool mostrando_ = false;
    int activaciones_ = 0;
    int enUso_ = 0;
    bool borrarAlTerminar_ = false;
};
