#pragma once

#include <QString>

// Passwords are stored and compared only encoded: every character replaced by
// the one whose code in Windows-1252 is one higher ("abc" is stored "bcd"), so
// that passwords stored by earlier versions keep their value. A character
// with no successor (code 255) is reported with MostrarError and gives empty
// text. A character outside Windows-1252 counts as "?", as the single-byte
// conversion of the platform it came from made it, so such passwords are
// never set nor accepted (passwordAdmisible).
QString CodificarPassword(const QString& texto);

// True when every character of `texto` is one of Windows-1252, so that its
// encoding tells it apart from every other password.
bool passwordAdmisible(const QString& texto);
