#include "startup/actualizacionbase.h"

#include "data/versionsqlite.h"
#include "platform/mensajes.h"
#include "platform/puntero.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cstring>

QString rutaCopiaPrevia(const QString& rutaBase, const QString& carpetaCopias, int version) {
    const QFileInfo base(rutaBase);
    const QString carpeta = !carpetaCopias.isEmpty() && QFileInfo(carpetaCopias).isDir()
                                ? carpetaCopias
                                : base.absolutePath();
    return carpeta + u'/' + base.completeBaseName() +
           QStringLiteral("-antes-de-version-%1.mdb").arg(version);
}

ResultadoActualizacion actualizarBase(const QString& rutaBase, const QString& carpetaCopias) {
    ResultadoActualizacion r;
    r.versionAnterior = versionArchivo(rutaBase);
    r.versionNueva = versionesquema::kActual;
    // A current file is not even locked: it may sit in a folder the account
    // can only read.
    if (r.versionAnterior == versionesquema::kActual) {
        r.estado = ResultadoActualizacion::Estado::AlDia;
        return r;
    }
    BaseVersionadaSqlite base(rutaBase);
    return actualizarEsquema(
        base, [&](int version) { return rutaCopiaPrevia(rutaBase, carpetaCopias, version); });
}

void actualizarBaseAlIniciar(const QString& rutaBase, const QString& carpetaCopias) {
    const int version = versionArchivo(rutaBase);
    // Newer files are refused before this point; an unreadable one is left to
    // the connection, which tells why.
    if (version == versionesquema::kDesconocida || version >= versionesquema::kActual)
        return;
    PunteroEspera puntero;
    const ResultadoActualizacion r = actualizarBase(rutaBase, carpetaCopias);
    puntero.restaurar();
    using Estado = ResultadoActualizacion::Estado;
    if (r.estado == Estado::AlDia)
        return;
    const bool problema = r.estado == Estado::Colision || r.estado == Estado::Fallida;
    mensaje(r.texto(), Botones::Aceptar, problema ? Icono::Exclamacion : Icono::Informacion,
            QStringLiteral("Actualización de la base de datos"));
}

QString problemaVersionBase(const QString& rutaBase) {
    const int version = versionArchivo(rutaBase);
    if (version <= versionesquema::kActual)
        return {};
    return QStringLiteral("El archivo «%1» es de la versión %2 de la base de datos y este "
                          "programa solo conoce hasta la versión %3: no se abrirá, para no "
                          "dañarlo. Instale una versión más reciente del programa o elija otra "
                          "base de datos.\n\n")
        .arg(QDir::toNativeSeparators(rutaBase))
        .arg(version)
        .arg(versionesquema::kActual);
}

std::optional<int> atenderOrdenesBase(int argc, char** argv) {
    if (argc < 2)
        return std::nullopt;
    const bool actualizar = std::strcmp(argv[1], "--actualizar-base") == 0;
    const bool consultar = std::strcmp(argv[1], "--version-base") == 0;
    if (!actualizar && !consultar)
        return std::nullopt;
    QTextStream salida(stdout);
    QTextStream errores(stderr);
    if (argc < 3 || argc > (actualizar ? 4 : 3)) {
        errores << (actualizar ? "Uso: tarvo --actualizar-base RUTA [CARPETA_COPIA]\n"
                               : "Uso: tarvo --version-base RUTA\n");
        return 2;
    }
    const QString ruta = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    if (consultar) {
        const int version = versionArchivo(ruta);
        if (version == versionesquema::kDesconocida) {
            errores << QStringLiteral("No se puede saber la versión de «%1»: no es una base de "
                                      "datos del programa o no se puede leer.\n")
                           .arg(ruta);
            return 1;
        }
        salida << version << '\n';
        return 0;
    }
    const QString carpeta = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString();
    if (!carpeta.isEmpty() && !QFileInfo(carpeta).isDir()) {
        errores << QStringLiteral("No existe la carpeta «%1».\n").arg(carpeta);
        return 2;
    }
    const ResultadoActualizacion r = actualizarBase(ruta, carpeta);
    if (r.estado == ResultadoActualizacion::Estado::AlDia)
        salida << QStringLiteral("La base de datos ya está en la versión %1.\n")
                      .arg(versionesquema::kActual);
    else
        (r.alDia() ? salida : errores) << r.texto() << '\n';
    return r.alDia() ? 0 : 1;
}
