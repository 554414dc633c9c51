#include "startup/ventanas/icono.h"

#include <QDirIterator>

QIcon iconoTarvo() {
    QIcon icono;
    QDirIterator tamanos(QStringLiteral(":/tarvo/icono"), {QStringLiteral("*.png")});
    while (tamanos.hasNext())
        icono.addFile(tamanos.next());
    return icono;
}
