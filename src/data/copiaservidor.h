#pragma once

#include "data/servidor.h"

#include <QList>
#include <QPair>
#include <QString>

// Copies every row of a database file of the program into a prepared,
// still empty PostgreSQL database, in one transaction: keys are kept and
// each generated key's sequence is set past the largest copied one. The
// server's own stored queries stay; the seed rows the preparation wrote
// (users, relations, options) are replaced by the file's.
struct ResultadoCopia {
    bool ok = false;
    QString error;                       // in Spanish, when not ok
    QList<QPair<QString, qint64>> filas; // rows copied per table, in copy order
    // Rows left out per table because the quote they belong to is not in
    // the file (the server ties them to their quote); only tables with any.
    QList<QPair<QString, qint64>> sinPresupuesto;
};

ResultadoCopia copiarAServidor(const QString& rutaArchivo, const DatosServidor& datos);
