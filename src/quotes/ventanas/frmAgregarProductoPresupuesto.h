#pragma once

#include <QDialog>

class QLineEdit;

// "Agregar Producto": how many units of a product to add to a quote. Created
// afresh for every product; the caller sets `proid` and `agregando`, shows it
// modal, then reads `cancelado` and the quantity.
class frmAgregarProductoPresupuesto : public QDialog {
    Q_OBJECT
public:
    explicit frmAgregarProductoPresupuesto(QWidget* padre = nullptr);

    bool cancelado = false;
    qint32 proid = 0;
    bool agregando = false;

    // The text of txtCantidad.
    QString cantidad() const;

    // "Aceptar": closes when the quantity is valid, otherwise says why.
    void aceptar();
    // "Cancelar"; also Escape and the window frame's close button.
    void cancelar();
    void reject() override;

private:
    QLineEdit* txtCantidad_;
};
