#include "reports/definicion.h"

Control* Banda::control(const QString& buscado) {
    for (Control& c : controles)
        if (c.nombre == buscado)
            return &c;
    return nullptr;
}

const Control* Banda::control(const QString& buscado) const {
    return const_cast<Banda*>(this)->control(buscado);
}

Control* DefinicionInforme::control(const QString& buscado) {
    std::vector<Banda*> bandas = {&encabezadoInforme, &encabezadoPagina, &detalle, &piePagina};
    for (Grupo& g : grupos) {
        bandas.push_back(&g.cabecera);
        bandas.push_back(&g.pie);
    }
    for (Banda* b : bandas)
        if (Control* c = b->control(buscado))
            return c;
    return nullptr;
}

const Control* DefinicionInforme::control(const QString& buscado) const {
    return const_cast<DefinicionInforme*>(this)->control(buscado);
}
