#pragma once

#include "startup/valoresopciones.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Opciones": the settings of the program. Reads the registry when it opens
// and writes it on "Aceptar"; the running program keeps its settings until
// the next start.
class frmOpciones : public QDialog {
    Q_OBJECT
public:
    explicit frmOpciones(QWidget* padre = nullptr);

    // When true, "Aceptar" ends with the message asking to restart.
    bool reiniciar = false;

    // The commands behind the buttons.
    void aceptar();
    void cancelar();
    void examinarBase();
    void examinarPresupuestos();
    void examinarRespaldo();
    void examinarLogo();
    // "Datos del servidor...": the server's boxes in their own dialog.
    void editarServidor();

private:
    void cargar();
    void cambiarRespaldo(bool activo);
    // Enables the file's box or the server's button, as the choice says.
    void cambiarMotor();
    QString elegirArchivo(const QString& titulo, const QString& filtro);

    QRadioButton* optArchivo_;
    QRadioButton* optServidor_;
    QPushButton* cmdServidor_;
    QPushButton* cmdExaminar_;
    // The server's values as loaded or last edited (the password only as
    // typed in this dialog).
    ValoresOpciones servidor_;
    QLineEdit* txtUbicacion_;
    QLineEdit* txtUbicacionPresupuestos_;
    QCheckBox* chkRespaldoAutomatico_;
    QLineEdit* txtUbicacionRespaldo_;
    QPushButton* cmdExaminarRespaldo_;
    QLineEdit* txtUbicacionLogo_;
    QLineEdit* txtNombreEmpresa_;
    QLineEdit* txtIVA_;
    QLineEdit* txtAvisoDias_;
    // The file chooser gives back its last file name when cancelled.
    QString ultimoArchivo_;
};
