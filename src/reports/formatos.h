#pragma once

#include "platform/localizacion.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QVariant>

// How a report field writes its value. Digits and separators always come from
// the locale given (the program's locale by default).
enum class Formato {
    General,        // as the value is: text, a number as short as it reads, a short date
    DosDecimales,   // "0.00": exactly two decimals, no grouping
    Entero,         // "0": rounded to a whole number, no grouping
    EnteroAgrupado, // "0,00": rounded to a whole number, thousands grouped, three digits at least
    SiNo,           // "Si" when true, "No" when false
    FechaLarga,     // the locale's long date
    FechaCorta,     // "dd/MM/yy"
};

namespace formatos {

// Rounds half away from zero, as the report formats do (2.5 -> 3, -2.5 -> -3).
double redondear(double valor, int decimales = 0);

QString dosDecimales(double valor, const QLocale& locale = localeTarvo());
QString entero(double valor, const QLocale& locale = localeTarvo());
QString enteroAgrupado(double valor, const QLocale& locale = localeTarvo());
// An amount: thousands grouped and exactly two decimals ("1.234,50").
QString importe(double valor, const QLocale& locale = localeTarvo());
QString siNo(bool valor);
QString fechaLarga(const QDate& fecha, const QLocale& locale = localeTarvo());
QString fechaCorta(const QDate& fecha);
// A number in the general format: every significant digit (up to 15), the
// locale's decimal separator, no grouping.
QString numeroGeneral(double valor, const QLocale& locale = localeTarvo());

// The value written in the format; Null (or an invalid value) is empty text. A
// value the format does not fit (text under a number format) is written in the
// general format.
QString aplicar(const QVariant& valor, Formato formato, const QLocale& locale = localeTarvo());

} // namespace formatos
