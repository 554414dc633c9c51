#pragma once

#include "data/servidor.h"

#include <QProcess>
#include <QString>

// A private PostgreSQL cluster for one test executable: initdb into a
// temporary folder and a server listening only on a socket in that folder,
// started at the first use and stopped when the executable ends. The server
// refuses to run as root, so under root it runs as the account "nobody".
// Every database made here starts as a copy of one prepared by the program
// (tarvo --preparar-servidor's steps), which makes a new one cheap.
namespace servidorprueba {

// The engine the data-layer and window tests run on: the environment
// variable TARVO_PRUEBA_MOTOR=postgresql selects the server, anything else
// the database file.
bool motorServidor();

// The cluster, started if it is not yet; fails the test run when it cannot
// start.
DatosServidor datos(const QString& baseDatos);

// A new prepared database (a copy of the prepared template); its name.
QString baseNueva();
// A new database without the program's objects; its name.
QString baseVacia();

// Starts psql on database `baseDatos` running `sql`, as another program
// of the company would reach the server, without waiting for it to end.
void psqlAparte(QProcess& proceso, const QString& baseDatos, const QString& sql);

// The server database that stands for the database file `ruta` in this
// test: made on first use from the file's rows, the same one afterwards.
DatosServidor baseDeArchivo(const QString& ruta);

} // namespace servidorprueba
