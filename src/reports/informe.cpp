#include "reports/informe.h"

#include "data/entornodatos.h"
#include "platform/localizacion.h"
#include "platform/reloj.h"
#include "reports/encabezado.h"
#include "startup/opciones.h"

Informe::Informe(std::function<DefinicionInforme()> declarar, bool cerrarAlTerminar)
    : base_(declarar()), cerrarAlTerminar_(cerrarAlTerminar) {}

std::unique_ptr<Maquetador> Informe::iniciar() {
    aplicarEncabezadoEmpresa(base_, opciones().logo_path, opciones().empresa);
    if (origen_) {
        const std::optional<Registros> propias = origen_();
        if (!propias || !propias->abierto())
            return nullptr;
        return std::make_unique<Maquetador>(std::make_shared<const DefinicionInforme>(base_),
                                            *propias, Reloj::hoy(), localeTarvo());
    }
    const RegistrosPtr filas = dteBodex().usar(base_.comando);
    if (!filas || !filas->abierto())
        return nullptr;
    // The layout keeps its own copy of the declaration and of the rows: the
    // next opening may change both while these pages are still shown.
    return std::make_unique<Maquetador>(std::make_shared<const DefinicionInforme>(base_), *filas,
                                        Reloj::hoy(), localeTarvo());
}

void Informe::terminar() {
    if (!origen_ && cerrarAlTerminar_ && dteBodex().abierto(base_.comando))
        dteBodex().cerrar(base_.comando);
}
