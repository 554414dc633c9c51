#include "startup/ventanas/frmPresentacion.h"

#include "platform/ventanas/fabricas.h"
#include "startup/informacion.h"
#include "startup/ventanas/icono.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// The label's letters `escala` times their size.
QLabel* agrandar(QLabel* l, qreal escala, bool negrita = false) {
    QFont letra = l->font();
    letra.setPointSizeF(letra.pointSizeF() * escala);
    letra.setBold(negrita);
    l->setFont(letra);
    return l;
}

} // namespace

frmPresentacion::frmPresentacion(QWidget* padre)
    : QDialog(padre, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmPresentacion"));
    setAttribute(Qt::WA_DeleteOnClose);
    setStyleSheet(QStringLiteral("QDialog#frmPresentacion { background: white; border: 2px solid "
                                 "#1f4e79; }"));

    auto* imagen = etiqueta(this, u"imgPresentacion", {});
    imagen->setPixmap(iconoTarvo().pixmap(128, 128));
    imagen->setAlignment(Qt::AlignCenter);

    auto* copyright = etiqueta(this, u"lblCopyright", informacion::avisoLegal());
    copyright->clear();

    auto* textos = new QVBoxLayout;
    textos->addWidget(etiqueta(this, u"lblCompany", informacion::compania()));
    textos->addWidget(
        agrandar(etiqueta(this, u"lblProductName", informacion::titulo()), 2.6, true));
    textos->addWidget(agrandar(
        etiqueta(this, u"lblPropaganda", QStringLiteral("Cotizaciones y Presupuestos")), 1.3));
    textos->addWidget(
        etiqueta(this, u"lblVersion", QStringLiteral("Version ") + informacion::version()));
    textos->addStretch();
    textos->addWidget(copyright);
    textos->addWidget(agrandar(
        etiqueta(this, u"lblWarning",
                 QStringLiteral("Advertencia: este programa está protegido por las leyes de "
                                "derechos de autor. Su copia o distribución sin autorización "
                                "está prohibida.")),
        0.85));
    textos->addWidget(agrandar(etiqueta(this, u"Label1", informacion::sitioWeb()), 0.9));
    for (QLabel* l : findChildren<QLabel*>())
        l->setWordWrap(true);

    auto* todo = new QHBoxLayout(this);
    todo->setContentsMargins(24, 24, 24, 24);
    todo->setSpacing(24);
    todo->addWidget(imagen);
    todo->addLayout(textos, 1);
    setFixedSize(560, 300);
}

void frmPresentacion::keyPressEvent(QKeyEvent*) {
    close();
}
