#pragma once

#include <QDialog>

class QLineEdit;
struct ValoresOpciones;

// "Servidor PostgreSQL": where the shared database is and who connects to it.
// The password typed here goes to ~/.pgpass when the options are accepted;
// it is never shown back.
class frmServidor : public QDialog {
    Q_OBJECT
public:
    frmServidor(const ValoresOpciones& valores, QWidget* padre = nullptr);

    // Copies the boxes into the server's values of `valores`.
    void leer(ValoresOpciones& valores) const;

private:
    QLineEdit* txtServidor_;
    QLineEdit* txtPuerto_;
    QLineEdit* txtBaseDatos_;
    QLineEdit* txtUsuario_;
    QLineEdit* txtContrasena_;
};
