#include "data/conexionsqlite.h"

#include "data/dialecto.h"
#include "data/fechas.h"
#include "data/parametros.h"
#include "data/versionesquema.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>

#include <sqlite3.h>

#include <atomic>
#include <cstring>

namespace {

TipoColumna tipoDeclarado(const char* declarado) {
    if (!declarado)
        return TipoColumna::General;
    const QByteArray t = QByteArray(declarado).toUpper();
    if (t.startsWith("DATE") || t.startsWith("TIMESTAMP"))
        return TipoColumna::Fecha;
    if (t.startsWith("BOOL") || t == "BIT" || t == "YESNO")
        return TipoColumna::SiNo;
    return TipoColumna::General;
}

void enlazar(sqlite3_stmt* st, int indice, const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(st, indice);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int(st, indice, v.toBool() ? 1 : 0);
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        sqlite3_bind_int64(st, indice, v.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::ULongLong:
        sqlite3_bind_double(st, indice, v.toDouble());
        return;
    case QMetaType::QDate:
        sqlite3_bind_int64(st, indice, fechas::diaDeFecha(v.toDate()));
        return;
    case QMetaType::QDateTime:
        sqlite3_bind_double(st, indice, fechas::diaDeFechaHora(v.toDateTime()));
        return;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob64(st, indice, b.constData(), sqlite3_uint64(b.size()), SQLITE_TRANSIENT);
        return;
    }
    default: {
        const QByteArray u = v.toString().toUtf8();
        sqlite3_bind_text64(st, indice, u.constData(), sqlite3_uint64(u.size()), SQLITE_TRANSIENT,
                            SQLITE_UTF8);
    }
    }
}

} // namespace

ConexionSqlite::ConexionSqlite(const QString& ruta, bool soloLectura)
    : ruta_(ruta), soloLectura_(soloLectura) {
    if (!abrir())
        cerrar();
}

ConexionSqlite::~ConexionSqlite() {
    cerrar();
}

void ConexionSqlite::anotar(qint32 numero, const QString& descripcion) {
    errores_.append({numero, descripcion});
}

void ConexionSqlite::anotarError(int codigo) {
    const int extendido = bd_ ? sqlite3_extended_errcode(bd_) : codigo;
    const QString detalle =
        bd_ ? QString::fromUtf8(sqlite3_errmsg(bd_)) : QString::fromUtf8(sqlite3_errstr(codigo));
    const QString entre = QStringLiteral(" (") + detalle + u')';
    if (extendido == SQLITE_CONSTRAINT_UNIQUE || extendido == SQLITE_CONSTRAINT_PRIMARYKEY) {
        anotar(errores::kErroresEnComando,
               QStringLiteral("Los cambios solicitados en la tabla no se realizaron "
                              "correctamente porque crearían valores duplicados en el índice, "
                              "clave principal o relación.") +
                   entre);
    } else if ((codigo & 0xFF) == SQLITE_CONSTRAINT) {
        anotar(errores::kFalloGeneral,
               QStringLiteral("No se puede guardar el registro: un campo no admite el valor "
                              "dado.") +
                   entre);
    } else if (codigo == SQLITE_ERROR && detalle.startsWith(u"no such table")) {
        anotar(errores::kObjetoNoEncontrado,
               QStringLiteral("No se encuentra la tabla o consulta de entrada.") + entre);
    } else if (codigo == SQLITE_ERROR && detalle.startsWith(u"no such column")) {
        anotar(errores::kFaltanParametros,
               QStringLiteral("Pocos parámetros: la instrucción nombra una columna que no "
                              "existe.") +
                   entre);
    } else if (codigo == SQLITE_ERROR) {
        anotar(errores::kErroresEnComando,
               QStringLiteral("Error de sintaxis en la instrucción SQL.") + entre);
    } else if ((codigo & 0xFF) == SQLITE_BUSY || (codigo & 0xFF) == SQLITE_LOCKED) {
        anotar(errores::kFalloGeneral,
               QStringLiteral("La base de datos está bloqueada por otro usuario o programa.") +
                   entre);
    } else if ((codigo & 0xFF) == SQLITE_NOTADB) {
        anotar(errores::kFalloGeneral,
               QStringLiteral("El archivo no es una base de datos.") + entre);
    } else if ((codigo & 0xFF) == SQLITE_CORRUPT) {
        anotar(errores::kFalloGeneral,
               QStringLiteral("La base de datos está dañada; recupere una copia de seguridad.") +
                   entre);
    } else if (extendido == SQLITE_READONLY_DBMOVED) {
        anotar(errores::kFalloGeneral,
               QStringLiteral("El archivo de la base de datos fue borrado, movido o reemplazado "
                              "mientras el programa lo usaba; el cambio no se guardó. Cierre el "
                              "programa y vuelva a abrirlo.") +
                   entre);
    } else if ((codigo & 0xFF) == SQLITE_READONLY) {
        anotar(errores::kFalloGeneral,
               QStringLiteral("La base de datos es de solo lectura.") + entre);
    } else {
        anotar(errores::kFalloGeneral, QStringLiteral("Error de la base de datos.") + entre);
    }
}

