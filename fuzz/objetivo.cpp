// One libFuzzer target: TARVO_OBJETIVO names the entry it feeds.
#include "entradas/entradas.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    entradas::preparar();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    entradas::TARVO_OBJETIVO(datos, tamano);
    return 0;
}
