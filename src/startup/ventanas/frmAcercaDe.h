#pragma once

#include <QDialog>

// "Acerca de Tarvo": name, version and description of the program, and a
// button that starts the system-information tool.
class frmAcercaDe : public QDialog {
    Q_OBJECT
public:
    explicit frmAcercaDe(QWidget* padre = nullptr);

    // Starts the system-information tool, or says it is unavailable.
    void StartSysInfo();
};

// One value of a registry key as text; false (and empty text) when the key or
// the value is missing. A number reads as "&h" and its hexadecimal digits.
bool GetKeyValue(quint32 raiz, const QString& clave, const QString& nombre, QString& valor);
