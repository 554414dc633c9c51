#pragma once

#include "catalog/mantproductos.h"
#include "catalog/ventanas/ventanamantenimiento.h"

#include <array>

class ComboDatos;
class QComboBox;
class QLabel;
class QLineEdit;

// "Mantenimiento de Productos - Tarvo".
class frmMantProductos : public VentanaMantenimiento {
    Q_OBJECT
public:
    explicit frmMantProductos(QWidget* padre = nullptr);

    // Shows the one product maintenance window, modeless, in front; with a
    // product key (greater than 0) on that product. What the main window's
    // menu and the quote editor's "edit product" button do.
    static frmMantProductos& mostrar(qint32 proId = 0);

    MantProductos& productos() const { return *productos_; }
    // 0 new, 1 edit, 2 save, 3 print, 4 search, 5 advanced search, 6 show
    // all, 7 cancel, 8 delete, 9 back.
    void cmdMenu_Click(int indice) override;
    // "cmdCategorias": category maintenance, modal; then the lists again.
    void cmdCategorias_Click();
    // The combos' lists reloaded, keeping what they show.
    void ActualizarCombos();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void changeEvent(QEvent* evento) override;
    void alCambiarFila(int posicion) override;

private:
    MantProductos* productos_;
    std::array<QLineEdit*, 6> txtFields_{};
    ComboDatos* dtcCategorias_;
    QComboBox* dtcUnidades_;
    QComboBox* dtcMonedas_;
    QLabel* lblPorcentual_;
    QLabel* lblAbsoluto_;
};
