#include "data/fechas.h"

#include <cmath>
#include <cstdio>

namespace fechas {

namespace {
constexpr qint64 kJulianoOrigen = 2415019; // QDate(1899, 12, 30).toJulianDay()
constexpr double kSegundosDia = 86400.0;
// Far beyond the calendar's range either way, and well inside qint64's.
constexpr qint64 kDiaExtremo = qint64(1) << 50;
} // namespace

qint64 diaDeFecha(const QDate& fecha) {
    return fecha.toJulianDay() - kJulianoOrigen;
}

double diaDeFechaHora(const QDateTime& momento) {
    const QTime hora = momento.time();
    return double(diaDeFecha(momento.date())) + hora.msecsSinceStartOfDay() / 1000.0 / kSegundosDia;
}

QDate fechaDeDia(qint64 dia) {
    if (dia < -kDiaExtremo || dia > kDiaExtremo)
        return {};
    return QDate::fromJulianDay(dia + kJulianoOrigen);
}

QDate fechaDeDiaReal(double dia) {
    const double entero = std::floor(dia);
    // The comparison is false for NaN as well.
    if (!(std::abs(entero) <= double(kDiaExtremo)))
        return {};
    return fechaDeDia(qint64(entero));
}

QVariant valorDeDia(double dia) {
    const double entero = std::floor(dia);
    const QDate fecha = fechaDeDiaReal(dia);
    // Only a finite number has a time of day.
    if (entero == dia || !std::isfinite(dia))
        return fecha;
    const int ms = int(std::lround((dia - entero) * kSegundosDia * 1000.0));
    return QDateTime(fecha, QTime::fromMSecsSinceStartOfDay(std::min(ms, 86399999)));
}

int escribirTextoCorto(double dia, char* salida) {
    const double entero = std::floor(dia);
    int a = 0, m = 0, d = 0;
    fechaDeDiaReal(dia).getDate(&a, &m, &d);
    const int aa = ((a % 100) + 100) % 100;
    int n = std::snprintf(salida, 18, "%02d/%02d/%02d", d, m, aa);
    if (entero != dia && std::isfinite(dia)) {
        const long s = std::lround((dia - entero) * kSegundosDia) % 86400;
        n += std::snprintf(salida + n, 18 - n, " %02ld:%02ld:%02ld", s / 3600, (s / 60) % 60,
                           s % 60);
    }
    return n;
}

QString textoCorto(double dia) {
    char buffer[24];
    const int n = escribirTextoCorto(dia, buffer);
    return QString::fromLatin1(buffer, n);
}

QVariant textoCelda(const QVariant& valor) {
    if (valor.typeId() == QMetaType::QDate)
        return textoCorto(double(diaDeFecha(valor.toDate())));
    if (valor.typeId() == QMetaType::QDateTime)
        return textoCorto(diaDeFechaHora(valor.toDateTime()));
    return valor;
}

} // namespace fechas
