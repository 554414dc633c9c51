#pragma once

#include <QString>

#include <optional>

// The program's settings: one registry key of the current user with eight text
// values, and their in-memory copies loaded by CargarOpciones.

// The key, under the current user's root.
QString claveTarvo();

struct Configuracion {
    QString db_path;   // database file
    QString doc_path;  // folder of the quote documents
    QString db_backup; // backup folder; empty: no automatic backup
    QString logo_path;
    QString empresa;
    double iva = 0.0;   // VAT rate in percent
    int aviso_dias = 0; // days before expiry at which quotes are announced
    QString ultimo_login;
    // The shared database server, when db_motor is "servidor"; the file
    // db_path otherwise. Absent values are not written back: a desk that
    // never chose a server keeps exactly its eight values.
    QString db_motor;
    QString db_servidor;
    QString db_puerto;
    QString db_basedatos;
    QString db_usuario;

    bool enServidor() const { return db_motor == u"servidor"; }
};

// The in-memory settings, as the last CargarOpciones left them.
const Configuracion& opciones();

// Loads every value, writing the default of each missing one back, so that
// after the first run the key is complete. A value that is present is used
// unchanged; a second run on a complete key writes nothing.
void CargarOpciones();

// The notice days held by a text: a number (point as decimal separator,
// rounded to a whole number) within the 16-bit range; nullopt otherwise.
std::optional<int> leerDiasAviso(const QString& texto);
// The VAT rate held by a text ("21", "10.5" or "10,5"); nullopt when it is not
// a number.
std::optional<double> leerIva(const QString& texto);
