#include "quotes/ventanas/frmAgregarProductoPresupuesto.h"

#include "platform/mensajes.h"
#include "platform/ventanas/entertab.h"
#include "platform/ventanas/fabricas.h"
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

    txtCantidad_ = caja(this, u"txtCantidad", QStringLiteral("1"));
    auto* lblCantidad = etiqueta(this, u"lblCantidad", QStringLiteral("Cantidad:"), txtCantidad_);
    // Enter moves on; only the buttons accept or cancel.
    auto* cmdAceptar = boton(this, u"cmdAceptar", QStringLiteral("Aceptar"));
    auto* cmdCancelar = boton(this, u"cmdCancelar", QStringLiteral("Cancelar"));

    auto* rejilla = new QGridLayout(this);
    rejilla->addWidget(lblCantidad, 0, 0);
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
