#pragma once

#include <QString>
#include <QStringList>

// Whether a database file is one of this program's, checked at start-up
// before it becomes the shared connection.

// The tables every part of the program reads.
const QStringList& tablasNecesarias();

// The first needed table the file does not hold; empty when it holds them
// all, and also when its tables cannot be listed at all (not a database,
// locked): opening the connection then tells the reason.
QString tablaQueFalta(const QString& ruta);
