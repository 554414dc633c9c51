#pragma once

#include "platform/comandos.h"

#include <QList>
#include <QMap>
#include <QQueue>
#include <QSet>

#include <functional>

// A command runner for tests: records every program started and every
// address opened, and answers from scripted results. A program without a
// scripted result succeeds with nothing written, unless it was named in
// reenviar(), in which case the real runner runs it.
class EjecutorGuion final : public EjecutorComandos {
public:
    struct Llamada {
        QString programa;
        QStringList argumentos;
        OpcionesComando opciones;
    };

    EjecutorGuion();           // installs itself
    ~EjecutorGuion() override; // restores the default runner

    void responder(const QString& programa, const ResultadoComando& resultado) {
        resultados_[programa].enqueue(resultado);
    }
    void reenviar(const QString& programa) { reales_.insert(programa); }
    // Runs before a program's call is answered (a test can copy its input).
    void alLlamar(std::function<void(const Llamada&)> f) { alLlamar_ = std::move(f); }
    void abrirDevuelve(bool resultado) { abrirDevuelve_ = resultado; }

    const QList<Llamada>& llamadas() const { return llamadas_; }
    const QList<QUrl>& abiertas() const { return abiertas_; }

    ResultadoComando ejecutar(const QString& programa, const QStringList& argumentos,
                              const OpcionesComando& opciones) override;
    bool abrir(const QUrl& direccion) override;

    static ResultadoComando exito();
    static ResultadoComando fallo(int codigo, const QByteArray& errores = {});
    static ResultadoComando ausente();

private:
    QList<Llamada> llamadas_;
    QList<QUrl> abiertas_;
    QMap<QString, QQueue<ResultadoComando>> resultados_;
    QSet<QString> reales_;
    std::function<void(const Llamada&)> alLlamar_;
    bool abrirDevuelve_ = true;
};
