#pragma once

#include "quotes/lineaspresupuesto.h"

#include <QDate>
#include <QString>

#include <array>
#include <optional>
#include <vector>

// A further cost item of a quote: name, amount (none for a Null column) and
// currency.
struct OtroCosto {
    QString concepto;
    std::optional<double> importe;
    QString moneda;
};

// A quote as it is stored: the row of PRESUPUESTOS with its lines.
struct Presupuesto {
    std::optional<qint32> id; // none while a new quote is unsaved
    QString numero;
    QDate fecha; // invalid for a Null date
    qint32 empId = 0;
    QString cliente; // the contact's name, as loaded; not stored with the quote
    QString lugar;
    QString saludo;
    std::array<QString, 3> descripcion;
    std::array<OtroCosto, 3> otros;
    QString despedida;
    QString firma;
    // The validity as stored: an empty sentence and 0 days when the offer
    // does not expire; days none for a Null column.
    QString textoVigencia;
    std::optional<qint32> diasVigencia;
    QString usuario; // the owner's login
    std::vector<LineaPresupuesto> lineas;

    // Everything the quote stores is the same in both (the contact's name
    // and how the lines show their quantities aside).
    bool mismoGuardado(const Presupuesto& otro) const;
};
