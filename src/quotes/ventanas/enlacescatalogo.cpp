#include "quotes/ventanas/enlacescatalogo.h"

#include "catalog/ventanas/frmMantContactos.h"
#include "catalog/ventanas/frmMantProductos.h"
#include "quotes/enlaces.h"

void conectarCatalogoAlEditor() {
    EnlacesPresupuesto& enlaces = enlacesPresupuesto();
    enlaces.editarProducto = [](qint32 proId) { frmMantProductos::mostrar(proId); };
    enlaces.nuevoContacto = [] { frmMantContactos::mostrar(); };
}
