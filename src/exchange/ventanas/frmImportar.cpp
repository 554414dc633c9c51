#include "exchange/ventanas/frmImportar.h"

#include "exchange/importacion.h"
#include "exchange/tablasbodex.h"
#include "platform/ventanas/fabricas.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

frmImportar::frmImportar(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmImportar"));
    setWindowTitle(QStringLiteral("Comienza la importación de datos."));

    auto* Label1 = etiqueta(this, u"Label1",
                            QStringLiteral("Asistente para importación de datos desde Bodex."));
    Label1->setWordWrap(true);
    QFont letra = Label1->font();
    letra.setBold(true);
    Label1->setFont(letra);
    auto* Label2 = etiqueta(this, u"Label2",
                            QStringLiteral("Debe tener instalada la versión estándard de Bodex."));
    Label2->setWordWrap(true);
    prgProgreso_ = new QProgressBar(this);
    prgProgreso_->setObjectName(QStringLiteral("prgProgreso"));
    prgProgreso_->setAccessibleName(QStringLiteral("Progreso de la importación"));
    lblProgreso_ = etiqueta(this, u"lblProgreso", QString(), prgProgreso_);
    lblProgreso_->setWordWrap(true);
    cmdImportar_ = boton(this, u"cmdImportar", QStringLiteral("Importar"),
                         QStringLiteral("Comienza la importación de datos."));
    cmdCancelar_ = boton(this, u"cmdCancelar", QStringLiteral("Cancelar"),
                         QStringLiteral("Detiene la importación y deshace lo importado."));
    auto* cmdCerrar = boton(this, u"cmdCerrar", QStringLiteral("Cerrar"), QStringLiteral("Cerrar"));

    auto* columna = new QVBoxLayout;
    columna->addWidget(Label1);
    columna->addWidget(Label2);
    columna->addSpacing(12);
    columna->addWidget(lblProgreso_);
    columna->addWidget(prgProgreso_);
    columna->addStretch();
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdImportar_);
    botones->addWidget(cmdCancelar_);
    botones->addWidget(cmdCerrar);
    columna->addLayout(botones);
    setLayout(columna);
    setMinimumWidth(440);

    connect(cmdImportar_, &QPushButton::clicked, this, &frmImportar::cmdImportar_Click);
    connect(cmdCancelar_, &QPushButton::clicked, this, &frmImportar::cmdCancelar_Click);
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::close);
    mostrarEstado(false);
}

void frmImportar::mostrarEstado(bool importando) {
    importando_ = importando;
    cmdImportar_->setEnabled(!importando);
    cmdCancelar_->setEnabled(importando);
    lblProgreso_->setVisible(importando);
    prgProgreso_->setVisible(importando);
}

bool frmImportar::mostrarAvance(const AvanceImportacion& avance) {
    if (avance.total > 0)
        lblProgreso_->setText(
            QStringLiteral("%1: %2 de %3").arg(avance.texto).arg(avance.hechas).arg(avance.total));
    else
        lblProgreso_->setText(avance.texto + QStringLiteral("…"));
    // No rows yet to count: a busy bar.
    prgProgreso_->setRange(0, avance.total);
    prgProgreso_->setValue(avance.hechas);
    // The program has one thread: clicks, repaints and a cancel are handled
    // here, between batches of rows.
    QCoreApplication::processEvents();
    return !cancelar_;
}

void frmImportar::cmdImportar_Click() {
    if (importando_)
        return;
    cancelar_ = false;
    mostrarEstado(true);
    importarBodex(bodex::kOrigen, bodex::kPassword,
                  [this](const AvanceImportacion& a) { return mostrarAvance(a); });
    mostrarEstado(false);
    if (cerrarAlTerminar_) {
        cerrarAlTerminar_ = false;
        close();
    }
}

void frmImportar::cmdCancelar_Click() {
    cancelar_ = true;
}

void frmImportar::closeEvent(QCloseEvent* evento) {
    if (importando_) {
        // The import stops at its next batch and is undone; the window closes then.
        cancelar_ = true;
        cerrarAlTerminar_ = true;
        evento->ignore();
        return;
    }
    QDialog::closeEvent(evento);
}

void frmImportar::reject() {
    if (importando_) {
        cancelar_ = true;
        cerrarAlTerminar_ = true;
        return;
    }
    QDialog::reject();
}
