#include "users/password.h"

#include "data/modconexion.h"

namespace {

// Windows-1252 bytes 0x80..0x9F; the five undefined ones map to the control
// characters of the same code, as the platform's own conversion does.
constexpr char16_t kAltos[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int aByte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kAltos[i] == c)
            return 0x80 + i;
    return '?';
}

char16_t deByte(int b) {
    return (b >= 0x80 && b < 0xA0) ? kAltos[b - 0x80] : char16_t(b);
}

} // namespace

QString CodificarPassword(const QString& texto) {
    QString resultado;
    resultado.reserve(texto.size());
    for (const QChar c : texto) {
        const int b = aByte(c.unicode());
        if (b >= 0xFF) {
            MostrarError({5, QStringLiteral("Llamada a procedimiento o argumento no válido.")});
            return {};
        }
        resultado.append(QChar(deByte(b + 1)));
    }
    return resultado;
}
