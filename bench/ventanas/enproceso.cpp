// Start-up, re-sort and search inside this process, each benchmark in its own
// private account. The process's first start-up (fonts, styles, the account's
// first run) happens before the timed iterations.
#include "medidas.h"
#include "programa.h"
#include "registro.h"

#include "comun/dialogos.h"
#include "comun/mensajesguion.h"
#include "main/listapresupuestos.h"
#include "main/ventanas/frmPrincipal.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

QString rutaBase;

// No message box is expected: one means the measurement is not what it says.
bool sinMensajes(benchmark::State& estado, const MensajesGuion& mensajes) {
    if (mensajes.mostrados().isEmpty())
        return true;
    const auto& m = mensajes.mostrados().front();
    estado.SkipWithError(
        (QStringLiteral("mensaje inesperado: ") + m.titulo + QStringLiteral(": ") + m.texto)
            .toStdString()
            .c_str());
    return false;
}

// Calling Main() to the login window painted.
void mainHastaLogin(benchmark::State& estado) {
    registro::Cuenta cuenta;
    MensajesGuion mensajes;
    arrancarHastaLogin();
    medidas::cerrarVentanas();
    std::vector<double> cpu;
    for (auto _ : estado) {
        const qint64 inicioCpu = medidas::cpuNs();
        const qint64 inicio = medidas::ahoraNs();
        const Instantes t = arrancarHastaLogin();
        medidas::cerrarVentanas();
        if (t.loginPintado < 0) {
            estado.SkipWithError("la ventana de login no se pintó");
            break;
        }
        estado.SetIterationTime(medidas::milisegundos(inicio, t.loginPintado) / 1e3);
        cpu.push_back(medidas::milisegundos(inicioCpu, t.cpuLogin));
    }
    estado.counters["cpu_ms"] = medidas::mediana(cpu);
    sinMensajes(estado, mensajes);
}

// "Aceptar" in the login window to the quote list painted.
void aceptarHastaLista(benchmark::State& estado) {
    registro::Cuenta cuenta;
    MensajesGuion mensajes;
    arrancarHastaLista();
    medidas::cerrarVentanas();
    int filas = 0;
    std::vector<double> cpu;
    for (auto _ : estado) {
        const Instantes t = arrancarHastaLista();
        medidas::cerrarVentanas();
        if (t.lista < 0) {
            estado.SkipWithError("la lista no se pintó");
            break;
        }
        filas = t.filas;
        estado.SetIterationTime(medidas::milisegundos(t.aceptar, t.lista) / 1e3);
        cpu.push_back(medidas::milisegundos(t.cpuAceptar, t.cpuLista));
    }
    estado.counters["filas"] = filas;
    estado.counters["cpu_ms"] = medidas::mediana(cpu);
    sinMensajes(estado, mensajes);
}

// The main window listing every quote, open for the duration of a benchmark.
class VentanaAbierta {
public:
    VentanaAbierta() {
        if (arrancarHastaLista().lista >= 0)
            principal_ = ventanaVisible<frmPrincipal>();
        // Nothing of the start-up left pending.
        QCoreApplication::processEvents();
    }
    ~VentanaAbierta() { medidas::cerrarVentanas(); }
    frmPrincipal* principal() const { return principal_; }
    const MensajesGuion& mensajes() const { return mensajes_; }

private:
    registro::Cuenta cuenta_;
    MensajesGuion mensajes_;
    frmPrincipal* principal_ = nullptr;
};

// A click on the header of a column (0 number, 1 date, 2 customer, 3 owner):
// the list read again in that order, and the grid painted. Each click
// reverses the previous one.
void ordenarColumna(benchmark::State& estado) {
    VentanaAbierta ventana;
    if (!ventana.principal()) {
        estado.SkipWithError("la ventana principal no se abrió");
        return;
    }
    VigiaPintura grilla(medidas::esGrilla);
    ListaPresupuestos& lista = ventana.principal()->lista();
    std::vector<double> cpu;
    for (auto _ : estado) {
        grilla.reiniciar();
        const qint64 inicioCpu = medidas::cpuNs();
        const qint64 inicio = medidas::ahoraNs();
        lista.ordenarPorColumna(int(estado.range(0)));
        if (!grilla.esperar()) {
            estado.SkipWithError("la grilla no se pintó");
            break;
        }
        estado.SetIterationTime(medidas::milisegundos(inicio, medidas::ahoraNs()) / 1e3);
        cpu.push_back(medidas::milisegundos(inicioCpu, medidas::cpuNs()));
    }
    estado.counters["filas"] = lista.cantidad();
    estado.counters["cpu_ms"] = medidas::mediana(cpu);
    sinMensajes(estado, ventana.mensajes());
}

