// Benchmarks of the data layer against the raw sqlite3 API on a generated
// database of 100,000 quotes. They report figures and never fail a build.
// Run: tarvo_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include "basebench.h"
#include "casos.h"
#include "crudo.h"
#include "memoria.h"
#include "reportecomparado.h"

#include "data/modconexion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

namespace {

// The program's connection, through a data source of its own: the ODBC user
// configuration is a private file beside the database, never the account's.
bool abrirConexionTarvo(const QString& ruta) {
    const QString odbcIni = basebench::carpeta() + QStringLiteral("/odbc.ini");
    if (!QFile::exists(odbcIni)) {
        QFile f(odbcIni);
        if (!f.open(QIODevice::WriteOnly))
            return false;
    }
    qputenv("ODBCINI", QFile::encodeName(odbcIni));
    CrearDSN(QStringLiteral("TARVO_BENCH"), ruta);
    AbrirConexion(QStringLiteral("TARVO_BENCH"), {});
    return conexion() != nullptr;
}

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
    const QString lista = casos::lecturas().front().sql;
    memoria::reiniciarPico();
    const qint64 antes = memoria::kib("VmRSS");
    RegistrosPtr rs;
    AbrirConsulta(lista, rs);
    const qint64 abierta = memoria::kib("VmRSS");
    const qint64 pico = memoria::kib("VmHWM");
    const int filas = rs->cantidad();
    CerrarConsulta(rs, true);
    std::printf("Memoria: %lld KiB antes, %lld KiB con la lista abierta (%d filas, +%.1f MiB), "
                "pico %lld KiB\n",
                static_cast<long long>(antes), static_cast<long long>(abierta), filas,
                double(abierta - antes) / 1024.0, static_cast<long long>(pico));
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
    if (ruta.isEmpty() || !abrirConexionTarvo(ruta))
        return 1;
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
