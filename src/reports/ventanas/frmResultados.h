#pragma once

#include "reports/resultados.h"

#include <QDialog>

class QDateEdit;
class QRadioButton;

// "Resultados de presupuestos": asks for the period and the grouping, then
// opens the report. Modal; a period that ends before it starts is refused.
class frmResultados : public QDialog {
    Q_OBJECT
public:
    explicit frmResultados(QWidget* padre = nullptr);

    // What the controls ask for now.
    PeticionResultados peticion() const;
    // "Aceptar": checks the period and opens the report (the dialog closes).
    void aceptar();

private:
    QDateEdit* dtpDesde_;
    QDateEdit* dtpHasta_;
    QRadioButton* optCliente_;
    QRadioButton* optUsuario_;
};
