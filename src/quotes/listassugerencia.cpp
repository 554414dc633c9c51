#include "quotes/listassugerencia.h"

#include "quotes/consultasrecordadas.h"

QString ListasSugerencia::consulta(int lista) {
    switch (lista) {
    case Lugar:
        return QStringLiteral("SELECT DISTINCT PreLugar FROM PRESUPUESTOS ORDER BY PreLugar ASC");
    case Saludo:
        return QStringLiteral("SELECT DISTINCT PreSaludo FROM PRESUPUESTOS ORDER BY PreSaludo ASC");
    case Concepto1:
    case Concepto2:
    case Concepto3:
        return QStringLiteral(
            "SELECT Concepto FROM V_PRESUPUESTOS_CONCEPTOS ORDER BY Concepto ASC");
    default:
        return QStringLiteral("SELECT Moneda FROM V_PRESUPUESTOS_MONEDAS ORDER BY Moneda ASC");
    }
}

QString ListasSugerencia::campo(int lista) {
    switch (lista) {
    case Lugar:
        return QStringLiteral("PreLugar");
    case Saludo:
        return QStringLiteral("PreSaludo");
    case Concepto1:
    case Concepto2:
    case Concepto3:
        return QStringLiteral("Concepto");
    default:
        return QStringLiteral("Moneda");
    }
}

bool ListasSugerencia::recargar() {
    // The three concept lists and the three currency lists come from one
    // query each: each list gets its own set over the same rows.
    for (int i = 0; i < kCantidad; ++i) {
        listas_[size_t(i)] = consultas_.abrir(consulta(i));
        if (!listas_[size_t(i)].abierto()) {
            for (int j = i + 1; j < kCantidad; ++j)
                listas_[size_t(j)].cerrar();
            return false;
        }
    }
    return true;
}

void ListasSugerencia::cerrar() {
    for (Registros& r : listas_)
        r.cerrar();
}