bool ConexionSqlite::abrir() {
    const QFileInfo info(ruta_);
    if (!info.exists() || !info.isFile()) {
        anotar(errores::kFalloGeneral,
               QStringLiteral("No se encuentra el archivo de base de datos '%1'.").arg(ruta_));
        return false;
    }
    static std::atomic<int> contador{0};
    nombreQt_ = QStringLiteral("tarvo_%1").arg(++contador);
    {
        QSqlDatabase bd = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombreQt_);
        bd.setDatabaseName(ruta_);
        bd.setConnectOptions(soloLectura_
                                 ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000;QSQLITE_OPEN_READONLY")
                                 : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!bd.open()) {
            anotar(errores::kFalloGeneral,
                   QStringLiteral("No se puede abrir la base de datos '%1': %2")
                       .arg(ruta_, bd.lastError().text()));
            return false;
        }
        const QVariant manejador = bd.driver()->handle();
        if (manejador.isValid() && std::strcmp(manejador.typeName(), "sqlite3*") == 0)
            bd_ = *static_cast<sqlite3* const*>(manejador.constData());
    }
    if (!bd_) {
        anotar(errores::kFalloGeneral, QStringLiteral("El controlador SQLite no está disponible."));
        return false;
    }
    if (!dialecto::registrar(bd_)) {
        anotarError(sqlite3_errcode(bd_));
        return false;
    }
    // An interruption is looked at every few thousand steps of a statement,
    // so that one asked before the statement starts is not lost either.
    sqlite3_progress_handler(
        bd_, 4000,
        [](void* yo) -> int {
            return static_cast<ConexionSqlite*>(yo)->interrumpida_.load(std::memory_order_relaxed)
                       ? 1
                       : 0;
        },
        this);
    // A sort the engine must do (no index gives the order) stays in memory
    // instead of spilling to temporary files. The page cache starts at the
    // engine's modest default (see ampliarCache).
    if (!ejecutarSimple("PRAGMA synchronous=FULL; PRAGMA temp_store=MEMORY"))
        return false;
    // A file of this system carries its stored queries; an empty or foreign
    // file (or one that is not a database at all) is refused here.
    const ResultadoSentencia r =
        ejecutar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type='table' AND "
                                "name='CONSULTAS_GUARDADAS'"));
    if (!r.ok)
        return false;
    if (r.filas->valor(0, 0).toInt() != 1) {
        anotar(errores::kFalloGeneral,
               QStringLiteral("El archivo '%1' no es una base de datos del programa.").arg(ruta_));
        return false;
    }
    // A file of a later schema may hold what this program does not know of:
    // it is never written.
    const ResultadoSentencia v = ejecutar(QStringLiteral("PRAGMA user_version"));
    if (!v.ok)
        return false;
    if (const int version = v.filas->valor(0, 0).toInt(); version > versionesquema::kActual) {
        anotar(errores::kFalloGeneral,
               QStringLiteral("La base de datos '%1' es de la versión %2 y este programa solo "
                              "conoce hasta la versión %3.")
                   .arg(ruta_)
                   .arg(version)
                   .arg(versionesquema::kActual));
        return false;
    }
    return true;
}

