#pragma once

#include "data/registros.h"

#include <QString>

#include <array>

class ConsultasRecordadas;

// The eight suggestion lists of the quote editor's combos, each with its own
// result set: place, greeting, the three cost concepts and the three
// currencies, in the order they are reloaded.
class ListasSugerencia {
public:
    enum Lista { Lugar, Saludo, Concepto1, Concepto2, Concepto3, Moneda1, Moneda2, Moneda3 };
    static constexpr int kCantidad = 8;

    // The query of a list and the column it shows.
    static QString consulta(int lista);
    static QString campo(int lista);

    explicit ListasSugerencia(ConsultasRecordadas& consultas) : consultas_(consultas) {}

    // Reopens every list in order. At the first query that fails it stops:
    // that list and the ones after it are left closed (one failure, one
    // report), and the result is false.
    bool recargar();
    const Registros& lista(int indice) const { return listas_[size_t(indice)]; }
    // Closes every list.
    void cerrar();

private:
    ConsultasRecordadas& consultas_;
    std::array<Registros, kCantidad> listas_;
};
