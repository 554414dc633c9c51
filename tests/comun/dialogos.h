#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Works a modal window of the program from a test: as soon as a visible
// window of type T exists (inside its own event loop), `accion` runs on it
// once. Returns the timer so a test can stop waiting.
template <typename T> QTimer* alAparecer(std::function<void(T&)> accion) {
    auto* reloj = new QTimer(qApp);
    reloj->setInterval(0);
    QObject::connect(reloj, &QTimer::timeout, reloj, [reloj, accion] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* ventana = qobject_cast<T*>(w);
            if (ventana && ventana->isVisible()) {
                reloj->stop();
                reloj->deleteLater();
                accion(*ventana);
                return;
            }
        }
    });
    reloj->start();
    return reloj;
}
