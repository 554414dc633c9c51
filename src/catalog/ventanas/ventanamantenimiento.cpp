#include "catalog/ventanas/ventanamantenimiento.h"

#include "data/modeloregistros.h"
#include "platform/ventanas/delegadoformulario.h"
#include "platform/ventanas/delegadogrilla.h"
#include "platform/ventanas/entertab.h"

#include <QDataWidgetMapper>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

VentanaMantenimiento::VentanaMantenimiento(Mantenimiento* logica, QWidget* padre)
    : QDialog(padre), logica_(logica) {
    logica_->setParent(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    mapeador_ = new QDataWidgetMapper(this);
    mapeador_->setModel(logica_->modelo());
    mapeador_->setItemDelegate(new DelegadoFormulario(mapeador_));
    mapeador_->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
}

VentanaMantenimiento::~VentanaMantenimiento() = default;

void VentanaMantenimiento::mapear(QWidget* control, const QString& campo, bool seEdita) {
    mapeador_->addMapping(control, logica_->columna(campo));
    mapeados_ << control;
    if (seEdita)
        edicion_ << control;
}

void VentanaMantenimiento::crearComandos(const std::vector<formulario::TextoBoton>& textos,
                                         IndicesBarra indices) {
    indices_ = indices;
    barra_ = new QVBoxLayout;
    cmdMenu_ = formulario::crearComandos(this, textos, barra_);
    barra_->addStretch();
    for (size_t i = 0; i < cmdMenu_.size(); ++i)
        connect(cmdMenu_[i], &QPushButton::clicked, this, [this, i] { cmdMenu_Click(int(i)); });
}

void VentanaMantenimiento::crearGrilla(const QString& titulo, const QStringList& encabezados,
                                       const QList<int>& anchos) {
    marco_ = new QGroupBox(titulo, this);
    marco_->setObjectName(QStringLiteral("marcoLista"));
    dtgLista_ = formulario::crearGrilla(marco_);
    dtgLista_->setItemDelegate(new DelegadoGrilla(dtgLista_));
    dtgLista_->setModel(logica_->modelo());
    dtgLista_->setAccessibleName(titulo);
    columnasVisibles_ = int(encabezados.size());
    for (int c = 0; c < columnasVisibles_; ++c)
        logica_->modelo()->setHeaderData(c, Qt::Horizontal, encabezados[c]);
    for (int c = 0; c < anchos.size(); ++c)
        dtgLista_->setColumnWidth(c, anchos[c]);
    auto* enMarco = new QVBoxLayout(marco_);
    enMarco->addWidget(dtgLista_);
    connect(dtgLista_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& actual) {
                if (!siguiendo_ && actual.isValid())
                    logica_->moverA(actual.row() + 1);
            });
}

void VentanaMantenimiento::establecerTitulo(const QString& titulo) {
    marco_->setTitle(titulo);
}

void VentanaMantenimiento::configurarColumnas() {
    for (int c = 0; c < logica_->modelo()->columnCount(); ++c)
        dtgLista_->setColumnHidden(c, c >= columnasVisibles_);
}

void VentanaMantenimiento::terminar(QGridLayout* controles) {
    auto* izquierda = new QVBoxLayout;
    izquierda->addLayout(controles);
    izquierda->addWidget(marco_, 1);
    auto* todo = new QHBoxLayout(this);
    todo->addLayout(izquierda, 1);
    todo->addLayout(barra_);

    connect(logica_, &Mantenimiento::estadoCambiado, this, &VentanaMantenimiento::aplicarEstado);
    connect(logica_, &Mantenimiento::filaCambiada, this, &VentanaMantenimiento::seguirFila);
    connect(logica_, &Mantenimiento::listaRecargada, this,
            &VentanaMantenimiento::configurarColumnas);
    new FiltroEnterTab(this);
    logica_->cargar();
    aplicarEstado(logica_->estado());
}

void VentanaMantenimiento::seguirFila(int posicion) {
    siguiendo_ = true;
    if (posicion > 0) {
        const QModelIndex indice = logica_->modelo()->index(posicion - 1, 0);
        dtgLista_->setCurrentIndex(indice);
        dtgLista_->scrollTo(indice);
        mapeador_->setCurrentIndex(posicion - 1);
    } else {
        dtgLista_->setCurrentIndex({});
        for (QWidget* control : std::as_const(mapeados_))
            DelegadoFormulario::limpiar(control);
    }
    siguiendo_ = false;
    alCambiarFila(posicion);
}

void VentanaMantenimiento::aplicarEstado(EstadoMantenimiento estado) {
    const bool editando = estado == EstadoMantenimiento::Editando;
    for (QWidget* control : std::as_const(edicion_))
        control->setEnabled(editando);
    for (size_t i = 0; i < cmdMenu_.size(); ++i) {
        const int indice = int(i);
        bool habilitado = !editando;
        if (indice == indices_.guardar || indice == indices_.cancelar)
            habilitado = editando;
        else if (indice == indices_.atras)
            habilitado = true;
        cmdMenu_[i]->setEnabled(habilitado);
    }
    // While a row is edited the grid cannot move to another.
    dtgLista_->setEnabled(!editando);
    if (editando && !edicion_.isEmpty())
        edicion_.front()->setFocus();
    alCambiarEstado(estado);
}

void VentanaMantenimiento::keyPressEvent(QKeyEvent* evento) {
    if (evento->key() == Qt::Key_Escape && evento->modifiers() == Qt::NoModifier) {
        evento->accept();
        return;
    }
    QDialog::keyPressEvent(evento);
}

void VentanaMantenimiento::guardar() {
    mapeador_->submit();
    logica_->guardar();
}

void VentanaMantenimiento::done(int resultado) {
    logica_->cerrar();
    QDialog::done(resultado);
}
