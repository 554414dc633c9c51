#include "exchange/tablasbodex.h"

namespace bodex {

const QString kOrigen = QStringLiteral("BODEX");
const QString kPassword = QStringLiteral("pelmor");

const std::array<DefinicionTabla, kTablas>& tablas() {
    static const std::array<DefinicionTabla, kTablas> definiciones = {{
        {QStringLiteral("select CatId,CatDescripcion,CatDesactivada from categorias"),
         QStringLiteral("categoria_insertar"), QStringLiteral("categoria_actualizar"), 3, 1,
         QStringLiteral("Categorías"), QStringLiteral("la categoría"), QStringLiteral("ETS")},
        {QStringLiteral("select ProId,ProCodigo,ProDescripcion,CatId,ProUnidadMedida,ProPrecio,"
                        "ProCosto,ProMoneda,ProMinimo,EmpId,ProSinVencimiento,ProDesactivado from "
                        "productos"),
         QStringLiteral("producto_insertar"), QStringLiteral("producto_actualizar"), 12, 2,
         QStringLiteral("Productos"), QStringLiteral("el producto"),
         QStringLiteral("ETTETNNTEESS")},
        {QStringLiteral("select SecId,SecDescripcion,SecDesactivado from sectores"),
         QStringLiteral("sector_insertar"), QStringLiteral("sector_actualizar"), 3, 1,
         QStringLiteral("Sectores"), QStringLiteral("el sector"), QStringLiteral("ETS")},
        {QStringLiteral("select EmpId,EmpNombreFantasia,EmpRazonSocial,EmpRuc,EmpDireccion,"
                        "EmpCodigoPostal,EmpTelefono1,EmpTelefono2,EmpFax,EmpEmail,EmpURL,EmpZona,"
                        "EmpCiudad,EmpProvinciaEstado,EmpPais,EmpDesactivado from proveedores"),
         QStringLiteral("contacto_insertar"), QStringLiteral("contacto_actualizar"), 16, 1,
         QStringLiteral("Proveedores"), QStringLiteral("el proveedor"),
         QStringLiteral("ETTTTTTTTTTTTTTS")},
    }};
    return definiciones;
}

QVariantList valoresInsertar(Tabla tabla, const QVariantList& fila) {
    const int columnas = tablas()[tabla].columnas;
    QVariantList valores;
    valores.reserve(columnas);
    for (int c = 1; c < columnas - 1; ++c)
        valores.append(fila.value(c));
    if (tabla == Proveedores)
        valores.append(kVinculoProveedor);
    return valores;
}

QVariantList valoresActualizar(Tabla tabla, const QVariantList& fila, qint64 id) {
    QVariantList valores{id};
    valores.append(valoresInsertar(tabla, fila));
    valores.append(fila.value(tablas()[tabla].columnas - 1));
    return valores;
}

} // namespace bodex
