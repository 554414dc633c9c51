#include "quotes/ventanas/frmAgregarProductoPresupuesto.h"

#include "platform/mensajes.h"
#include "platform/ventanas/entertab.h"
#include "quotes/cantidad.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmAgregarProductoPresupuesto::frmAgregarProductoPresupuesto(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmAgregarProductoPresupuesto"));
    setWindowTitle(QStringLiteral("Agregar Producto"));
    setModal(true);

    auto* etiqueta = new QLabel(QStringLiteral("Cantidad:"), this);
    txtCantidad_ = new QLineEdit(QStringLiteral("1"), this);
    txtCantidad_->setObjectName(QStringLiteral("txtCantidad"));
    etiqueta->setBuddy(txtCantidad_);
    auto* cmdAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    auto* cmdCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    // Enter moves on; only the buttons accept or cancel.
    cmdAceptar->setAutoDefault(false);
    cmdCancelar->setAutoDefault(false);

    auto* rejilla = new QGridLayout(this);
    rejilla->addWidget(etiqueta, 0, 0);
    rejilla->addWidget(txtCantidad_, 0, 1);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdAceptar);
    botones->addWidget(cmdCancelar);
    rejilla->addLayout(botones, 1, 0, 1, 2);

    connect(cmdAceptar, &QPushButton::clicked, this, &frmAgregarProductoPresupuesto::aceptar);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmAgregarProductoPresupuesto::cancelar);
    new FiltroEnterTab(this);

    // Typing replaces the proposed quantity.
    txtCantidad_->selectAll();
    txtCantidad_->setFocus();
}

QString frmAgregarProductoPresupuesto::cantidad() const {
    return txtCantidad_->text();
}

void frmAgregarProductoPresupuesto::aceptar() {
    const QString motivo = cantidad::ValidarCantidad(txtCantidad_->text());
    if (!motivo.isEmpty()) {
        mensaje(motivo, Botones::Aceptar, Icono::Informacion, QStringLiteral("Verifique"));
        return;
    }
    cancelado = false;
    accept();
}

void frmAgregarProductoPresupuesto::cancelar() {
    reject();
}

void frmAgregarProductoPresupuesto::reject() {
    cancelado = true;
    QDialog::reject();
}
