#pragma once

#include "catalog/mantcategorias.h"
#include "catalog/ventanas/ventanamantenimiento.h"

// "Mantenimiento de Categorías - Tarvo".
class frmMantCategorias : public VentanaMantenimiento {
    Q_OBJECT
public:
    explicit frmMantCategorias(QWidget* padre = nullptr);

    // Shows the one category maintenance window, modeless, in front.
    static frmMantCategorias& mostrar();

    MantCategorias& categorias() const { return *categorias_; }
    // 0 new, 1 edit, 2 save, 3 print, 4 search, 5 show all, 6 cancel,
    // 7 back, 8 purge deactivated categories.
    void cmdMenu_Click(int indice) override;

private:
    MantCategorias* categorias_;
};
