#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

// The database keeps dates as day numbers counted from 30 December 1899, with
// the time of day as the fraction, so that a date plus a number of days is the
// date that many days later.
namespace fechas {

qint64 diaDeFecha(const QDate& fecha);
double diaDeFechaHora(const QDateTime& momento);
// A day number beyond the calendar's range (or any number whose whole part
// is not a day number: infinite, NaN) gives an invalid date.
QDate fechaDeDia(qint64 dia);
QDate fechaDeDiaReal(double dia);
// A whole day number becomes a QDate, one with a fraction a QDateTime.
QVariant valorDeDia(double dia);

// The system's short date "dd/MM/yy", with the time "hh:mm:ss" when the day
// number carries a fraction.
QString textoCorto(double dia);
// Writes the short date into `salida` (at least 18 bytes) and returns its length;
// used by the SQL functions, which work on UTF-8.
int escribirTextoCorto(double dia, char* salida);

// A grid cell as it is shown: dates and date-times as the short date text,
// every other value as it is.
QVariant textoCelda(const QVariant& valor);

} // namespace fechas
