#pragma once

#include "data/conexion.h"

// Scoped transaction on a connection: begins on construction and rolls back on
// destruction unless confirmar() committed it, so an early return or an
// exception never leaves half a change stored.
//
// Transactions do not nest: when one is already open on the connection the
// guard refuses to start (iniciada() is false, with the reason in errores())
// rather than silently joining it, because the outer owner would then commit
// or roll back work this guard believes it controls.
class Transaccion {
public:
    explicit Transaccion(Conexion* con);
    ~Transaccion();
    Transaccion(const Transaccion&) = delete;
    Transaccion& operator=(const Transaccion&) = delete;

    bool iniciada() const { return activa_; }
    // Commits; false (with the provider errors) when the commit failed, in
    // which case the changes are rolled back.
    bool confirmar();
    // Rolls back now; the guard is then spent.
    void deshacer();

    // Why the transaction could not begin or commit.
    const QList<ErrorProveedor>& errores() const { return errores_; }

private:
    Conexion* con_;
    bool activa_ = false;
    QList<ErrorProveedor> errores_;
};
