#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// One line of a quote as the editor holds it: a product, its unit price fixed
// when the line was made, and the quantity.
struct LineaPresupuesto {
    qint32 proId = 0;
    QString codigo;
    QString descripcion;
    double precio = 0;
    double cantidad = 0;
    // The quantity as shown: as typed for a new line, the number's text after
    // any change.
    QString textoCantidad;
    // The currency the price is in, when the line is a copy of a stored one;
    // none for a line made here, which takes the product's currency of now.
    std::optional<QString> moneda;

    // "P" followed by the product key.
    QString clave() const;
    double subtotal() const { return precio * cantidad; }
    // The five columns of the list: code, product, price, quantity, subtotal.
    QStringList columnas() const;
};

// The quote's lines, at most one per product, in the order they were made.
class LineasPresupuesto {
public:
    // The five column headers.
    static QStringList encabezados();

    const std::vector<LineaPresupuesto>& lineas() const { return lineas_; }
    int cantidad() const { return int(lineas_.size()); }
    bool vacia() const { return lineas_.empty(); }
    const LineaPresupuesto& linea(int indice) const { return lineas_[size_t(indice)]; }
    // Index of the product's line; -1 when it has none.
    int buscar(qint32 proId) const;

    void vaciar() { lineas_.clear(); }
    // A line as loaded from the database (quantity shown as a number).
    void cargar(qint32 proId, const QString& codigo, const QString& descripcion, double precio,
                double cantidad, const std::optional<QString>& moneda = std::nullopt);
    // Adds units of a product: a line the product already has grows by the
    // quantity at its own price; otherwise a new line is made at `precio`
    // showing the quantity as typed. `textoCantidad` must read as a number.
    void agregar(qint32 proId, const QString& codigo, const QString& descripcion, double precio,
                 const QString& textoCantidad);
    // Takes units off line `indice`: fewer than it holds leaves the rest,
    // as many or more removes the line.
    void quitar(int indice, double unidades);

private:
    std::vector<LineaPresupuesto> lineas_;
};
