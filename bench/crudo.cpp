#include "crudo.h"
#include "data/sentencia.h"

#include "data/dialecto.h"

#include <QFile>

#include <sqlite3.h>

#include <bit>

namespace crudo {

sqlite3* abrir(const QString& ruta) {
    sqlite3* bd = nullptr;
    // Without the connection mutex, as Qt's driver opens the program's own.
    if (sqlite3_open_v2(QFile::encodeName(ruta).constData(), &bd,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK ||
        !dialecto::registrar(bd)) {
        sqlite3_close(bd);
        return nullptr;
    }
    sqlite3_busy_timeout(bd, 5000);
    // The program's own connection settings, so the raw side is not slowed
    // by a smaller cache or temporary files the program does not use.
    if (sqlite3_exec(bd,
                     "PRAGMA synchronous=FULL; PRAGMA temp_store=MEMORY; PRAGMA cache_size=-65536",
                     nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_close(bd);
        return nullptr;
    }
    return bd;
}

void cerrar(sqlite3* bd) {
    sqlite3_close(bd);
}

Lectura leerTodo(sqlite3* bd, const QByteArray& sql) {
    Lectura r;
    Sentencia sentencia;
    if (sqlite3_prepare_v2(bd, sql.constData(), int(sql.size()), sentencia.destino(), nullptr) !=
        SQLITE_OK)
        return r;
    sqlite3_stmt* st = sentencia.get();
    const int columnas = sqlite3_column_count(st);
    int rc = 0;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        ++r.filas;
        for (int c = 0; c < columnas; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER:
                r.suma += quint64(sqlite3_column_int64(st, c));
                break;
            case SQLITE_FLOAT:
                r.suma += std::bit_cast<quint64>(sqlite3_column_double(st, c));
                break;
            case SQLITE_TEXT: {
                const unsigned char* p = sqlite3_column_text(st, c);
                const int n = sqlite3_column_bytes(st, c);
                r.suma += quint64(n) + (n > 0 ? p[n - 1] : 0);
                break;
            }
            case SQLITE_BLOB: {
                const auto* p = static_cast<const unsigned char*>(sqlite3_column_blob(st, c));
                const int n = sqlite3_column_bytes(st, c);
                r.suma += quint64(n) + (n > 0 ? p[n - 1] : 0);
                break;
            }
            default:
                ++r.suma;
            }
        }
    }
    r.ok = rc == SQLITE_DONE;
    return r;
}

} // namespace crudo
