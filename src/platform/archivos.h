#pragma once

#include <QString>

// Copies a file under a temporary name in the destination's folder and renames
// it into place (replacing what was there), so that a failed copy never
// leaves half a file under the destination's name.
bool copiarArchivo(const QString& origen, const QString& destino);
// The same; on failure `motivo` receives the reason in Spanish, in lower case.
bool copiarArchivo(const QString& origen, const QString& destino, QString& motivo);
