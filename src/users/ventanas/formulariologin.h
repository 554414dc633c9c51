#pragma once

#include "users/login.h"

#include <QString>

class QDialog;
class QLineEdit;
class QPushButton;

// The login and password form shared by the login dialog and the
// administrator check: an optional notice, "&Login:" (starting with "admin"),
// "&Password:" (hidden), "Aceptar" (default) and "Cancelar" (Escape).
struct ControlesLogin {
    QLineEdit* login;
    QLineEdit* password;
    QPushButton* aceptar;
    QPushButton* cancelar;
};
ControlesLogin construirFormularioLogin(QDialog* dialogo, const QString& aviso);

// Tells the user why a login was refused and puts the focus where it must be
// corrected; true when it was accepted.
bool tratarResultadoLogin(ResultadoLogin resultado, const ControlesLogin& controles);
