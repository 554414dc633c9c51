#include "users/ventanas/frmLogin.h"

#include "platform/mensajes.h"
#include "startup/opciones.h"
#include "users/login.h"
#include "users/ventanas/formulariologin.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>

frmLogin::frmLogin(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Tarvo - Login"));
    const auto controles = construirFormularioLogin(this, QString());
    txtLogin_ = controles.login;
    txtPassword_ = controles.password;
    connect(controles.aceptar, &QPushButton::clicked, this, &frmLogin::aceptar);
    connect(controles.cancelar, &QPushButton::clicked, this, &frmLogin::cancelar);
    CargarOpciones();
}

void frmLogin::aceptar() {
    switch (comprobarLogin(txtLogin_->text(), txtPassword_->text())) {
    case ResultadoLogin::Aceptado:
        LoginSucceeded = true;
        hide();
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

void frmLogin::cancelar() {
    LoginSucceeded = false;
    reject();
}

void frmLogin::closeEvent(QCloseEvent* evento) {
    LoginSucceeded = false;
    QDialog::closeEvent(evento);
}
