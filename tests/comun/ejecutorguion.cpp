#include "ejecutorguion.h"

EjecutorGuion::EjecutorGuion() {
    instalarEjecutor(this);
}

EjecutorGuion::~EjecutorGuion() {
    instalarEjecutor(nullptr);
}

ResultadoComando EjecutorGuion::ejecutar(const QString& programa, const QStringList& argumentos,
                                         const OpcionesComando& opciones) {
    llamadas_.append({programa, argumentos, opciones});
    if (alLlamar_)
        alLlamar_(llamadas_.last());
    auto guion = resultados_.find(programa);
    if (guion != resultados_.end() && !guion->isEmpty())
        return guion->dequeue();
    if (reales_.contains(programa))
        return ejecutorReal().ejecutar(programa, argumentos, opciones);
    return exito();
}

bool EjecutorGuion::abrir(const QUrl& direccion) {
    abiertas_.append(direccion);
    return abrirDevuelve_;
}

ResultadoComando EjecutorGuion::exito() {
    ResultadoComando r;
    r.iniciado = true;
    r.codigo = 0;
    return r;
}

ResultadoComando EjecutorGuion::fallo(int codigo, const QByteArray& errores) {
    ResultadoComando r = exito();
    r.codigo = codigo;
    r.errores = errores;
    return r;
}

ResultadoComando EjecutorGuion::ausente() {
    return {};
}
