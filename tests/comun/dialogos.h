#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Finding and working the program's windows from a test or a benchmark.

// The visible top-level window of type T; null when none.
template <typename T> T* ventanaVisible() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* v = qobject_cast<T*>(w); v && v->isVisible())
            return v;
    return nullptr;
}

// Polls, from a zero-delay timer (so also inside a modal window's own event
// loop), for a visible window of type T, and calls `accion` on it until it
// returns true. Returns the timer, which deletes itself then; deleting it
// earlier stops the waiting.
template <typename T> QTimer* sondear(std::function<bool(T&)> accion) {
    auto* reloj = new QTimer(qApp);
    reloj->setInterval(0);
    QObject::connect(reloj, &QTimer::timeout, reloj, [reloj, accion] {
        T* ventana = ventanaVisible<T>();
        if (!ventana)
            return;
        // Stopped while `accion` runs: it may open a modal loop of its own.
        reloj->stop();
        if (accion(*ventana))
            reloj->deleteLater();
        else
            reloj->start();
    });
    reloj->start();
    return reloj;
}

// Works a modal window of the program: as soon as a visible window of type T
// exists, `accion` runs on it once.
template <typename T> QTimer* alAparecer(std::function<void(T&)> accion) {
    return sondear<T>([accion](T& ventana) {
        accion(ventana);
        return true;
    });
}
