#pragma once

#include "data/conexion.h"
#include "data/servidor.h"
#include "startup/copiaseguridad.h"

#include <QDate>
#include <QString>

// The backup's file name of a server database for a day: the file's name
// with ".dump" for ".mdb" (7 December 2026: bd200007dic2026.dump).
QString nombreCopiaServidor(const QDate& dia);

// The start-of-day backup of the server database `datos` names, which `con`
// reaches: pg_dump's custom format into the backup folder under today's
// name. Only one desk a day makes it: the desk first moves the day kept on
// the server to today (a desk that finds today there does nothing), and
// moves it back when the dump fails. A pg_dump that is missing or older
// than the server, or a dump that fails, is told in one box; start-up goes
// on either way. The dump is written under a temporary name and renamed.
ResultadoCopia CopiaSeguridadServidor(Conexion& con, const DatosServidor& datos,
                                      const QString& carpetaDestino);
