#pragma once

#include "data/registros.h"

#include <QDate>
#include <QString>

#include <optional>

// The results of the quotes of a period: for each month, and within it for
// each customer or each user, how many quotes were made, how much they
// offered and how much of it was accepted (one line per currency, never
// adding different currencies), and the share accepted among the decided
// ones. A quote's status is that of its latest status row ("Borrador" when
// it has none). Quotes replaced by a new version are left out: their new
// version carries the offer, and counting both would count it twice.

enum class AgrupacionResultados { PorCliente, PorUsuario };

struct PeticionResultados {
    QDate desde; // both days included
    QDate hasta;
    AgrupacionResultados agrupacion = AgrupacionResultados::PorCliente;
};

// "57 %": accepted / (accepted + rejected), rounded to a whole percentage;
// "—" when no quote was decided.
QString porcentajeAceptado(qint64 aceptados, qint64 rechazados);

// The report's rows: one per month of the period with quotes (Mes, Titulo),
// then one holding the totals (Titulo "Total del período"); each with the
// chapter "Lineas" (Nombre, Presupuestos, Aceptados, Rechazados, Porcentaje,
// Moneda, Ofrecido, Aceptado): per customer or user, its first line carries
// the name and the counts, and every line one currency's amounts. Nothing
// when a read failed (the user has been told).
std::optional<Registros> filasResultados(const PeticionResultados& peticion);

class Informe;
// Points the report dtrResultados at the rows of `peticion` and writes its
// period line and the label of its first column.
void prepararInformeResultados(Informe& informe, const PeticionResultados& peticion);
