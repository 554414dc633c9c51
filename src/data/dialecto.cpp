#include "data/dialecto.h"

#include "data/cotejo.h"
#include "data/fechas.h"
#include "data/plegado.h"
#include "platform/reloj.h"

#include <QRegularExpression>

#include <sqlite3.h>

#include <string_view>

namespace dialecto {

namespace {

std::string_view textoDe(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return {p ? p : "", size_t(sqlite3_value_bytes(v))};
}

bool algunoNulo(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    return false;
}

// Date(): today as a day number. Declared deterministic so that the engine
// evaluates it once per statement rather than once per row; statements are
// prepared for each run, so a new day is always seen.
void hoy(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3_result_int64(ctx, fechas::diaDeFecha(Reloj::hoy()));
}

// CSTR(x): a number is taken as a day number (the dialect applies CSTR to
// dates only) and becomes the short date text; text stays as it is.
void cstr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: {
        char buffer[24];
        const int n = fechas::escribirTextoCorto(sqlite3_value_double(argv[0]), buffer);
        sqlite3_result_text(ctx, buffer, n, SQLITE_TRANSIENT);
        return;
    }
    default:
        sqlite3_result_value(ctx, argv[0]);
    }
}

// INSTR(texto, buscado) or INSTR(inicio, texto, buscado).
void instr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (algunoNulo(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    if (argc == 2) {
        sqlite3_result_int64(ctx, plegado::posicion(textoDe(argv[0]), textoDe(argv[1])));
        return;
    }
    sqlite3_result_int64(
        ctx, plegado::posicion(textoDe(argv[1]), textoDe(argv[2]), sqlite3_value_int64(argv[0])));
}

// like(patron, texto [, escape]) implements "texto LIKE patron".
void like(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (algunoNulo(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    char32_t escape = 0;
    if (argc == 3) {
        const std::string_view e = textoDe(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = char32_t(static_cast<unsigned char>(e[0]));
    }
    sqlite3_result_int(ctx, plegado::parecido(textoDe(argv[1]), textoDe(argv[0]), escape));
}

} // namespace

bool registrar(sqlite3* bd) {
    const int fijo = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    struct Funcion {
        const char* nombre;
        int argumentos;
        int banderas;
        void (*f)(sqlite3_context*, int, sqlite3_value**);
    };
    const Funcion funciones[] = {
        {"date", 0, fijo, hoy},    {"cstr", 1, fijo, cstr}, {"instr", 2, fijo, instr},
        {"instr", 3, fijo, instr}, {"like", 2, fijo, like}, {"like", 3, fijo, like},
    };
    for (const auto& f : funciones) {
        if (sqlite3_create_function_v2(bd, f.nombre, f.argumentos, f.banderas, nullptr, f.f,
                                       nullptr, nullptr, nullptr) != SQLITE_OK)
            return false;
    }
    return cotejo::registrar(bd);
}

QString adaptar(const QString& sentencia) {
    static const QRegularExpression borrarTodo(QStringLiteral("^(\\s*DELETE)\\s+\\*\\s+(FROM\\b)"),
                                               QRegularExpression::CaseInsensitiveOption);
    QString resultado = sentencia;
    resultado.replace(borrarTodo, QStringLiteral("\\1 \\2"));
    return resultado;
}

} // namespace dialecto
