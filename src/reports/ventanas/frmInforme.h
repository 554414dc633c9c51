#pragma once

#include "reports/informe.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QPrinter;
class QProgressBar;
class QPushButton;
class QTimer;
class VistaPaginas;

// The preview window of a report: its caption as the report declares it, the
// pages, zoom and page moves, "Imprimir" through the system's print dialog
// and "Guardar como PDF". Opening shows the first page at once and lays the
// rest out in the background, with a progress bar, so that the window
// answers while a long report is prepared. The window lives for the whole
// run; closing it runs the report's end step.
class frmInforme : public QDialog {
    Q_OBJECT
public:
    explicit frmInforme(std::unique_ptr<Informe> informe, QWidget* padre = nullptr);
    ~frmInforme() override;

    Informe& informe() { return *informe_; }

    // Opens the report: its start step, the first page, the window. Modal
    // returns when the window closes. False when the rows could not be read
    // (the data environment has reported why) and nothing is shown.
    bool abrir(bool modal);

    // The pages laid out so far; null when the window is closed.
    std::shared_ptr<const Maquetado> maquetado() const { return maquetado_; }
    bool maquetando() const;
    // Finishes the layout at once (printing and saving need every page).
    void completarMaquetado();

    // "Imprimir": the system's print dialog, then every page to the printer.
    void imprimir();
    // Every page to a printer already set up; false when it refuses.
    bool imprimirEn(QPrinter& impresora);
    // "Guardar como PDF": asks for a file (in the Documents folder by
    // default) and writes it.
    void guardarComoPdf();
    // Writes the report to a PDF file; a failure is told to the user.
    bool guardarPdf(const QString& ruta);

    VistaPaginas& vista() { return *vista_; }

public slots:
    void done(int resultado) override;

private:
    void crearControles();
    void pasoMaquetado();
    void mostrarEstado();

    std::unique_ptr<Informe> informe_;
    std::unique_ptr<Maquetador> maquetador_;
    std::shared_ptr<const Maquetado> maquetado_;
    VistaPaginas* vista_;
    QTimer* reloj_;
    QProgressBar* pbProgreso_;
    QLabel* lblPagina_;
    QComboBox* cboZoom_;
    QPushButton* cmdImprimir_;
    QPushButton* cmdGuardarPdf_;
};
