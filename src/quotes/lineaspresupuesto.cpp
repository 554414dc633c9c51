#include "quotes/lineaspresupuesto.h"

#include "quotes/numeros.h"

QString LineaPresupuesto::clave() const {
    return u'P' + QString::number(proId);
}

QStringList LineaPresupuesto::columnas() const {
    return {codigo, descripcion, numeros::texto(precio), textoCantidad, numeros::texto(subtotal())};
}

QStringList LineasPresupuesto::encabezados() {
    return {QStringLiteral("Código"), QStringLiteral("Producto"), QStringLiteral("Precio"),
            QStringLiteral("Cantidad"), QStringLiteral("Sub Total")};
}

int LineasPresupuesto::buscar(qint32 proId) const {
    for (size_t i = 0; i < lineas_.size(); ++i)
        if (lineas_[i].proId == proId)
            return int(i);
    return -1;
}

void LineasPresupuesto::cargar(qint32 proId, const QString& codigo, const QString& descripcion,
                               double precio, double cantidad,
                               const std::optional<QString>& moneda) {
    lineas_.push_back(
        {proId, codigo, descripcion, precio, cantidad, numeros::texto(cantidad), moneda});
}

void LineasPresupuesto::agregar(qint32 proId, const QString& codigo, const QString& descripcion,
                                double precio, const QString& textoCantidad) {
    const double q = numeros::leer(textoCantidad).value_or(0);
    const int i = buscar(proId);
    if (i >= 0) {
        LineaPresupuesto& l = lineas_[size_t(i)];
        l.cantidad += q;
        l.textoCantidad = numeros::texto(l.cantidad);
        return;
    }
    lineas_.push_back({proId, codigo, descripcion, precio, q, textoCantidad, std::nullopt});
}

void LineasPresupuesto::quitar(int indice, double unidades) {
    if (indice < 0 || indice >= cantidad())
        return;
    LineaPresupuesto& l = lineas_[size_t(indice)];
    if (unidades < l.cantidad) {
        l.cantidad -= unidades;
        l.textoCantidad = numeros::texto(l.cantidad);
    } else {
        lineas_.erase(lineas_.begin() + indice);
    }
}
