#pragma once

#include "catalog/mantenimiento.h"
#include "catalog/ventanas/formulario.h"

#include <QDialog>
#include <QList>

#include <vector>

class QDataWidgetMapper;
class QGridLayout;
class QGroupBox;
class QKeyEvent;
class QPushButton;
class QTableView;

// A maintenance window: editing controls bound to the current row, the grid
// of the list below them and the command bar beside. The window shows what
// its logic (a Mantenimiento) says: states, rows, lists. Modeless from the
// menus, modal where a caller runs it with exec(); closing it in any way
// (Atras, the close box, Escape) discards what was not saved.
class VentanaMantenimiento : public QDialog {
    Q_OBJECT
public:
    ~VentanaMantenimiento() override;

    Mantenimiento& logica() const { return *logica_; }
    // The command bar: index -> command, per window.
    virtual void cmdMenu_Click(int indice) = 0;
    QPushButton* boton(int indice) const { return cmdMenu_.at(size_t(indice)); }
    QTableView* grilla() const { return dtgLista_; }
    void done(int resultado) override;

protected:
    // Which buttons of the bar are enabled only while editing ("Guardar",
    // "Cancelar") and which always ("Atras").
    struct IndicesBarra {
        int guardar;
        int cancelar;
        int atras;
    };
    VentanaMantenimiento(Mantenimiento* logica, QWidget* padre);

    // Building, in this order: the controls (mapear each), the command bar,
    // the grid, then terminar.
    void mapear(QWidget* control, const QString& campo, bool seEdita = true);
    void crearComandos(const std::vector<formulario::TextoBoton>& textos, IndicesBarra indices);
    // The grid's caption and the captions of its first columns (the others
    // stay hidden).
    void crearGrilla(const QString& titulo, const QStringList& encabezados,
                     const QList<int>& anchos);
    void establecerTitulo(const QString& titulo);
    // Lays the window out, installs Enter as Tab, loads the list.
    void terminar(QGridLayout* controles);

    // "Guardar": the controls' values go to the row, then the logic saves.
    void guardar();
    // A control edited only while editing, not bound to a field.
    void agregarControlEdicion(QWidget* control) { edicion_ << control; }

    // Escape does not close the window (it is not a dialog to dismiss).
    void keyPressEvent(QKeyEvent* evento) override;

    // Hooks for the window's own displays.
    virtual void alCambiarFila(int /*posicion*/) {}
    virtual void alCambiarEstado(EstadoMantenimiento /*estado*/) {}

private:
    void aplicarEstado(EstadoMantenimiento estado);
    void seguirFila(int posicion);
    void configurarColumnas();

    Mantenimiento* logica_;
    QDataWidgetMapper* mapeador_;
    QList<QWidget*> edicion_;
    QList<QWidget*> mapeados_;
    std::vector<QPushButton*> cmdMenu_;
    QBoxLayout* barra_ = nullptr;
    IndicesBarra indices_{};
    QGroupBox* marco_ = nullptr;
    QTableView* dtgLista_ = nullptr;
    int columnasVisibles_ = 0;
    bool siguiendo_ = false;
};
