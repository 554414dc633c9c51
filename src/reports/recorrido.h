#pragma once

#include "data/registros.h"

#include <QStringList>

#include <vector>

// Walks a result set and its child levels in print order, one step at a
// time: a group's header, its children, its footer; detail rows innermost.
// The rows of every level stay current while their band prints.
class Recorrido {
public:
    enum class Paso { CabeceraGrupo, Detalle, PieGrupo, Fin };

    // `capitulos` leads from each level to the next: one chapter per group
    // level below the first, then the detail's (so with n groups it holds n
    // names; with none, it is empty and the rows are the detail).
    Recorrido(const Registros& filas, QStringList capitulos);

    // The next step; `nivel` receives the group's level (0 outermost) or, for
    // a detail row, the number of groups. Fin once every row has been walked.
    Paso siguiente(int& nivel);

    // The current rows, outermost first; those below the step's level are
    // not meaningful.
    const std::vector<Registros>& filas() const { return filas_; }
    // Rows of the first level already finished, out of how many.
    int primerasHechas() const { return hechas_; }
    int primerasTotal() const { return total_; }

private:
    // Inicio: the current row has printed nothing; Hijos: its header printed
    // and its children are open; Avanzar: it is done, the next step moves on.
    enum class Estado { Inicio, Hijos, Avanzar };
    QStringList capitulos_;
    std::vector<Registros> filas_; // the set of each level open so far
    std::vector<Estado> estados_;
    int grupos_;
    int hechas_ = 0;
    int total_ = 0;
};
