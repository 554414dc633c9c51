#pragma once

#include "reports/definicion.h"

#include <QRectF>
#include <QString>

#include <algorithm>
#include <memory>
#include <vector>

// The pages of a report as the first pass leaves them: every band instance
// measured, its texts written and broken into lines, and placed on a page.
// The second pass paints them (reports/pintor.h).

struct Elemento {
    enum class Clase : quint8 { Texto, Regla, Rectangulo, Imagen, NumeroPagina, TotalPaginas };
    Clase clase = Clase::Texto;
    QRectF rect;                      // inside its band instance
    QString texto;                    // one line of text
    const Control* control = nullptr; // font, colour, alignment, picture
    double sangria = 0;               // where the text starts inside `rect` (its alignment)
};

// A band instance, or the part of one, on a page.
struct BandaColocada {
    int primero = 0; // its elements in Maquetado::elementos
    int cantidad = 0;
    double y = 0;     // where the instance's top lies on the page
    double desde = 0; // the part of the instance shown on this page
    double hasta = 0;
};

struct PaginaMaquetada {
    std::vector<BandaColocada> bandas;
};

struct Maquetado {
    std::shared_ptr<const DefinicionInforme> definicion;
    std::vector<Elemento> elementos;
    std::vector<PaginaMaquetada> paginas;
    // The page footer, painted at the bottom of every page.
    BandaColocada piePagina;
    double altoPie = 0;
    // Every page is laid out: the page count is final.
    bool completo = false;

    // Pages whose content is final: all of them once complete, otherwise all
    // but the one being filled.
    int paginasListas() const {
        const int n = int(paginas.size());
        return completo ? n : std::max(0, n - 1);
    }
};
