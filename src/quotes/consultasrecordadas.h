#pragma once

#include "data/registros.h"

#include <QHash>
#include <QString>

#include <optional>

class Conexion;

// The rows of list queries kept between reloads while the database stays as it
// was: a query is read again only when the shared connection has written
// something, or another connection has committed, since its rows were read.
// The rows shown are therefore always those the query would return now; the
// editor's lists, reloaded on every activation, then cost nothing while
// nobody changes the data.
class ConsultasRecordadas {
public:
    // The rows of `sql` on the shared connection, each caller with its own
    // position on the first row. A failing query is reported (one message per
    // provider error), gives a closed set and is not remembered.
    Registros abrir(const QString& sql);
    void olvidar() { recordadas_.clear(); }

private:
    struct Version {
        const Conexion* conexion = nullptr;
        qint64 cambiosPropios = -1; // rows written through this connection
        qint64 versionDatos = -1;   // moves when another connection commits
        bool operator==(const Version&) const = default;
    };
    // Null when the connection cannot tell (then nothing is remembered).
    static std::optional<Version> versionActual();

    QHash<QString, Registros> recordadas_;
    Version version_;
};
