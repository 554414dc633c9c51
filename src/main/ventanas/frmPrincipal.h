#pragma once

#include <QMainWindow>

#include <array>

class ListaPresupuestos;
class ModeloVentana;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTableView;

// "Menú Principal - Tarvo": the menus, the quote list with its command bar,
// and the expiry notice in the status bar.
class frmPrincipal : public QMainWindow {
    Q_OBJECT
public:
    explicit frmPrincipal(QWidget* padre = nullptr);
    ~frmPrincipal() override;

    ListaPresupuestos& lista() { return *lista_; }

    // The command bar: 0 new, 1 edit, 2 print, 3 search, 4 show all,
    // 5 delete, 6 exit.
    void cmdMenu_Click(int indice);
    // The notice's text, recomputed from the database.
    void actualizarAvisos();
    // A click on the notice lists the quotes it counts.
    void sbAvisos_PanelClick();
    // "Salir": the exit sequence, then the program ends.
    void salir();

    // The grid's current row, 1-based; 0 when none.
    int filaActual() const;

    // "Nueva versión" of the selected quote: the editor opens on the copy.
    void nuevaVersion();
    // The commands on the selected quote ("Nueva versión" and "Marcar como"),
    // shared by the menu bar and the list's context menu.
    QMenu* menuPresupuesto() const { return mnuPresupuesto_; }

protected:
    void showEvent(QShowEvent* evento) override;
    void changeEvent(QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void crearMenus();
    void crearLista();
    void enlazarGrilla();
    void crearMenuPresupuesto(QMenu* archivo);
    // Enables the moves the selected quote's status allows.
    void prepararMarcas();
    void volverALaFilaAnterior();
    QVariant preIdActual() const; // key of the current row; invalid when none
    void cerrarConexiones(bool cerrarLista);
    static void mostrarEditor(QWidget& editor);

    ListaPresupuestos* lista_;
    ModeloVentana* modelo_;
    QVariant preIdAnterior_; // the current quote when the list began to change
    QVariant preIdBuscado_;  // the same, looked for again when a deferred count arrives
    QTableView* dtgLista_;
    std::array<QPushButton*, 7> cmdMenu_{};
    QLabel* avisos_;
    QComboBox* cboEstado_;
    QMenu* mnuPresupuesto_ = nullptr;
    QAction* nuevaVersion_ = nullptr;
    QList<QAction*> marcas_; // one per status, in the order of EstadoPresupuesto
    bool avisosMostrados_ = false;
    bool avisoFallido_ = false; // the notice's last count failed and was reported
};
