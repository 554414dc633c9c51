// The quote list with the status column and each status filter, against the
// show-all the list made before it had them, in the same run and on the same
// file: the generated database of 100,000 quotes, copied, with a status
// history added to about two thirds of them.
//
// Run: tarvo_bench_estados --benchmark_repetitions=3
//          --benchmark_report_aggregates_only=true
// Each figure is what the list does when it changes: the count and the first
// page (lista/*), or that and a jump to the middle row (saltar/*).
#include "basebench.h"

#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "data/modconexion.h"
#include "data/modeloventana.h"
#include "main/listapresupuestos.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

using Filtro = ListaPresupuestos::Filtro;

// Of every 20 quotes: 6 without history (drafts), 5 sent, 4 sent then
// accepted, 3 rejected, 1 cancelled, 1 sent then replaced.
const char* const kHistoria =
    "WITH P AS (SELECT PreId, PreId % 20 AS r FROM PRESUPUESTOS) "
    "INSERT INTO PRESUPUESTOS_ESTADOS (PreId, EstEstado, EstFechaHora, UsuLogin) "
    "SELECT PreId, 'Enviado', 46000.5, 'admin' FROM P WHERE r BETWEEN 6 AND 14 OR r = 19 "
    "UNION ALL SELECT PreId, CASE WHEN r BETWEEN 11 AND 14 THEN 'Aceptado' WHEN r BETWEEN 15 "
    "AND 17 THEN 'Rechazado' WHEN r = 18 THEN 'Anulado' ELSE 'Reemplazado' END, 46001.5, "
    "'admin' FROM P WHERE r >= 11 ORDER BY 1";

// The list as it read before: every quote with its contact's name, by date.
ModeloVentana::Consulta consultaDeAntes() {
    ModeloVentana::Consulta c;
    c.columnas = QStringLiteral("P.*,C.EMPNOMBREFANTASIA");
    c.origen = QStringLiteral("FROM PRESUPUESTOS P INNER JOIN CONTACTOS C ON P.EMPID=C.EMPID");
    c.claves = {QStringLiteral("P.PreFecha"), QStringLiteral("P.PreId")};
    c.camposClave = {QStringLiteral("PreFecha"), QStringLiteral("PreId")};
    return c;
}

// The statement the list makes now for `filtro`.
ModeloVentana::Consulta consultaDeAhora(Filtro filtro) {
    ListaPresupuestos lista;
    lista.cargar();
    lista.filtrar(filtro);
    return lista.modelo().consulta();
}

void medir(benchmark::State& estado, const ModeloVentana::Consulta& consulta, bool saltar) {
    int filas = 0;
    for (auto _ : estado) {
        ModeloVentana modelo;
        if (!modelo.establecer(consulta)) {
            estado.SkipWithError("la consulta falló");
            return;
        }
        filas = modelo.rowCount();
        if (saltar && filas > 0)
            benchmark::DoNotOptimize(modelo.valor(filas / 2, QStringLiteral("PreId")));
    }
    estado.counters["filas"] = filas;
}

void registrar(const char* nombre, const ModeloVentana::Consulta& consulta) {
    for (bool saltar : {false, true})
        benchmark::RegisterBenchmark(
            (std::string(saltar ? "saltar/" : "lista/") + nombre).c_str(),
            [consulta, saltar](benchmark::State& e) { medir(e, consulta, saltar); })
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QCoreApplication aplicacion(argc, argv);
    QTemporaryDir carpeta;
    const QString ruta = basebench::copiarA(carpeta.path() + QStringLiteral("/bd2000.mdb"));
    if (!carpeta.isValid() || ruta.isEmpty())
        return 1;
    {
        Fixtura datos(ruta);
        datos.ejecutar(QString::fromLatin1(kHistoria));
        std::printf("Base: %s, %d presupuestos, %d filas de estados\n",
                    qPrintable(basebench::preparar()), datos.contar(QStringLiteral("PRESUPUESTOS")),
                    datos.contar(QStringLiteral("PRESUPUESTOS_ESTADOS")));
    }
    EntornoPrueba cuenta;
    abrirConexionDePrueba(ruta);

    registrar("antes_todos", consultaDeAntes());
    registrar("estado_todos", consultaDeAhora(Filtro::Todos));
    registrar("estado_abiertos", consultaDeAhora(Filtro::Abiertos));
    registrar("estado_aceptados", consultaDeAhora(Filtro::Aceptados));
    registrar("estado_anulados", consultaDeAhora(Filtro::Anulados));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CerrarConexion();
    return 0;
}
