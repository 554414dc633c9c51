// Benchmarks of the reports on a generated database of 1,000 quotes (about
// 8,000 lines) and 10,000 products. They report figures and never fail a
// build.
//
// Run (headless):
//   QT_QPA_PLATFORM=offscreen tarvo_bench_informes --benchmark_repetitions=3
//       --benchmark_report_aggregates_only=true
// Each figure is the elapsed time of the whole span; the counters split it
// into reading the rows (lectura_ms), laying the pages out (maquetado_ms) and
// writing the PDF (pdf_ms), and say how many pages it made.
#include "comun/entornoprueba.h"
#include "data/entornodatos.h"
#include "data/modconexion.h"
#include "muestras/generadordatos.h"
#include "reports/informe.h"
#include "reports/informes.h"
#include "reports/pintor.h"
#include "reports/ventanas/frmInforme.h"
#include "reports/ventanas/reportes.h"
#include "reports/ventanas/vistapaginas.h"

#include <QApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>

namespace {

QString carpetaSalida;

double ms(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// CPU time of this process, in milliseconds: the work done, which other
// programs running on the machine do not inflate as they do elapsed time.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// A report read, laid out and written to PDF, its steps timed apart.
void imprimirEnPdf(benchmark::State& estado, DefinicionInforme (*declarar)(),
                   const std::function<void()>& antes) {
    double lectura = 0, maquetado = 0, pdf = 0;
    double cpuLectura = 0, cpuMaquetado = 0, cpuPdf = 0;
    int paginas = 0;
    const QString ruta = carpetaSalida + QStringLiteral("/reporte.pdf");
    for (auto _ : estado) {
        antes();
        QElapsedTimer t;
        t.start();
        double cpu = cpuMs();
        Informe informe(declarar, true);
        std::unique_ptr<Maquetador> m = informe.iniciar();
        if (!m) {
            estado.SkipWithError("el reporte no lee sus filas");
            break;
        }
        lectura += ms(t);
        cpuLectura += cpuMs() - cpu;
        t.restart();
        cpu = cpuMs();
        m->completar();
        maquetado += ms(t);
        cpuMaquetado += cpuMs() - cpu;
        t.restart();
        cpu = cpuMs();
        QString error;
        if (!escribirPdf(m->resultado(), ruta, error)) {
            estado.SkipWithError(error.toStdString().c_str());
            break;
        }
        pdf += ms(t);
        cpuPdf += cpuMs() - cpu;
        paginas = int(m->maquetado().paginas.size());
        informe.terminar();
    }
    const double n = double(estado.iterations());
    estado.counters["lectura_ms"] = lectura / n;
    estado.counters["maquetado_ms"] = maquetado / n;
    estado.counters["pdf_ms"] = pdf / n;
    estado.counters["cpu_lectura_ms"] = cpuLectura / n;
    estado.counters["cpu_maquetado_ms"] = cpuMaquetado / n;
    estado.counters["cpu_pdf_ms"] = cpuPdf / n;
    estado.counters["paginas"] = paginas;
}

void presupuestosPdf(benchmark::State& estado) {
    imprimirEnPdf(estado, &informes::presupuestos,
                  [] { dteBodex().cerrar(QStringLiteral("TotalPresupuestos")); });
}

// The product window's full list of 10,000 products.
void productosPdf(benchmark::State& estado) {
    imprimirEnPdf(estado, &informes::productos, [] {
        dteBodex().cerrar(QStringLiteral("ListadoProductos"));
        dteBodex().establecerTexto(QStringLiteral("ListadoProductos"),
                                   QStringLiteral("SELECT * FROM PRODUCTOS ORDER BY "
                                                  "PRODESCRIPCION ASC"));
    });
}

// From the print command to the first page painted in the preview; the
// counter says how long the whole report took to be ready in the window.
void presupuestosPrimeraPagina(benchmark::State& estado) {
    double completo = 0;
    for (auto _ : estado) {
        QElapsedTimer t;
        t.start();
        bool pintada = false;
        QMetaObject::Connection aviso;
        if (frmInforme* v = ventanaReporte(QStringLiteral("dtrPresupuestos2")))
            aviso = QObject::connect(&v->vista(), &VistaPaginas::paginaPintada,
                                     [&pintada] { pintada = true; });
        mostrarReportePresupuestos();
        frmInforme* v = ventanaReporte(QStringLiteral("dtrPresupuestos2"));
        if (!v) {
            estado.SkipWithError("el reporte no se abrió");
            break;
        }
        if (!aviso)
            aviso = QObject::connect(&v->vista(), &VistaPaginas::paginaPintada,
                                     [&pintada] { pintada = true; });
        while (!pintada && t.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        estado.SetIterationTime(ms(t) / 1e3);
        while (v->maquetando())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        completo += ms(t);
        QObject::disconnect(aviso);
        v->close();
        QCoreApplication::processEvents();
        if (!pintada) {
            estado.SkipWithError("la primera página no se pintó");
            break;
        }
    }
    estado.counters["vista_completa_ms"] = completo / double(estado.iterations());
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QApplication aplicacion(argc, argv);

    // A private account, which holds the database and the PDF files too.
    EntornoPrueba cuenta;
    carpetaSalida = cuenta.home();
    const QString base = cuenta.ruta(QStringLiteral("informes.mdb"));
    ParametrosGeneracion p;
    p.semilla = 2026;
    p.contactos = 500;
    p.categorias = 60;
    p.productos = 10000;
    p.presupuestos = 1000;
    GeneradorDatos generador(p);
    if (!generador.generarArchivo(QStringLiteral(TARVO_BD_PRISTINA), base)) {
        std::fprintf(stderr, "%s\n", qPrintable(generador.error()));
        return 1;
    }
    std::printf("Base: %d presupuestos, %lld líneas, %d productos\n", p.presupuestos,
                static_cast<long long>(generador.lineas()), p.productos);

    CrearDSN(QStringLiteral("TARVO_BENCH"), base);
    dteBodex().establecerCadenaConexion(QStringLiteral("Data Source=TARVO_BENCH"));

    benchmark::RegisterBenchmark("informes/presupuestos_pdf", presupuestosPdf)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("informes/productos_pdf", productosPdf)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("informes/presupuestos_primera_pagina", presupuestosPrimeraPagina)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    dteBodex().cerrarConexion();
    return 0;
}
