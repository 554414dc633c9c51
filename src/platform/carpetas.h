#pragma once

#include <QString>

// Folders of the platform that the program relies on.

// The current user's Documents folder, without a trailing separator; empty
// when the platform cannot say.
QString CarpetaDocumentos();

// The folder holding the program's companion files (bd2000.mdb,
// presupuesto.dot): beside the executable, or the installed data folder.
QString carpetaPrograma();
// Tests point the program folder elsewhere; an empty text restores the default.
void establecerCarpetaPrograma(const QString& carpeta);
