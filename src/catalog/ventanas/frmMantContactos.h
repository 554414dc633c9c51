#pragma once

#include "catalog/mantcontactos.h"
#include "catalog/ventanas/ventanamantenimiento.h"

class ComboDatos;

// "Mantenimiento de Contactos - Tarvo".
class frmMantContactos : public VentanaMantenimiento {
    Q_OBJECT
public:
    explicit frmMantContactos(QWidget* padre = nullptr);

    // Shows the one contact maintenance window, modeless, in front (what the
    // main window's menu and the quote editor's "new contact" button do).
    static frmMantContactos& mostrar();

    MantContactos& contactos() const { return *contactos_; }
    // 0 new, 1 edit, 2 save, 3 print, 4 search, 5 show all, 6 cancel, 7 back.
    void cmdMenu_Click(int indice) override;

private:
    MantContactos* contactos_;
    ComboDatos* dtcVinculos_;
};
