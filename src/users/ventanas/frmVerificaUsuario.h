#pragma once

#include "users/ventanas/formulariologin.h"

#include <QDialog>

// "Usuario Administrador requerido - Tarvo": an administrator's consent
// before deleting data.
class frmVerificaUsuario : public QDialog {
    Q_OBJECT
public:
    explicit frmVerificaUsuario(QWidget* padre = nullptr);

    bool LoginSucceeded = false;

    void aceptar();
    void cancelar();

private:
    ControlesLogin controles_;
};
