#include "users/ventanas/formulariologin.h"

#include "platform/mensajes.h"

#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ControlesLogin construirFormularioLogin(QDialog* dialogo, const QString& aviso) {
    ControlesLogin c;
    c.login = new QLineEdit(QStringLiteral("admin"), dialogo);
    c.login->setObjectName(QStringLiteral("txtLogin"));
    c.password = new QLineEdit(dialogo);
    c.password->setObjectName(QStringLiteral("txtPassword"));
    c.password->setEchoMode(QLineEdit::Password);
    c.aceptar = new QPushButton(QStringLiteral("Aceptar"), dialogo);
    c.aceptar->setObjectName(QStringLiteral("cmdOK"));
    c.aceptar->setDefault(true);
    c.cancelar = new QPushButton(QStringLiteral("Cancelar"), dialogo);
    c.cancelar->setObjectName(QStringLiteral("cmdCancel"));
    c.cancelar->setAutoDefault(false);

    auto* etiquetaLogin = new QLabel(QStringLiteral("&Login:"), dialogo);
    etiquetaLogin->setBuddy(c.login);
    auto* etiquetaPassword = new QLabel(QStringLiteral("&Password:"), dialogo);
    etiquetaPassword->setBuddy(c.password);

    auto* campos = new QFormLayout;
    campos->addRow(etiquetaLogin, c.login);
    campos->addRow(etiquetaPassword, c.password);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(c.aceptar);
    botones->addWidget(c.cancelar);

    auto* todo = new QVBoxLayout(dialogo);
    if (!aviso.isEmpty()) {
        auto* label1 = new QLabel(aviso, dialogo);
        label1->setObjectName(QStringLiteral("Label1"));
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
