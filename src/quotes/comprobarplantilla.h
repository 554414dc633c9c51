#pragma once

#include <QString>

#include <optional>

class QTextStream;

// The check of a quote template that a company runs after editing it: which
// bookmarks the generator fills are missing, and which the template has that
// the generator does not know. Writes the report to `salida`; returns 0 when
// none is missing, 1 when some is, 2 when the file is not a readable template.
int comprobarPlantilla(const QString& ruta, QTextStream& salida);

// The user's template: presupuesto.dot in the program's folder under Documents.
QString plantillaDelUsuario();

// The command line "tarvo --comprobar-plantilla [FICHERO]", handled before
// any window exists: the exit status, or nullopt when the program is to start
// as usual.
std::optional<int> atenderLineaDeOrdenes(int argc, char** argv);
