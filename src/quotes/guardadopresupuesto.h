#pragma once

#include "quotes/campospresupuesto.h"
#include "quotes/lineaspresupuesto.h"

#include <optional>

// Checking and writing a quote with its lines.
namespace guardado {

// Empty amounts and amounts that do not read as a number become "0". Then
// the quote must have a contact that exists: otherwise the user is told and
// the result is false (nothing is to be written).
bool ValidarPre(CamposPresupuesto& campos);

// Writes the quote and its lines in one transaction as `usuario`: a new quote
// is inserted and its key read back; a stored one (key in campos.id) is
// updated and its stored lines made to match `lineas` (new lines inserted
// with the product's currency of now, changed quantities and prices
// updated, lines no longer listed deleted; a line's stock write-off mark is
// kept). Returns the quote's key; on any failure the errors have been shown,
// nothing is stored and the result is empty.
std::optional<qint32> GuardarPre(const CamposPresupuesto& campos, const LineasPresupuesto& lineas,
                                 bool nuevo, const QString& usuario);

} // namespace guardado
