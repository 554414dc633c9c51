#include "medidas.h"

#include "users/ventanas/frmLogin.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace medidas {

qint64 ahoraNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1'000'000'000 + qint64(t.tv_nsec);
}

qint64 cpuNs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1'000'000'000 + qint64(t.tv_nsec);
}

double milisegundos(qint64 desdeNs, qint64 hastaNs) {
    return double(hastaNs - desdeNs) / 1e6;
}

double mediana(std::vector<double> valores) {
    if (valores.empty())
        return 0.0;
    std::sort(valores.begin(), valores.end());
    const size_t n = valores.size();
    return n % 2 ? valores[n / 2] : (valores[n / 2 - 1] + valores[n / 2]) / 2.0;
}

bool esGrilla(QObject* objeto) {
    QObject* padre = objeto->parent();
    return padre && padre->objectName() == u"dtgLista" &&
           objeto->objectName() == u"qt_scrollarea_viewport";
}

bool esDeLogin(QObject* objeto) {
    auto* w = qobject_cast<QWidget*>(objeto);
    return w && qobject_cast<frmLogin*>(w->window()) != nullptr;
}

void cerrarVentanas() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    // What is left (windows closed without being deleted), one at a time: a
    // window's deletion also deletes the windows it owns.
    for (;;) {
        QWidget* suelta = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!w->parentWidget()) {
                suelta = w;
                break;
            }
        if (!suelta)
            break;
        delete suelta;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace medidas

VigiaPintura::VigiaPintura(std::function<bool(QObject*)> vigilado)
    : vigilado_(std::move(vigilado)) {
    qApp->installEventFilter(this);
}

VigiaPintura::~VigiaPintura() {
    qApp->removeEventFilter(this);
}

bool VigiaPintura::esperar(int msMaximo) {
    QElapsedTimer reloj;
    reloj.start();
    while (!pintado_ && reloj.elapsed() < msMaximo)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return pintado_;
}

bool VigiaPintura::eventFilter(QObject* objeto, QEvent* evento) {
    if (!pintado_ && evento->type() == QEvent::Paint && vigilado_(objeto))
        pintado_ = true;
    return false;
}