void ConexionSqlite::cerrar() {
    procedimientos_.clear();
    bd_ = nullptr;
    if (nombreQt_.isEmpty())
        return;
    {
        QSqlDatabase bd = QSqlDatabase::database(nombreQt_, false);
        bd.close();
    }
    QSqlDatabase::removeDatabase(nombreQt_);
    nombreQt_.clear();
}

bool ConexionSqlite::ejecutarSimple(const char* sql) {
    char* mensaje = nullptr;
    const int rc = sqlite3_exec(bd_, sql, nullptr, nullptr, &mensaje);
    sqlite3_free(mensaje);
    if (rc != SQLITE_OK) {
        anotarError(rc);
        return false;
    }
    return true;
}

ResultadoSentencia ConexionSqlite::correr(sqlite3_stmt* st) {
    ResultadoSentencia r;
    const int columnas = sqlite3_column_count(st);
    int rc = 0;
    if (columnas == 0) {
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) {
            anotarError(rc);
            return {};
        }
        r.ok = true;
        r.afectados = sqlite3_changes64(bd_);
        return r;
    }
    auto tabla = std::make_shared<TablaResultado>();
    for (int c = 0; c < columnas; ++c)
        tabla->agregarColumna(QString::fromUtf8(sqlite3_column_name(st, c)),
                              tipoDeclarado(sqlite3_column_decltype(st, c)));
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        for (int c = 0; c < columnas; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER:
                tabla->agregarEntero(sqlite3_column_int64(st, c));
                break;
            case SQLITE_FLOAT:
                tabla->agregarReal(sqlite3_column_double(st, c));
                break;
            case SQLITE_TEXT: {
                const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
                tabla->agregarTexto({p, size_t(sqlite3_column_bytes(st, c))});
                break;
            }
            case SQLITE_BLOB: {
                const auto* p = static_cast<const char*>(sqlite3_column_blob(st, c));
                tabla->agregarBinario({p ? p : "", size_t(sqlite3_column_bytes(st, c))});
                break;
            }
            default:
                tabla->agregarNulo();
            }
        }
    }
    if (rc != SQLITE_DONE) {
        anotarError(rc);
        return {};
    }
    r.ok = true;
    r.filas = std::move(tabla);
    r.afectados = -1;
    return r;
}

ResultadoSentencia ConexionSqlite::ejecutar(const QString& sql, const QVariantList& valores) {
    errores_.clear();
    if (!bd_) {
        anotar(errores::kFalloGeneral, QStringLiteral("La conexión con la base de datos está "
                                                      "cerrada."));
        return {};
    }
    const QByteArray texto = dialecto::adaptar(sql).toUtf8();
    Sentencia st;
    const char* resto = nullptr;
    const int rc =
        sqlite3_prepare_v2(bd_, texto.constData(), int(texto.size()), st.destino(), &resto);
    if (rc != SQLITE_OK) {
        anotarError(rc);
        return {};
    }
    if (!st) {
        anotar(errores::kErroresEnComando,
               QStringLiteral("Instrucción SQL no válida: se esperaba 'DELETE', 'INSERT', "
                              "'PROCEDURE', 'SELECT' o 'UPDATE'."));
        return {};
    }
    // One statement per call: anything after it is refused, never run.
    while (resto && *resto && (std::isspace(static_cast<unsigned char>(*resto)) || *resto == ';'))
        ++resto;
    if (resto && *resto) {
        anotar(errores::kErroresEnComando,
               QStringLiteral("Se encontraron caracteres después del final de la instrucción "
                              "SQL."));
        return {};
    }
    const int esperados = sqlite3_bind_parameter_count(st.get());
    if (esperados != valores.size()) {
        anotar(errores::kFaltanParametros,
               QStringLiteral("Pocos parámetros. Se esperaba %1.").arg(esperados));
        return {};
    }
    for (int i = 0; i < esperados; ++i)
        enlazar(st.get(), i + 1, valores[i]);
    return correr(st.get());
}

