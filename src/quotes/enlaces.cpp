#include "quotes/enlaces.h"

EnlacesPresupuesto& enlacesPresupuesto() {
    static EnlacesPresupuesto enlaces;
    return enlaces;
}
