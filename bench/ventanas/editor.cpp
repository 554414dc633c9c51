// The quote editor against the generated database: opening a stored quote of
// 20 lines (Actualizar and CargarPre, as the quote list does), the reload on
// every activation with the product grid painted, saving a quote of 15 lines
// (one transaction, synchronous FULL) and adding a product by its bar code.
// The editor writes, so these benchmarks work on a private copy of the
// database. Each figure is the elapsed time of the measured span; cpu_ms is
// the CPU time the program spent in it.
#include "medidas.h"
#include "registro.h"

#include "comun/entornoprueba.h"
#include "comun/mensajesguion.h"
#include "data/modconexion.h"
#include "quotes/editorpresupuesto.h"
#include "quotes/ventanas/frmDetallePresupuesto.h"
#include "startup/arranque.h"
#include "startup/opciones.h"
#include "users/sesion.h"

#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A copy of the generated database, made once for all these benchmarks.
const QString& copiaEditable() {
    static QTemporaryDir carpeta;
    static QString ruta;
    if (ruta.isEmpty() && carpeta.isValid()) {
        const QString destino = carpeta.filePath(QStringLiteral("bd2000.mdb"));
        if (QFile::copy(registro::base(), destino))
            ruta = destino;
    }
    return ruta;
}

// A private account on the copy, with the shared connection open, scripted
// messages and the owner of the quote measured logged in.
class Sesion {
public:
    Sesion() {
        if (copiaEditable().isEmpty())
            return;
        cuenta_ = std::make_unique<EntornoPrueba>();
        cuenta_->ajustar(QStringLiteral("db_path"), copiaEditable());
        // The account as start-up leaves it: the Tarvo folder with the quote
        // template and the settings loaded, so that saving writes the quote's
        // document.
        prepararCarpetaTarvo();
        CargarOpciones();
        CrearDSN(QStringLiteral("TARVO_BENCH_EDITOR"), copiaEditable());
        AbrirConexion(QStringLiteral("TARVO_BENCH_EDITOR"), {});
        if (!conexion())
            return;
        RegistrosPtr rs;
        AbrirConsulta(QStringLiteral("SELECT PreId, UsuLogin, EmpId FROM PRESUPUESTOS WHERE PreId "
                                     "IN (SELECT PreId FROM PRESUPUESTOS_PRODUCTOS GROUP BY PreId "
                                     "HAVING COUNT(*)=20) ORDER BY PreId LIMIT 1"),
                      rs);
        if (rs->posicionAbsoluta() <= 0)
            return;
        preId_ = rs->campo(0).toInt();
        empId_ = rs->campo(2).toInt();
        establecerUsuarioActual(rs->texto(QStringLiteral("UsuLogin")));
    }
    ~Sesion() {
        medidas::cerrarVentanas();
        if (conexion())
            CerrarConexion();
    }
    bool valida() const { return preId_ > 0; }
    qint32 preId() const { return preId_; }
    qint32 empId() const { return empId_; }
    MensajesGuion& mensajes() { return mensajes_; }

    // No message box is expected: one means the measurement is not what it says.
    bool sinMensajes(benchmark::State& estado) {
        if (mensajes_.mostrados().isEmpty())
            return true;
        const auto& m = mensajes_.mostrados().front();
        estado.SkipWithError(
            (QStringLiteral("mensaje inesperado: ") + m.texto).toStdString().c_str());
        return false;
    }

private:
    MensajesGuion mensajes_;
    std::unique_ptr<EntornoPrueba> cuenta_;
    qint32 preId_ = 0;
    qint32 empId_ = 0;
};

EditorPresupuesto::PedirCantidad cantidad(const QString& texto) {
    return [texto](qint32) { return std::optional<QString>(texto); };
}

bool esGrillaProductos(QObject* objeto) {
    QObject* padre = objeto->parent();
    return padre && padre->objectName() == u"dtgProductos" &&
           objeto->objectName() == u"qt_scrollarea_viewport";
}

