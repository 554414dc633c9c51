#pragma once

#include <QObject>

#include <functional>
#include <vector>

// Clocks, memory figures and the watching of windows that the window
// benchmarks share.
namespace medidas {

// CLOCK_MONOTONIC in nanoseconds: one clock for every process of the machine,
// so that instants taken in a child compare with those of its parent.
qint64 ahoraNs();
// CPU time of this process (every thread), in nanoseconds: the work done,
// which other programs running on the machine do not inflate as they do
// the elapsed time.
qint64 cpuNs();
double milisegundos(qint64 desdeNs, qint64 hastaNs);

double mediana(std::vector<double> valores);

// The grid of the main window (the viewport of the table "dtgLista").
bool esGrilla(QObject* objeto);
// Any widget of the login window.
bool esDeLogin(QObject* objeto);

// Closes every window, deletes them and processes what that leaves pending,
// so that the next measurement starts with no window of the previous one.
void cerrarVentanas();

} // namespace medidas

// Notes the first paint event that an object accepted by the predicate
// receives after installation or reiniciar(). Watches the whole application.
class VigiaPintura : public QObject {
public:
    explicit VigiaPintura(std::function<bool(QObject*)> vigilado);
    ~VigiaPintura() override;

    void reiniciar() { pintado_ = false; }
    bool pintado() const { return pintado_; }
    // Processes events until the paint has happened and been handled; false
    // when it has not happened within `msMaximo`.
    bool esperar(int msMaximo = 30000);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    std::function<bool(QObject*)> vigilado_;
    bool pintado_ = false;
};
