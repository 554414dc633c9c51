#include "data/plegado.h"

#include <QChar>

#include <cstring>
#include <vector>

namespace plegado {

namespace {

// Decodes one UTF-8 character at `i`; invalid bytes decode as themselves.
char32_t decodificar(std::string_view s, size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    auto continuacion = [&](size_t k) {
        return k < s.size() && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80;
    };
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    if ((b0 & 0xE0) == 0xC0 && continuacion(i + 1)) {
        const char32_t c =
            (char32_t(b0 & 0x1F) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F);
        i += 2;
        return c;
    }
    if ((b0 & 0xF0) == 0xE0 && continuacion(i + 1) && continuacion(i + 2)) {
        const char32_t c = (char32_t(b0 & 0x0F) << 12) |
                           (char32_t(static_cast<unsigned char>(s[i + 1]) & 0x3F) << 6) |
                           (static_cast<unsigned char>(s[i + 2]) & 0x3F);
        i += 3;
        return c;
    }
    if ((b0 & 0xF8) == 0xF0 && continuacion(i + 1) && continuacion(i + 2) && continuacion(i + 3)) {
        const char32_t c = (char32_t(b0 & 0x07) << 18) |
                           (char32_t(static_cast<unsigned char>(s[i + 1]) & 0x3F) << 12) |
                           (char32_t(static_cast<unsigned char>(s[i + 2]) & 0x3F) << 6) |
                           (static_cast<unsigned char>(s[i + 3]) & 0x3F);
        i += 4;
        return c;
    }
    ++i;
    return b0;
}

// Writes `c` as UTF-8 at `d`; returns the end of what it wrote.
char* codificar(char32_t c, char* d) {
    if (c < 0x80) {
        *d++ = char(c);
    } else if (c < 0x800) {
        *d++ = char(0xC0 | (c >> 6));
        *d++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *d++ = char(0xE0 | (c >> 12));
        *d++ = char(0x80 | ((c >> 6) & 0x3F));
        *d++ = char(0x80 | (c & 0x3F));
    } else {
        *d++ = char(0xF0 | (c >> 18));
        *d++ = char(0x80 | ((c >> 12) & 0x3F));
        *d++ = char(0x80 | ((c >> 6) & 0x3F));
        *d++ = char(0x80 | (c & 0x3F));
    }
    return d;
}

char32_t plegarCaracter(char32_t c) {
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return QChar::toCaseFolded(c);
}

std::u32string plegarU32(std::string_view s) {
    std::u32string r;
    r.reserve(s.size());
    for (size_t i = 0; i < s.size();)
        r.push_back(plegarCaracter(decodificar(s, i)));
    return r;
}

bool esContinuacion(char b) {
    return (static_cast<unsigned char>(b) & 0xC0) == 0x80;
}

} // namespace

namespace {

// Eight ASCII bytes at once: letters A-Z gain 0x20, everything else stays.
// No byte is 0x80 or more, so the sums below never carry into the next byte.
quint64 plegarAscii8(quint64 x) {
    constexpr quint64 kUnos = 0x0101010101010101ULL;
    const quint64 desdeA = x + (0x80 - 'A') * kUnos; // high bit where byte >= 'A'
    const quint64 trasZ = x + (0x7F - 'Z') * kUnos;  // high bit where byte > 'Z'
    return x | (((desdeA ^ trasZ) & (0x80 * kUnos)) >> 2);
}

// Folds `texto` into `d`, which has room for twice its bytes: a folded
// character takes at most twice the bytes it was read from (a stray byte such
// as 0xC0 is read as 'À' and folds to 'à', two bytes). Returns the end.
char* plegarEn(std::string_view texto, char* d) {
    const size_t n = texto.size();
    for (size_t i = 0; i < n;) {
        if (i + 8 <= n) {
            quint64 x;
            std::memcpy(&x, texto.data() + i, 8);
            if ((x & 0x8080808080808080ULL) == 0) {
                x = plegarAscii8(x);
                std::memcpy(d, &x, 8);
                d += 8;
                i += 8;
                continue;
            }
        }
        const auto b = static_cast<unsigned char>(texto[i]);
        if (b < 0x80) {
            *d++ = char((b >= 'A' && b <= 'Z') ? b + 32 : b);
            ++i;
        } else {
            d = codificar(plegarCaracter(decodificar(texto, i)), d);
        }
    }
    return d;
}

// `texto` folded into a buffer of this thread that only ever grows, so that
// the engine's many INSTR calls allocate nothing.
std::string_view plegado(std::string_view texto, std::string& buffer) {
    if (buffer.size() < 2 * texto.size())
        buffer.resize(2 * texto.size());
    return {buffer.data(), size_t(plegarEn(texto, buffer.data()) - buffer.data())};
}

} // namespace

void plegar(std::string_view texto, std::string& salida) {
    const size_t base = salida.size();
    salida.resize(base + 2 * texto.size());
    salida.resize(size_t(plegarEn(texto, salida.data() + base) - salida.data()));
}

long long posicion(std::string_view texto, std::string_view buscado, long long inicio) {
    if (inicio < 1)
        inicio = 1;
    thread_local std::string bufferTexto, bufferBuscado;
    const std::string_view t = plegado(texto, bufferTexto);
    const std::string_view b = plegado(buscado, bufferBuscado);
    // Byte offset of character `inicio`.
    size_t desde = 0;
    for (long long n = 1; n < inicio && desde < t.size(); ++n) {
        ++desde;
        while (desde < t.size() && esContinuacion(t[desde]))
            ++desde;
    }
    if (b.empty())
        return inicio;
    if (desde >= t.size())
        return 0;
    const size_t encontrado = t.find(b, desde);
    if (encontrado == std::string_view::npos)
        return 0;
    long long caracteres = 0;
    for (size_t k = 0; k < encontrado; ++k)
        if (!esContinuacion(t[k]))
            ++caracteres;
    return caracteres + 1;
}

bool parecido(std::string_view texto, std::string_view patron, char32_t escape) {
    const std::u32string t = plegarU32(texto);
    const std::u32string p = plegarU32(patron);
    if (escape)
        escape = plegarCaracter(escape);
    // Iterative matcher with backtracking to the last %.
    size_t ti = 0, pi = 0, tEstrella = std::u32string::npos, pEstrella = 0;
    while (ti < t.size()) {
        if (pi < p.size() && p[pi] == U'%') {
            tEstrella = ti;
            pEstrella = ++pi;
            continue;
        }
        if (pi < p.size()) {
            char32_t c = p[pi];
            size_t paso = 1;
            bool comodin = c == U'_';
            if (escape && c == escape && pi + 1 < p.size()) {
                c = p[pi + 1];
                paso = 2;
                comodin = false;
            }
            if (comodin || c == t[ti]) {
                pi += paso;
                ++ti;
                continue;
            }
        }
        if (tEstrella == std::u32string::npos)
            return false;
        ti = ++tEstrella;
        pi = pEstrella;
    }
    while (pi < p.size() && p[pi] == U'%')
        ++pi;
    return pi == p.size();
}

} // namespace plegado
