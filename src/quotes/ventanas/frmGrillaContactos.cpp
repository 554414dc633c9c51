#include "quotes/ventanas/frmGrillaContactos.h"

#include "data/modeloregistros.h"
#include "platform/ventanas/fabricas.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

frmGrillaContactos::frmGrillaContactos(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmGrillaContactos"));
    setWindowTitle(QStringLiteral("Coincidencias - Tarvo"));
    setModal(true);

    auto* marco = new QGroupBox(QStringLiteral("LISTA DE CONTACTOS"), this);
    marco->setObjectName(QStringLiteral("marcoContactos"));
    dtgContactos_ = new QTableView(marco);
    dtgContactos_->setObjectName(QStringLiteral("dtgContactos"));
    dtgContactos_->setAccessibleName(QStringLiteral("LISTA DE CONTACTOS"));
    modelo_ = new ModeloRegistros(this);
    modelo_->establecerColumnas({QStringLiteral("EmpNombreFantasia"),
                                 QStringLiteral("EmpRazonSocial"), QStringLiteral("EmpDireccion"),
                                 QStringLiteral("EmpTelefono1"), QStringLiteral("EmpTelefono2")});
    const char16_t* const encabezados[] = {u"Nombre", u"Razón Social", u"Dirección", u"Teléfono 1",
                                           u"Teléfono 2"};
    for (int c = 0; c < 5; ++c)
        modelo_->setHeaderData(c, Qt::Horizontal, QString::fromUtf16(encabezados[c]));
    dtgContactos_->setModel(modelo_);
    dtgContactos_->setSelectionBehavior(QAbstractItemView::SelectRows);
    dtgContactos_->setSelectionMode(QAbstractItemView::SingleSelection);
    dtgContactos_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dtgContactos_->verticalHeader()->setDefaultSectionSize(22);
    dtgContactos_->horizontalHeader()->setStretchLastSection(true);
    // The output follows the grid's current row.
    connect(dtgContactos_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& actual) {
                if (actual.isValid())
                    buscador_.copiarFila(actual.row() + 1);
            });
    auto* enMarco = new QVBoxLayout(marco);
    enMarco->addWidget(dtgContactos_);

    auto* cmdSeleccionar = boton(this, u"cmdSeleccionar", QStringLiteral("Seleccionar"));
    auto* cmdCancelar = boton(this, u"cmdCancelar", QStringLiteral("Cancelar"));
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdSeleccionar);
    botones->addWidget(cmdCancelar);

    auto* todo = new QVBoxLayout(this);
    todo->addWidget(marco, 1);
    todo->addLayout(botones);
    resize(720, 360);

    connect(cmdSeleccionar, &QPushButton::clicked, this, &frmGrillaContactos::seleccionar);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmGrillaContactos::cancelar);
    connect(dtgContactos_, &QTableView::doubleClicked, this, &frmGrillaContactos::seleccionar);
    // Enter anywhere selects, on either button as well.
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
}

frmGrillaContactos::~frmGrillaContactos() {
    buscador_.cerrar();
}

void frmGrillaContactos::cargar() {
    buscador_.buscar();
    modelo_->establecerRegistros(buscador_.registros());
    if (modelo_->rowCount() > 0)
        dtgContactos_->setCurrentIndex(modelo_->index(0, 0));
    cargado_ = true;
}

int frmGrillaContactos::filaActual() const {
    const QModelIndex actual = dtgContactos_->currentIndex();
    return actual.isValid() ? actual.row() + 1 : 0;
}

void frmGrillaContactos::seleccionar() {
    if (buscador_.seleccionar(filaActual()))
        accept();
}

void frmGrillaContactos::cancelar() {
    reject();
}

void frmGrillaContactos::reject() {
    buscador_.cancelar();
    QDialog::reject();
}

void frmGrillaContactos::showEvent(QShowEvent* evento) {
    if (!cargado_)
        cargar();
    QDialog::showEvent(evento);
}

bool frmGrillaContactos::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress) {
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        if ((tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) &&
            !(tecla->modifiers() & ~Qt::KeypadModifier)) {
            seleccionar();
            return true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}
