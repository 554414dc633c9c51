#include "comun.h"
#include "entradas.h"

#include "data/dialecto.h"

#include <QFile>
#include <QList>

#include <sqlite3.h>

#include <cstring>

namespace entradas {

namespace {

// The program's schema and a small table, built once and kept as a database
// image, so that each input starts from a fresh copy of it.
const QByteArray& imagen() {
    static const QByteArray bytes = [] {
        sqlite3* bd = nullptr;
        if (sqlite3_open(":memory:", &bd) != SQLITE_OK || !dialecto::registrar(bd))
            comun::fallo("no se prepara la conexión");
        QFile esquema(QStringLiteral(TARVO_ESQUEMA));
        if (!esquema.open(QIODevice::ReadOnly) ||
            sqlite3_exec(bd, esquema.readAll().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            comun::fallo("no se carga el esquema");
        sqlite3_exec(
            bd,
            "CREATE TABLE t(id INTEGER PRIMARY KEY, nombre TEXT COLLATE espanol, fecha REAL);"
            "INSERT INTO t VALUES(1,'Ñandú',45000),(2,'árbol',45000.5),(3,NULL,NULL);",
            nullptr, nullptr, nullptr);
        sqlite3_int64 tamano = 0;
        unsigned char* datos = sqlite3_serialize(bd, "main", &tamano, 0);
        if (!datos)
            comun::fallo("no se copia la base");
        QByteArray copia(reinterpret_cast<const char*>(datos), qsizetype(tamano));
        sqlite3_free(datos);
        sqlite3_close(bd);
        return copia;
    }();
    return bytes;
}

// A new in-memory connection with the dialect and a copy of the image: no
// input sees what an earlier one wrote, committed or set (a statement may
// well be COMMIT or a PRAGMA). It cannot reach files (ATTACH and VACUUM INTO
// need a free database slot) and stops long statements.
sqlite3* conexion() {
    sqlite3* bd = nullptr;
    if (sqlite3_open(":memory:", &bd) != SQLITE_OK || !dialecto::registrar(bd))
        comun::fallo("no se prepara la conexión");
    const QByteArray& origen = imagen();
    auto* datos = static_cast<unsigned char*>(sqlite3_malloc64(sqlite3_uint64(origen.size())));
    if (!datos)
        comun::fallo("sin memoria para la copia");
    std::memcpy(datos, origen.constData(), std::size_t(origen.size()));
    if (sqlite3_deserialize(bd, "main", datos, origen.size(), origen.size(),
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE) !=
        SQLITE_OK)
        comun::fallo("no se carga la copia");
    sqlite3_limit(bd, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(bd, SQLITE_LIMIT_LENGTH, 1 << 20);
    sqlite3_progress_handler(
        bd, 10000, [](void*) { return 1; }, nullptr);
    return bd;
}

// Runs one statement to its end (or the progress limit).
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
    sqlite3_close(bd);
}

} // namespace entradas
