// Benchmarks of the data exchange on 100,000 products. They report figures
// and never fail a build.
// Run: tarvo_bench_intercambio --benchmark_repetitions=3
// Wall-clock times compare the two sides (the sqlite3 shell runs in a process
// of its own, whose processor time is not counted here); on a busy machine the
// processor time of the import is the steadier figure.
#include "casos.h"
#include "reportecomparado.h"

#include "data/modconexion.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

namespace intercambio {

bool comprobarExportar(const bases::Rutas& rutas);
bool comprobarImportar(const bases::Rutas& rutas);

bool usarConexion(const QString& dsn) {
    if (conexion())
        CerrarConexion();
    AbrirConexion(dsn, {});
    return conexion() != nullptr;
}

bool comprobar(const bases::Rutas& rutas) {
    const bool exportacion = comprobarExportar(rutas);
    const bool importacion = comprobarImportar(rutas);
    return exportacion && importacion;
}

} // namespace intercambio

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QCoreApplication aplicacion(argc, argv);

    bases::Rutas rutas;
    if (!bases::preparar(rutas))
        return 1;
    std::printf("Catálogo: %s\nOrigen: %s\n", qPrintable(rutas.catalogo), qPrintable(rutas.origen));
    if (!intercambio::comprobar(rutas))
        std::printf("Aviso: los dos caminos no dan el mismo resultado.\n");

    intercambio::registrarExportar(rutas);
    intercambio::registrarImportar(rutas);
    ReporteComparado reporte(isatty(fileno(stdout)) ? benchmark::ConsoleReporter::OO_Defaults
                                                    : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporte);
    reporte.imprimirComparacion();
    benchmark::Shutdown();
    if (conexion())
        CerrarConexion();
    return 0;
}
