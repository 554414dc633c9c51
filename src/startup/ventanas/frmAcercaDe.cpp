#include "startup/ventanas/frmAcercaDe.h"

#include "platform/mensajes.h"
#include "platform/ventanas/fabricas.h"
#include "startup/cqueryreg.h"
#include "startup/informacion.h"
#include "startup/ventanas/icono.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>

bool GetKeyValue(quint32 raiz, const QString& clave, const QString& nombre, QString& valor) {
    valor.clear();
    const QVariant v = cQueryReg().GetReg(clave, nombre, raiz, false);
    if (!v.isValid())
        return false;
    if (v.typeId() == QMetaType::UInt) {
        // The number's bytes up to the first zero, last to first, in hex.
        quint32 n = v.toUInt();
        QString bytes;
        while (n & 0xFF) {
            bytes.prepend(QString::number(n & 0xFF, 16).toUpper());
            n >>= 8;
        }
        valor = QStringLiteral("&h") + bytes;
    } else if (v.typeId() == QMetaType::QString) {
        valor = v.toString();
    } else {
        return false;
    }
    return true;
}

frmAcercaDe::frmAcercaDe(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmAcercaDe"));
    setWindowTitle(QStringLiteral("Acerca de ") + informacion::titulo());

    auto* picIcon = etiqueta(this, u"picIcon", {});
    picIcon->setPixmap(iconoTarvo().pixmap(64, 64));
    picIcon->setAlignment(Qt::AlignTop);

    auto* lblTitle = etiqueta(this, u"lblTitle", informacion::titulo());
    QFont grande = lblTitle->font();
    grande.setPointSizeF(grande.pointSizeF() * 1.6);
    grande.setBold(true);
    lblTitle->setFont(grande);

    auto* cmdOK = boton(this, u"cmdOK", QStringLiteral("OK"));
    cmdOK->setDefault(true);
    auto* cmdSysInfo = boton(this, u"cmdSysInfo", QStringLiteral("&System Info..."));

    auto* textos = new QVBoxLayout;
    textos->addWidget(lblTitle);
    textos->addWidget(
        etiqueta(this, u"lblVersion", QStringLiteral("Versión ") + informacion::version()));
    textos->addWidget(etiqueta(this, u"lblDescription", informacion::descripcion()));
    textos->addSpacing(12);
    textos->addWidget(
        etiqueta(this, u"lblPaginaWeb", QStringLiteral("Página web: ") + informacion::sitioWeb()));
    textos->addWidget(etiqueta(this, u"lblSoporte",
                               QStringLiteral("Soporte técnico: ") + informacion::soporte()));
    textos->addSpacing(12);
    textos->addWidget(etiqueta(this, u"lblCopyright", informacion::avisoLegal()));

    auto* arriba = new QHBoxLayout;
    arriba->addWidget(picIcon);
    arriba->addLayout(textos, 1);
    auto* botones = new QVBoxLayout;
    botones->addWidget(cmdOK);
    botones->addWidget(cmdSysInfo);
    botones->addStretch();
    arriba->addLayout(botones);
    setLayout(arriba);
    setMinimumWidth(460);
    for (QLabel* l : findChildren<QLabel*>())
        l->setWordWrap(true);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAcercaDe::StartSysInfo);
}

void frmAcercaDe::StartSysInfo() {
    QString ruta;
    if (!GetKeyValue(cQueryReg::HKEY_LOCAL_MACHINE,
                     QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                     QStringLiteral("PATH"), ruta)) {
        QString carpeta;
        if (GetKeyValue(cQueryReg::HKEY_LOCAL_MACHINE,
                        QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                        QStringLiteral("MSINFO"), carpeta) &&
            QFileInfo::exists(carpeta + QStringLiteral("/MSINFO32.EXE")))
            ruta = carpeta + QStringLiteral("/MSINFO32.EXE");
    }
    if (!ruta.isEmpty() && QProcess::startDetached(ruta, {}))
        return;
    mensaje(QStringLiteral("System Information Is Unavailable At This Time"));
}
