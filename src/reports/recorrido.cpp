#include "reports/recorrido.h"

Recorrido::Recorrido(const Registros& filas, QStringList capitulos)
    : capitulos_(std::move(capitulos)), grupos_(int(capitulos_.size())) {
    filas_.push_back(filas);
    filas_.back().moverPrimero();
    estados_.push_back(Estado::Inicio);
    total_ = filas.abierto() ? filas.cantidad() : 0;
}

Recorrido::Paso Recorrido::siguiente(int& nivel) {
    while (!filas_.empty()) {
        const int n = int(filas_.size()) - 1;
        Registros& actual = filas_.back();
        Estado& estado = estados_.back();
        if (estado == Estado::Avanzar) {
            // The row stayed current while its last band printed; now move on.
            actual.moverSiguiente();
            estado = Estado::Inicio;
            if (n == 0)
                ++hechas_;
        }
        if (!actual.abierto() || actual.alFinal()) {
            // This level is done: back to the row above, whose footer is next.
            filas_.pop_back();
            estados_.pop_back();
            continue;
        }
        nivel = n;
        if (n == grupos_) {
            estado = Estado::Avanzar;
            return Paso::Detalle;
        }
        if (estado == Estado::Inicio) {
            estado = Estado::Hijos;
            Registros hijas = actual.capitulo(capitulos_[n]);
            hijas.moverPrimero();
            filas_.push_back(std::move(hijas));
            estados_.push_back(Estado::Inicio);
            return Paso::CabeceraGrupo;
        }
        estado = Estado::Avanzar;
        return Paso::PieGrupo;
    }
    return Paso::Fin;
}
