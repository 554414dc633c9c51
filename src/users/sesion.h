#pragma once

#include <QString>

// The logged-in user: the login exactly as typed at login (not trimmed, not
// case-folded), replaced by the administrator's after a successful
// administrator check.
QString usuarioActual();
void establecerUsuarioActual(const QString& login);

// ADMIN and SUPER, compared upper-cased over the whole name, see the
// administrator menus.
bool esAdministrador(const QString& login);

// The owner rule: a stored quote may be changed only by the user whose login,
// upper-cased, equals its owner's.
bool esPropietario(const QString& usuLogin, const QString& usuario);
