#include "quotes/ventanas/enlacescatalogo.h"

#include "catalog/ventanas/frmBuscarProductos.h"
#include "catalog/ventanas/frmMantContactos.h"
#include "catalog/ventanas/frmMantProductos.h"
#include "quotes/enlaces.h"

void conectarCatalogoAlEditor() {
    EnlacesPresupuesto& enlaces = enlacesPresupuesto();
    enlaces.buscarProductos = [](QWidget* padre) -> std::optional<QString> {
        frmBuscarProductos busqueda(padre);
        busqueda.exec();
        if (busqueda.cancelado)
            return std::nullopt;
        return busqueda.condicion;
    };
    enlaces.editarProducto = [](qint32 proId) { frmMantProductos::mostrar(proId); };
    enlaces.nuevoContacto = [] { frmMantContactos::mostrar(); };
}
