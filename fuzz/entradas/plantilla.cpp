#include "comun.h"
#include "entradas.h"

#include "quotes/comprobarplantilla.h"

#include <QTextStream>

namespace entradas {

void comprobacionPlantilla(const std::uint8_t* datos, std::size_t tamano) {
    const QByteArray bytes(reinterpret_cast<const char*>(datos), qsizetype(tamano));
    const QString ruta = comun::escribirTemporal(QStringLiteral("comprobar.dot"), bytes);
    QString informe;
    QTextStream salida(&informe);
    const int estado = comprobarPlantilla(ruta, salida);
    if (estado < 0 || estado > 2)
        comun::fallo("estado de la comprobación fuera de 0..2");
}

} // namespace entradas
