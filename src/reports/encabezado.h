#pragma once

#include "reports/definicion.h"

#include <QString>

// The company header rule that every report applies when it starts: with no
// logo and no company name the report header is hidden; otherwise the label
// `lblEmpresa` shows the name (possibly empty) and the picture `imgLogo` the
// logo. A logo that cannot be loaded is left out and the report still shows.
void aplicarEncabezadoEmpresa(DefinicionInforme& informe, const QString& rutaLogo,
                              const QString& empresa);
