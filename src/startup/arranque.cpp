#include "startup/arranque.h"

#include "platform/archivos.h"
#include "platform/carpetas.h"
#include "platform/mensajes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <pwd.h>
#include <unistd.h>

namespace {
QString carpeta;
}

QString nombreCuenta(const QString& login) {
    QString nombre;
    for (const QChar c : login.toUpper()) {
        if (nombre.size() == 19)
            break;
        const bool valido = (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' ||
                            c == u'-' || c == u'.';
        nombre += valido ? c : QChar(u'_');
    }
    return nombre;
}

QString nombreCuenta() {
    const passwd* usuario = getpwuid(getuid());
    return nombreCuenta(usuario && usuario->pw_name ? QString::fromLocal8Bit(usuario->pw_name)
                                                    : QString());
}

QString nombreOrigenDatos(const QString& cuenta) {
    return QStringLiteral("TARVO_") + cuenta;
}

QString cadenaConexionInformes(const QString& cuenta) {
    return QStringLiteral("Provider=MSDataShape.1;Persist Security Info=True;Data Source=TARVO_") +
           cuenta + QStringLiteral(";User ID=admin;Password=pelmor;Data Provider=MSDASQL.1");
}

QString passwordBase() {
    return QStringLiteral("pelmor");
}

QString carpetaTarvo() {
    return carpeta;
}

void prepararCarpetaTarvo() {
    carpeta = CarpetaDocumentos() + QStringLiteral("/Tarvo");
    const QString plantilla = carpeta + QStringLiteral("/presupuesto.dot");
    if (QFileInfo::exists(plantilla))
        return;
    const QString titulo = QStringLiteral("Configuración");
    if (!QDir().mkpath(carpeta)) {
        mensaje(QStringLiteral("No se pudo crear la carpeta «%1»; los presupuestos no tendrán "
                               "plantilla hasta que se pueda crear.")
                    .arg(carpeta),
                Botones::Aceptar, Icono::Exclamacion, titulo);
        return;
    }
    const QString original = carpetaPrograma() + QStringLiteral("/presupuesto.dot");
    if (!copiarArchivo(original, plantilla))
        mensaje(QStringLiteral("No se pudo copiar la plantilla de presupuestos «%1» a «%2».")
                    .arg(original, carpeta),
                Botones::Aceptar, Icono::Exclamacion, titulo);
}
