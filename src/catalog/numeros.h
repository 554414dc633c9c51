#pragma once

#include <QString>

// Numbers as the user types them in the catalogue: digits with an optional
// sign and an optional point "." as decimal separator; no comma, no
// exponent, no blanks inside.
bool leeComoNumero(const QString& texto);
// The same without a decimal part.
bool leeComoEntero(const QString& texto);