void informar(benchmark::State& estado, std::vector<double>& cpu) {
    estado.counters["cpu_ms"] = medidas::mediana(cpu);
}

// Actualizar and CargarPre of a stored quote of 20 lines, as the quote list's
// "Editar" does. `primeraVez`: an editor that has read nothing yet (its first
// opening, or the first after the data changed); otherwise the same editor
// opening it again.
void abrirPresupuesto(benchmark::State& estado, bool primeraVez) {
    Sesion sesion;
    if (!sesion.valida()) {
        estado.SkipWithError("la base no se preparó");
        return;
    }
    auto ventana = std::make_unique<frmDetallePresupuesto>();
    ventana->Actualizar();
    std::vector<double> cpu;
    for (auto _ : estado) {
        if (primeraVez)
            ventana = std::make_unique<frmDetallePresupuesto>();
        const qint64 inicioCpu = medidas::cpuNs();
        const qint64 inicio = medidas::ahoraNs();
        ventana->setAgregando(false);
        ventana->Actualizar();
        ventana->CargarPre(sesion.preId());
        estado.SetIterationTime(medidas::milisegundos(inicio, medidas::ahoraNs()) / 1e3);
        cpu.push_back(medidas::milisegundos(inicioCpu, medidas::cpuNs()));
    }
    estado.counters["lineas"] = ventana->editor().lineas().cantidad();
    informar(estado, cpu);
    sesion.sinMensajes(estado);
}

// The reload each activation of the editor runs, to the product grid painted.
// `trasUnCambio`: the database was written since the last reload (as after
// every save), so every list is read again.
void reactivar(benchmark::State& estado, bool trasUnCambio) {
    Sesion sesion;
    if (!sesion.valida()) {
        estado.SkipWithError("la base no se preparó");
        return;
    }
    frmDetallePresupuesto* ventana = new frmDetallePresupuesto;
    ventana->setAgregando(false);
    ventana->Actualizar();
    ventana->CargarPre(sesion.preId());
    ventana->show();
    VigiaPintura pintura(esGrillaProductos);
    ventana->findChild<QWidget*>(QStringLiteral("sstPresupuesto"))
        ->setProperty("currentIndex", 1); // the "Productos" page, so the grid paints
    pintura.esperar();
    std::vector<double> cpu;
    for (auto _ : estado) {
        if (trasUnCambio)
            conexion()->ejecutar(QStringLiteral("UPDATE OPCIONES SET "
                                                "OpcAvisoVencimiento=OpcAvisoVencimiento"));
        pintura.reiniciar();
        const qint64 inicioCpu = medidas::cpuNs();
        const qint64 inicio = medidas::ahoraNs();
        ventana->Actualizar();
        if (!pintura.esperar()) {
            estado.SkipWithError("la grilla no se pintó");
            break;
        }
        estado.SetIterationTime(medidas::milisegundos(inicio, medidas::ahoraNs()) / 1e3);
        cpu.push_back(medidas::milisegundos(inicioCpu, medidas::cpuNs()));
    }
    estado.counters["productos"] = ventana->editor().grilla().registros().cantidad();
    informar(estado, cpu);
    sesion.sinMensajes(estado);
}

