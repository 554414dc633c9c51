// Storing a quote: one EjecutarProcedimiento of Presupuesto_Insertar against the
// same INSERT prepared and bound through the raw API. Rows are rolled back in
// batches, outside the timed part, so the database never grows.
#include "casos.h"

#include "data/fechas.h"
#include "data/modconexion.h"
#include "data/sentencia.h"
#include "platform/reloj.h"

#include <QVariantList>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <array>

namespace casos {

namespace {

constexpr int kLote = 1000;

// The 22 values in the order and the kinds the quote editor sends them: texts,
// the date, the contact as text of digits, amounts and days as numeric text.
QVariantList valores() {
    return {
        QStringLiteral("P-2026/999"),
        QStringLiteral("Valencia"),
        Reloj::hoy(),
        QStringLiteral("Estimados señores:"),
        QStringLiteral("17"),
        QStringLiteral("Por medio de la presente les hacemos llegar nuestra oferta."),
        QStringLiteral("Forma de pago: 30 días fecha factura."),
        QStringLiteral(""),
        QStringLiteral("Mano de obra"),
        QStringLiteral("1250.50"),
        QStringLiteral("EUR"),
        QStringLiteral("Transporte"),
        QStringLiteral("80"),
        QStringLiteral("EUR"),
        QStringLiteral(""),
        QStringLiteral("0"),
        QStringLiteral(""),
        QStringLiteral("Sin otro particular, les saludamos muy atentamente."),
        QStringLiteral("Ana Molina\nDepartamento Comercial"),
        QStringLiteral("Plazo de vigencia de la oferta:"),
        QStringLiteral("30"),
        QStringLiteral("admin"),
    };
}

void insertarTarvo(benchmark::State& estado) {
    const QVariantList v = valores();
    Conexion* con = conexion();
    RegistrosPtr rs;
    if (!con || !con->iniciarTransaccion()) {
        estado.SkipWithError("sin conexión");
        return;
    }
    if (EjecutarProcedimiento(QStringLiteral("Presupuesto_Insertar"), rs, v) != 1) {
        con->deshacerTransaccion();
        estado.SkipWithError("Presupuesto_Insertar falló");
        return;
    }
    int enLote = 1;
    for (auto _ : estado) {
        EjecutarProcedimiento(QStringLiteral("Presupuesto_Insertar"), rs, v);
        if (++enLote == kLote) {
            estado.PauseTiming();
            con->deshacerTransaccion();
            con->iniciarTransaccion();
            enLote = 0;
            estado.ResumeTiming();
        }
    }
    con->deshacerTransaccion();
}

// The stored query's own statement, so both sides run the same text.
QByteArray sentenciaInsertar(sqlite3* bd) {
    Sentencia st;
    QByteArray sql;
    if (sqlite3_prepare_v2(bd,
                           "SELECT Sentencia FROM CONSULTAS_GUARDADAS WHERE "
                           "Nombre='Presupuesto_Insertar'",
                           -1, st.destino(), nullptr) == SQLITE_OK &&
        sqlite3_step(st.get()) == SQLITE_ROW)
        sql = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)),
                         sqlite3_column_bytes(st.get(), 0));
    return sql;
}

// The values already in the kinds the columns hold.
struct ValoresCrudos {
    std::array<QByteArray, 22> textos;
    qint64 fecha = fechas::diaDeFecha(Reloj::hoy());
};

ValoresCrudos valoresCrudos() {
    ValoresCrudos r;
    const QVariantList v = valores();
    for (int i = 0; i < v.size(); ++i)
        r.textos[size_t(i)] = v[i].toString().toUtf8();
    return r;
}

bool enlazarYCorrer(sqlite3_stmt* st, const ValoresCrudos& v) {
    auto texto = [&](int i) {
        const QByteArray& t = v.textos[size_t(i)];
        sqlite3_bind_text(st, i + 1, t.constData(), int(t.size()), SQLITE_STATIC);
    };
    for (int i : {0, 1, 3, 5, 6, 7, 8, 10, 11, 13, 14, 16, 17, 18, 19, 21})
        texto(i);
    sqlite3_bind_int64(st, 3, v.fecha);
    sqlite3_bind_int64(st, 5, 17);
    sqlite3_bind_double(st, 10, 1250.50);
    sqlite3_bind_double(st, 13, 80.0);
    sqlite3_bind_double(st, 16, 0.0);
    sqlite3_bind_int64(st, 21, 30);
    return sqlite3_step(st) == SQLITE_DONE;
}

void insertarSqlite(benchmark::State& estado, bool reutilizar) {
    sqlite3* bd = cruda();
    const QByteArray sql = sentenciaInsertar(bd);
    const ValoresCrudos v = valoresCrudos();
    Sentencia sentencia;
    if (sql.isEmpty() ||
        sqlite3_prepare_v2(bd, sql.constData(), int(sql.size()), sentencia.destino(), nullptr) !=
            SQLITE_OK ||
        sqlite3_bind_parameter_count(sentencia.get()) != 22) {
        estado.SkipWithError("no se pudo preparar el INSERT");
        return;
    }
    sqlite3_stmt* preparada = sentencia.get();
    // Every batch is rolled back: the measured table never grows.
    sqlite3_exec(bd, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (!enlazarYCorrer(preparada, v)) {
        sqlite3_exec(bd, "ROLLBACK", nullptr, nullptr, nullptr);
        estado.SkipWithError("el INSERT falló");
        return;
    }
    int enLote = 1;
    for (auto _ : estado) {
        if (reutilizar) {
            sqlite3_reset(preparada);
            enlazarYCorrer(preparada, v);
        } else {
            Sentencia st;
            sqlite3_prepare_v2(bd, sql.constData(), int(sql.size()), st.destino(), nullptr);
            enlazarYCorrer(st.get(), v);
        }
        if (++enLote == kLote) {
            estado.PauseTiming();
            sqlite3_exec(bd, "ROLLBACK; BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
            enLote = 0;
            estado.ResumeTiming();
        }
    }
    sqlite3_exec(bd, "ROLLBACK", nullptr, nullptr, nullptr);
}

} // namespace

void registrarInsercion() {
    benchmark::RegisterBenchmark("insertar/tarvo", insertarTarvo)->Unit(benchmark::kMicrosecond);
    // Prepared, bound, run and finalised each time, as the stored query is.
    benchmark::RegisterBenchmark("insertar/sqlite", [](benchmark::State& estado) {
        insertarSqlite(estado, false);
    })->Unit(benchmark::kMicrosecond);
    // For reference: the statement prepared once and reused.
    benchmark::RegisterBenchmark("insertar_reutilizada/sqlite", [](benchmark::State& estado) {
        insertarSqlite(estado, true);
    })->Unit(benchmark::kMicrosecond);
}

} // namespace casos
