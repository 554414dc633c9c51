#include "startup/ventanas/frmServidor.h"

#include "platform/ventanas/entertab.h"
#include "platform/ventanas/fabricas.h"
#include "startup/valoresopciones.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmServidor::frmServidor(const ValoresOpciones& v, QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmServidor"));
    setWindowTitle(QStringLiteral("Servidor PostgreSQL"));
    txtServidor_ = caja(this, u"txtServidor", v.nombreServidor);
    txtServidor_->setPlaceholderText(QStringLiteral("este equipo"));
    txtPuerto_ = caja(this, u"txtPuerto", v.puerto);
    txtPuerto_->setMaxLength(5);
    txtPuerto_->setPlaceholderText(QStringLiteral("5432"));
    txtBaseDatos_ = caja(this, u"txtBaseDatos", v.baseDatos);
    txtUsuario_ = caja(this, u"txtUsuario", v.usuario);
    txtContrasena_ = caja(this, u"txtContrasena", v.contrasena);
    ocultarConAsteriscos(txtContrasena_);
    txtContrasena_->setPlaceholderText(QStringLiteral("sin cambios"));

    auto* rejilla = new QGridLayout;
    const std::pair<QLineEdit*, std::pair<const char16_t*, QString>> cajas[] = {
        {txtServidor_, {u"lblServidor", QStringLiteral("&Servidor:")}},
        {txtPuerto_, {u"lblPuerto", QStringLiteral("&Puerto:")}},
        {txtBaseDatos_, {u"lblBaseDatos", QStringLiteral("&Base de datos:")}},
        {txtUsuario_, {u"lblUsuario", QStringLiteral("&Usuario:")}},
        {txtContrasena_, {u"lblContrasena", QStringLiteral("C&ontraseña:")}}};
    int fila = 0;
    for (const auto& [c, rotulo] : cajas) {
        rejilla->addWidget(etiqueta(this, rotulo.first, rotulo.second, c), fila, 0);
        rejilla->addWidget(c, fila++, 1);
    }
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    auto* cmdOK = boton(this, u"cmdOK", QStringLiteral("Aceptar"));
    auto* cmdCancel = boton(this, u"cmdCancel", QStringLiteral("Cancelar"));
    botones->addWidget(cmdOK);
    botones->addWidget(cmdCancel);
    rejilla->addLayout(botones, fila, 0, 1, 2);
    setLayout(rejilla);
    setMinimumWidth(360);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    new FiltroEnterTab(this);
}

void frmServidor::leer(ValoresOpciones& v) const {
    v.nombreServidor = txtServidor_->text();
    v.puerto = txtPuerto_->text();
    v.baseDatos = txtBaseDatos_->text();
    v.usuario = txtUsuario_->text();
    v.contrasena = txtContrasena_->text();
}
