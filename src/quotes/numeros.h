#pragma once

#include <QString>

#include <optional>

// Numbers as the quote editor shows and reads them: point "." as decimal
// separator, no thousands separator, no currency sign.
namespace numeros {

// The shortest decimal text of at most 15 significant digits (3 × 0.1 gives
// "0.3", 25.0 gives "25"), never in exponent form.
QString texto(double valor);

// The value of a text that reads as a number: optional blanks around, an
// optional sign, digits with an optional point and fraction. Anything else
// (empty text, letters, a comma, an exponent) reads as no number.
std::optional<double> leer(const QString& texto);

} // namespace numeros
