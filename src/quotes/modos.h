#pragma once

#include <array>

// The modes of the quote editor and what each enables.
enum class ModoEditor {
    Inicial, // before the first load
    Nuevo,   // a new quote, not stored yet
    Edicion, // a stored quote open for changes
    Vista,   // after "Guardar"
    // A stored quote that another desk is editing: shown, never changed here
    // ("Editar" asks again).
    Consulta,
};

namespace modos {

constexpr int kBotones = 9;

// Command bar: 0 Nuevo, 1 Editar, 2 Guardar, 3 G+N, 4 Cancelar, 5 Imprimir,
// 6 Modificar, 7 Enviar, 8 Atras.
std::array<bool, kBotones> botones(ModoEditor modo);

// The input fields (number, customer, place, greeting, date, paragraphs,
// closing, signature and the nine cost controls) are enabled.
bool camposHabilitados(ModoEditor modo);

} // namespace modos
