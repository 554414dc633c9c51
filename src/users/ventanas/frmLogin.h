#pragma once

#include "users/ventanas/formulariologin.h"

#include <QDialog>

// "Tarvo - Login": asks for a login and password before the main window opens.
class frmLogin : public QDialog {
    Q_OBJECT
public:
    explicit frmLogin(QWidget* padre = nullptr);

    // True once a login and its password were accepted.
    bool LoginSucceeded = false;

    void aceptar();
    void cancelar();

protected:
    void closeEvent(QCloseEvent* evento) override;

private:
    ControlesLogin controles_;
};
