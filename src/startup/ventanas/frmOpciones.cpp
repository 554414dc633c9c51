#include "startup/ventanas/frmOpciones.h"

#include "platform/ventanas/entertab.h"
#include "platform/ventanas/selectores.h"
#include "startup/valoresopciones.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLineEdit* caja(QWidget* padre, const char16_t* nombre) {
    auto* c = new QLineEdit(padre);
    c->setObjectName(QString::fromUtf16(nombre));
    return c;
}

QPushButton* boton(QWidget* padre, const char16_t* nombre, const QString& texto) {
    auto* b = new QPushButton(texto, padre);
    b->setObjectName(QString::fromUtf16(nombre));
    b->setAutoDefault(false);
    return b;
}

QLabel* etiqueta(QWidget* padre, const char16_t* nombre, const QString& texto) {
    auto* l = new QLabel(texto, padre);
    l->setObjectName(QString::fromUtf16(nombre));
    return l;
}

} // namespace

frmOpciones::frmOpciones(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmOpciones"));
    setWindowTitle(QStringLiteral("Opciones"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    txtUbicacion_ = caja(this, u"txtUbicacion");
    auto* cmdExaminar = boton(this, u"cmdExaminar", QStringLiteral("..."));
    txtUbicacionPresupuestos_ = caja(this, u"txtUbicacionPresupuestos");
    auto* cmdExaminarPresupuestos = boton(this, u"cmdExaminarPresupuestos", QStringLiteral("..."));
    chkRespaldoAutomatico_ =
        new QCheckBox(QStringLiteral("Realizar siempre una copia de seguridad al inicio"), this);
    chkRespaldoAutomatico_->setObjectName(QStringLiteral("chkRespaldoAutomatico"));
    txtUbicacionRespaldo_ = caja(this, u"txtUbicacionRespaldo");
    cmdExaminarRespaldo_ = boton(this, u"cmdExaminarRespaldo", QStringLiteral("..."));
    txtUbicacionLogo_ = caja(this, u"txtUbicacionLogo");
    auto* cmdExaminarLogo = boton(this, u"cmdExaminarLogo", QStringLiteral("..."));
    txtNombreEmpresa_ = caja(this, u"txtNombreEmpresa");
    txtIVA_ = caja(this, u"txtIVA");
    txtIVA_->setMaxLength(5);
    txtAvisoDias_ = caja(this, u"txtAvisoDias");
    auto* cmdOK = boton(this, u"cmdOK", QStringLiteral("Aceptar"));
    auto* cmdCancel = boton(this, u"cmdCancel", QStringLiteral("Cancelar"));

    auto* rejilla = new QGridLayout;
    int fila = 0;
    auto lineaConBoton = [&](QLabel* texto, QLineEdit* c, QPushButton* b) {
        rejilla->addWidget(texto, fila++, 0, 1, 2);
        rejilla->addWidget(c, fila, 0);
        rejilla->addWidget(b, fila++, 1);
    };
    lineaConBoton(etiqueta(this, u"lblUbicacion", QStringLiteral("Ubicación de la base de datos:")),
                  txtUbicacion_, cmdExaminar);
    lineaConBoton(etiqueta(this, u"lblUbicacionPresupuestos",
                           QStringLiteral("Ubicación de los presupuestos:")),
                  txtUbicacionPresupuestos_, cmdExaminarPresupuestos);
    rejilla->addWidget(chkRespaldoAutomatico_, fila++, 0, 1, 2);
    rejilla->addWidget(txtUbicacionRespaldo_, fila, 0);
    rejilla->addWidget(cmdExaminarRespaldo_, fila++, 1);
    lineaConBoton(etiqueta(this, u"lblUbicacionLogo", QStringLiteral("Ubicación del logo:")),
                  txtUbicacionLogo_, cmdExaminarLogo);
    rejilla->addWidget(etiqueta(this, u"lblNombreEmpresa", QStringLiteral("Nombre de la empresa:")),
                       fila++, 0, 1, 2);
    rejilla->addWidget(txtNombreEmpresa_, fila++, 0, 1, 2);

    auto* lineaIva = new QHBoxLayout;
    lineaIva->addWidget(etiqueta(this, u"lblIVA", QStringLiteral("I.V.A.: ")));
    txtIVA_->setMaximumWidth(70);
    lineaIva->addWidget(txtIVA_);
    lineaIva->addWidget(etiqueta(this, u"lblPorcentaje", QStringLiteral("%")));
    lineaIva->addStretch();
    rejilla->addLayout(lineaIva, fila++, 0, 1, 2);

    auto* lineaAviso = new QHBoxLayout;
    lineaAviso->addWidget(etiqueta(this, u"lblAvisar", QStringLiteral("Avisar ")));
    txtAvisoDias_->setMaximumWidth(70);
    lineaAviso->addWidget(txtAvisoDias_);
    lineaAviso->addWidget(etiqueta(this, u"lblDiasAntes",
                                   QStringLiteral("días antes del vencimiento del presupuesto")));
    lineaAviso->addStretch();
    rejilla->addLayout(lineaAviso, fila++, 0, 1, 2);

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdOK);
    botones->addWidget(cmdCancel);
    rejilla->addLayout(botones, fila++, 0, 1, 2);
    setLayout(rejilla);
    setMinimumWidth(520);

    connect(cmdOK, &QPushButton::clicked, this, &frmOpciones::aceptar);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOpciones::cancelar);
    connect(cmdExaminar, &QPushButton::clicked, this, &frmOpciones::examinarBase);
    connect(cmdExaminarPresupuestos, &QPushButton::clicked, this,
            &frmOpciones::examinarPresupuestos);
    connect(cmdExaminarRespaldo_, &QPushButton::clicked, this, &frmOpciones::examinarRespaldo);
    connect(cmdExaminarLogo, &QPushButton::clicked, this, &frmOpciones::examinarLogo);
    connect(chkRespaldoAutomatico_, &QCheckBox::toggled, this, &frmOpciones::cambiarRespaldo);

    new FiltroEnterTab(this);
    cambiarRespaldo(false);
    cargar();
}

