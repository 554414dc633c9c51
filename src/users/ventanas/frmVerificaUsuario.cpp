#include "users/ventanas/frmVerificaUsuario.h"

#include "platform/ventanas/entertab.h"
#include "users/ventanas/formulariologin.h"
#include "users/verificacion.h"

#include <QLineEdit>
#include <QPushButton>

frmVerificaUsuario::frmVerificaUsuario(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmVerificaUsuario"));
    setWindowTitle(QStringLiteral("Usuario Administrador requerido - Tarvo"));
    controles_ = construirFormularioLogin(
        this, QStringLiteral("Para  Eliminar datos se requiere permiso del Administrador o "
                             "Supervisor del sistema. Por favor solicite autorización para "
                             "realizar la operación:"));
    // Enter moves on here; only a click or Alt+A accepts.
    controles_.aceptar->setDefault(false);
    connect(controles_.aceptar, &QPushButton::clicked, this, &frmVerificaUsuario::aceptar);
    connect(controles_.cancelar, &QPushButton::clicked, this, &frmVerificaUsuario::cancelar);
    new FiltroEnterTab(this);
}

void frmVerificaUsuario::aceptar() {
    if (!tratarResultadoLogin(
            comprobarAdministrador(controles_.login->text(), controles_.password->text()),
            controles_))
        return;
    LoginSucceeded = true;
    accept();
}

void frmVerificaUsuario::cancelar() {
    LoginSucceeded = false;
    reject();
}
