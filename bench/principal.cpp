// Benchmarks of the data layer against the raw sqlite3 API on a generated
// database of 100,000 quotes. They report figures and never fail a build.
// Run: tarvo_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include "basebench.h"
#include "casos.h"
#include "crudo.h"
#include "reportecomparado.h"

#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "data/modconexion.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

namespace {

// Both sides must see the same rows, or the comparison means nothing.
bool mismasFilas() {
    bool iguales = true;
    for (const casos::Lectura& caso : casos::lecturas()) {
        const qint64 nuestras = casos::leerConTarvo(caso.sql);
        const crudo::Lectura crudas =
            casos::cruda() ? crudo::leerTodo(casos::cruda(), caso.sql.toUtf8()) : crudo::Lectura{};
        std::printf("%-20s %8lld filas%s\n", caso.nombre.c_str(), static_cast<long long>(nuestras),
                    crudas.ok && crudas.filas == nuestras ? "" : "  ¡DISTINTAS EN SQLITE!");
        iguales = iguales && crudas.ok && crudas.filas == nuestras;
    }
    return iguales;
}

// Resident memory before and while the 100,000-quote list is open.
void informarMemoria() {
    const casos::MemoriaAbierta m = casos::medirMemoriaAbierta(casos::lecturas().front().sql);
    if (m.monton < 0) {
        std::printf("Memoria: ¡NO SE PUDO MEDIR el montón en uso!\n");
        return;
    }
    std::printf("Memoria: %lld KiB residentes antes, %lld KiB con la lista abierta, pico %lld "
                "KiB; la lista (%d filas) ocupa %.1f MiB del montón\n",
                static_cast<long long>(m.antes), static_cast<long long>(m.abierta),
                static_cast<long long>(m.pico), m.filas, double(m.monton) / (1024.0 * 1024.0));
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QCoreApplication aplicacion(argc, argv);

    // TARVO_BENCH_BASE names another database of this system instead (one of
    // an earlier schema, say, to compare with).
    const QString otra = qEnvironmentVariable("TARVO_BENCH_BASE");
    const QString ruta = otra.isEmpty() ? basebench::preparar() : otra;
    if (ruta.isEmpty())
        return 1;
    // The program's connection, through a data source of a private account.
    EntornoPrueba cuenta;
    abrirConexionDePrueba(ruta);
    sqlite3* bd = crudo::abrir(ruta);
    if (!bd) {
        std::fprintf(stderr, "No se puede abrir %s con sqlite3\n", qPrintable(ruta));
        return 1;
    }
    casos::establecerCruda(bd);
    std::printf("Base: %s\n", qPrintable(ruta));
    if (!mismasFilas())
        std::printf("Aviso: los dos caminos no devuelven las mismas filas.\n");
    informarMemoria();

    casos::registrarLecturas();
    casos::registrarInsercion();
    ReporteComparado reporte(isatty(fileno(stdout)) ? benchmark::ConsoleReporter::OO_Defaults
                                                    : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporte);
    reporte.imprimirComparacion();
    benchmark::Shutdown();

    CerrarConexion();
    crudo::cerrar(bd);
    return 0;
}
