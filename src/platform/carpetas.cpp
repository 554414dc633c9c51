#include "platform/carpetas.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString carpetaFijada;
}

QString CarpetaDocumentos() {
    QString ruta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    while (ruta.size() > 1 && ruta.endsWith(u'/'))
        ruta.chop(1);
    return ruta;
}

QString carpetaPrograma() {
    if (!carpetaFijada.isEmpty())
        return carpetaFijada;
    const QString junto = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(junto + QStringLiteral("/bd2000.mdb")))
        return junto;
    // Installed layout: <prefix>/bin/tarvo and <prefix>/share/tarvo/.
    const QString compartida = QDir::cleanPath(junto + QStringLiteral("/../share/tarvo"));
    if (QFileInfo::exists(compartida + QStringLiteral("/bd2000.mdb")))
        return compartida;
    return junto;
}

void establecerCarpetaPrograma(const QString& carpeta) {
    carpetaFijada = carpeta;
}
