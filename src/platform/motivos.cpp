#include "platform/motivos.h"

#include <cerrno>
#include <cstring>

QString motivoSistema(int codigo) {
    switch (codigo) {
    case ENOENT:
        return QStringLiteral("la carpeta o el archivo no existe.");
    case EACCES:
    case EPERM:
        return QStringLiteral("no tiene permiso para escribir o leer allí.");
    case ENOSPC:
        return QStringLiteral("no queda espacio en el disco.");
    case EDQUOT:
        return QStringLiteral("se agotó la cuota de disco del usuario.");
    case EROFS:
        return QStringLiteral("el disco es de solo lectura.");
    case EISDIR:
        return QStringLiteral("hay una carpeta con ese nombre.");
    case ENOTDIR:
        return QStringLiteral("una parte de la ruta no es una carpeta.");
    case ENAMETOOLONG:
        return QStringLiteral("la ruta es demasiado larga.");
    case EIO:
        return QStringLiteral("error de lectura o escritura en el disco.");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("el archivo está en uso.");
    case EEXIST:
        return QStringLiteral("ya existe un archivo con ese nombre.");
    default:
        return QString::fromLocal8Bit(std::strerror(codigo)) + u'.';
    }
}
