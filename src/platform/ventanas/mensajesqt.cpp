#include "platform/ventanas/mensajesqt.h"

#include <QApplication>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace {

QMessageBox::Icon iconoQt(Icono icono) {
    switch (icono) {
    case Icono::Informacion:
        return QMessageBox::Information;
    case Icono::Exclamacion:
        return QMessageBox::Warning;
    case Icono::Critico:
        return QMessageBox::Critical;
    case Icono::Pregunta:
        return QMessageBox::Question;
    case Icono::Ninguno:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Respuesta MensajesQt::mostrar(const QString& texto, Botones botones, Icono icono,
                              const QString& titulo) {
    QMessageBox caja(iconoQt(icono), titulo.isEmpty() ? tituloAplicacion() : titulo, texto,
                     QMessageBox::NoButton, QApplication::activeWindow());
    switch (botones) {
    case Botones::Aceptar:
        caja.setStandardButtons(QMessageBox::Ok);
        break;
    case Botones::SiNo:
        caja.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        caja.setDefaultButton(QMessageBox::Yes);
        break;
    case Botones::AceptarCancelar:
        caja.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    }
    switch (caja.exec()) {
    case QMessageBox::Yes:
        return Respuesta::Si;
    case QMessageBox::No:
        return Respuesta::No;
    case QMessageBox::Cancel:
        return Respuesta::Cancelar;
    default:
        return botones == Botones::SiNo ? Respuesta::No : Respuesta::Aceptar;
    }
}

QString MensajesQt::pedirTexto(const QString& mensaje, const QString& titulo,
                               const QString& valorInicial) {
    bool aceptado = false;
    const QString texto =
        QInputDialog::getText(QApplication::activeWindow(),
                              titulo.isEmpty() ? tituloAplicacion() : titulo, mensaje,
                              QLineEdit::Normal, valorInicial, &aceptado);
    return aceptado ? texto : QString();
}

bool cargarTraduccionQt() {
    auto* traductor = new QTranslator(QCoreApplication::instance());
    if (!traductor->load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"),
                         QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete traductor;
        return false;
    }
    return QCoreApplication::installTranslator(traductor);
}
