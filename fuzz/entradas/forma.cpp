#include "comun.h"
#include "entradas.h"

#include "data/forma.h"

namespace entradas {

namespace {

// A read command has a statement at every level and names both related columns.
void revisar(const Forma& f, int nivel) {
    if (nivel > 16)
        comun::fallo("una forma más profunda de lo admitido");
    for (const RelacionForma& r : f.hijas) {
        if (r.columnaPadre.isEmpty() || r.columnaHija.isEmpty())
            comun::fallo("una relación sin columnas");
        revisar(r.hija, nivel + 1);
    }
}

} // namespace

void forma(const std::uint8_t* datos, std::size_t tamano) {
    const QString texto =
        QString::fromUtf8(reinterpret_cast<const char*>(datos), qsizetype(tamano));
    esForma(texto);
    Forma leida;
    QString error;
    if (leerForma(texto, leida, error))
        revisar(leida, 0);
    else if (error.isEmpty())
        comun::fallo("una forma rechazada sin motivo");
}

} // namespace entradas
