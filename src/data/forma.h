#pragma once

#include "data/conexion.h"

#include <QList>
#include <QString>

#include <memory>
#include <vector>

// Hierarchical commands of the data environment, written as
//   SHAPE {parent sql} [AS alias]
//     APPEND ({child sql} [AS alias] RELATE 'parentCol' TO 'childCol') [AS chapter], ...
// where a child may itself be a parenthesised SHAPE, for deeper levels.

struct RelacionForma;

struct Forma {
    QString sql;   // the statement of this level
    QString alias; // may be empty
    std::vector<RelacionForma> hijas;
};

// One child level: its rows are those whose `columnaHija` equals the parent
// row's `columnaPadre`, reached from the parent under the name `capitulo`.
struct RelacionForma {
    Forma hija;
    QString columnaPadre;
    QString columnaHija;
    QString capitulo;
};

// True when the command text is a SHAPE (its first word, ignoring case).
bool esForma(const QString& texto);

// Reads a SHAPE text. On a malformed text returns false with a Spanish
// description of what was expected and where.
bool leerForma(const QString& texto, Forma& forma, QString& error);

// Runs every level's statement on `conexion` and relates the levels. Null
// when a statement fails or a related column does not exist; `fallos` says why.
std::shared_ptr<TablaResultado> ejecutarForma(Conexion& conexion, const Forma& forma,
                                              QList<ErrorProveedor>& fallos);