// "Guardar" on a quote of 15 lines: a new one (insert, key, 15 lines), or a
// stored one opened again (update, and its 15 lines checked and updated).
void guardar(benchmark::State& estado, bool nuevo) {
    Sesion sesion;
    if (!sesion.valida()) {
        estado.SkipWithError("la base no se preparó");
        return;
    }
    EditorPresupuesto editor;
    editor.Actualizar();
    auto prepararNuevo = [&] {
        editor.cmdMenu_Click(0);
        editor.establecerCliente(false, sesion.empId(), QStringLiteral("Cliente"));
        editor.campos.descripcion[0] = QStringLiteral("Suministro e instalación según detalle.");
        for (int i = 0; i < 15; ++i) {
            editor.grilla().moverA(1 + i * 613);
            editor.agregarProductoActual(cantidad(QStringLiteral("2")));
        }
    };
    if (!nuevo) {
        prepararNuevo();
        editor.guardar();
    }
    std::vector<double> cpu;
    for (auto _ : estado) {
        if (nuevo) {
            prepararNuevo();
        } else {
            editor.agregando = false;
            editor.CargarPre(editor.campos.id.toInt());
        }
        const qint64 inicioCpu = medidas::cpuNs();
        const qint64 inicio = medidas::ahoraNs();
        const bool guardado = editor.guardar();
        estado.SetIterationTime(medidas::milisegundos(inicio, medidas::ahoraNs()) / 1e3);
        cpu.push_back(medidas::milisegundos(inicioCpu, medidas::cpuNs()));
        if (!guardado) {
            estado.SkipWithError("no se guardó");
            break;
        }
    }
    estado.counters["lineas"] = editor.lineas().cantidad();
    informar(estado, cpu);
    sesion.sinMensajes(estado);
}

// Enter in the bar-code box with the code of a product near the end of the
// grid, the quantity answered at once: found, added and shown.
void codigoDeBarra(benchmark::State& estado) {
    Sesion sesion;
    if (!sesion.valida()) {
        estado.SkipWithError("la base no se preparó");
        return;
    }
    frmDetallePresupuesto* ventana = new frmDetallePresupuesto;
    ventana->setAgregando(true);
    ventana->CargarPre(0);
    ventana->show();
    ventana->Actualizar();
    EditorPresupuesto& editor = ventana->editor();
    for (int i = 0; i < 10; ++i) {
        editor.grilla().moverA(1 + i * 97);
        editor.agregarProductoActual(cantidad(QStringLiteral("1")));
    }
    // The last products of the grid that have a code.
    QStringList codigos;
    Registros r = editor.grilla().registros();
    for (r.moverUltimo(); !r.alPrincipio() && codigos.size() < 5; r.moverAnterior())
        if (!r.texto(QStringLiteral("ProCodigo")).isEmpty())
            codigos << r.texto(QStringLiteral("ProCodigo"));
    std::vector<double> cpu;
    int n = 0;
    for (auto _ : estado) {
        editor.grilla().moverA(1);
        const qint64 inicioCpu = medidas::cpuNs();
        const qint64 inicio = medidas::ahoraNs();
        editor.agregarPorCodigo(codigos.value(n++ % int(codigos.size())),
                                cantidad(QStringLiteral("1")));
        estado.SetIterationTime(medidas::milisegundos(inicio, medidas::ahoraNs()) / 1e3);
        cpu.push_back(medidas::milisegundos(inicioCpu, medidas::cpuNs()));
    }
    estado.counters["lineas"] = editor.lineas().cantidad();
    informar(estado, cpu);
    sesion.sinMensajes(estado);
}

} // namespace

namespace registro {

void registrarEditor() {
    benchmark::RegisterBenchmark("editor/abrir_20_lineas/primera_vez", abrirPresupuesto, true)
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("editor/abrir_20_lineas/de_nuevo", abrirPresupuesto, false)
        ->UseManualTime()
        ->Iterations(20)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("editor/reactivar/sin_cambios", reactivar, false)
        ->UseManualTime()
        ->Iterations(20)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("editor/reactivar/tras_un_cambio", reactivar, true)
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("editor/guardar_15_lineas/nuevo", guardar, true)
        ->UseManualTime()
        ->Iterations(20)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("editor/guardar_15_lineas/existente", guardar, false)
        ->UseManualTime()
        ->Iterations(20)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("editor/codigo_de_barra", codigoDeBarra)
        ->UseManualTime()
        ->Iterations(50)
        ->Unit(benchmark::kMillisecond);
}

} // namespace registro
