#pragma once

#include <QString>
#include <QVariant>

// The criteria of the advanced product search, each text as the user typed it.
struct CriteriosProductos {
    QString codigo;
    QString descripcion;
    bool porCategoria = false;
    QVariant catId; // the chosen category's key; invalid when none is chosen
    QString costo;
    QString precio;
    QString unidad;
    QString moneda;
    QString stockMinimo;
};

// The condition on PRODUCTOS built from the criteria: "1" followed by one
// piece per criterion given, in the dialog's order (code, description,
// category, cost, price, unit, currency, minimum stock). Texts become quoted
// literals (a quote character doubled; %, _ and \ matched as themselves), and
// numbers are spliced only when they read as numbers, so the condition never
// breaks the statement it goes into. When a criterion cannot be used,
// `valida` is false and `mensaje` says what to correct.
struct CondicionProductos {
    bool valida = false;
    QString condicion;
    QString mensaje;
};
CondicionProductos construirCondicionProductos(const CriteriosProductos& criterios);

// " and <campo> like '%<texto>%'", the text matched literally.
QString piezaContiene(const QString& campo, const QString& texto);
