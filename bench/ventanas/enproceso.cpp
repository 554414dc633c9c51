// Start-up, re-sort and search inside this process, each benchmark in its own
// private account. The process's first start-up (fonts, styles, the account's
// first run) happens before the timed iterations.
#include "medidas.h"
#include "programa.h"
#include "registro.h"

#include "basebench.h"
#include "crudo.h"
#include "memoria.h"

#include "comun/dialogos.h"
#include "comun/mensajesguion.h"
#include "data/modeloventana.h"
#include "main/listapresupuestos.h"
#include "main/ventanas/frmPrincipal.h"

#include <QEventLoop>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <optional>
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
// reverses the previous one; the counter primer_clic_ms is the first click,
// which finds the current quote in an order it was not seen in.
void ordenarColumna(benchmark::State& estado) {
    VentanaAbierta ventana;
    if (!ventana.principal()) {
        estado.SkipWithError("la ventana principal no se abrió");
        return;
    }
    VigiaPintura grilla(medidas::esGrilla);
    ListaPresupuestos& lista = ventana.principal()->lista();
    std::vector<double> cpu;
    double primero = -1;
    for (auto _ : estado) {
        grilla.reiniciar();
        const qint64 inicioCpu = medidas::cpuNs();
        const qint64 inicio = medidas::ahoraNs();
        lista.ordenarPorColumna(int(estado.range(0)));
        if (!grilla.esperar()) {
            estado.SkipWithError("la grilla no se pintó");
            break;
        }
        const double ms = medidas::milisegundos(inicio, medidas::ahoraNs());
        if (primero < 0)
            primero = ms;
        estado.SetIterationTime(ms / 1e3);
        cpu.push_back(medidas::milisegundos(inicioCpu, medidas::cpuNs()));
    }
    estado.counters["primer_clic_ms"] = primero;
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

// The milliseconds the raw engine takes to read the list's first page, its
// one value `texto` written in: the same scan as the list's.
double paginaCruda(const QString& pagina, const QString& texto) {
    QString sql = pagina;
    QString literal = texto;
    sql.replace(QStringLiteral("?1"), u'\'' + literal.replace(u'\'', QStringLiteral("''")) + u'\'');
    sqlite3* bd = crudo::abrir(basebench::preparar());
    if (!bd)
        return -1;
    const qint64 inicio = medidas::ahoraNs();
    const bool ok = crudo::leerTodo(bd, sql.toUtf8()).ok;
    const double ms = medidas::milisegundos(inicio, medidas::ahoraNs());
    crudo::cerrar(bd);
    return ok ? ms : -1;
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
    std::vector<double> cpu, crudos;
    // The search's first page as the list asks for it, kept to run it again
    // through the raw engine.
    std::optional<QString> pagina;
    QObject::connect(&lista, &ListaPresupuestos::listaCambiada, [&] {
        if (!pagina && lista.modelo().consulta().conteoDiferido)
            pagina = lista.modelo().sentenciaPrimeraPagina();
    });
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
        // Untimed, right after: the machine is in the same state for both.
        if (pagina)
            crudos.push_back(paginaCruda(*pagina, texto));
    }
    // The rows of the search: none when its message came and the full list followed.
    if (!ventana.mensajes().mostrados().isEmpty())
        filas = 0;
    estado.counters["filas"] = filas;
    estado.counters["cpu_ms"] = medidas::mediana(cpu);
    if (!crudos.empty())
        estado.counters["crudo_ms"] = medidas::mediana(crudos);
    // A word no quote holds is answered with the message that says so (the
    // full list follows it); any other message is unexpected.
    const auto& mostrados = ventana.mensajes().mostrados();
    if (!std::all_of(mostrados.begin(), mostrados.end(), [](const auto& m) {
            return m.texto == u"No hay Presupuestos con esos datos";
        }))
        sinMensajes(estado, ventana.mensajes());
}

