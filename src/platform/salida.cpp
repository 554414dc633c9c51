#include "platform/salida.h"

#include <cstdlib>
#include <utility>

namespace {
std::function<void(int)> terminadorInstalado;
}

void terminarPrograma(int codigo) {
    if (terminadorInstalado)
        terminadorInstalado(codigo);
    std::exit(codigo);
}

void instalarTerminador(std::function<void(int)> terminador) {
    terminadorInstalado = std::move(terminador);
}
