#include "startup/archivoajustes.h"

#include "platform/mensajes.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringDecoder>

namespace {

const QString kTitulo = QStringLiteral("Configuración");

void detener(const QString& ruta, const QString& motivo) {
    mensaje(QStringLiteral("No se puede leer el archivo de configuración «%1»:\n%2\n\nEl programa "
                           "se cerrará sin cambiar nada. Corrija el archivo (o sus permisos) y "
                           "vuelva a iniciarlo.")
                .arg(QDir::toNativeSeparators(ruta), motivo),
            Botones::Aceptar, Icono::Critico, kTitulo);
}

// Settings are UTF-8 text: NUL or other control bytes, or bytes that are not
// UTF-8, mean the file was overwritten or truncated by something else.
bool esTextoAjustes(const QByteArray& bytes) {
    for (const char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    (void)QString(utf8(bytes));
    return !utf8.hasError();
}

bool legible(const QString& ruta, const QByteArray& bytes) {
    if (!esTextoAjustes(bytes))
        return false;
    const QSettings ajustes(ruta, QSettings::IniFormat);
    return ajustes.status() == QSettings::NoError;
}

} // namespace

QString rutaArchivoAjustes() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     QStringLiteral("Varnel Software"), QStringLiteral("Tarvo"))
        .fileName();
}

bool comprobarArchivoAjustes() {
    const QString ruta = rutaArchivoAjustes();
    const QFileInfo info(ruta);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (info.isDir()) {
        detener(ruta, QStringLiteral("en su lugar hay una carpeta."));
        return false;
    }
    if (!info.isFile()) {
        detener(ruta, QStringLiteral("no es un archivo normal."));
        return false;
    }
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) {
        detener(ruta, archivo.errorString());
        return false;
    }
    const QByteArray bytes = archivo.readAll();
    archivo.close();
    if (legible(ruta, bytes))
        return true;

    const QString aparte = ruta + QStringLiteral(".dañado-") +
                           QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!QFile::rename(ruta, aparte)) {
        detener(ruta, QStringLiteral("está dañado y no se pudo apartar para crear uno nuevo."));
        return false;
    }
    mensaje(QStringLiteral("El archivo de configuración «%1» estaba dañado. Se ha guardado aparte "
                           "como «%2» y se usarán los valores predeterminados; revise las "
                           "opciones (Herramientas > Opciones), en especial la ubicación de la "
                           "base de datos.")
                .arg(QDir::toNativeSeparators(ruta), QDir::toNativeSeparators(aparte)),
            Botones::Aceptar, Icono::Exclamacion, kTitulo);
    return true;
}
