// The quote editor's product grid: the active products read again in the order
// of their description and the grid painted, as every activation of the
// editor does. The grid is a table over the result-set model, shown with the
// editor's four columns.
#include "medidas.h"
#include "registro.h"

#include "comun/fixtura.h"
#include "data/modconexion.h"
#include "data/modeloregistros.h"

#include <QHeaderView>
#include <QTableView>

#include <benchmark/benchmark.h>

namespace {

const QString kProductos = QStringLiteral(
    "SELECT * FROM PRODUCTOS WHERE PRODESACTIVADO=FALSE ORDER BY PRODESCRIPCION ASC");

bool esGrillaProductos(QObject* objeto) {
    QObject* padre = objeto->parent();
    return padre && padre->objectName() == u"dtgProductos" &&
           objeto->objectName() == u"qt_scrollarea_viewport";
}

// Only "Código", "Descripción", "Precio" and "Costo" are shown.
void mostrarColumnasDelEditor(QTableView& grilla, const Registros& rs) {
    const QStringList mostradas = {QStringLiteral("ProCodigo"), QStringLiteral("ProDescripcion"),
                                   QStringLiteral("ProPrecio"), QStringLiteral("ProCosto")};
    for (int c = 0; c < rs.cantidadCampos(); ++c)
        grilla.setColumnHidden(c, !mostradas.contains(rs.nombreCampo(c), Qt::CaseInsensitive));
}

void recargarGrilla(benchmark::State& estado) {
    registro::Cuenta cuenta;
    abrirConexionDePrueba(registro::base());
    if (!conexion()) {
        estado.SkipWithError("la base no se abrió");
        return;
    }
    RegistrosPtr rs;
    ModeloRegistros modelo;
    {
        QTableView grilla;
        grilla.setObjectName(QStringLiteral("dtgProductos"));
        grilla.resize(520, 400);
        grilla.setModel(&modelo);
        VigiaPintura pintura(esGrillaProductos);
        AbrirConsulta(kProductos, rs);
        modelo.establecerRegistros(*rs);
        mostrarColumnasDelEditor(grilla, *rs);
        grilla.show();
        pintura.esperar();
        std::vector<double> cpu;
        for (auto _ : estado) {
            pintura.reiniciar();
            const qint64 inicioCpu = medidas::cpuNs();
            const qint64 inicio = medidas::ahoraNs();
            // Detached, reopened, attached and refreshed.
            modelo.establecerRegistros(Registros());
            CerrarConsulta(rs, true);
            AbrirConsulta(kProductos, rs);
            modelo.establecerRegistros(*rs);
            grilla.viewport()->update();
            if (!pintura.esperar()) {
                estado.SkipWithError("la grilla no se pintó");
                break;
            }
            estado.SetIterationTime(medidas::milisegundos(inicio, medidas::ahoraNs()) / 1e3);
            cpu.push_back(medidas::milisegundos(inicioCpu, medidas::cpuNs()));
        }
        estado.counters["filas"] = rs->cantidad();
        estado.counters["cpu_ms"] = medidas::mediana(cpu);
    }
    CerrarConsulta(rs, true);
    CerrarConexion();
}

} // namespace

namespace registro {

void registrarProductos() {
    benchmark::RegisterBenchmark("productos/recargar_grilla", recargarGrilla)
        ->UseManualTime()
        ->Iterations(20)
        ->Unit(benchmark::kMillisecond);
}

} // namespace registro
