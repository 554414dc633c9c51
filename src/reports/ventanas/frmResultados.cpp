#include "reports/ventanas/frmResultados.h"

#include "platform/mensajes.h"
#include "platform/reloj.h"
#include "platform/ventanas/fabricas.h"
#include "reports/ventanas/reportes.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QDateEdit* fecha(QWidget* padre, const QString& nombre, const QDate& valor) {
    auto* f = new QDateEdit(valor, padre);
    f->setObjectName(nombre);
    f->setCalendarPopup(true);
    f->setDisplayFormat(QStringLiteral("dd/MM/yy"));
    return f;
}

} // namespace

frmResultados::frmResultados(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmResultados"));
    setWindowTitle(QStringLiteral("Resultados de presupuestos"));
    // By default the year so far.
    const QDate hoy = Reloj::hoy();
    dtpDesde_ = fecha(this, QStringLiteral("dtpDesde"), QDate(hoy.year(), 1, 1));
    dtpHasta_ = fecha(this, QStringLiteral("dtpHasta"), hoy);
    optCliente_ = new QRadioButton(QStringLiteral("Por &cliente"), this);
    optCliente_->setObjectName(QStringLiteral("optCliente"));
    optCliente_->setChecked(true);
    optUsuario_ = new QRadioButton(QStringLiteral("Por &usuario"), this);
    optUsuario_->setObjectName(QStringLiteral("optUsuario"));

    auto* campos = new QFormLayout;
    campos->addRow(etiqueta(this, u"lblDesde", QStringLiteral("&Desde:"), dtpDesde_), dtpDesde_);
    campos->addRow(etiqueta(this, u"lblHasta", QStringLiteral("&Hasta:"), dtpHasta_), dtpHasta_);
    auto* agrupar = new QVBoxLayout;
    agrupar->addWidget(optCliente_);
    agrupar->addWidget(optUsuario_);
    auto* lblAgrupar = new QLabel(QStringLiteral("Agrupar:"), this);
    lblAgrupar->setObjectName(QStringLiteral("lblAgrupar"));
    campos->addRow(lblAgrupar, agrupar);

    auto* cmdAceptar =
        boton(this, u"cmdAceptar", QStringLiteral("Aceptar"), QStringLiteral("Mostrar el reporte"));
    cmdAceptar->setDefault(true);
    auto* cmdCancelar = boton(this, u"cmdCancelar", QStringLiteral("Cancelar"),
                              QStringLiteral("Cerrar sin mostrar el reporte"));
    connect(cmdAceptar, &QPushButton::clicked, this, &frmResultados::aceptar);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdAceptar);
    botones->addWidget(cmdCancelar);

    auto* todo = new QVBoxLayout(this);
    todo->addLayout(campos);
    todo->addLayout(botones);
}

PeticionResultados frmResultados::peticion() const {
    return {dtpDesde_->date(), dtpHasta_->date(),
            optUsuario_->isChecked() ? AgrupacionResultados::PorUsuario
                                     : AgrupacionResultados::PorCliente};
}

void frmResultados::aceptar() {
    const PeticionResultados p = peticion();
    if (p.hasta < p.desde) {
        mensaje(QStringLiteral("La fecha «Hasta» es anterior a la fecha «Desde»."),
                Botones::Aceptar, Icono::Informacion, QStringLiteral("Verifique"));
        return;
    }
    accept();
    mostrarReporteResultados(p);
}
