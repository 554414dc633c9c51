// The quote document of a quote with fifteen lines, generated from the shipped
// template by our engine, beside LibreOffice converting the same template
// headless (what producing the document with the word processor would cost).
// Run: tarvo_bench_documento --benchmark_repetitions=5
//      --benchmark_report_aggregates_only=true
#include "data/modconexion.h"
#include "muestras/generadordatos.h"
#include "platform/comandos.h"
#include "quotes/generardocumento.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

// Keeps every repetition's wall-clock time per benchmark, for the ratio, and
// the median the library reports when only aggregates are passed on
// (--benchmark_report_aggregates_only).
class Reporte : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& corridas) override {
        for (const Run& r : corridas) {
            if (r.error_occurred)
                continue;
            const double segundos =
                r.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(r.time_unit);
            if (r.run_type == Run::RT_Iteration)
                tiempos[r.run_name.function_name].push_back(segundos);
            else if (r.aggregate_name == "median")
                medianas[r.run_name.function_name] = segundos;
        }
        benchmark::ConsoleReporter::ReportRuns(corridas);
    }
    // Seconds; -1 when the benchmark failed or did not run.
    double mediana(const std::string& nombre) const {
        if (const auto a = medianas.find(nombre); a != medianas.end())
            return a->second;
        const auto t = tiempos.find(nombre);
        if (t == tiempos.end() || t->second.empty())
            return -1;
        std::vector<double> v = t->second;
        std::sort(v.begin(), v.end());
        const std::size_t m = v.size() / 2;
        return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
    }
    std::map<std::string, std::vector<double>> tiempos; // seconds per iteration
    std::map<std::string, double> medianas;             // from the aggregates
};

// The program's connection, through a data source in a private ODBC file.
bool abrirConexion(const QTemporaryDir& dir, const QString& base) {
    const QString odbcIni = dir.filePath(QStringLiteral("odbc.ini"));
    QFile archivo(odbcIni);
    if (!archivo.open(QIODevice::WriteOnly))
        return false;
    archivo.close();
    qputenv("ODBCINI", QFile::encodeName(odbcIni));
    CrearDSN(QStringLiteral("TARVO_BENCH_DOCUMENTO"), base);
    AbrirConexion(QStringLiteral("TARVO_BENCH_DOCUMENTO"), {});
    return conexion() != nullptr;
}

// A generated quote with exactly fifteen lines, as the editor would show it.
std::optional<CamposPresupuesto> presupuestoDeQuinceLineas() {
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("SELECT P.* FROM PRESUPUESTOS P WHERE P.PreId IN (SELECT PreId "
                                 "FROM PRESUPUESTOS_PRODUCTOS GROUP BY PreId HAVING COUNT(*)=15) "
                                 "ORDER BY P.PreId"),
                  rs);
    if (rs->posicionAbsoluta() <= 0)
        return std::nullopt;
    CamposPresupuesto d;
    d.id = rs->texto(QStringLiteral("PreId"));
    d.numero = rs->texto(QStringLiteral("PreNumero")).replace(u'/', u'-');
    d.lugar = rs->texto(QStringLiteral("PreLugar"));
    d.fecha = rs->campo(QStringLiteral("PreFecha")).toDate();
    d.saludo = rs->texto(QStringLiteral("PreSaludo"));
    d.cliente = QStringLiteral("Cliente de prueba");
    for (int n = 0; n < 3; ++n) {
        const QString i = QString::number(n + 1);
        d.descripcion[std::size_t(n)] = rs->texto(QStringLiteral("PreDescripcion") + i);
        d.concepto[std::size_t(n)] = rs->texto(QStringLiteral("PreOtroConcepto") + i);
        d.importe[std::size_t(n)] = rs->texto(QStringLiteral("PreOtroPrecio") + i);
        d.moneda[std::size_t(n)] = rs->texto(QStringLiteral("PreOtroMoneda") + i);
    }
    d.textoVigencia = rs->texto(QStringLiteral("PreTextoVigencia"));
    d.diasVigencia = rs->texto(QStringLiteral("PreVigencia"));
    d.vigencia = d.diasVigencia.toInt() > 0 && !d.textoVigencia.isEmpty();
    d.despedida = rs->texto(QStringLiteral("PreDespedida"));
    d.firma = rs->texto(QStringLiteral("PreFirma"));
    CerrarConsulta(rs, true);
    return d;
}

