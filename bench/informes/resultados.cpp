// The results report over the benchmark database of 100,000 quotes (or as
// many as TARVO_BENCH_PRESUPUESTOS says), every quote in the period, by
// customer and by user: read and summed, laid out and written to PDF. The
// generated quotes have no status history, so a copy of the database gets
// one first (per quote key: 3 in 10 accepted, 2 rejected, 2 sent, 1
// cancelled, 1 replaced after being sent, 1 none).
//
// Run (headless):
//   QT_QPA_PLATFORM=offscreen tarvo_bench_resultados --benchmark_repetitions=3
//       --benchmark_report_aggregates_only=true
// The counters split the time into reading (lectura_ms), laying out
// (maquetado_ms) and writing the PDF (pdf_ms), and give the page count.
#include "reports/resultados.h"
#include "basebench.h"
#include "comun/entornoprueba.h"
#include "data/entornodatos.h"
#include "data/modconexion.h"
#include "reports/informe.h"
#include "reports/informes.h"
#include "reports/pintor.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

QString carpetaSalida;

double ms(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

void resultadosPdf(benchmark::State& estado, AgrupacionResultados agrupacion) {
    double lectura = 0, maquetado = 0, pdf = 0;
    int paginas = 0;
    const QString ruta = carpetaSalida + QStringLiteral("/resultados.pdf");
    for (auto _ : estado) {
        QElapsedTimer t;
        t.start();
        Informe informe(&informes::resultados, false);
        prepararInformeResultados(informe, {QDate(1900, 1, 1), QDate(2100, 12, 31), agrupacion});
        std::unique_ptr<Maquetador> m = informe.iniciar();
        if (!m) {
            estado.SkipWithError("el reporte no lee sus filas");
            break;
        }
        lectura += ms(t);
        t.restart();
        m->completar();
        maquetado += ms(t);
        t.restart();
        QString error;
        if (!escribirPdf(m->resultado(), ruta, error)) {
            estado.SkipWithError(error.toStdString().c_str());
            break;
        }
        pdf += ms(t);
        paginas = int(m->maquetado().paginas.size());
        informe.terminar();
    }
    const double n = double(estado.iterations());
    estado.counters["lectura_ms"] = lectura / n;
    estado.counters["maquetado_ms"] = maquetado / n;
    estado.counters["pdf_ms"] = pdf / n;
    estado.counters["paginas"] = paginas;
}

bool ejecutar(Conexion& con, const QString& sql) {
    if (con.ejecutar(sql).ok)
        return true;
    std::fprintf(stderr, "%s\n", qPrintable(con.errores().value(0).descripcion));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QGuiApplication aplicacion(argc, argv);

    EntornoPrueba cuenta;
    carpetaSalida = cuenta.home();
    const QString base = basebench::copiarA(cuenta.ruta(QStringLiteral("resultados.mdb")));
    if (base.isEmpty())
        return 1;
    CrearDSN(QStringLiteral("TARVO_BENCH"), base);
    dteBodex().establecerCadenaConexion(QStringLiteral("Data Source=TARVO_BENCH"));
    Conexion* con = dteBodex().farmacia();
    if (!con ||
        !ejecutar(*con, QStringLiteral(
                            "INSERT INTO PRESUPUESTOS_ESTADOS (PreId, EstEstado, EstFechaHora, "
                            "UsuLogin) SELECT PreId, CASE WHEN PreId % 10 < 3 THEN 'Aceptado' "
                            "WHEN PreId % 10 < 5 THEN 'Rechazado' WHEN PreId % 10 < 7 THEN "
                            "'Enviado' WHEN PreId % 10 = 7 THEN 'Anulado' ELSE 'Enviado' END, "
                            "COALESCE(PreFecha, 0), UsuLogin FROM PRESUPUESTOS WHERE PreId % 10 "
                            "< 9")) ||
        !ejecutar(*con, QStringLiteral("INSERT INTO PRESUPUESTOS_ESTADOS (PreId, EstEstado, "
                                       "EstFechaHora, UsuLogin) SELECT PreId, 'Reemplazado', "
                                       "COALESCE(PreFecha, 0), UsuLogin FROM PRESUPUESTOS WHERE "
                                       "PreId % 10 = 8")))
        return 1;
    std::printf("Base: %d presupuestos con su estado\n", basebench::parametros().presupuestos);

    benchmark::RegisterBenchmark("informes/resultados_por_cliente_pdf", resultadosPdf,
                                 AgrupacionResultados::PorCliente)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("informes/resultados_por_usuario_pdf", resultadosPdf,
                                 AgrupacionResultados::PorUsuario)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    dteBodex().cerrarConexion();
    return 0;
}
