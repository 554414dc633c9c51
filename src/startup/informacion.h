#pragma once

#include <QString>

// The program's version information, set once in the build.
namespace informacion {

QString titulo();      // "Tarvo"
QString descripcion(); // "Sistema de gestión de cotizaciones y presupuestos"
int versionMayor();
int versionMenor();
int revision();
QString version(); // "2.0.0"
QString compania();
QString avisoLegal();
QString sitioWeb();
QString soporte();
QString videosTutoriales();

} // namespace informacion
