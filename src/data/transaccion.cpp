#include "data/transaccion.h"

Transaccion::Transaccion(Conexion* con) : con_(con) {
    if (!con_ || !con_->abierta()) {
        errores_ = {{errores::kFalloGeneral,
                     QStringLiteral("La conexión con la base de datos está cerrada.")}};
        return;
    }
    if (con_->enTransaccion()) {
        errores_ = {{errores::kFalloGeneral,
                     QStringLiteral("Ya hay una transacción abierta en la conexión.")}};
        return;
    }
    activa_ = con_->iniciarTransaccion();
    if (!activa_)
        errores_ = con_->errores();
}

Transaccion::~Transaccion() {
    deshacer();
}

bool Transaccion::confirmar() {
    if (!activa_)
        return false;
    activa_ = false;
    if (con_->confirmarTransaccion())
        return true;
    errores_ = con_->errores();
    // A failed COMMIT may leave the transaction open (SQLITE_BUSY): end it.
    if (con_->enTransaccion())
        con_->deshacerTransaccion();
    return false;
}

void Transaccion::deshacer() {
    if (activa_) {
        activa_ = false;
        con_->deshacerTransaccion();
    }
}
