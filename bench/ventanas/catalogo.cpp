// Product maintenance on the generated database of 10,000 products, inside
// the running program (logged in, main window open): opening the window, a
// search, a header sort, the move to the next row with its margins, and
// saving one edited product. Each figure runs to the product grid painted;
// the save also to its return, before the repaint.
#include "medidas.h"
#include "programa.h"
#include "registro.h"

#include "catalog/ventanas/frmMantProductos.h"
#include "comun/entornoprueba.h"
#include "comun/mensajesguion.h"
#include "data/entornodatos.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// The viewport of the product window's grid.
bool esGrillaProductos(QObject* objeto) {
    auto* w = qobject_cast<QWidget*>(objeto);
    return w && medidas::esGrilla(objeto) && qobject_cast<frmMantProductos*>(w->window());
}

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

// The program started on a database and logged in, for one benchmark.
class Programa {
public:
    explicit Programa(const QString& base) {
        cuenta_.ajustar(QStringLiteral("db_path"), base);
        abierto_ = arrancarHastaLista().lista >= 0;
        QCoreApplication::processEvents();
    }
    ~Programa() { medidas::cerrarVentanas(); }
    bool abierto() const { return abierto_; }
    const MensajesGuion& mensajes() const { return mensajes_; }

private:
    EntornoPrueba cuenta_;
    MensajesGuion mensajes_;
    bool abierto_ = false;
};

// The product window shown and painted once; null, and the benchmark
// skipped, when the program or the window did not open.
frmMantProductos* abrirVentana(benchmark::State& estado, const Programa& programa,
                               VigiaPintura& grilla) {
    frmMantProductos* v = nullptr;
    if (programa.abierto()) {
        grilla.reiniciar();
        v = &frmMantProductos::mostrar();
        if (!grilla.esperar())
            v = nullptr;
    }
    if (!v)
        estado.SkipWithError("la ventana no se abrió");
    return v;
}

// Runs `preparar` (untimed) and `accion` per iteration, timing the action to
// the grid painted.
template <typename Preparar, typename Accion>
void medirHastaPintar(benchmark::State& estado, frmMantProductos& v, VigiaPintura& grilla,
                      Preparar preparar, Accion accion) {
    std::vector<double> cpu;
    for (auto _ : estado) {
        preparar();
        grilla.reiniciar();
        const qint64 inicioCpu = medidas::cpuNs();
        const qint64 inicio = medidas::ahoraNs();
        accion();
        if (!grilla.esperar()) {
            estado.SkipWithError("la grilla no se pintó");
            break;
        }
        estado.SetIterationTime(medidas::milisegundos(inicio, medidas::ahoraNs()) / 1e3);
        cpu.push_back(medidas::milisegundos(inicioCpu, medidas::cpuNs()));
    }
    estado.counters["filas"] = v.productos().registros()->cantidad();
    estado.counters["cpu_ms"] = medidas::mediana(cpu);
}

// "Mantenimiento de Productos" from the menu to the list painted: the
// command's 10,000 rows read (its set closed before each opening, as at the
// first opening of a run), the combos' lists, the window built.
void abrir(benchmark::State& estado) {
    Programa programa(registro::base());
    if (!programa.abierto()) {
        estado.SkipWithError("el programa no arrancó");
        return;
    }
    VigiaPintura grilla(esGrillaProductos);
    std::vector<double> cpu;
    int filas = 0;
    for (auto _ : estado) {
        dteBodex().cerrar(QStringLiteral("CProductos"));
        grilla.reiniciar();
        const qint64 inicioCpu = medidas::cpuNs();
        const qint64 inicio = medidas::ahoraNs();
        frmMantProductos& v = frmMantProductos::mostrar();
        if (!grilla.esperar()) {
            estado.SkipWithError("la grilla no se pintó");
            break;
        }
        estado.SetIterationTime(medidas::milisegundos(inicio, medidas::ahoraNs()) / 1e3);
        cpu.push_back(medidas::milisegundos(inicioCpu, medidas::cpuNs()));
        filas = v.productos().registros()->cantidad();
        estado.PauseTiming();
        v.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        estado.ResumeTiming();
    }
    estado.counters["filas"] = filas;
    estado.counters["cpu_ms"] = medidas::mediana(cpu);
    sinMensajes(estado, programa.mensajes());
}

