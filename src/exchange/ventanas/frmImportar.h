#pragma once

#include <QDialog>

struct AvanceImportacion;
class QLabel;
class QProgressBar;
class QPushButton;

// "Comienza la importación de datos.": imports the master data of the
// stock-control program. While it runs the window shows each table's
// progress and stays responsive; "Cancelar", "Cerrar" or closing the window
// stop it, and what it had added is undone.
class frmImportar : public QDialog {
    Q_OBJECT
public:
    explicit frmImportar(QWidget* padre = nullptr);

    // The commands behind the buttons.
    void cmdImportar_Click();
    void cmdCancelar_Click();
    bool importando() const { return importando_; }

protected:
    void closeEvent(QCloseEvent* evento) override;
    void reject() override;

private:
    bool mostrarAvance(const AvanceImportacion& avance);
    void mostrarEstado(bool importando);

    QLabel* lblProgreso_;
    QProgressBar* prgProgreso_;
    QPushButton* cmdImportar_;
    QPushButton* cmdCancelar_;
    bool importando_ = false;
    bool cancelar_ = false;
    bool cerrarAlTerminar_ = false;
};
