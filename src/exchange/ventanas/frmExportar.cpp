#include "exchange/ventanas/frmExportar.h"

#include "exchange/exportacion.h"
#include "platform/carpetas.h"
#include "platform/ventanas/fabricas.h"
#include "platform/ventanas/selectores.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// A step number, large and bold as in the dialog's design.
QLabel* paso(QWidget* padre, QAnyStringView nombre, const QString& numero) {
    QLabel* l = etiqueta(padre, nombre, numero);
    QFont letra = l->font();
    letra.setBold(true);
    letra.setPointSizeF(letra.pointSizeF() * 1.6);
    l->setFont(letra);
    return l;
}

} // namespace

frmExportar::frmExportar(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmExportar"));
    setWindowTitle(QStringLiteral("Exportar Productos - Tarvo"));

    txtDestino_ = caja(this, u"txtDestino");
    auto* lblUbicacion = etiqueta(this, u"lblUbicacion", QStringLiteral("Destino:"), txtDestino_);
    auto* cmdExaminar = boton(this, u"cmdExaminar", QStringLiteral("..."));
    // A button without words of its own.
    cmdExaminar->setAccessibleName(QStringLiteral("Examinar"));
    auto* cmdExportar = boton(this, u"cmdExportar", QStringLiteral("Exportar"));
    auto* cmdCerrar = boton(this, u"cmdCerrar", QStringLiteral("Cerrar"));

    auto* rejilla = new QGridLayout;
    rejilla->addWidget(paso(this, u"Label3", QStringLiteral("1")), 0, 0);
    rejilla->addWidget(
        etiqueta(this, u"Label4", QStringLiteral("Seleccione el archivo de destino")), 0, 1, 1, 3);
    rejilla->addWidget(lblUbicacion, 1, 1);
    rejilla->addWidget(txtDestino_, 1, 2);
    rejilla->addWidget(cmdExaminar, 1, 3);
    rejilla->addWidget(paso(this, u"Label5", QStringLiteral("2")), 2, 0);
    rejilla->addWidget(etiqueta(this, u"Label6", QStringLiteral("Oprima el botón Exportar")), 2, 1,
                       1, 3);
    auto* Label7 = etiqueta(this, u"Label7",
                            QStringLiteral("El archivo exportado podrá abrirlo desde Microsoft "
                                           "Excel"));
    Label7->setWordWrap(true);
    rejilla->addWidget(Label7, 3, 1, 1, 3);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdExportar);
    botones->addWidget(cmdCerrar);
    rejilla->addLayout(botones, 4, 0, 1, 4);
    rejilla->setColumnStretch(2, 1);
    setLayout(rejilla);
    setMinimumWidth(460);

    connect(cmdExaminar, &QPushButton::clicked, this, &frmExportar::cmdExaminar_Click);
    connect(cmdExportar, &QPushButton::clicked, this, &frmExportar::cmdExportar_Click);
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::close);
}

void frmExportar::cmdExaminar_Click() {
    // Where the user last chose, else the Documents folder.
    const QString inicial = ultimoArchivo_.isEmpty() ? CarpetaDocumentos() : ultimoArchivo_;
    const QString elegido = selectores().elegirArchivoDestino(
        this, QStringLiteral("Seleccione el destino de los datos exportados"),
        QStringLiteral("Archivos de texto separados por tabuladores (*.txt)|*.txt"), inicial);
    // Cancelling keeps whatever the box holds, typed or chosen.
    if (elegido.isEmpty())
        return;
    ultimoArchivo_ = elegido;
    txtDestino_->setText(elegido);
}

void frmExportar::cmdExportar_Click() {
    ExportarProductos(txtDestino_->text());
}