// "Buscar" with a word that about one product in forty holds, from the full
// list (shown again, untimed, before each search).
void buscar(benchmark::State& estado) {
    Programa programa(registro::base());
    VigiaPintura grilla(esGrillaProductos);
    frmMantProductos* v = abrirVentana(estado, programa, grilla);
    if (!v)
        return;
    medirHastaPintar(
        estado, *v, grilla,
        [&] {
            v->productos().mostrarTodo();
            grilla.reiniciar();
            grilla.esperar();
        },
        [&] { v->productos().buscarTexto(QStringLiteral("Tornillo")); });
    sinMensajes(estado, programa.mensajes());
}

// A click on the header of "Precio": the whole list read again in that
// order; each click reverses the previous one.
void ordenar(benchmark::State& estado) {
    Programa programa(registro::base());
    VigiaPintura grilla(esGrillaProductos);
    frmMantProductos* v = abrirVentana(estado, programa, grilla);
    if (!v)
        return;
    medirHastaPintar(
        estado, *v, grilla, [] {}, [&] { v->productos().ordenarPorColumna(1); });
    sinMensajes(estado, programa.mensajes());
}

// The next row of the grid made current: the editing controls and the
// margins follow it.
void filaSiguiente(benchmark::State& estado) {
    Programa programa(registro::base());
    VigiaPintura grilla(esGrillaProductos);
    frmMantProductos* v = abrirVentana(estado, programa, grilla);
    if (!v)
        return;
    medirHastaPintar(
        estado, *v, grilla, [] {},
        [&] {
            MantProductos& m = v->productos();
            m.moverA(m.posicionActual() % m.registros()->cantidad() + 1);
        });
    sinMensajes(estado, programa.mensajes());
}

// "Editar", a new price typed, then "Guardar": the row written (one
// transaction, synchronous writes), the full list read again. Timed to the
// return of "Guardar"; hasta_pintar_ms adds the repaint. On a copy of the
// database, which this benchmark changes.
void guardar(benchmark::State& estado) {
    QTemporaryDir carpeta;
    const QString copia = carpeta.filePath(QStringLiteral("bd2000.mdb"));
    if (!carpeta.isValid() || !QFile::copy(registro::base(), copia)) {
        estado.SkipWithError("no se pudo copiar la base");
        return;
    }
    Programa programa(copia);
    VigiaPintura grilla(esGrillaProductos);
    frmMantProductos* v = abrirVentana(estado, programa, grilla);
    if (!v)
        return;
    auto* precio = v->findChild<QLineEdit*>(QStringLiteral("txtFields(2)"));
    auto* cmdGuardar = v->findChild<QPushButton*>(QStringLiteral("cmdMenu(2)"));
    std::vector<double> cpu;
    std::vector<double> hastaPintar;
    int vuelta = 0;
    for (auto _ : estado) {
        estado.PauseTiming();
        v->cmdMenu_Click(1);
        precio->setText(QString::number(100 + (vuelta++ % 50)));
        grilla.reiniciar();
        estado.ResumeTiming();
        const qint64 inicioCpu = medidas::cpuNs();
        const qint64 inicio = medidas::ahoraNs();
        cmdGuardar->click();
        const qint64 fin = medidas::ahoraNs();
        estado.SetIterationTime(medidas::milisegundos(inicio, fin) / 1e3);
        cpu.push_back(medidas::milisegundos(inicioCpu, medidas::cpuNs()));
        if (!grilla.esperar()) {
            estado.SkipWithError("la grilla no se pintó");
            break;
        }
        hastaPintar.push_back(medidas::milisegundos(inicio, medidas::ahoraNs()));
    }
    estado.counters["cpu_ms"] = medidas::mediana(cpu);
    estado.counters["hasta_pintar_ms"] = medidas::mediana(hastaPintar);
    sinMensajes(estado, programa.mensajes());
}

} // namespace

namespace registro {

void registrarCatalogo() {
    const auto registrar = [](const char* nombre, void (*f)(benchmark::State&), int vueltas) {
        benchmark::RegisterBenchmark(nombre, f)->UseManualTime()->Iterations(vueltas)->Unit(
            benchmark::kMillisecond);
    };
    registrar("productos/abrir", abrir, 5);
    registrar("productos/buscar", buscar, 8);
    registrar("productos/ordenar_precio", ordenar, 8);
    registrar("productos/fila_siguiente", filaSiguiente, 20);
    registrar("productos/guardar", guardar, 20);
}

} // namespace registro