void frmOpciones::cargar() {
    const ValoresOpciones v = leerValoresOpciones();
    txtUbicacion_->setText(v.ubicacion);
    txtUbicacionPresupuestos_->setText(v.ubicacionPresupuestos);
    chkRespaldoAutomatico_->setChecked(v.respaldoAutomatico);
    txtUbicacionRespaldo_->setText(v.ubicacionRespaldo);
    txtUbicacionLogo_->setText(v.ubicacionLogo);
    txtNombreEmpresa_->setText(v.nombreEmpresa);
    txtIVA_->setText(v.iva);
    txtAvisoDias_->setText(v.avisoDias);
}

void frmOpciones::cambiarRespaldo(bool activo) {
    if (!activo)
        txtUbicacionRespaldo_->clear();
    txtUbicacionRespaldo_->setEnabled(activo);
    cmdExaminarRespaldo_->setEnabled(activo);
}

QString frmOpciones::elegirArchivo(const QString& titulo, const QString& filtro) {
    const QString elegido = selectores().elegirArchivo(this, titulo, filtro);
    if (!elegido.isEmpty())
        ultimoArchivo_ = elegido;
    return ultimoArchivo_;
}

void frmOpciones::examinarBase() {
    txtUbicacion_->setText(
        elegirArchivo(QStringLiteral("Seleccione la ubicación de la Base de Datos"),
                      QStringLiteral("Bases de Datos de Microsoft Access (*.mdb)|*.mdb")));
}

void frmOpciones::examinarLogo() {
    txtUbicacionLogo_->setText(elegirArchivo(
        QStringLiteral("Seleccione la ubicación del logo de su empresa"),
        QStringLiteral("Archivos de imágen (*.gif;*.jpg;*.png;*.bmp)|*.gif;*.jpg;*.png;*.bmp")));
}

void frmOpciones::examinarPresupuestos() {
    txtUbicacionPresupuestos_->setText(
        SeleccionarCarpeta(this, QStringLiteral("Seleccione la carpeta destino para los "
                                                "presupuestos")));
}

void frmOpciones::examinarRespaldo() {
    txtUbicacionRespaldo_->setText(
        SeleccionarCarpeta(this, QStringLiteral("Seleccione la carpeta destino")));
}

void frmOpciones::aceptar() {
    ValoresOpciones v;
    v.ubicacion = txtUbicacion_->text();
    v.ubicacionPresupuestos = txtUbicacionPresupuestos_->text();
    v.respaldoAutomatico = chkRespaldoAutomatico_->isChecked();
    v.ubicacionRespaldo = txtUbicacionRespaldo_->text();
    v.ubicacionLogo = txtUbicacionLogo_->text();
    v.nombreEmpresa = txtNombreEmpresa_->text();
    v.iva = txtIVA_->text();
    v.avisoDias = txtAvisoDias_->text();
    aceptarOpciones(v, reiniciar);
    accept();
}

void frmOpciones::cancelar() {
    reject();
}
