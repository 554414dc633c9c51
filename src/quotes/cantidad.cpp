#include "quotes/cantidad.h"

#include "quotes/numeros.h"

namespace cantidad {

QString ValidarCantidad(const QString& texto) {
    static const QString salto = QStringLiteral("\r\n");
    QString motivo;
    // The comma has a message of its own: here it does not make the text
    // less of a number.
    QString conPunto = texto;
    conPunto.replace(u',', u'.');
    if (const auto valor = numeros::leer(conPunto)) {
        if (*valor <= 0)
            motivo += salto + QStringLiteral("La Cantidad debe ser mayor que 0.");
    } else {
        motivo += salto + QStringLiteral("La Cantidad debe ser un valor numérico.");
    }
    if (texto.contains(u','))
        motivo += salto + QStringLiteral("Debe utilizar el punto (.) como separador de decimales.");
    return motivo;
}

} // namespace cantidad