// Scrolling the list a page (the scroll bar's page step) at a time, each page
// painted: 300 pages down from the top, the jump to the end, then 300 pages
// back up. The figure is the whole walk; the counters give the slowest page,
// the median page and the jump.
void desplazarPaginas(benchmark::State& estado) {
    VentanaAbierta ventana;
    if (!ventana.principal()) {
        estado.SkipWithError("la ventana principal no se abrió");
        return;
    }
    auto* grilla = ventana.principal()->findChild<QTableView*>(QStringLiteral("dtgLista"));
    QScrollBar* barra = grilla->verticalScrollBar();
    VigiaPintura pintura(medidas::esGrilla);
    std::vector<double> paginas;
    std::vector<double> cpuPaginas;
    double salto = 0;
    for (auto _ : estado) {
        barra->setValue(0);
        QCoreApplication::processEvents();
        paginas.clear();
        cpuPaginas.clear();
        const qint64 inicio = medidas::ahoraNs();
        // -1: the page was not painted; 0: the bar was already there.
        const auto ir = [&](int valor) -> double {
            if (valor == barra->value())
                return 0;
            pintura.reiniciar();
            const qint64 t = medidas::ahoraNs();
            const qint64 cpu = medidas::cpuNs();
            barra->setValue(valor);
            if (!pintura.esperar())
                return -1;
            cpuPaginas.push_back(medidas::milisegundos(cpu, medidas::cpuNs()));
            return medidas::milisegundos(t, medidas::ahoraNs());
        };
        bool ok = true;
        for (int i = 1; i <= 300 && ok; ++i) {
            const double ms = ir(qMin(barra->maximum(), i * barra->pageStep()));
            ok = ms >= 0;
            paginas.push_back(ms);
        }
        salto = ok ? ir(barra->maximum()) : -1;
        ok = ok && salto >= 0;
        for (int i = 1; i <= 300 && ok; ++i) {
            const double ms = ir(qMax(0, barra->maximum() - i * barra->pageStep()));
            ok = ms >= 0;
            paginas.push_back(ms);
        }
        if (!ok) {
            estado.SkipWithError("una página no se pintó");
            break;
        }
        estado.SetIterationTime(medidas::milisegundos(inicio, medidas::ahoraNs()) / 1e3);
    }
    estado.counters["pagina_max_ms"] =
        paginas.empty() ? -1 : *std::max_element(paginas.begin(), paginas.end());
    estado.counters["pagina_mediana_ms"] = medidas::mediana(paginas);
    // The slowest page in CPU time: what the program did, whatever else ran.
    estado.counters["pagina_max_cpu_ms"] =
        cpuPaginas.empty() ? -1 : *std::max_element(cpuPaginas.begin(), cpuPaginas.end());
    estado.counters["salto_al_final_ms"] = salto;
    sinMensajes(estado, ventana.mensajes());
}

