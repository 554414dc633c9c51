#include "startup/ventanas/frmOpciones.h"

#include "platform/ventanas/entertab.h"
#include "platform/ventanas/fabricas.h"
#include "platform/ventanas/selectores.h"
#include "startup/ventanas/frmServidor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

frmOpciones::frmOpciones(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmOpciones"));
    setWindowTitle(QStringLiteral("Opciones"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    const QString examinar = QStringLiteral("...");
    optArchivo_ = new QRadioButton(QStringLiteral("Arc&hivo"), this);
    optArchivo_->setObjectName(QStringLiteral("optArchivo"));
    optServidor_ = new QRadioButton(QStringLiteral("&Servidor PostgreSQL"), this);
    optServidor_->setObjectName(QStringLiteral("optServidor"));
    cmdServidor_ = boton(this, u"cmdServidor", QStringLiteral("Datos del servidor..."));
    txtUbicacion_ = caja(this, u"txtUbicacion");
    auto* cmdExaminar = boton(this, u"cmdExaminar", examinar);
    cmdExaminar_ = cmdExaminar;
    txtUbicacionPresupuestos_ = caja(this, u"txtUbicacionPresupuestos");
    auto* cmdExaminarPresupuestos = boton(this, u"cmdExaminarPresupuestos", examinar);
    chkRespaldoAutomatico_ =
        new QCheckBox(QStringLiteral("&Realizar siempre una copia de seguridad al inicio"), this);
    chkRespaldoAutomatico_->setObjectName(QStringLiteral("chkRespaldoAutomatico"));
    txtUbicacionRespaldo_ = caja(this, u"txtUbicacionRespaldo");
    cmdExaminarRespaldo_ = boton(this, u"cmdExaminarRespaldo", examinar);
    txtUbicacionLogo_ = caja(this, u"txtUbicacionLogo");
    auto* cmdExaminarLogo = boton(this, u"cmdExaminarLogo", examinar);
    txtNombreEmpresa_ = caja(this, u"txtNombreEmpresa");
    txtIVA_ = caja(this, u"txtIVA");
    txtIVA_->setMaxLength(5);
    txtAvisoDias_ = caja(this, u"txtAvisoDias");
    auto* cmdOK = boton(this, u"cmdOK", QStringLiteral("Aceptar"));
    auto* cmdCancel = boton(this, u"cmdCancel", QStringLiteral("Cancelar"));
    // The controls that no label names: the backup folder (the check box
    // above it), and the browse buttons, whose "..." says nothing when read.
    txtUbicacionRespaldo_->setAccessibleName(QStringLiteral("Carpeta de la copia de seguridad"));
    cmdExaminar->setAccessibleName(QStringLiteral("Examinar base de datos"));
    cmdExaminarPresupuestos->setAccessibleName(QStringLiteral("Examinar presupuestos"));
    cmdExaminarRespaldo_->setAccessibleName(QStringLiteral("Examinar copia de seguridad"));
    cmdExaminarLogo->setAccessibleName(QStringLiteral("Examinar logo"));

    auto* rejilla = new QGridLayout;
    int fila = 0;
    auto lineaConBoton = [&](QWidget* titulo, QLineEdit* c, QPushButton* b) {
        rejilla->addWidget(titulo, fila++, 0, 1, 2);
        rejilla->addWidget(c, fila, 0);
        rejilla->addWidget(b, fila++, 1);
    };
    // Where the data lives: a file, or a shared server.
    auto* motor = new QHBoxLayout;
    motor->addWidget(optArchivo_);
    motor->addWidget(optServidor_);
    motor->addWidget(cmdServidor_);
    motor->addStretch();
    rejilla->addLayout(motor, fila++, 0, 1, 2);
    lineaConBoton(etiqueta(this, u"lblUbicacion", QStringLiteral("Ubicación de la &base de datos:"),
                           txtUbicacion_),
                  txtUbicacion_, cmdExaminar);
    lineaConBoton(etiqueta(this, u"lblUbicacionPresupuestos",
                           QStringLiteral("Ubicación de los &presupuestos:"),
                           txtUbicacionPresupuestos_),
                  txtUbicacionPresupuestos_, cmdExaminarPresupuestos);
    lineaConBoton(chkRespaldoAutomatico_, txtUbicacionRespaldo_, cmdExaminarRespaldo_);
    lineaConBoton(etiqueta(this, u"lblUbicacionLogo", QStringLiteral("Ubicación del &logo:"),
                           txtUbicacionLogo_),
                  txtUbicacionLogo_, cmdExaminarLogo);
    rejilla->addWidget(etiqueta(this, u"lblNombreEmpresa", QStringLiteral("&Nombre de la empresa:"),
                                txtNombreEmpresa_),
                       fila++, 0, 1, 2);
    rejilla->addWidget(txtNombreEmpresa_, fila++, 0, 1, 2);

    // A box between the words before and after it: both name it, the one
    // before first.
    auto entreTextos = [&](QLineEdit* c, QAnyStringView nombreAntes, const QString& antes,
                           QAnyStringView nombreDespues, const QString& despues) {
        auto* linea = new QHBoxLayout;
        linea->addWidget(etiqueta(this, nombreAntes, antes, c));
        c->setMaximumWidth(70);
        linea->addWidget(c);
        linea->addWidget(etiqueta(this, nombreDespues, despues, c));
        linea->addStretch();
        rejilla->addLayout(linea, fila++, 0, 1, 2);
    };
    entreTextos(txtIVA_, u"lblIVA", QStringLiteral("&I.V.A.: "), u"lblPorcentaje",
                QStringLiteral("%"));
    entreTextos(txtAvisoDias_, u"lblAvisar", QStringLiteral("&Avisar "), u"lblDiasAntes",
                QStringLiteral("días antes del vencimiento del presupuesto"));

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
    connect(optServidor_, &QRadioButton::toggled, this, &frmOpciones::cambiarMotor);
    connect(cmdServidor_, &QPushButton::clicked, this, &frmOpciones::editarServidor);

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
    servidor_ = v;
    (v.servidor ? optServidor_ : optArchivo_)->setChecked(true);
    cambiarMotor();
}

void frmOpciones::cambiarMotor() {
    const bool servidor = optServidor_->isChecked();
    txtUbicacion_->setEnabled(!servidor);
    cmdExaminar_->setEnabled(!servidor);
    cmdServidor_->setEnabled(servidor);
}

void frmOpciones::editarServidor() {
    frmServidor dialogo(servidor_, this);
    if (dialogo.exec() == QDialog::Accepted)
        dialogo.leer(servidor_);
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
    v.servidor = optServidor_->isChecked();
    v.nombreServidor = servidor_.nombreServidor;
    v.puerto = servidor_.puerto;
    v.baseDatos = servidor_.baseDatos;
    v.usuario = servidor_.usuario;
    v.contrasena = servidor_.contrasena;
    aceptarOpciones(v, reiniciar);
    accept();
}

void frmOpciones::cancelar() {
    reject();
}
