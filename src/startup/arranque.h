#pragma once

#include <QString>

// Process-wide values that start-up fills.

// The account's name as the data source carries it: the system's login name,
// upper-cased, with characters a data source name cannot hold replaced by
// "_", at most 19 characters (stable per account; data sources are per user).
QString nombreCuenta();
QString nombreCuenta(const QString& login);

// "TARVO_" followed by the account's name.
QString nombreOrigenDatos(const QString& cuenta);

// The connection string of the data environment's connection.
QString cadenaConexionInformes(const QString& cuenta);

// The database password that start-up gives the connection helper.
QString passwordBase();

// The program's own folder under Documents ("…/Documents/Tarvo"), which holds
// the quote template; empty until start-up sets it.
QString carpetaTarvo();

// Sets carpetaTarvo and makes sure it holds "presupuesto.dot", copied from the
// program folder when missing (an existing one, possibly edited, is never
// replaced). A folder that cannot be created or a missing template is told
// to the user; start-up goes on.
void prepararCarpetaTarvo();
