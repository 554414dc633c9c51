#pragma once

#include <QByteArray>
#include <QStringView>

#include <string_view>

// Windows-1252, the single-byte code page that spreadsheet programs expect of
// a text file from this program: ASCII and Latin-1 as they are, 27 further
// characters (€, curly quotes, dashes, Œ, Š, …) in 0x80-0x9F. A character the
// code page cannot hold becomes "?".
namespace windows1252 {

// The byte for one Unicode character; '?' when there is none.
char byte(char32_t caracter);

// The character of one byte.
char16_t caracter(unsigned char byte);

// True when every character of `texto` has a byte of its own, so that
// nothing in it would become "?" (a "?" itself is one).
bool representable(QStringView texto);

// Appends UTF-8 text, converted; a malformed sequence becomes "?" as well.
void agregar(QByteArray& destino, std::string_view utf8);

// The converted text.
QByteArray convertir(QStringView texto);

} // namespace windows1252
