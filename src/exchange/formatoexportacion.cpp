#include "exchange/formatoexportacion.h"

#include "data/fechas.h"
#include "exchange/windows1252.h"
#include "platform/localizacion.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace formatoexportacion {

namespace {

void agregarEntero(QByteArray& destino, qint64 valor) {
    char buffer[24];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, valor);
    destino.append(buffer, r.ptr - buffer);
}

void agregarReal(QByteArray& destino, double valor, char separador) {
    char buffer[40];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, valor, std::chars_format::general, 15);
    for (char* p = buffer; p < r.ptr; ++p) {
        if (*p == '.')
            *p = separador;
        else if (*p == 'e')
            *p = 'E';
    }
    destino.append(buffer, r.ptr - buffer);
}

void agregarFecha(QByteArray& destino, double dia) {
    const double entero = std::floor(dia);
    int a = 0, m = 0, d = 0;
    fechas::fechaDeDiaReal(dia).getDate(&a, &m, &d);
    char buffer[40];
    int n = std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", d, m, a);
    if (entero != dia && std::isfinite(dia)) {
        const long s = std::lround((dia - entero) * 86400.0) % 86400;
        n += std::snprintf(buffer + n, sizeof buffer - size_t(n), " %02ld:%02ld:%02ld", s / 3600,
                           (s / 60) % 60, s % 60);
    }
    destino.append(buffer, n);
}

} // namespace

char separadorDecimal() {
    const QString s = localeTarvo().decimalPoint();
    return s.size() == 1 && s[0].unicode() < 0x80 ? char(s[0].unicode()) : ',';
}

void agregar(QByteArray& destino, const TablaResultado::Celda& celda, TipoColumna tipo,
             char separadorDecimal) {
    using Clase = TablaResultado::Clase;
    const bool numero = celda.clase == Clase::Entero || celda.clase == Clase::Real;
    const double comoReal = celda.clase == Clase::Entero ? double(celda.entero) : celda.real;
    if (numero && tipo == TipoColumna::SiNo) {
        destino.append(comoReal != 0.0 ? "VERDADERO" : "FALSO");
        return;
    }
    if (numero && tipo == TipoColumna::Fecha) {
        agregarFecha(destino, comoReal);
        return;
    }
    switch (celda.clase) {
    case Clase::Nulo:
        return;
    case Clase::Entero:
        agregarEntero(destino, celda.entero);
        return;
    case Clase::Real:
        agregarReal(destino, celda.real, separadorDecimal);
        return;
    case Clase::Texto:
        windows1252::agregar(destino, celda.bytes);
        return;
    case Clase::Binario:
        destino.append(celda.bytes.data(), qsizetype(celda.bytes.size()));
        return;
    }
}

} // namespace formatoexportacion
