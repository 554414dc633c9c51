#pragma once

#include <QString>

// Every message box and input box of the program goes through this service,
// so that tests can script the answers and read back what was shown.

enum class Icono { Ninguno, Informacion, Exclamacion, Critico, Pregunta };
enum class Botones { Aceptar, SiNo, AceptarCancelar };
enum class Respuesta { Aceptar, Cancelar, Si, No };

class ServicioMensajes {
public:
    virtual ~ServicioMensajes() = default;

    // A message box; an empty title shows the application title "Tarvo".
    virtual Respuesta mostrar(const QString& texto, Botones botones, Icono icono,
                              const QString& titulo) = 0;
    // An input box; returns the empty text when the user cancels.
    virtual QString pedirTexto(const QString& mensaje, const QString& titulo,
                               const QString& valorInicial) = 0;
};

// The application title used by boxes without a title of their own.
QString tituloAplicacion();

// The installed service (by default one that writes to the standard error
// stream and answers as if the user pressed the default button).
ServicioMensajes& mensajes();
// Installs a service; the caller keeps ownership. nullptr restores the default.
void instalarMensajes(ServicioMensajes* servicio);

// Short forms for the common boxes.
Respuesta mensaje(const QString& texto, Botones botones = Botones::Aceptar,
                  Icono icono = Icono::Ninguno, const QString& titulo = {});
QString entrada(const QString& mensaje, const QString& titulo = {},
                const QString& valorInicial = {});
