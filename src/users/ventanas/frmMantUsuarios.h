#pragma once

#include "users/mantusuarios.h"

#include <QDialog>

#include <array>
#include <vector>

class QKeyEvent;
class QLineEdit;
class QPushButton;
class QTableView;

// "Mantenimiento de Usuarios - Tarvo", for administrators: the list of users,
// a new user, a user's password and name changed.
class frmMantUsuarios : public QDialog {
    Q_OBJECT
public:
    explicit frmMantUsuarios(QWidget* padre = nullptr);

    // Shows the one user maintenance window, modeless, in front.
    static frmMantUsuarios& mostrar();

    MantUsuarios& usuarios() const { return *usuarios_; }
    // 0 new, 1 edit, 2 save, 3 refresh, 4 cancel, 5 back.
    void cmdMenu_Click(int indice);
    void done(int resultado) override;

protected:
    // Escape does not close the window.
    void keyPressEvent(QKeyEvent* evento) override;

private:
    void aplicarEstado(EstadoUsuarios estado);
    void mostrarFila(int posicion);

    MantUsuarios* usuarios_;
    std::array<QLineEdit*, 4> txtFields_{}; // 1 login, 2 password, 3 name
    std::vector<QPushButton*> cmdMenu_;
    QTableView* dtgLista_;
    // Whether the user typed in the password field since it was filled.
    bool passwordEscrita_ = false;
};
