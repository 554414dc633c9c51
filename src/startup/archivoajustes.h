#pragma once

#include <QString>

// The user's settings file, checked before the settings are loaded: a file
// that exists but cannot be read must never pass for a first start (which
// would create and open a new, empty database), and a damaged one is kept
// aside before defaults replace it.

// The path of the user's settings file.
QString rutaArchivoAjustes();

// Checks the settings file. Missing or sound: true, nothing said. Not
// readable (no permission, a folder in its place): a message naming the file
// and the reason, false; nothing is created or written. Damaged (not text,
// or not parseable): the file is renamed aside, a message names both, true.
// When it cannot be renamed aside: a message, false.
bool comprobarArchivoAjustes();
