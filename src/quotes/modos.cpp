#include "quotes/modos.h"

namespace modos {

std::array<bool, kBotones> botones(ModoEditor modo) {
    std::array<bool, kBotones> b{};
    switch (modo) {
    case ModoEditor::Inicial:
        b = {true, true, false, false, false, false, false, false, true};
        break;
    case ModoEditor::Nuevo:
        b = {false, false, true, true, true, false, false, false, true};
        break;
    case ModoEditor::Edicion:
        b = {false, false, true, true, true, true, true, true, true};
        break;
    case ModoEditor::Vista:
        b = {true, true, false, false, false, true, true, true, true};
        break;
    case ModoEditor::Consulta:
        // "Modificar" would open the document the other desk's save rewrites.
        b = {true, true, false, false, false, true, false, true, true};
        break;
    }
    return b;
}

bool camposHabilitados(ModoEditor modo) {
    return modo == ModoEditor::Nuevo || modo == ModoEditor::Edicion;
}

} // namespace modos
