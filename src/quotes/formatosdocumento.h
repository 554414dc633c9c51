#pragma once

#include <QDate>
#include <QString>

#include <optional>

// How values are written into the quote document.

// A number as the locale writes it by default: its decimal separator, no
// grouping, no fixed decimals, up to 15 significant digits.
QString numeroDocumento(double valor);

// The locale's long date ("martes, 1 de diciembre de 2026").
QString fechaLarga(const QDate& fecha);

// An amount as the user types it (point as decimal separator; the locale's
// comma is accepted too); nullopt when it is not a number.
std::optional<double> leerImporte(const QString& texto);
