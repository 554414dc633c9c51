// Reading: the quote list (by date and by customer), the quote search, the
// product grid and the expiry count, through the program's result set and
// through the raw API.
#include "casos.h"
#include "crudo.h"
#include "memoria.h"

#include "data/modconexion.h"

#include <benchmark/benchmark.h>

namespace casos {

namespace {

sqlite3* bdCruda = nullptr;

const QString kLista = QStringLiteral("SELECT P.*,C.EMPNOMBREFANTASIA FROM PRESUPUESTOS P INNER "
                                      "JOIN CONTACTOS C ON P.EMPID=C.EMPID");
const QString kOrden = QStringLiteral(" ORDER BY PReFECHA ASC");

// The main window's search, with the text spliced in as it does.
QString busqueda(const QString& t) {
    return QStringLiteral("SELECT * FROM PRESUPUESTOS, contactos WHERE "
                          "PRESUPUESTOS.EmpId=contactos.EmpId AND (INSTR(PRELUGAR,'") +
           t + QStringLiteral("') OR INSTR(PRESALUDO,'") + t +
           QStringLiteral("') OR INSTR(EMPRAZONSOCIAL,'") + t +
           QStringLiteral("') OR INSTR(PRENUMERO,'") + t +
           QStringLiteral("') OR INSTR(CSTR(PREFECHA),'") + t +
           QStringLiteral("') OR INSTR(EMPNOMBREFANTASIA,'") + t + QStringLiteral("'))") + kOrden;
}

void leerTarvo(benchmark::State& estado, const QString& sql, bool medirMemoria) {
    qint64 filas = 0;
    for (auto _ : estado)
        filas = leerConTarvo(sql);
    estado.counters["filas"] = double(filas);
    if (!medirMemoria)
        return;
    // Resident memory while the result stays open, after the timed loop.
    const MemoriaAbierta m = medirMemoriaAbierta(sql);
    estado.counters["rss_MiB"] = double(m.abierta) / 1024.0;
    estado.counters["pico_MiB"] = double(m.pico) / 1024.0;
    estado.counters["lista_MiB"] = double(m.monton) / (1024.0 * 1024.0);
}

void leerSqlite(benchmark::State& estado, const QByteArray& sql) {
    crudo::Lectura l;
    for (auto _ : estado) {
        l = crudo::leerTodo(bdCruda, sql);
        benchmark::DoNotOptimize(l.suma);
    }
    if (!l.ok)
        estado.SkipWithError("la consulta falló");
    estado.counters["filas"] = double(l.filas);
}

} // namespace

std::vector<Lectura> lecturas() {
    return {
        {"lista", kLista + kOrden},
        {"busqueda_ciudad", busqueda(QStringLiteral("Sevilla"))},
        {"busqueda_nombre", busqueda(QStringLiteral("garc"))},
        {"busqueda_ninguna", busqueda(QStringLiteral("Zzxq"))},
        // The main window's header click on the customer column: a sort on
        // a text column, in the text columns' collation.
        {"orden_cliente", kLista + QStringLiteral(" ORDER BY EmpNombreFantasia ASC")},
        // The quote editor's product grid.
        {"grilla_productos",
         QStringLiteral("SELECT * FROM PRODUCTOS WHERE PRODESACTIVADO=FALSE ORDER BY "
                        "PRODESCRIPCION ASC")},
        {"vencimientos",
         QStringLiteral("select count(PreId) from presupuestos where PreVigencia>0 and "
                        "(PreFecha+PreVigencia between Date() and date()+10);")},
    };
}

void establecerCruda(sqlite3* bd) {
    bdCruda = bd;
}

sqlite3* cruda() {
    return bdCruda;
}

qint64 leerConTarvo(const QString& sql) {
    RegistrosPtr rs;
    AbrirConsulta(sql, rs);
    qint64 filas = 0;
    for (rs->moverPrimero(); !rs->alFinal(); rs->moverSiguiente()) {
        benchmark::DoNotOptimize(rs->campo(0));
        ++filas;
    }
    CerrarConsulta(rs, true);
    return filas;
}

MemoriaAbierta medirMemoriaAbierta(const QString& sql) {
    MemoriaAbierta m;
    memoria::reiniciarPico();
    m.antes = memoria::kib("VmRSS");
    const qint64 montonAntes = memoria::montonEnUso();
    RegistrosPtr rs;
    AbrirConsulta(sql, rs);
    m.abierta = memoria::kib("VmRSS");
    const qint64 montonAbierta = memoria::montonEnUso();
    if (montonAntes >= 0 && montonAbierta >= 0)
        m.monton = montonAbierta - montonAntes;
    m.pico = memoria::kib("VmHWM");
    m.filas = rs->cantidad();
    CerrarConsulta(rs, true);
    return m;
}

void registrarLecturas() {
    for (const Lectura& caso : lecturas()) {
        const QString sql = caso.sql;
        const bool memoria = caso.nombre == "lista";
        benchmark::RegisterBenchmark(
            (caso.nombre + "/tarvo").c_str(),
            [sql, memoria](benchmark::State& estado) { leerTarvo(estado, sql, memoria); })
            ->Unit(benchmark::kMillisecond);
        const QByteArray utf8 = sql.toUtf8();
        benchmark::RegisterBenchmark((caso.nombre + "/sqlite").c_str(),
                                     [utf8](benchmark::State& estado) { leerSqlite(estado, utf8); })
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace casos
