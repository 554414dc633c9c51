// Upgrading a database of the first schema (100,000 quotes, about 800,000
// lines, the benchmarks' usual sample data) to the current schema: the copy
// kept first, every table with text columns rebuilt and its indexes made.
// Each iteration starts from a fresh copy of the cached version-1 file; only
// the upgrade itself is timed.
// Run: tarvo_bench_actualizacion [--benchmark_repetitions=N]
#include "basebench.h"
#include "data/versionsqlite.h"
#include "startup/actualizacionbase.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// The version-1 file, generated once into the benchmarks' cache folder and
// reused while the parameters and the first schema's database stay the same.
QString baseVersion1() {
    QFile pristina(QStringLiteral(TARVO_BD_VERSION_1));
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (pristina.open(QIODevice::ReadOnly))
        hash.addData(&pristina);
    const ParametrosGeneracion p = basebench::parametros();
    const QString dir = basebench::carpeta() + QStringLiteral("/actualizacion");
    const QString ruta = dir + QStringLiteral("/version1-v%1-s%2-q%3-%4.mdb")
                                   .arg(GeneradorDatos::kVersion)
                                   .arg(p.semilla)
                                   .arg(p.presupuestos)
                                   .arg(QString::fromLatin1(hash.result().toHex().left(8)));
    if (QFile::exists(ruta))
        return ruta;
    if (!QDir().mkpath(dir))
        return {};
    std::printf("Generando %s ...\n", qPrintable(ruta));
    std::fflush(stdout);
    GeneradorDatos generador(p);
    if (!generador.generarArchivo(QStringLiteral(TARVO_BD_VERSION_1), ruta)) {
        std::fprintf(stderr, "%s\n", qPrintable(generador.error()));
        return {};
    }
    return ruta;
}

void actualizar(benchmark::State& estado, const QString& original) {
    const QString dir = QFileInfo(original).absolutePath();
    const QString trabajo = dir + QStringLiteral("/trabajo.mdb");
    const QString copia = rutaCopiaPrevia(trabajo, dir, versionesquema::kActual);
    for (auto _ : estado) {
        QFile::remove(trabajo);
        QFile::remove(copia);
        if (!QFile::copy(original, trabajo)) {
            estado.SkipWithError("no se pudo copiar la base");
            return;
        }
        QFile::setPermissions(trabajo, QFile::ReadOwner | QFile::WriteOwner);
        QElapsedTimer reloj;
        reloj.start();
        const ResultadoActualizacion r = actualizarBase(trabajo, dir);
        estado.SetIterationTime(double(reloj.nsecsElapsed()) / 1e9);
        if (r.estado != ResultadoActualizacion::Estado::Actualizada) {
            estado.SkipWithError(qPrintable(r.texto()));
            return;
        }
    }
    const double mb = 1024.0 * 1024.0;
    estado.counters["base_MB"] = double(QFileInfo(trabajo).size()) / mb;
    estado.counters["copia_MB"] = double(QFileInfo(copia).size()) / mb;
    QFile::remove(trabajo);
    QFile::remove(copia);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication aplicacion(argc, argv);
    benchmark::Initialize(&argc, argv);
    const QString original = baseVersion1();
    if (original.isEmpty())
        return 1;
    std::printf("Base de la versión 1: %s (%.1f MB)\n", qPrintable(original),
                double(QFileInfo(original).size()) / (1024.0 * 1024.0));
    benchmark::RegisterBenchmark(
        "actualizar/version1_a_actual",
        [original](benchmark::State& estado) { actualizar(estado, original); })
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
