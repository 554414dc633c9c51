// Benchmarks of the windows against a generated database of 100,000 quotes:
// start-up to the login window, from "Aceptar" to the quote list on screen,
// re-sorting and searching the list, the resident memory of the program with
// the list open, the quote editor's product grid reloaded, and product
// maintenance on 10,000 products (open, search, sort, next row, save). They
// report figures and never fail a build.
//
// Run (headless):
//   QT_QPA_PLATFORM=offscreen tarvo_bench_ventanas --benchmark_repetitions=3
//       --benchmark_report_aggregates_only=true
// Each figure is the elapsed time of the measured span; the counter cpu_ms is
// the CPU time the program spent in it, which a busy machine does not inflate.
// The CPU column of the table also counts the untimed set-up of each
// iteration and means nothing here.
// The same executable is the measured child process of the "proceso/"
// benchmarks: "--hasta-login" and "--hasta-lista" (see programa.h).
#include "basebench.h"
#include "medidas.h"
#include "programa.h"
#include "registro.h"

#include "app/arranque.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>

int main(int argc, char** argv) {
    // The start of the child's measured time inside its own process.
    const qint64 inicioMain = medidas::ahoraNs();
    if (argc >= 2 && esModoHijo(argv[1]))
        return ejecutarHijo(QString::fromLocal8Bit(argv[1]), argc, argv, inicioMain);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QApplication aplicacion(argc, argv);
    prepararAplicacion(aplicacion);
    instalarTerminadorBench();

    // Before any private account changes HOME: the cache is the real one.
    // TARVO_BENCH_VENTANAS_BASE names another database of this system instead
    // (a smaller one for a profiler, say).
    const QString otra = qEnvironmentVariable("TARVO_BENCH_VENTANAS_BASE");
    const QString ruta = otra.isEmpty() ? basebench::preparar() : otra;
    if (ruta.isEmpty())
        return 1;
    std::printf("Base: %s\n", qPrintable(ruta));
    std::fflush(stdout);
    registro::establecerBase(ruta);

    // The child processes first, while this process is still small.
    registro::registrarProcesos();
    registro::registrarEnProceso();
    registro::registrarProductos();
    registro::registrarEditor();
    registro::registrarCatalogo();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
