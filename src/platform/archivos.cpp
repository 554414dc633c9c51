#include "platform/archivos.h"

#include <QFile>
#include <QSaveFile>

bool copiarArchivo(const QString& origen, const QString& destino) {
    QFile entrada(origen);
    if (!entrada.open(QIODevice::ReadOnly))
        return false;
    QSaveFile salida(destino);
    if (!salida.open(QIODevice::WriteOnly))
        return false;
    QByteArray bloque(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 leidos = entrada.read(bloque.data(), bloque.size());
        if (leidos < 0) {
            salida.cancelWriting();
            return false;
        }
        if (leidos == 0)
            break;
        if (salida.write(bloque.constData(), leidos) != leidos) {
            salida.cancelWriting();
            return false;
        }
    }
    return salida.commit();
}
