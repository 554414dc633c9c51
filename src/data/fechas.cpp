#include "data/fechas.h"

#include <cmath>
#include <cstdio>

namespace fechas {

namespace {
constexpr qint64 kJulianoOrigen = 2415019; // QDate(1899, 12, 30).toJulianDay()
constexpr double kSegundosDia = 86400.0;
} // namespace

qint64 diaDeFecha(const QDate& fecha) {
    return fecha.toJulianDay() - kJulianoOrigen;
}

double diaDeFechaHora(const QDateTime& momento) {
    const QTime hora = momento.time();
    return double(diaDeFecha(momento.date())) + hora.msecsSinceStartOfDay() / 1000.0 / kSegundosDia;
}

QDate fechaDeDia(qint64 dia) {
    return QDate::fromJulianDay(dia + kJulianoOrigen);
}

QVariant valorDeDia(double dia) {
    const double entero = std::floor(dia);
    const QDate fecha = fechaDeDia(qint64(entero));
    if (entero == dia)
        return fecha;
    const int ms = int(std::lround((dia - entero) * kSegundosDia * 1000.0));
    return QDateTime(fecha, QTime::fromMSecsSinceStartOfDay(std::min(ms, 86399999)));
}

int escribirTextoCorto(double dia, char* salida) {
    const double entero = std::floor(dia);
    int a = 0, m = 0, d = 0;
    fechaDeDia(qint64(entero)).getDate(&a, &m, &d);
    const int aa = ((a % 100) + 100) % 100;
    int n = std::snprintf(salida, 18, "%02d/%02d/%02d", d, m, aa);
    if (entero != dia) {
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

} // namespace fechas
