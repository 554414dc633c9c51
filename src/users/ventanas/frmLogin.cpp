#include "users/ventanas/frmLogin.h"

#include "startup/opciones.h"
#include "users/login.h"
#include "users/ventanas/formulariologin.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>

frmLogin::frmLogin(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Tarvo - Login"));
    controles_ = construirFormularioLogin(this, QString());
    connect(controles_.aceptar, &QPushButton::clicked, this, &frmLogin::aceptar);
    connect(controles_.cancelar, &QPushButton::clicked, this, &frmLogin::cancelar);
    CargarOpciones();
}

void frmLogin::aceptar() {
    if (!tratarResultadoLogin(comprobarLogin(controles_.login->text(), controles_.password->text()),
                              controles_))
        return;
    LoginSucceeded = true;
    accept();
}

void frmLogin::cancelar() {
    LoginSucceeded = false;
    reject();
}

void frmLogin::closeEvent(QCloseEvent* evento) {
    LoginSucceeded = false;
    QDialog::closeEvent(evento);
}
