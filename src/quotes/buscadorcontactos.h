#pragma once

#include "data/registros.h"

#include <QString>

// The contact picker without its window: the contacts whose trade name or
// legal name contains the search text, and the one chosen.
class BuscadorContactos {
public:
    // In: the search text; out: the chosen contact's trade name.
    QString nombrefantasia;
    // Out: the chosen contact.
    qint32 empid = 0;
    QString ruc;
    QString direccion;
    bool cancelado = false;

    // Lists the contacts whose trade name or legal name contains
    // `nombrefantasia` as typed (letter case ignored; every character,
    // quotes and wildcards included, stands for itself). An empty text lists
    // every contact, in the order the engine returns them.
    void buscar();
    const Registros& registros() const { return rs_; }

    // Copies the contact at row `fila` (1-based) into the outputs; false
    // when there is no such row.
    bool copiarFila(int fila);
    // "Seleccionar" on row `fila` (0: none): copies it and ends the choice,
    // or tells the user that no contact was selected and returns false.
    bool seleccionar(int fila);
    // "Cancelar".
    void cancelar() { cancelado = true; }
    void cerrar() { rs_.cerrar(); }

private:
    Registros rs_;
};