ConexionSqlite::Procedimiento* ConexionSqlite::procedimiento(const QString& nombre) {
    const QString clave = nombre.toLower();
    const auto it = procedimientos_.find(clave);
    if (it != procedimientos_.end())
        return &it->second;
    const ResultadoSentencia r =
        ejecutar(QStringLiteral("SELECT Parametros, Sentencia FROM CONSULTAS_GUARDADAS WHERE "
                                "Nombre = ?"),
                 {nombre});
    if (!r.ok || r.filas->filas() == 0)
        return nullptr;
    Procedimiento p;
    const QString declaracion = r.filas->valor(0, 0).toString();
    for (const QString& parte : declaracion.split(u',', Qt::SkipEmptyParts)) {
        const QStringList piezas = parte.simplified().split(u' ');
        if (piezas.size() != 2)
            return nullptr;
        p.nombres << piezas[0];
        p.tipos << piezas[1].toUpper();
    }
    const QByteArray texto = r.filas->valor(0, 1).toString().toUtf8();
    const int rc = sqlite3_prepare_v3(bd_, texto.constData(), int(texto.size()),
                                      SQLITE_PREPARE_PERSISTENT, p.preparada.destino(), nullptr);
    if (rc != SQLITE_OK || !p.preparada) {
        if (rc != SQLITE_OK)
            anotarError(rc);
        return nullptr;
    }
    for (const QString& n : std::as_const(p.nombres))
        p.indices.push_back(
            sqlite3_bind_parameter_index(p.preparada.get(), (u':' + n).toUtf8().constData()));
    return &procedimientos_.insert_or_assign(clave, std::move(p)).first->second;
}

ResultadoSentencia ConexionSqlite::ejecutarProcedimiento(const QString& nombre,
                                                         const QVariantList& valores) {
    errores_.clear();
    if (!bd_) {
        anotar(errores::kFalloGeneral, QStringLiteral("La conexión con la base de datos está "
                                                      "cerrada."));
        return {};
    }
    Procedimiento* p = procedimiento(nombre);
    if (!p) {
        if (errores_.isEmpty())
            anotar(errores::kObjetoNoEncontrado,
                   QStringLiteral("No se encuentra la consulta almacenada '%1'.").arg(nombre));
        return {};
    }
    auto conversion = parametros::convertirTodos(nombre, p->nombres, p->tipos, valores);
    if (const auto* rechazo = std::get_if<parametros::Rechazo>(&conversion)) {
        anotar(rechazo->numero, rechazo->descripcion);
        return {};
    }
    const QVariantList& convertidos = std::get<QVariantList>(conversion);
    sqlite3_stmt* st = p->preparada.get();
    for (int i = 0; i < convertidos.size(); ++i)
        if (p->indices[size_t(i)] > 0)
            enlazar(st, p->indices[size_t(i)], convertidos[i]);
    ResultadoSentencia r = correr(st);
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    return r;
}

bool ConexionSqlite::iniciarTransaccion() {
    errores_.clear();
    return bd_ && ejecutarSimple("BEGIN IMMEDIATE");
}

bool ConexionSqlite::confirmarTransaccion() {
    errores_.clear();
    return bd_ && ejecutarSimple("COMMIT");
}

bool ConexionSqlite::enTransaccion() const {
    return bd_ && sqlite3_get_autocommit(bd_) == 0;
}

bool ConexionSqlite::deshacerTransaccion() {
    errores_.clear();
    return bd_ && ejecutarSimple("ROLLBACK");
}

Conexion::Abridor ConexionSqlite::abridorDeOtra() const {
    return [ruta = ruta_]() -> std::unique_ptr<Conexion> {
        return std::make_unique<ConexionSqlite>(ruta, true);
    };
}

void ConexionSqlite::ampliarCache() {
    if (bd_ && !soloLectura_)
        ejecutarSimple("PRAGMA cache_size=-65536");
}

void ConexionSqlite::interrumpir() {
    interrumpida_ = true;
    if (bd_)
        sqlite3_interrupt(bd_);
}

qint64 ConexionSqlite::ultimoIdInsertado() const {
    return bd_ ? sqlite3_last_insert_rowid(bd_) : 0;
}
