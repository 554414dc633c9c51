#pragma once

#include <QString>

#include <optional>

// Who owns a stored quote and which number a new one is offered.
namespace numeracion {

// The owner's login of quote `id`; empty when there is no such quote;
// nothing when it could not be read (the error has been shown).
std::optional<QString> UsuarioPre(qint32 id);

// The number proposed for a new quote, from the quote entered last (the
// highest key), whatever its number: "1" when there is none, that number
// plus one when it reads as a number (0012 gives 13), otherwise that same
// text (empty for a quote without number). Nothing when it could not be read
// (the error has been shown).
std::optional<QString> numeroPropuesto();

} // namespace numeracion
