#pragma once

#include "data/conexion.h"
#include "data/registros.h"
#include "data/servidor.h"

#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>
#include <stdexcept>

// The shared connection and the procedures through which the program reads and
// writes the database. Failures are reported here, one message per provider
// error, and the caller goes on with what it received.

using RegistrosPtr = std::shared_ptr<Registros>;

// A failure that goes to the caller (AbrirConexionOrigen).
class ExcepcionBaseDatos : public std::runtime_error {
public:
    explicit ExcepcionBaseDatos(ErrorProveedor error);
    const ErrorProveedor& error() const { return error_; }

private:
    ErrorProveedor error_;
};

// Creates or replaces the current user's data source for the database file;
// "DSN Creation Failed" when that fails, and on the next line the data source
// file and the reason.
void CrearDSN(const QString& nombre, const QString& rutaBase);
// The same data source for the PostgreSQL driver, pointing at a server
// database (never a password: the client library reads ~/.pgpass). False,
// after telling the user why, when it could not be written.
bool CrearDSNServidor(const QString& nombre, const DatosServidor& datos);

// Opens the shared connection. When it cannot be opened: the permissions
// message with the reason on its second line, then the action installed below (the options dialog),
// then the program ends.
void AbrirConexion(const QString& dsn, const QString& password);
void establecerAccionFalloConexion(std::function<void()> accion);

// Lets the shared connection keep many more pages in memory from now on
// (once the first list is shown; see Conexion::ampliarCache).
void AmpliarCache();

// Closes and releases the shared connection.
void CerrarConexion();

// `rs` receives a new result set: open with the rows, closed when the
// statement returns no rows, or closed and fallido() when it failed (the
// errors shown): a caller that decides from "no rows" tests fallido() first.
void AbrirConsulta(const QString& sql, RegistrosPtr& rs);
// The same with values bound, in order, to the statement's ? placeholders:
// for text typed by the user, which then never breaks the statement.
void AbrirConsulta(const QString& sql, RegistrosPtr& rs, const QVariantList& valores);
// Closes `rs` if it is open; releases it when `liberar`. Never fails.
void CerrarConsulta(RegistrosPtr& rs, bool liberar);

// Runs a stored query with positional values; `rs` receives its rows, or is
// fallido() when it failed. Returns the records affected (-1 for a query), 0
// when it failed.
qint32 EjecutarProcedimiento(const QString& nombre, RegistrosPtr& rs,
                             const QVariantList& parametros);

// The second connection, for the import from the stock-control program: always
// through ODBC, whatever driver the data source names, because the source is
// another program's database. Throws ExcepcionBaseDatos when it cannot be
// opened.
void AbrirConexionOrigen(const QString& dsn, const QString& password);
void AbrirConsultaOrigen(const QString& sql, RegistrosPtr& rs);

// Reports an unexpected error: 3021 (no current record) asks to select a
// company first; anything else shows its description.
void MostrarError(const ErrorProveedor& error);

// Reports each provider error: "Error número: " & number & CR & description.
// While an ErroresRetenidos lives, the errors are kept in it instead.
void informarErrores(const QList<ErrorProveedor>& errores);

// Keeps the errors of the queries run while it lives instead of showing them,
// for a caller that decides whether to show them: a query run on a window's
// activation must not raise a box that reactivates the window without end.
// Nested holders: the innermost keeps them.
class ErroresRetenidos {
public:
    ErroresRetenidos();
    ~ErroresRetenidos();
    ErroresRetenidos(const ErroresRetenidos&) = delete;
    ErroresRetenidos& operator=(const ErroresRetenidos&) = delete;

    const QList<ErrorProveedor>& errores() const { return errores_; }
    bool hubo() const { return !errores_.isEmpty(); }
    // Stops keeping and shows what was kept, once.
    void informar();

private:
    friend void informarErrores(const QList<ErrorProveedor>&);
    QList<ErrorProveedor> errores_;
    ErroresRetenidos* anterior_;
    bool activo_ = true;
};

// One column of a product as text; empty when there is no such product or the
// column is null.
QString ObtenerCampoProducto(qint32 proId, const QString& campo);

// The shared connection (null when closed) and the second one.
Conexion* conexion();
Conexion* conexionOrigen();
