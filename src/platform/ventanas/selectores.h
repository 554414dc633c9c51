#pragma once

#include <QString>

class QWidget;

// File and folder choosers. Windows ask through this service so that tests can
// script the answers.
class ServicioSelectores {
public:
    virtual ~ServicioSelectores() = default;
    // A folder; empty text when the user cancels.
    virtual QString elegirCarpeta(QWidget* propietario, const QString& titulo) = 0;
    // A file to open; `filtro` is "description|pattern" (patterns separated
    // by ';'). Empty text when the user cancels.
    virtual QString elegirArchivo(QWidget* propietario, const QString& titulo,
                                  const QString& filtro) = 0;
    // A file to write, chosen in a file-open dialog that accepts an existing
    // or a new name and adds no extension; it first shows `inicial` (a file or
    // a folder). Empty text when the user cancels.
    virtual QString elegirArchivoDestino(QWidget* propietario, const QString& titulo,
                                         const QString& filtro, const QString& inicial) = 0;
    // A file to write, proposing `propuesto` (a full path); same filter form.
    // Empty text when the user cancels.
    virtual QString elegirArchivoGuardar(QWidget* propietario, const QString& titulo,
                                         const QString& filtro, const QString& propuesto) = 0;
};

ServicioSelectores& selectores();
// Installs a service (the caller keeps it); nullptr restores the dialogs.
void instalarSelectores(ServicioSelectores* servicio);

// The folder-browse dialog owned by `ventana` with the prompt `titulo`; the
// chosen folder's full path, or empty text when cancelled.
QString SeleccionarCarpeta(QWidget* ventana, const QString& titulo);

// Converts "description|pattern;pattern" into Qt's "description (pattern pattern)".
QString filtroQt(const QString& filtro);
