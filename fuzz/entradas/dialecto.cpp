#include "comun.h"
#include "entradas.h"

#include "data/dialecto.h"

#include <QFile>
#include <QList>

#include <sqlite3.h>

#include <cstring>

namespace entradas {

namespace {

// An in-memory connection with the dialect and the program's tables, which cannot reach files
// (ATTACH and VACUUM INTO need a free database slot) and stops long statements.
sqlite3* conexion() {
    static sqlite3* bd = [] {
        sqlite3* nueva = nullptr;
        if (sqlite3_open(":memory:", &nueva) != SQLITE_OK || !dialecto::registrar(nueva))
            comun::fallo("no se prepara la conexión");
        sqlite3_limit(nueva, SQLITE_LIMIT_ATTACHED, 0);
        sqlite3_limit(nueva, SQLITE_LIMIT_LENGTH, 1 << 20);
        sqlite3_progress_handler(
            nueva, 10000, [](void*) { return 1; }, nullptr);
        // The program's schema, so that its own statements find their tables.
        QFile esquema(QStringLiteral(TARVO_ESQUEMA));
        if (!esquema.open(QIODevice::ReadOnly) ||
            sqlite3_exec(nueva, esquema.readAll().constData(), nullptr, nullptr, nullptr) !=
                SQLITE_OK)
            comun::fallo("no se carga el esquema");
        sqlite3_exec(
            nueva,
            "CREATE TABLE t(id INTEGER PRIMARY KEY, nombre TEXT COLLATE espanol, fecha REAL);"
            "INSERT INTO t VALUES(1,'Ñandú',45000),(2,'árbol',45000.5),(3,NULL,NULL);",
            nullptr, nullptr, nullptr);
        return nueva;
    }();
    return bd;
}

// Runs one statement to its end (or the progress limit) inside a transaction
// that is rolled back, so that every input meets the same database.
void ejecutar(sqlite3* bd, const QByteArray& sql, const QList<QByteArray>& valores) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(bd, sql.constData(), int(sql.size()), &st, nullptr) != SQLITE_OK || !st)
        return;
    for (int i = 1; i <= sqlite3_bind_parameter_count(st) && i <= valores.size(); ++i)
        sqlite3_bind_text(st, i, valores[i - 1].constData(), int(valores[i - 1].size()),
                          SQLITE_TRANSIENT);
    for (int filas = 0; filas < 1000 && sqlite3_step(st) == SQLITE_ROW; ++filas) {
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            sqlite3_column_text(st, c);
    }
    sqlite3_finalize(st);
}

} // namespace

void dialectoSql(const std::uint8_t* datos, std::size_t tamano) {
    const QByteArray bytes(reinterpret_cast<const char*>(datos), qsizetype(tamano));
    sqlite3* bd = conexion();
    sqlite3_exec(bd, "BEGIN", nullptr, nullptr, nullptr);
    // The input as a statement, adapted as every statement is.
    ejecutar(bd, dialecto::adaptar(QString::fromUtf8(bytes)).toUtf8(), {});

    // The input's pieces (separated by 0x1F) as the functions' arguments,
    // as text and as numbers.
    QList<QByteArray> trozos = bytes.split('\x1f');
    while (trozos.size() < 3)
        trozos << QByteArray();
    double numero = 0;
    if (tamano >= sizeof numero)
        std::memcpy(&numero, datos, sizeof numero);
    sqlite3_stmt* st = nullptr;
    const char* funciones = "SELECT INSTR(?1, ?2), INSTR(?4, ?1, ?2), INSTR(?3, ?1, ?2),"
                            " ?1 LIKE ?2, ?2 LIKE ?1 ESCAPE ?3, CSTR(?4), CSTR(?1), CSTR(?5),"
                            " Date(), ?1 = ?2 COLLATE espanol, ?1 < ?2 COLLATE espanol";
    if (sqlite3_prepare_v2(bd, funciones, -1, &st, nullptr) != SQLITE_OK)
        comun::fallo("la consulta de las funciones no se prepara");
    for (int i = 0; i < 3; ++i)
        sqlite3_bind_text(st, i + 1, trozos[i].constData(), int(trozos[i].size()),
                          SQLITE_TRANSIENT);
    sqlite3_bind_double(st, 4, numero);
    sqlite3_bind_int64(st, 5, qint64(tamano) * 1000003 - 5000000);
    if (sqlite3_step(st) == SQLITE_ROW)
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            sqlite3_column_text(st, c);
    sqlite3_finalize(st);
    sqlite3_exec(bd, "ROLLBACK", nullptr, nullptr, nullptr);
}

} // namespace entradas
