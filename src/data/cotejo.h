#pragma once

#include <string_view>

struct sqlite3;

// The Spanish text order of the database: ICU's rules for Spanish at secondary
// strength, so letter case is ignored for every letter ("Ñandutí" equals
// "ñandutí") while accents count ("ácido" differs from "acido" and sorts
// beside it); Ñ stands between N and O. Text columns of the schema declare it
// (COLLATE ESPANOL), so equality, ordering, DISTINCT and unique indexes follow
// it. Needs no Qt: the database builder links it too.
namespace cotejo {

// The collation's name in the schema.
inline constexpr const char* kNombre = "ESPANOL";

// Negative, zero or positive as `a` sorts before, with or after `b`. Both are
// UTF-8; ill-formed bytes compare as the replacement character, never fail.
int comparar(std::string_view a, std::string_view b);
// The same for UTF-16 text (a QString's characters).
int compararUtf16(std::u16string_view a, std::u16string_view b);

// Adds the collation to the connection; false when the engine refused it or
// the ICU collator could not be opened.
bool registrar(sqlite3* bd);

} // namespace cotejo
