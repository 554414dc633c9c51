#include "users/ventanas/frmVerificaUsuario.h"

#include "platform/mensajes.h"
#include "platform/ventanas/entertab.h"
#include "users/ventanas/formulariologin.h"
#include "users/verificacion.h"

#include <QLineEdit>
#include <QPushButton>

frmVerificaUsuario::frmVerificaUsuario(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmVerificaUsuario"));
    setWindowTitle(QStringLiteral("Usuario Administrador requerido - Tarvo"));
    const auto controles = construirFormularioLogin(
        this, QStringLiteral("Para  Eliminar datos se requiere permiso del Administrador o "
                             "Supervisor del sistema. Por favor solicite autorización para "
                             "realizar la operación:"));
    txtLogin_ = controles.login;
    txtPassword_ = controles.password;
    // Enter moves on here; only a click or Alt+A accepts.
    controles.aceptar->setDefault(false);
    connect(controles.aceptar, &QPushButton::clicked, this, &frmVerificaUsuario::aceptar);
    connect(controles.cancelar, &QPushButton::clicked, this, &frmVerificaUsuario::cancelar);
    new FiltroEnterTab(this);
}

void frmVerificaUsuario::aceptar() {
    switch (comprobarAdministrador(txtLogin_->text(), txtPassword_->text())) {
    case ResultadoLogin::Aceptado:
        LoginSucceeded = true;
        accept();
        return;
    case ResultadoLogin::PasswordIncorrecta:
        mensaje(QStringLiteral("Password incorrecta!"), Botones::Aceptar, Icono::Ninguno,
                QStringLiteral("Login"));
        txtPassword_->setFocus();
        txtPassword_->selectAll();
        return;
    case ResultadoLogin::LoginIncorrecto:
        mensaje(QStringLiteral("Login incorrecto!"), Botones::Aceptar, Icono::Ninguno,
                QStringLiteral("Login"));
        txtLogin_->setFocus();
        txtLogin_->selectAll();
        return;
    case ResultadoLogin::Fallo:
        return;
    }
}

void frmVerificaUsuario::cancelar() {
    LoginSucceeded = false;
    reject();
}
