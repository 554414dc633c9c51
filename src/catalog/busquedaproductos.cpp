#include "catalog/busquedaproductos.h"

#include "catalog/numeros.h"

namespace {

// Every line of the message starts with a line break, as in the quantity
// dialog.
void agregarLinea(QString& mensaje, const QString& linea) {
    mensaje += QStringLiteral("\r\n") + linea;
}

} // namespace

QString piezaContiene(const QString& campo, const QString& texto) {
    // The wildcards are escaped only when the text holds one, so an ordinary
    // text gives the plain piece.
    const bool escapar = texto.contains(u'%') || texto.contains(u'_') || texto.contains(u'\\');
    QString patron = texto;
    if (escapar) {
        patron.replace(u'\\', QStringLiteral("\\\\"));
        patron.replace(u'%', QStringLiteral("\\%"));
        patron.replace(u'_', QStringLiteral("\\_"));
    }
    patron.replace(u'\'', QStringLiteral("''"));
    QString pieza = QStringLiteral(" and ") + campo + QStringLiteral(" like '%") + patron +
                    QStringLiteral("%'");
    if (escapar)
        pieza += QStringLiteral(" ESCAPE '\\'");
    return pieza;
}

CondicionProductos construirCondicionProductos(const CriteriosProductos& criterios) {
    CondicionProductos r;
    r.condicion = QStringLiteral("1");
    bool conComa = false;
    auto numerico = [&](const QString& campo, const QString& texto, const QString& nombre) {
        const QString t = texto.trimmed();
        if (t.isEmpty())
            return;
        if (!leeComoNumero(t)) {
            agregarLinea(r.mensaje, nombre + QStringLiteral(" debe ser un valor numérico."));
            conComa = conComa || t.contains(u',');
            return;
        }
        r.condicion += QStringLiteral(" and ") + campo + u'=' + t;
    };
    auto contiene = [&](const QString& campo, const QString& texto) {
        const QString t = texto.trimmed();
        if (!t.isEmpty())
            r.condicion += piezaContiene(campo, t);
    };

    contiene(QStringLiteral("ProCodigo"), criterios.codigo);
    contiene(QStringLiteral("ProDescripcion"), criterios.descripcion);
    if (criterios.porCategoria) {
        bool ok = false;
        const qint64 catId = criterios.catId.toLongLong(&ok);
        if (criterios.catId.isValid() && !criterios.catId.isNull() && ok)
            r.condicion += QStringLiteral(" and CatId=") + QString::number(catId);
        else
            agregarLinea(r.mensaje,
                         QStringLiteral("Elija una Categoría de la lista o quite la marca de "
                                        "Categoría."));
    }
    numerico(QStringLiteral("ProCosto"), criterios.costo, QStringLiteral("El Costo"));
    numerico(QStringLiteral("ProPrecio"), criterios.precio, QStringLiteral("El Precio"));
    contiene(QStringLiteral("ProUnidadMedida"), criterios.unidad);
    contiene(QStringLiteral("ProMoneda"), criterios.moneda);
    numerico(QStringLiteral("ProMinimo"), criterios.stockMinimo, QStringLiteral("El Stock Mínimo"));
    if (conComa)
        agregarLinea(r.mensaje,
                     QStringLiteral("Debe utilizar el punto (.) como separador de decimales."));
    r.valida = r.mensaje.isEmpty();
    if (!r.valida)
        r.condicion = QStringLiteral("1");
    return r;
}
