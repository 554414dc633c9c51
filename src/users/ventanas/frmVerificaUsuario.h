#pragma once

#include <QDialog>

class QLineEdit;

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
    QLineEdit* txtLogin_;
    QLineEdit* txtPassword_;
};
