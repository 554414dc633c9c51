#pragma once

#include "data/servidor.h"
#include "data/versionesquema.h"

#include <QStringList>

// A PostgreSQL database's schema version, kept in its table TARVO_VERSION. An
// empty database (none of the program's tables) is version 0: the first step
// creates everything. Every step is a reviewable script under
// resources/postgresql/.
class BaseVersionadaServidor final : public BaseVersionada {
public:
    explicit BaseVersionadaServidor(const DatosServidor& datos);
    ~BaseVersionadaServidor() override;
    BaseVersionadaServidor(const BaseVersionadaServidor&) = delete;
    BaseVersionadaServidor& operator=(const BaseVersionadaServidor&) = delete;

    // Connects and begins the transaction; another preparation running at
    // the same time waits for this one (an advisory lock of the transaction).
    bool comenzar() override;
    bool confirmar() override;
    void deshacer() override;
    int version() override;
    bool fijarVersion(int version) override;
    bool ejecutarGuion(const QString& sql) override;
    bool colisiones(const ColumnaUnica& c, QList<QStringList>& grupos) override;
    bool comprobarReferencias() override;
    // A server keeps its own backups (pg_dump): nothing to copy here.
    bool guardarCopia(const QString& destino) override;
    bool enUso() const override { return false; }

private:
    bool exec(const QString& sql);

    DatosServidor datos_;
    QString nombreQt_;
    bool enTransaccion_ = false;
};

// The role the preparation makes and grants every privilege a desk needs;
// each desk's login is made a member of it.
inline constexpr char kRolPuestos[] = "tarvo_puestos";

// The server's steps, in order; the last one reaches versionesquema::kActual.
const std::vector<PasoEsquema>& pasosServidor();

// Prepares the server database `datos` names: creates or upgrades the
// program's objects in one transaction and applies the settings a restore
// loses (resources/postgresql/ajustes.sql); then grants the desks' role
// kRolPuestos what a desk needs (resources/postgresql/puestos.sql).
ResultadoActualizacion prepararServidor(const DatosServidor& datos);
