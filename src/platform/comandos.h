#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

// Every external program the system starts (the word processor, the printer
// spool, the mail program, the desktop's opener) goes through one runner, so
// that tests replace it and check the argument lists.

struct ResultadoComando {
    bool iniciado = false; // false: the program is missing or could not start
    bool agotado = false;  // still running when the time allowed ran out
    int codigo = -1;       // exit status; -1 when it did not end normally
    QByteArray salida;     // standard output (empty for a program left running)
    QByteArray errores;    // standard error (idem)
};

struct OpcionesComando {
    int plazoMs = 30000;
    // When the time runs out: leave the program running (a mail program that
    // stays open with the new message) instead of ending it.
    bool dejarSiSigue = false;
};

class EjecutorComandos {
public:
    virtual ~EjecutorComandos() = default;
    // Runs `programa` (found on PATH) with `argumentos` and waits for it.
    virtual ResultadoComando ejecutar(const QString& programa, const QStringList& argumentos,
                                      const OpcionesComando& opciones) = 0;
    // Opens a file or folder with the desktop's default application; false
    // when nothing could open it.
    virtual bool abrir(const QUrl& direccion) = 0;
};

// The installed runner (by default the one that really starts programs).
EjecutorComandos& ejecutorComandos();
// Installs a runner; the caller keeps ownership. nullptr restores the default.
void instalarEjecutor(EjecutorComandos* ejecutor);
// The runner that really starts programs, for doubles that pass some calls on.
EjecutorComandos& ejecutorReal();
