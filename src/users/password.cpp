#include "users/password.h"

#include "data/modconexion.h"
#include "exchange/windows1252.h"

QString CodificarPassword(const QString& texto) {
    QString resultado;
    resultado.reserve(texto.size());
    for (const QChar c : texto) {
        const auto b = static_cast<unsigned char>(windows1252::byte(c.unicode()));
        if (b == 0xFF) {
            MostrarError({5, QStringLiteral("Llamada a procedimiento o argumento no válido.")});
            return {};
        }
        resultado.append(QChar(windows1252::caracter(b + 1)));
    }
    return resultado;
}

bool passwordAdmisible(const QString& texto) {
    return windows1252::representable(texto);
}
