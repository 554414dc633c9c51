#pragma once

#include "platform/mensajes.h"

#include <QList>
#include <QQueue>

#include <functional>

// A message service for tests: records every box shown and answers from queues.
// A message box without a queued answer gets its default button (OK, or No for
// a Yes/No question); an input box without one is cancelled.
class MensajesGuion final : public ServicioMensajes {
public:
    struct Mostrado {
        QString texto;
        QString titulo; // as the user saw it: "Tarvo" when none was given
        Botones botones;
        Icono icono;
        bool esEntrada; // an input box rather than a message box
    };

    MensajesGuion();           // installs itself
    ~MensajesGuion() override; // restores the default service

    void responder(Respuesta respuesta) { respuestas_.enqueue(respuesta); }
    void escribir(const QString& texto) { textos_.enqueue(texto); }

    const QList<Mostrado>& mostrados() const { return mostrados_; }
    QStringList textos() const;
    void limpiar() { mostrados_.clear(); }
    // Runs while each later message box is up, as the user could act in
    // another window during the box's own event loop.
    void alMostrar(std::function<void()> accion) { alMostrar_ = std::move(accion); }

    Respuesta mostrar(const QString& texto, Botones botones, Icono icono,
                      const QString& titulo) override;
    QString pedirTexto(const QString& mensaje, const QString& titulo,
                       const QString& valorInicial) override;

private:
    QList<Mostrado> mostrados_;
    QQueue<Respuesta> respuestas_;
    QQueue<QString> textos_;
    std::function<void()> alMostrar_;
};
