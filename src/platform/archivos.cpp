#include "platform/archivos.h"

#include "platform/motivos.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace {

// The reason of the operation that just failed: the system's code when it
// left one, Qt's text otherwise.
QString motivoDe(int codigo, const QString& textoQt) {
    return codigo ? motivoSistema(codigo) : textoQt;
}

} // namespace

bool copiarArchivo(const QString& origen, const QString& destino) {
    QString motivo;
    return copiarArchivo(origen, destino, motivo);
}

bool copiarArchivo(const QString& origen, const QString& destino, QString& motivo) {
    QFile entrada(origen);
    errno = 0;
    if (!entrada.open(QIODevice::ReadOnly)) {
        motivo = QStringLiteral("no se puede leer «%1»: ").arg(origen) +
                 motivoDe(errno, entrada.errorString());
        return false;
    }
    // Renaming onto a folder fails only after the whole copy was written.
    if (QFileInfo(destino).isDir()) {
        motivo = motivoSistema(EISDIR);
        return false;
    }
    QSaveFile salida(destino);
    errno = 0;
    if (!salida.open(QIODevice::WriteOnly)) {
        motivo = motivoDe(errno, salida.errorString());
        return false;
    }
    QByteArray bloque(1 << 20, Qt::Uninitialized);
    for (;;) {
        errno = 0;
        const qint64 leidos = entrada.read(bloque.data(), bloque.size());
        if (leidos < 0) {
            motivo = QStringLiteral("no se puede leer «%1»: ").arg(origen) +
                     motivoDe(errno, entrada.errorString());
            salida.cancelWriting();
            return false;
        }
        if (leidos == 0)
            break;
        errno = 0;
        if (salida.write(bloque.constData(), leidos) != leidos) {
            motivo = motivoDe(errno, salida.errorString());
            salida.cancelWriting();
            return false;
        }
    }
    errno = 0;
    if (!salida.commit()) {
        motivo = motivoDe(errno, salida.errorString());
        return false;
    }
    return true;
}
