#pragma once

#include <QSqlDatabase>

// Asks the server to stop the statement a connection is running, from any
// thread: libpq's cancel request, taken while the connection is opened (in
// its own thread) and sent later from wherever the stop is decided. libpq is
// reached in the driver that Qt has already loaded, so the program does not
// link it itself; without it nothing is cancelled and the statement runs to
// its end.
class CancelacionPostgres {
public:
    CancelacionPostgres() = default;
    ~CancelacionPostgres();
    CancelacionPostgres(const CancelacionPostgres&) = delete;
    CancelacionPostgres& operator=(const CancelacionPostgres&) = delete;

    // Takes the cancel request of an open connection; in its thread.
    void preparar(const QSqlDatabase& bd);
    // Sends it; false when there was none or the server could not be told.
    bool cancelar() const;
    void soltar();

private:
    void* peticion_ = nullptr;
};

// Whether libpq holds the connection as working; false once the server has
// dropped it (or when libpq cannot be asked).
bool conexionPostgresViva(const QSqlDatabase& bd);
