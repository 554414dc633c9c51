#pragma once

#include "entradas.h"

#include <cstddef>
#include <cstdint>

// The fuzz targets by name: the name is also the folder of the target's seed
// corpus and of its regression inputs.
namespace entradas {

struct Objetivo {
    const char* nombre;
    void (*entrada)(const std::uint8_t*, std::size_t);
};

inline constexpr Objetivo kObjetivos[] = {
    {"documento_paquete", paqueteDocumento},
    {"documento_parte", parteDocumento},
    {"plantilla", comprobacionPlantilla},
    {"dialecto", dialectoSql},
    {"valores", valores},
    {"forma", forma},
};

} // namespace entradas
