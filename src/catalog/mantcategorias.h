#pragma once

#include "catalog/mantenimiento.h"

// The product categories on the maintenance pattern. Categories are not
// deleted one by one: "Eliminar" purges the deactivated ones no product uses.
class MantCategorias : public Mantenimiento {
    Q_OBJECT
public:
    static QString consultaCompleta();

    explicit MantCategorias(QObject* padre = nullptr);

    enum class Purga { NoConfirmada, Hecha, Fallida };
    Purga purgar();

protected:
    bool validar() override;
    Consulta consultaBusqueda(const QString& texto) const override;
    QString tituloBusqueda() const override { return QStringLiteral("Buscar"); }
    QString mensajeDuplicado() const override;
    bool cerrarConListaCompleta() const override { return false; }
};
