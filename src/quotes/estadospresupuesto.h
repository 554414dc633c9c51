#pragma once

#include "data/conexion.h"

#include <QList>
#include <QString>

#include <optional>

// What became of a quote. Its history lives in PRESUPUESTOS_ESTADOS, one row
// per change; the newest row (highest EstId) is the current status, which the
// database's triggers keep in PRESUPUESTOS_ESTADO_ACTUAL, and a quote without
// rows is a draft.
enum class EstadoPresupuesto { Borrador, Enviado, Aceptado, Rechazado, Anulado, Reemplazado };

namespace estados {

// The stored name: "Borrador", "Enviado", ...
QString nombre(EstadoPresupuesto estado);
std::optional<EstadoPresupuesto> deNombre(const QString& nombre);

// The statuses the user may mark a quote in `actual` with, in menu order.
// "Reemplazado" is never among them: only saving a new version sets it.
QList<EstadoPresupuesto> destinos(EstadoPresupuesto actual);
bool puedeMarcarse(EstadoPresupuesto actual, EstadoPresupuesto destino);
// A new version may replace a quote in this status.
bool admiteNuevaVersion(EstadoPresupuesto actual);
// Marking a quote so asks why.
bool pideMotivo(EstadoPresupuesto destino);
// Borrador and Enviado: still waiting for the customer's answer.
bool abierto(EstadoPresupuesto estado);

// The current status of the quote aliased `alias` in a statement, as text
// ("Borrador" when it has no rows): one seek of the current statuses' key.
QString expresionActual(const QString& alias);

// The current status of quote `preId`; nothing when the read failed (it
// has been reported).
std::optional<EstadoPresupuesto> actual(qint32 preId);

// Adds a row to the history of `preId` on `con`, inside the caller's
// transaction. `reemplazo` is the new version's key for "Reemplazado".
bool registrar(Conexion* con, qint32 preId, EstadoPresupuesto estado, const QString& usuario,
               const QString& motivo, std::optional<qint32> reemplazo = std::nullopt);

// Marks quote `preId` `destino` in a transaction of its own, provided that,
// under the write lock, it is still stored and still `desde`. Database
// failures are reported; Cambiado and Eliminado are the caller's to tell.
enum class Marca { Marcado, Cambiado, Eliminado, Fallido };
Marca marcar(qint32 preId, EstadoPresupuesto desde, EstadoPresupuesto destino,
             const QString& usuario, const QString& motivo);

} // namespace estados
