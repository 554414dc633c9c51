#pragma once

#include "users/login.h"

// The administrator check that guards deletions: only the logins admin and
// super (ignoring case) can pass, looked up through the data environment's
// users result set; on success the login, as typed, becomes the current user.
ResultadoLogin comprobarAdministrador(const QString& login, const QString& password);
