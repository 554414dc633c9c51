#pragma once

#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"

#include <QDate>

#include <memory>

// The world of a quote test: a private HOME with a fresh database, a fixture
// builder on it, the shared connection open on it, scripted messages, today
// fixed at 7 December 2026 and `usuario` logged in.
class MundoPresupuestos {
public:
    explicit MundoPresupuestos(const QString& usuario = QStringLiteral("ana"));
    ~MundoPresupuestos();
    MundoPresupuestos(const MundoPresupuestos&) = delete;
    MundoPresupuestos& operator=(const MundoPresupuestos&) = delete;

    static QDate hoy() { return QDate(2026, 12, 7); }

    Fixtura& datos() { return *datos_; }
    MensajesGuion& mensajes() { return *mensajes_; }
    const QString& base() const { return base_; }

    // A stored quote of `usuario` for contact `empId`, numbered `numero`.
    int presupuesto(const QVariant& numero, int empId, const QString& usuario);

private:
    std::unique_ptr<EntornoPrueba> entorno_;
    std::unique_ptr<MensajesGuion> mensajes_;
    std::unique_ptr<Fixtura> datos_;
    QString base_;
};
