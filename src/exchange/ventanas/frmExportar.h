#pragma once

#include <QDialog>

class QLineEdit;

// "Exportar Productos - Tarvo": chooses the destination file and writes the
// product catalogue to it as tab-separated text.
class frmExportar : public QDialog {
    Q_OBJECT
public:
    explicit frmExportar(QWidget* padre = nullptr);

    // The commands behind the buttons.
    void cmdExaminar_Click();
    void cmdExportar_Click();

private:
    QLineEdit* txtDestino_;
    // The file chosen last, where the chooser opens again.
    QString ultimoArchivo_;
};