// "Actualizar": every quote read again in the current order (the date's,
// which an index gives), and the grid painted. The cost of the reading that
// every re-sort also pays.
void mostrarTodo(benchmark::State& estado) {
    VentanaAbierta ventana;
    if (!ventana.principal()) {
        estado.SkipWithError("la ventana principal no se abrió");
        return;
    }
    VigiaPintura grilla(medidas::esGrilla);
    ListaPresupuestos& lista = ventana.principal()->lista();
    std::vector<double> cpu;
    for (auto _ : estado) {
        grilla.reiniciar();
        const qint64 inicioCpu = medidas::cpuNs();
        const qint64 inicio = medidas::ahoraNs();
        lista.mostrarTodo();
        if (!grilla.esperar()) {
            estado.SkipWithError("la grilla no se pintó");
            break;
        }
        estado.SetIterationTime(medidas::milisegundos(inicio, medidas::ahoraNs()) / 1e3);
        cpu.push_back(medidas::milisegundos(inicioCpu, medidas::cpuNs()));
    }
    estado.counters["filas"] = lista.cantidad();
    estado.counters["cpu_ms"] = medidas::mediana(cpu);
    sinMensajes(estado, ventana.mensajes());
}

// A search from the full list, as "Buscar" does with the text typed, and the
// grid painted; the full list is shown again, untimed, before each one.
void buscar(benchmark::State& estado, const QString& texto) {
    VentanaAbierta ventana;
    if (!ventana.principal()) {
        estado.SkipWithError("la ventana principal no se abrió");
        return;
    }
    VigiaPintura grilla(medidas::esGrilla);
    ListaPresupuestos& lista = ventana.principal()->lista();
    int filas = 0;
    std::vector<double> cpu;
    for (auto _ : estado) {
        lista.mostrarTodo();
        grilla.reiniciar();
        grilla.esperar();
        grilla.reiniciar();
        const qint64 inicioCpu = medidas::cpuNs();
        const qint64 inicio = medidas::ahoraNs();
        lista.buscarTexto(texto);
        if (!grilla.esperar()) {
            estado.SkipWithError("la grilla no se pintó");
            break;
        }
        estado.SetIterationTime(medidas::milisegundos(inicio, medidas::ahoraNs()) / 1e3);
        cpu.push_back(medidas::milisegundos(inicioCpu, medidas::cpuNs()));
        filas = lista.cantidad();
    }
    estado.counters["filas"] = filas;
    estado.counters["cpu_ms"] = medidas::mediana(cpu);
    sinMensajes(estado, ventana.mensajes());
}

} // namespace

namespace registro {

void establecerBase(const QString& ruta) {
    rutaBase = ruta;
}

const QString& base() {
    return rutaBase;
}

void registrarEnProceso() {
    benchmark::RegisterBenchmark("enproceso/main_hasta_login", mainHastaLogin)
        ->UseManualTime()
        ->Iterations(20)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("enproceso/aceptar_hasta_lista", aceptarHastaLista)
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("lista/ordenar_columna", ordenarColumna)
        ->DenseRange(0, 3)
        ->UseManualTime()
        ->Iterations(6)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("lista/mostrar_todo", mostrarTodo)
        ->UseManualTime()
        ->Iterations(6)
        ->Unit(benchmark::kMillisecond);
    // A city of the generated data that few quotes name, and the one most do.
    for (const char* ciudad : {"Sevilla", "Valencia"})
        benchmark::RegisterBenchmark((std::string("lista/buscar/") + ciudad).c_str(), buscar,
                                     QString::fromUtf8(ciudad))
            ->UseManualTime()
            ->Iterations(5)
            ->Unit(benchmark::kMillisecond);
}

} // namespace registro
