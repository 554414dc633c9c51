#pragma once

#include "quotes/buscadorcontactos.h"

#include <QDialog>

class ModeloRegistros;
class QTableView;

// "Coincidencias - Tarvo": the contacts whose trade or legal name contains
// the search text. The caller sets buscador().nombrefantasia, shows it modal
// and reads buscador().cancelado and the chosen contact.
class frmGrillaContactos : public QDialog {
    Q_OBJECT
public:
    explicit frmGrillaContactos(QWidget* padre = nullptr);
    ~frmGrillaContactos() override;

    BuscadorContactos& buscador() { return buscador_; }

    // Lists the matching contacts (done when the window is shown).
    void cargar();
    // "Seleccionar" (also Enter anywhere in the picker).
    void seleccionar();
    // "Cancelar"; also Escape and the window frame's close button.
    void cancelar();
    void reject() override;

    // The grid's current row, 1-based; 0 when none.
    int filaActual() const;

protected:
    void showEvent(QShowEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    BuscadorContactos buscador_;
    ModeloRegistros* modelo_;
    QTableView* dtgContactos_;
    bool cargado_ = false;
};