// LibreOffice converting the template to a word-processing document, with a
// profile that is already set up (as a user's would be).
ResultadoComando convertirConLibreOffice(const QTemporaryDir& dir) {
    const QString perfil =
        QUrl::fromLocalFile(dir.filePath(QStringLiteral("perfil"))).toString(QUrl::FullyEncoded);
    return ejecutorReal().ejecutar(
        QStringLiteral("soffice"),
        {QStringLiteral("--headless"), QStringLiteral("--norestore"),
         QStringLiteral("-env:UserInstallation=") + perfil, QStringLiteral("--convert-to"),
         QStringLiteral("docx:MS Word 2007 XML"), QStringLiteral("--outdir"),
         dir.filePath(QStringLiteral("libreoffice")), QStringLiteral(TARVO_PLANTILLA)},
        {600000, false});
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QCoreApplication aplicacion(argc, argv);
    QTemporaryDir dir;

    ParametrosGeneracion p;
    p.semilla = 2026;
    p.contactos = 50;
    p.categorias = 8;
    p.productos = 400;
    p.presupuestos = 600;
    GeneradorDatos generador(p);
    const QString base = dir.filePath(QStringLiteral("bd2000.mdb"));
    if (!generador.generarArchivo(QStringLiteral(TARVO_BD_PRISTINA), base) ||
        !abrirConexion(dir, base)) {
        std::fprintf(stderr, "No se pudo preparar la base: %s\n", qPrintable(generador.error()));
        return 1;
    }
    const std::optional<CamposPresupuesto> datos = presupuestoDeQuinceLineas();
    if (!datos) {
        std::fprintf(stderr, "La base generada no tiene un presupuesto de 15 líneas\n");
        return 1;
    }
    const RutasDocumento rutas{QStringLiteral(TARVO_PLANTILLA),
                               dir.filePath(QStringLiteral("presupuestos"))};
    QDir().mkpath(rutas.carpeta);
    DocumentosPresupuesto documentos;
    if (!documentos.GenerarDocumento(*datos, rutas))
        return 1;
    std::printf("Presupuesto %s (PreId %s), 15 líneas; plantilla %s\n", qPrintable(datos->numero),
                qPrintable(datos->id), TARVO_PLANTILLA);

    benchmark::RegisterBenchmark("documento_15_lineas",
                                 [&](benchmark::State& estado) {
                                     for (auto _ : estado)
                                         if (!documentos.GenerarDocumento(*datos, rutas))
                                             estado.SkipWithError("no se generó el documento");
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();

    // The first run sets the profile up; it is not measured.
    const ResultadoComando preparacion = convertirConLibreOffice(dir);
    if (preparacion.iniciado && preparacion.codigo == 0) {
        benchmark::RegisterBenchmark("libreoffice_conversion",
                                     [&](benchmark::State& estado) {
                                         for (auto _ : estado) {
                                             const ResultadoComando r =
                                                 convertirConLibreOffice(dir);
                                             if (!r.iniciado || r.codigo != 0)
                                                 estado.SkipWithError("LibreOffice falló");
                                         }
                                     })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(2);
    } else {
        std::printf("LibreOffice (soffice) no está disponible: no se mide la conversión.\n");
    }

    Reporte reporte;
    benchmark::RunSpecifiedBenchmarks(&reporte);
    const double nuestro = reporte.mediana("documento_15_lineas");
    const double libreoffice = reporte.mediana("libreoffice_conversion");
    if (nuestro < 0)
        std::printf("\n¡SIN MEDIDA DEL DOCUMENTO: su generación falló!\n");
    else
        std::printf("\nMediana: documento %.2f ms", nuestro * 1000);
    if (nuestro > 0 && libreoffice > 0)
        std::printf(", LibreOffice %.0f ms, %.0f veces más rápido", libreoffice * 1000,
                    libreoffice / nuestro);
    std::printf("\n");
    benchmark::Shutdown();
    CerrarConexion();
    return nuestro < 0 ? 1 : 0;
}
