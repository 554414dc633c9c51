#pragma once

#include "reports/definicion.h"
#include "reports/maquetador.h"

#include <functional>
#include <memory>
#include <optional>

// One report of the program: its declaration, the command of the data
// environment that feeds it, and its start and end steps. One object per
// report lives for the whole run; each opening starts it again.
class Informe {
public:
    // `declarar` gives the report's declaration; `cerrarAlTerminar` makes the
    // end step close the command's result set, so the next opening reads the
    // database again.
    Informe(std::function<DefinicionInforme()> declarar, bool cerrarAlTerminar);

    const QString& nombre() const { return base_.nombre; }
    const QString& titulo() const { return base_.titulo; }
    const QString& comando() const { return base_.comando; }

    // The start step: the company header rule with the current settings,
    // then the command's rows (its result set, opened with the command's
    // text when closed). Null when the rows cannot be read; the data
    // environment has then reported why.
    std::unique_ptr<Maquetador> iniciar();
    // Rows the report computes itself, read at each start instead of the
    // command's; nothing when they cannot be read (the user has been told).
    using Origen = std::function<std::optional<Registros>()>;
    void establecerOrigen(Origen origen) { origen_ = std::move(origen); }
    // The declaration, to change before the next start (a caption that
    // depends on what the user asked for).
    DefinicionInforme& definicion() { return base_; }

    // The end step.
    void terminar();

    // The declaration as the last start left it (company header applied).
    const DefinicionInforme& definicion() const { return base_; }

private:
    DefinicionInforme base_;
    bool cerrarAlTerminar_;
    Origen origen_;
};
