#pragma once

#include <QPointer>

// Each window of the program exists at most once: asking for it again gives
// the same window while it is open, a new one after it was destroyed.
template <typename Ventana> Ventana& ventanaUnica() {
    static QPointer<Ventana> ventana;
    if (!ventana)
        ventana = new Ventana();
    return *ventana;
}
