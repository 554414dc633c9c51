#pragma once

#include "data/tablaresultado.h"

#include <QList>
#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>

// One error of the database provider, as the error reports show it.
struct ErrorProveedor {
    qint32 numero = 0;
    QString descripcion;
};

// Error numbers the program relies on.
namespace errores {
// A unique index refused a duplicate; also syntax errors in a statement.
constexpr qint32 kErroresEnComando = -2147217900;
// Too few parameters: an unknown column or a wrong number of values.
constexpr qint32 kFaltanParametros = -2147217904;
// A value that cannot be the type its column or parameter declares.
constexpr qint32 kTiposNoCoinciden = -2147217913;
// No such table, view or stored query.
constexpr qint32 kObjetoNoEncontrado = -2147217865;
// Anything else the engine or the operating system reports.
constexpr qint32 kFalloGeneral = -2147467259;
} // namespace errores

struct ResultadoSentencia {
    bool ok = false;
    // The rows of a statement that yields columns; null for one that does not.
    std::shared_ptr<TablaResultado> filas;
    // Records changed by an insert, update or delete; -1 for a query.
    qint64 afectados = 0;
};

// An open connection to a database. Every failure leaves its provider errors in
// errores() (emptied when the next operation starts) and ok false.
class Conexion {
public:
    virtual ~Conexion() = default;

    virtual bool abierta() const = 0;
    virtual void cerrar() = 0;

    // Runs one statement written in the system's dialect. `valores` bind, in
    // order, to the statement's ? placeholders.
    virtual ResultadoSentencia ejecutar(const QString& sql, const QVariantList& valores = {}) = 0;
    // Runs a stored query with positional values, each converted by the type
    // the stored query declares for it.
    virtual ResultadoSentencia ejecutarProcedimiento(const QString& nombre,
                                                     const QVariantList& valores) = 0;

    virtual bool iniciarTransaccion() = 0;
    virtual bool confirmarTransaccion() = 0;
    virtual bool deshacerTransaccion() = 0;
    // A transaction is open (begun and not yet committed or rolled back).
    virtual bool enTransaccion() const = 0;

    // The key the database gave the row that the latest INSERT on this
    // connection added; 0 when it cannot say.
    virtual qint64 ultimoIdInsertado() const = 0;

    // From now on keeps many more pages in memory, for a session that walks
    // large indexes again and again (the list's header sorts). A connection
    // starts with a small cache: filling a large one page by page makes the
    // first walk of a large index (the counts at start-up) several times
    // slower than reading it through a small one.
    virtual void ampliarCache() {}
    // Opens another connection to the same database, in whichever thread
    // calls it (a connection is used only in the thread that opened it): for
    // reading apart from this one. Null when this connection cannot be
    // opened again that way.
    using Abridor = std::function<std::unique_ptr<Conexion>()>;
    virtual Abridor abridorDeOtra() const { return {}; }
    // A text naming the database a connection from abridorDeOtra() reaches,
    // when such a connection is worth keeping open between uses (opening one
    // starts a server session); empty: one is opened for each use.
    virtual QString identidad() const { return {}; }
    // From another thread: the statement running, or about to run, on this
    // connection fails soon, and so does every later one. For a connection
    // that is then closed; never call it while it may be closing.
    virtual void interrumpir() {}

    const QList<ErrorProveedor>& errores() const { return errores_; }

protected:
    QList<ErrorProveedor> errores_;
};
