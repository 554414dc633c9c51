#pragma once

#include <QString>

// What the options dialog shows and writes, apart from its controls.
struct ValoresOpciones {
    QString ubicacion;             // db_path
    QString ubicacionPresupuestos; // doc_path
    bool respaldoAutomatico = false;
    QString ubicacionRespaldo; // db_backup
    QString ubicacionLogo;     // logo_path
    QString nombreEmpresa;     // empresa
    QString iva;
    QString avisoDias;
    // The shared server instead of the file: server, port, database, user
    // go to the settings, the password only to ~/.pgpass (never stored when
    // left empty).
    bool servidor = false;
    QString nombreServidor; // db_servidor
    QString puerto;         // db_puerto
    QString baseDatos;      // db_basedatos
    QString usuario;        // db_usuario
    QString contrasena;
};

// The values as the registry holds them now.
ValoresOpciones leerValoresOpciones();

// "Aceptar": checks and writes each value in order (database path or server, quote
// folder, backup folder, logo, company, VAT, notice days), then the notice
// days to the options table; a failed check shows its message and skips only
// its own write. The three paths are refused when they hold a control
// character (a line break, say). With `reiniciar`, ends with the restart message.
void aceptarOpciones(const ValoresOpciones& valores, bool reiniciar);
