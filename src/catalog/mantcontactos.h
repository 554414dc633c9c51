#pragma once

#include "catalog/mantenimiento.h"

// The contacts (customers and suppliers) on the maintenance pattern; a new
// contact starts with the relation 1.
class MantContactos : public Mantenimiento {
    Q_OBJECT
public:
    static QString consultaCompleta();

    explicit MantContactos(QObject* padre = nullptr);

    // The active relations offered in "Vínculo:".
    ModeloRegistros* vinculos() const { return vinculos_; }
    void ActualizarVinculos();

protected:
    bool validar() override;
    void valoresIniciales() override;
    Consulta consultaBusqueda(const QString& texto) const override;
    QString tituloBusqueda() const override { return QStringLiteral("Buscar"); }
    QString consultaTrasGuardar() const override;
    bool cerrarConListaCompleta() const override { return false; }

private:
    ModeloRegistros* vinculos_;
};
