#include "quotes/presupuesto.h"

#include <algorithm>
#include <tuple>

namespace {

// The stored part of the lines, in the order of their products.
std::vector<std::tuple<qint32, double, double>> guardadas(const std::vector<LineaPresupuesto>& l) {
    std::vector<std::tuple<qint32, double, double>> v;
    v.reserve(l.size());
    for (const LineaPresupuesto& linea : l)
        v.emplace_back(linea.proId, linea.precio, linea.cantidad);
    std::sort(v.begin(), v.end());
    return v;
}

auto cabecera(const Presupuesto& p) {
    return std::tie(p.id, p.numero, p.fecha, p.empId, p.lugar, p.saludo, p.descripcion, p.despedida,
                    p.firma, p.textoVigencia, p.diasVigencia, p.usuario);
}

} // namespace

bool Presupuesto::mismoGuardado(const Presupuesto& otro) const {
    for (size_t i = 0; i < otros.size(); ++i)
        if (otros[i].concepto != otro.otros[i].concepto ||
            otros[i].importe != otro.otros[i].importe || otros[i].moneda != otro.otros[i].moneda)
            return false;
    return cabecera(*this) == cabecera(otro) && guardadas(lineas) == guardadas(otro.lineas);
}
