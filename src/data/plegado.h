#pragma once

#include <string>
#include <string_view>

// Text comparison that ignores letter case, accented letters included
// ("MADRID" contains "madrid", "Ñandú" is like '%ñan%'). Works on UTF-8,
// because that is how the engine hands text to its functions.
namespace plegado {

// Appends the case-folded form of `texto` to `salida`. Every character folds to
// exactly one character, so character positions are kept.
void plegar(std::string_view texto, std::string& salida);

// Position (1-based, in characters) of `buscado` in `texto` from character
// `inicio` (1-based) on, ignoring case; 0 when absent. An empty `buscado`
// gives `inicio`.
long long posicion(std::string_view texto, std::string_view buscado, long long inicio = 1);

// SQL LIKE with % (any run) and _ (one character), ignoring case; `escape`
// (when not 0) makes the next pattern character literal.
bool parecido(std::string_view texto, std::string_view patron, char32_t escape = 0);

} // namespace plegado
