#include "users/ventanas/formulariologin.h"

#include "platform/mensajes.h"
#include "platform/ventanas/fabricas.h"

#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ControlesLogin construirFormularioLogin(QDialog* dialogo, const QString& aviso) {
    ControlesLogin c;
    c.login = caja(dialogo, u"txtLogin", QStringLiteral("admin"));
    c.password = caja(dialogo, u"txtPassword");
    ocultarConAsteriscos(c.password);
    // Enter presses "Aceptar" when it has the focus, even where it is not
    // the default button.
    c.aceptar = boton(dialogo, u"cmdOK", QStringLiteral("Aceptar"));
    c.aceptar->setAutoDefault(true);
    c.aceptar->setDefault(true);
    c.cancelar = boton(dialogo, u"cmdCancel", QStringLiteral("Cancelar"));

    auto* campos = new QFormLayout;
    campos->addRow(etiqueta(dialogo, u"lblLogin", QStringLiteral("&Login:"), c.login), c.login);
    campos->addRow(etiqueta(dialogo, u"lblPassword", QStringLiteral("&Password:"), c.password),
                   c.password);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(c.aceptar);
    botones->addWidget(c.cancelar);

    auto* todo = new QVBoxLayout(dialogo);
    if (!aviso.isEmpty()) {
        auto* label1 = etiqueta(dialogo, u"Label1", aviso);
        label1->setWordWrap(true);
        todo->addWidget(label1);
    }
    todo->addLayout(campos);
    todo->addLayout(botones);
    dialogo->setMinimumWidth(340);
    c.login->selectAll();
    return c;
}

bool tratarResultadoLogin(ResultadoLogin resultado, const ControlesLogin& controles) {
    QLineEdit* corregir = nullptr;
    switch (resultado) {
    case ResultadoLogin::Aceptado:
        return true;
    case ResultadoLogin::PasswordIncorrecta:
        mensaje(QStringLiteral("Password incorrecta!"), Botones::Aceptar, Icono::Ninguno,
                QStringLiteral("Login"));
        corregir = controles.password;
        break;
    case ResultadoLogin::LoginIncorrecto:
        mensaje(QStringLiteral("Login incorrecto!"), Botones::Aceptar, Icono::Ninguno,
                QStringLiteral("Login"));
        corregir = controles.login;
        break;
    case ResultadoLogin::Fallo: // the database's messages were shown
        return false;
    }
    corregir->setFocus();
    corregir->selectAll();
    return false;
}
