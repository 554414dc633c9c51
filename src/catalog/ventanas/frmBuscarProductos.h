#pragma once

#include <QDialog>

class ComboDatos;
class ModeloRegistros;
class QCheckBox;
class QComboBox;
class QLineEdit;

// "Búsqueda avanzada de productos - Tarvo": up to eight criteria combined into
// a condition on PRODUCTOS. The caller creates it, shows it modal, reads
// `cancelado` and, when false, `condicion`, then discards it.
class frmBuscarProductos : public QDialog {
    Q_OBJECT
public:
    explicit frmBuscarProductos(QWidget* padre = nullptr);
    ~frmBuscarProductos() override;

    // True after "Cancelar" (or the window's close box).
    bool cancelado = false;
    // The condition built by "Aceptar"; "1" when no criterion was given.
    QString condicion = QStringLiteral("1");

    // "Aceptar": builds the condition and hides the dialog; a criterion that
    // cannot be used is reported ("Verifique") and the dialog stays open.
    void aceptar();
    // "Cancelar".
    void cancelar();
    // Escape and the close box count as "Cancelar".
    void reject() override;

private:
    QLineEdit* txtCodigo_;
    QLineEdit* txtDescripcion_;
    QCheckBox* chkCategoria_;
    ComboDatos* dtcCategorias_;
    QLineEdit* txtCosto_;
    QLineEdit* txtPrecio_;
    QComboBox* dtcUnidades_;
    QComboBox* dtcMonedas_;
    QLineEdit* txtStockMinimo_;
    ModeloRegistros* categorias_;
    ModeloRegistros* unidades_;
    ModeloRegistros* monedas_;
};
