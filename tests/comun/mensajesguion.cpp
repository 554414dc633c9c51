#include "comun/mensajesguion.h"

MensajesGuion::MensajesGuion() {
    instalarMensajes(this);
}

MensajesGuion::~MensajesGuion() {
    instalarMensajes(nullptr);
}

QStringList MensajesGuion::textos() const {
    QStringList lista;
    for (const auto& m : mostrados_)
        lista << m.texto;
    return lista;
}

Respuesta MensajesGuion::mostrar(const QString& texto, Botones botones, Icono icono,
                                 const QString& titulo) {
    mostrados_.append(
        {texto, titulo.isEmpty() ? tituloAplicacion() : titulo, botones, icono, false});
    if (alMostrar_)
        alMostrar_();
    if (!respuestas_.isEmpty())
        return respuestas_.dequeue();
    return botones == Botones::SiNo ? Respuesta::No : Respuesta::Aceptar;
}

QString MensajesGuion::pedirTexto(const QString& mensaje, const QString& titulo, const QString&) {
    mostrados_.append({mensaje, titulo.isEmpty() ? tituloAplicacion() : titulo,
                       Botones::AceptarCancelar, Icono::Ninguno, true});
    return textos_.isEmpty() ? QString() : textos_.dequeue();
}
