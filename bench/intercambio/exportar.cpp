// The export of 100,000 products: the program's query, result set and file
// writer against the sqlite3 shell writing the same join as tab-separated
// text (its process start included: that is what a user would run).
#include "casos.h"

#include "data/modconexion.h"
#include "exchange/exportacion.h"

#include <QFile>
#include <QProcess>

#include <benchmark/benchmark.h>

namespace intercambio {

namespace {

QString salidaSqlite(const bases::Rutas& rutas) {
    return rutas.salida + QStringLiteral(".sqlite");
}

bool exportarTarvo(const bases::Rutas& rutas) {
    RegistrosPtr rs;
    AbrirConsulta(kConsultaExportacion, rs);
    const bool escrito = writeRecordsetToFile(*rs, rutas.salida, QStringLiteral("\t"));
    CerrarConsulta(rs, true);
    return escrito;
}

bool exportarSqlite(const bases::Rutas& rutas, QString& error) {
    QProcess p;
    p.setStandardOutputFile(salidaSqlite(rutas));
    p.start(QStringLiteral("sqlite3"),
            {QStringLiteral("-bail"), QStringLiteral("-header"), QStringLiteral("-separator"),
             QStringLiteral("\t"), QStringLiteral("-newline"), QStringLiteral("\r\n"),
             rutas.catalogo, kConsultaExportacion});
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        error = QString::fromLocal8Bit(p.readAllStandardError()) + p.errorString();
        return false;
    }
    return true;
}

qint64 lineas(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return f.readAll().count('\n');
}

} // namespace

void registrarExportar(const bases::Rutas& rutas) {
    benchmark::RegisterBenchmark("exportar/tarvo",
                                 [rutas](benchmark::State& estado) {
                                     if (!usarConexion(bases::kOrigenCatalogo)) {
                                         estado.SkipWithError("sin conexión");
                                         return;
                                     }
                                     for (auto _ : estado)
                                         if (!exportarTarvo(rutas)) {
                                             estado.SkipWithError("no se pudo exportar");
                                             return;
                                         }
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("exportar/sqlite",
                                 [rutas](benchmark::State& estado) {
                                     QString error;
                                     for (auto _ : estado)
                                         if (!exportarSqlite(rutas, error)) {
                                             estado.SkipWithError(qPrintable(error));
                                             return;
                                         }
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

bool comprobarExportar(const bases::Rutas& rutas) {
    QString error;
    if (!usarConexion(bases::kOrigenCatalogo) || !exportarTarvo(rutas) ||
        !exportarSqlite(rutas, error)) {
        std::printf("La exportación falló: %s\n", qPrintable(error));
        return false;
    }
    const qint64 a = lineas(rutas.salida), b = lineas(salidaSqlite(rutas));
    std::printf("Exportación: %lld líneas (sqlite3: %lld), %lld bytes (sqlite3: %lld)\n",
                static_cast<long long>(a), static_cast<long long>(b),
                static_cast<long long>(QFile(rutas.salida).size()),
                static_cast<long long>(QFile(salidaSqlite(rutas)).size()));
    return a == b && a == bases::kProductos + 1;
}

} // namespace intercambio
