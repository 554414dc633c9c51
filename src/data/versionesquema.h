#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// Versions of the database's schema and the steps that bring an older
// database up to the one this program knows. The mechanism sees the database
// through BaseVersionada, so a file keeps its version in its header and a
// server database can keep it in a table.

namespace versionesquema {
// The schema the program's own schema script builds.
inline constexpr int kActual = 5;
// The version cannot be told (not a database of the program, or unreadable).
inline constexpr int kDesconocida = -1;
} // namespace versionesquema

// A unique column whose values must stay distinct under the collation a step
// brings; `condicion` limits the rows the unique index covers (may be empty).
struct ColumnaUnica {
    QString tabla;
    QString columna;
    QString condicion;
};

// One upgrade step: the statements that take a database from version - 1 to
// `version`, read from `guion` (a file or resource path), and the unique
// columns to check before they run.
struct PasoEsquema {
    int version = 0;
    QString guion;
    QList<ColumnaUnica> unicas;
};

// The program's steps, in order; the last one reaches versionesquema::kActual.
const std::vector<PasoEsquema>& pasosEsquema();

// A database whose schema has a version. Every method reports failure by its
// result, leaving the reason in error().
class BaseVersionada {
public:
    virtual ~BaseVersionada() = default;

    // Begins the one transaction of an upgrade, holding the write lock.
    virtual bool comenzar() = 0;
    virtual bool confirmar() = 0;
    virtual void deshacer() = 0;
    // The version the schema has, or versionesquema::kDesconocida.
    virtual int version() = 0;
    virtual bool fijarVersion(int version) = 0;
    virtual bool ejecutarGuion(const QString& sql) = 0;
    // Groups of distinct values of `c` that the step's collation takes for one.
    virtual bool colisiones(const ColumnaUnica& c, QList<QStringList>& grupos) = 0;
    // Checks that every reference between tables still finds its row.
    virtual bool comprobarReferencias() = 0;
    // Keeps a copy of the database as it is now at `destino`.
    virtual bool guardarCopia(const QString& destino) = 0;

    // The last failure was another program holding the database.
    virtual bool enUso() const = 0;
    const QString& error() const { return error_; }

protected:
    QString error_;
};

struct ResultadoActualizacion {
    enum class Estado {
        AlDia,       // already current; nothing written
        Actualizada, // upgraded to the current version
        MasNueva,    // newer than the program knows; never written
        Desconocida, // not a database whose version can be told
        EnUso,       // another program holds it; try at the next start
        Colision,    // values of a unique column would become equal
        Fallida,     // a step, the copy or the commit failed; rolled back
    };
    Estado estado = Estado::Fallida;
    int versionAnterior = versionesquema::kDesconocida;
    int versionNueva = versionesquema::kDesconocida;
    QString copia;   // where the copy was kept (Actualizada)
    QString detalle; // the colliding values or the reason for a failure

    bool alDia() const { return estado == Estado::AlDia || estado == Estado::Actualizada; }
    // The outcome for a person, in Spanish; empty for AlDia.
    QString texto() const;
};

// Applies the steps past the database's version in order, all in one
// transaction, after checking their unique columns and keeping a copy at
// rutaCopia(first version applied). Any failure rolls everything back.
ResultadoActualizacion actualizarEsquema(BaseVersionada& base,
                                         const std::function<QString(int)>& rutaCopia,
                                         const std::vector<PasoEsquema>& pasos = pasosEsquema());
