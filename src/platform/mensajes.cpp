#include "platform/mensajes.h"

#include <QTextStream>

namespace {

// Used by tools and before the windows library installs its own service.
class MensajesConsola final : public ServicioMensajes {
public:
    Respuesta mostrar(const QString& texto, Botones botones, Icono,
                      const QString& titulo) override {
        QTextStream(stderr) << (titulo.isEmpty() ? tituloAplicacion() : titulo) << ": " << texto
                            << '\n';
        return botones == Botones::SiNo ? Respuesta::No : Respuesta::Aceptar;
    }
    QString pedirTexto(const QString&, const QString&, const QString&) override { return {}; }
};

MensajesConsola consola;
ServicioMensajes* instalado = nullptr;

} // namespace

QString tituloAplicacion() {
    return QStringLiteral("Tarvo");
}

ServicioMensajes& mensajes() {
    return instalado ? *instalado : consola;
}

void instalarMensajes(ServicioMensajes* servicio) {
    instalado = servicio;
}

Respuesta mensaje(const QString& texto, Botones botones, Icono icono, const QString& titulo) {
    return mensajes().mostrar(texto, botones, icono, titulo);
}

QString entrada(const QString& texto, const QString& titulo, const QString& valorInicial) {
    return mensajes().pedirTexto(texto, titulo, valorInicial);
}
