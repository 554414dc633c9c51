#include "exchange/windows1252.h"

#include <array>

namespace windows1252 {

namespace {

// The characters of bytes 0x80-0x9F. The five positions the code page leaves
// undefined carry the control character of the same number, as Windows
// converts them.
constexpr std::array<char16_t, 32> kAltos = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

char byte(char32_t caracter) {
    if (caracter < 0x80 || (caracter >= 0xA0 && caracter <= 0xFF))
        return char(caracter);
    for (size_t i = 0; i < kAltos.size(); ++i)
        if (kAltos[i] == caracter)
            return char(0x80 + i);
    return '?';
}

char16_t caracter(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kAltos[byte - 0x80] : char16_t(byte);
}

bool representable(QStringView texto) {
    for (const QChar c : texto)
        if (c.isSurrogate() || (c != u'?' && byte(c.unicode()) == '?'))
            return false;
    return true;
}

void agregar(QByteArray& destino, std::string_view utf8) {
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* const fin = p + utf8.size();
    while (p < fin) {
        // Runs of ASCII go across in one piece.
        const auto* ascii = p;
        while (ascii < fin && *ascii < 0x80)
            ++ascii;
        if (ascii > p) {
            destino.append(reinterpret_cast<const char*>(p), ascii - p);
            p = ascii;
            if (p == fin)
                break;
        }
        const unsigned char b = *p;
        int siguen = 0;
        char32_t c = 0;
        char32_t minimo = 0;
        if ((b & 0xE0) == 0xC0) {
            siguen = 1;
            c = b & 0x1F;
            minimo = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            siguen = 2;
            c = b & 0x0F;
            minimo = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            siguen = 3;
            c = b & 0x07;
            minimo = 0x10000;
        } else {
            destino.append('?');
            ++p;
            continue;
        }
        ++p;
        bool bien = true;
        for (int i = 0; i < siguen; ++i) {
            if (p == fin || (*p & 0xC0) != 0x80) {
                bien = false;
                break;
            }
            c = (c << 6) | (*p++ & 0x3F);
        }
        destino.append(bien && c >= minimo ? byte(c) : '?');
    }
}

QByteArray convertir(QStringView texto) {
    QByteArray salida;
    salida.reserve(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        // A character outside the first plane takes two code units and gives
        // one "?"; a lone surrogate gives one too.
        if (c.isHighSurrogate() && i + 1 < texto.size() && texto[i + 1].isLowSurrogate())
            ++i;
        salida.append(c.isSurrogate() ? '?' : byte(c.unicode()));
    }
    return salida;
}

} // namespace windows1252
