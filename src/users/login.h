#pragma once

#include "data/registros.h"

#include <QString>

// The outcome of checking a login and password against the users table.
// Fallo: the lookup itself failed (the database's messages were shown).
enum class ResultadoLogin { Aceptado, LoginIncorrecto, PasswordIncorrecta, Fallo };

// Compares the stored password of the row found (empty when null) with the
// encoded typed password; no row means the login is wrong.
ResultadoLogin compararPassword(const Registros& usuario, const QString& password);

// The lookup of a login: the text without surrounding blanks, passed as a
// value, so a login holding a quote character simply finds no row.
QString consultaUsuario();

// The login dialog's check on the shared connection; on success the login,
// as typed, becomes the current user.
ResultadoLogin comprobarLogin(const QString& login, const QString& password);