// A search for a word most quotes hold, watched until its count lands: the
// figure is the longest stretch in which the window handled no event (how
// long it stayed frozen), from the search on; the counter conteo_ms is when
// the count landed. `enVentana` runs the count on the window's connection,
// as the list did before it had a counting thread.
void buscarSinCongelar(benchmark::State& estado, const QString& texto, bool enVentana) {
    VentanaAbierta ventana;
    if (!ventana.principal()) {
        estado.SkipWithError("la ventana principal no se abrió");
        return;
    }
    VigiaPintura grilla(medidas::esGrilla);
    ListaPresupuestos& lista = ventana.principal()->lista();
    ModeloVentana& modelo = lista.modelo();
    if (enVentana)
        modelo.establecerAbridorConteo([]() -> std::unique_ptr<Conexion> { return nullptr; });
    std::vector<double> conteo;
    int filas = 0;
    for (auto _ : estado) {
        lista.mostrarTodo();
        grilla.reiniciar();
        grilla.esperar();
        qint64 ultimo = medidas::ahoraNs();
        qint64 mayor = 0;
        QTimer latido;
        latido.setTimerType(Qt::PreciseTimer);
        latido.setInterval(1);
        QObject::connect(&latido, &QTimer::timeout, [&] {
            const qint64 ahora = medidas::ahoraNs();
            mayor = qMax(mayor, ahora - ultimo);
            ultimo = ahora;
        });
        QEventLoop espera;
        QObject::connect(&modelo, &ModeloVentana::conteoCompleto, &espera, &QEventLoop::quit);
        QTimer::singleShot(60000, &espera, &QEventLoop::quit);
        latido.start();
        const qint64 inicio = medidas::ahoraNs();
        lista.buscarTexto(texto);
        if (modelo.conteoPendiente())
            espera.exec();
        latido.stop();
        const qint64 fin = medidas::ahoraNs();
        mayor = qMax(mayor, fin - ultimo);
        if (modelo.conteoPendiente()) {
            estado.SkipWithError("el conteo no llegó");
            break;
        }
        estado.SetIterationTime(double(mayor) / 1e9);
        conteo.push_back(medidas::milisegundos(inicio, fin));
        filas = lista.cantidad();
    }
    modelo.establecerAbridorConteo({});
    estado.counters["conteo_ms"] = medidas::mediana(conteo);
    estado.counters["filas"] = filas;
    sinMensajes(estado, ventana.mensajes());
}

// The resident memory of the whole program with the list open, after ten
// header clicks (every column in turn, each one reversing the last).
void memoriaTrasDiezOrdenes(benchmark::State& estado) {
    VentanaAbierta ventana;
    if (!ventana.principal()) {
        estado.SkipWithError("la ventana principal no se abrió");
        return;
    }
    VigiaPintura grilla(medidas::esGrilla);
    ListaPresupuestos& lista = ventana.principal()->lista();
    const qint64 abierta = memoria::kib("VmRSS");
    for (auto _ : estado) {
        const qint64 inicio = medidas::ahoraNs();
        for (int i = 0; i < 10; ++i) {
            grilla.reiniciar();
            lista.ordenarPorColumna(i / 2 % 4);
            if (!grilla.esperar()) {
                estado.SkipWithError("la grilla no se pintó");
                return;
            }
        }
        estado.SetIterationTime(medidas::milisegundos(inicio, medidas::ahoraNs()) / 1e3);
    }
    estado.counters["rss_abierta_mib"] = double(abierta) / 1024;
    estado.counters["rss_mib"] = double(memoria::kib("VmRSS")) / 1024;
    estado.counters["pico_mib"] = double(memoria::kib("VmHWM")) / 1024;
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
    benchmark::RegisterBenchmark("lista/desplazar_paginas", desplazarPaginas)
        ->UseManualTime()
        ->Iterations(2)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("lista/mostrar_todo", mostrarTodo)
        ->UseManualTime()
        ->Iterations(6)
        ->Unit(benchmark::kMillisecond);
    // A city of the generated data that few quotes name, the one most do, and
    // a word no quote holds (one scan of every quote, as the raw search
    // "busqueda_ninguna" of tarvo_bench).
    for (const bool enVentana : {false, true})
        benchmark::RegisterBenchmark(enVentana ? "lista/buscar_congelado/conteo_en_ventana"
                                               : "lista/buscar_congelado/conteo_en_hilo",
                                     buscarSinCongelar, QStringLiteral("Valencia"), enVentana)
            ->UseManualTime()
            ->Iterations(3)
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("lista/memoria_diez_ordenes", memoriaTrasDiezOrdenes)
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    for (const char* ciudad : {"Sevilla", "Valencia", "Zzxq"})
        benchmark::RegisterBenchmark((std::string("lista/buscar/") + ciudad).c_str(), buscar,
                                     QString::fromUtf8(ciudad))
            ->UseManualTime()
            ->Iterations(5)
            ->Unit(benchmark::kMillisecond);
}

} // namespace registro
