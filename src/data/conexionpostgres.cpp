#include "data/conexionpostgres.h"

#include "data/versionservidor.h"

#include "data/dialecto.h"
#include "data/fechas.h"
#include "data/parametros.h"
#include "platform/reloj.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <climits>

namespace {

using errores::kTiposNoCoinciden;
const QString kPunto = QStringLiteral("tarvo_sentencia");

// The canonical spelling of every table and column the server's scripts
// create, by its lower-case name (the server folds unquoted names).
const QHash<QString, QString>& nombresEsquema() {
    static const QHash<QString, QString> nombres = [] {
        QHash<QString, QString> h;
        static const QRegularExpression definicion(
            QStringLiteral(R"(^\s*(?:CREATE\s+(?:TABLE|VIEW)\s+)?([A-Za-z_]\w*)\s+(?:texto|text|)"
                           R"(integer|double|boolean|date|timestamp|AS)\b)"),
            QRegularExpression::MultilineOption);
        static const QRegularExpression alias(QStringLiteral(R"(\bAS\s+([A-Za-z_]\w*))"));
        QDirIterator it(QStringLiteral(":/postgresql"));
        while (it.hasNext()) {
            QFile f(it.next());
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const QString texto = QString::fromUtf8(f.readAll());
            for (const auto& re : {definicion, alias}) {
                auto m = re.globalMatch(texto);
                while (m.hasNext()) {
                    const QString n = m.next().captured(1);
                    if (n.toLower() != n && n.toUpper() != n)
                        h.insert(n.toLower(), n);
                    else
                        h.insert(n.toLower(), h.value(n.toLower(), n));
                }
            }
        }
        // Type names caught by the patterns ("CAST (integer AS date)").
        for (const char* tipo : {"date", "text", "texto", "integer", "boolean", "double"})
            h.remove(QString::fromLatin1(tipo));
        return h;
    }();
    return nombres;
}

// The lower-case names of the columns that hold no Null in any table of the
// server's scripts (a primary key, NOT NULL). Sorting by one of them needs
// no NULLS clause, which would keep the server from walking its index.
const QSet<QString>& columnasSinNulos() {
    static const QSet<QString> columnas = [] {
        QHash<QString, bool> sinNulos;
        static const QRegularExpression definicion(
            QStringLiteral(
                R"(^\s*(?:ALTER\s+TABLE\s+\w+\s+ADD\s+COLUMN\s+(?:IF\s+NOT\s+EXISTS\s+)?)?)"
                R"(([A-Za-z_]\w*)\s+(?:texto|text|integer|double|boolean|date|timestamp)\b(.*)$)"),
            QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
        QDirIterator it(QStringLiteral(":/postgresql"));
        while (it.hasNext()) {
            QFile f(it.next());
            if (!f.open(QIODevice::ReadOnly))
                continue;
            auto m = definicion.globalMatch(QString::fromUtf8(f.readAll()));
            while (m.hasNext()) {
                const auto d = m.next();
                const QString resto = d.captured(2).toUpper();
                const bool noNulo = resto.contains(QStringLiteral("NOT NULL")) ||
                                    resto.contains(QStringLiteral("PRIMARY KEY"));
                const QString nombre = d.captured(1).toLower();
                sinNulos.insert(nombre, sinNulos.value(nombre, true) && noNulo);
            }
        }
        QSet<QString> r;
        for (auto i = sinNulos.cbegin(); i != sinNulos.cend(); ++i)
            if (i.value())
                r.insert(i.key());
        return r;
    }();
    return columnas;
}

// One statement only: a semicolon outside quotes and comments followed by
// anything but blanks would let the server run a second statement.
bool unaSentencia(const QString& sql) {
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            while (++i < n && sql[i] != c) {
            }
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            while (i < n && sql[i] != u'\n')
                ++i;
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const qsizetype fin = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = fin < 0 ? n : fin + 1;
        } else if (c == u';') {
            for (qsizetype j = i + 1; j < n; ++j)
                if (!sql[j].isSpace() && sql[j] != u';')
                    return false;
            return true;
        }
    }
    return true;
}

// The server's type for a value bound to a ? placeholder; empty when the
// server is left to infer it from the context (text, null). Without it
// "Date() + ?" is ambiguous (date + integer, interval or time).
QString tipoServidor(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::Bool:
        return QStringLiteral("boolean");
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
        return QStringLiteral("integer");
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        const qint64 n = v.toLongLong();
        return n >= INT_MIN && n <= INT_MAX ? QStringLiteral("integer") : QStringLiteral("bigint");
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return QStringLiteral("double precision");
    case QMetaType::QDate:
        return QStringLiteral("date");
    case QMetaType::QDateTime:
        return QStringLiteral("timestamp");
    default:
        return {};
    }
}

// The statement with one plain ? per value to bind, in order: a numbered
// ?N (the same value used several times) becomes a ? of its own with the
// value repeated in `enlazados`, and each ? whose value has a known type is
// written as CAST(? AS type). Quotes and comments are left alone.
QString conTipos(const QString& sql, const QVariantList& valores, QVariantList& enlazados) {
    QString salida;
    salida.reserve(sql.size() + 16 * valores.size());
    const qsizetype n = sql.size();
    int siguiente = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype desde = i;
            while (++i < n && sql[i] != c) {
            }
            salida += QStringView(sql).mid(desde, std::min(i, n - 1) - desde + 1);
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            const qsizetype desde = i;
            while (i < n && sql[i] != u'\n')
                ++i;
            salida += QStringView(sql).mid(desde, std::min(i, n - 1) - desde + 1);
        } else if (c == u'?') {
            qsizetype fin = i + 1;
            while (fin < n && sql[fin].isDigit())
                ++fin;
            int indice = siguiente;
            if (fin > i + 1)
                indice = QStringView(sql).mid(i + 1, fin - i - 1).toInt() - 1;
            siguiente = indice + 1;
            i = fin - 1;
            const QVariant v = valores.value(indice);
            enlazados << v;
            const QString tipo = tipoServidor(v);
            salida +=
                tipo.isEmpty() ? QStringLiteral("?") : QStringLiteral("CAST(? AS %1)").arg(tipo);
        } else {
            salida += c;
        }
    }
    return salida;
}

// Whether the word `palabra` starts at `i` in `sql`, on word boundaries.
bool palabraEn(const QString& sql, qsizetype i, QStringView palabra) {
    const auto esLetra = [](QChar c) { return c.isLetterOrNumber() || c == u'_'; };
    if (i > 0 && esLetra(sql[i - 1]))
        return false;
    if (QStringView(sql).mid(i, palabra.size()).compare(palabra, Qt::CaseInsensitive) != 0)
        return false;
    const qsizetype fin = i + palabra.size();
    return fin >= sql.size() || !esLetra(sql[fin]);
}

// The file sorts Nulls before every value; the server, after. Each term of
// every ORDER BY that does not say where Nulls go gets NULLS FIRST, or NULLS
// LAST when it sorts DESC, so that rows come in the file's order.
QString nulosComoArchivo(const QString& sql) {
    if (!sql.contains(QStringLiteral("ORDER"), Qt::CaseInsensitive))
        return sql;
    static const QStringView kFinales[] = {u"LIMIT", u"OFFSET", u"FETCH",    u"FOR",
                                           u"UNION", u"EXCEPT", u"INTERSECT"};
    QString salida;
    salida.reserve(sql.size() + 32);
    const qsizetype n = sql.size();
    // Per parenthesis depth: whether an ORDER BY list is open there, and
    // where its current term began in `salida`.
    QList<qsizetype> inicioTermino{-1};
    // Per depth: the parenthesis opened a subquery right after FROM or JOIN,
    // which the server wants named (the file does not).
    QList<bool> tablaDerivada{false};
    int numeroDerivada = 0;
    // An outer join or a union can bring Nulls into any column.
    static const QRegularExpression nulosPosibles(QStringLiteral(R"(\b(LEFT|RIGHT|FULL|UNION)\b)"),
                                                  QRegularExpression::CaseInsensitiveOption);
    const bool columnasFiables = !nulosPosibles.match(sql).hasMatch();
    // A term that is a column holding no Null (not renamed by the statement).
    const auto sinNulos = [&](const QString& termino) {
        static const QRegularExpression columna(
            QStringLiteral(R"(^(?:\w+\.)?(\w+)(?:\s+(?:ASC|DESC))?$)"),
            QRegularExpression::CaseInsensitiveOption);
        const auto m = columna.match(termino);
        if (!columnasFiables || !m.hasMatch() ||
            !columnasSinNulos().contains(m.captured(1).toLower()))
            return false;
        const QRegularExpression alias(
            QStringLiteral(R"(\bAS\s+%1\b)").arg(QRegularExpression::escape(m.captured(1))),
            QRegularExpression::CaseInsensitiveOption);
        return !alias.match(sql).hasMatch();
    };
    const auto tieneNombre = [&](qsizetype j) {
        while (j < n && sql[j].isSpace())
            ++j;
        if (j >= n || sql[j] == u')' || sql[j] == u',' || sql[j] == u';')
            return false;
        static const QStringView kNoNombres[] = {
            u"ORDER", u"WHERE", u"GROUP", u"LIMIT", u"HAVING", u"UNION", u"EXCEPT", u"INTERSECT",
            u"INNER", u"LEFT",  u"RIGHT", u"CROSS", u"JOIN",   u"FULL",  u"ON"};
        for (const QStringView palabra : kNoNombres)
            if (palabraEn(sql, j, palabra))
                return false;
        return true;
    };
    const auto cerrarTermino = [&](int nivel) {
        qsizetype& inicio = inicioTermino[nivel];
        if (inicio < 0)
            return;
        const QString termino = salida.mid(inicio).trimmed();
        if (!termino.isEmpty() && !termino.contains(QStringLiteral("NULLS"), Qt::CaseInsensitive) &&
            !sinNulos(termino)) {
            const bool desc = termino.endsWith(QStringLiteral("DESC"), Qt::CaseInsensitive);
            while (!salida.isEmpty() && salida.back().isSpace())
                salida.chop(1);
            salida += desc ? QStringLiteral(" NULLS LAST ") : QStringLiteral(" NULLS FIRST ");
        }
        inicio = -1;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        const int nivel = int(inicioTermino.size()) - 1;
        if (c == u'\'' || c == u'"') {
            const qsizetype desde = i;
            while (++i < n && sql[i] != c) {
            }
            salida += QStringView(sql).mid(desde, std::min(i, n - 1) - desde + 1);
            continue;
        }
        if (c == u'(') {
            QString antes = salida.trimmed();
            const bool derivada = antes.endsWith(QStringLiteral("FROM"), Qt::CaseInsensitive) ||
                                  antes.endsWith(QStringLiteral("JOIN"), Qt::CaseInsensitive);
            inicioTermino << -1;
            tablaDerivada << derivada;
        } else if (c == u')') {
            cerrarTermino(nivel);
            if (nivel > 0) {
                const bool derivada = tablaDerivada.takeLast();
                inicioTermino.removeLast();
                if (derivada && !tieneNombre(i + 1)) {
                    salida += QStringLiteral(") AS tarvo_derivada_%1 ").arg(++numeroDerivada);
                    continue;
                }
            }
        } else if (c == u',' && inicioTermino[nivel] >= 0) {
            cerrarTermino(nivel);
            salida += c;
            inicioTermino[nivel] = salida.size();
            continue;
        } else if (c.isLetter() && inicioTermino[nivel] >= 0) {
            for (const QStringView fin : kFinales)
                if (palabraEn(sql, i, fin)) {
                    cerrarTermino(nivel);
                    break;
                }
        } else if ((c == u'O' || c == u'o') && palabraEn(sql, i, u"ORDER")) {
            qsizetype j = i + 5;
            while (j < n && sql[j].isSpace())
                ++j;
            if (palabraEn(sql, j, u"BY")) {
                salida += QStringView(sql).mid(i, j + 2 - i);
                i = j + 1;
                inicioTermino[nivel] = salida.size();
                continue;
            }
        }
        salida += c;
    }
    cerrarTermino(int(inicioTermino.size()) - 1);
    return salida;
}

// A text value goes as text even when it is a null string, as the file
// stores it: the driver would send NULL.
QVariant paraServidor(const QVariant& v) {
    if (v.typeId() == QMetaType::QString && v.toString().isNull())
        return QVariant(QStringLiteral(""));
    return v;
}

// The table an INSERT writes, in lower case; empty for another statement.
QString tablaInsertada(const QString& sql) {
    static const QRegularExpression re(QStringLiteral(R"re(^\s*INSERT\s+INTO\s+"?(\w+)"?)re"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(sql);
    return m.hasMatch() ? m.captured(1).toLower() : QString();
}

} // namespace

ConexionPostgres::ConexionPostgres(const DatosServidor& datos) : datos_(datos) {
    abierta_ = abrir();
    if (!abierta_)
        cerrar();
}

ConexionPostgres::~ConexionPostgres() {
    cerrar();
}

void ConexionPostgres::cerrar() {
    // The prepared statements go while their connection is still there.
    preparadas_.clear();
    ordenPreparadas_.clear();
    abierta_ = false;
    enTransaccion_ = false;
    puntoPuesto_ = false;
    procedimientos_.clear();
    cancelacion_.soltar();
    servidor::cerrar(nombreQt_);
    nombreQt_.clear();
}

void ConexionPostgres::anotar(qint32 numero, const QString& descripcion) {
    errores_.append({numero, descripcion});
}

void ConexionPostgres::anotar(const QSqlError& error) {
    const QString estado = error.nativeErrorCode();
    QString detalle = error.databaseText().trimmed();
    if (detalle.isEmpty())
        detalle = error.text().trimmed();
    const QString entre = QStringLiteral(" (") + detalle + u')';
    if (estado == u"23505")
        anotar(errores::kErroresEnComando,
               QStringLiteral("Los cambios solicitados en la tabla no se realizaron "
                              "correctamente porque crearían valores duplicados en el índice, "
                              "clave principal o relación.") +
                   entre);
    else if (estado == u"23503")
        // The row it belongs to is gone: another desk deleted it meanwhile.
        anotar(errores::kFalloGeneral,
               QStringLiteral("No se puede guardar el registro: el registro al que pertenece ya "
                              "no existe; otro puesto lo eliminó.") +
                   entre);
    else if (estado.startsWith(u"23"))
        anotar(errores::kFalloGeneral,
               QStringLiteral("No se puede guardar el registro: un campo no admite el valor "
                              "dado.") +
                   entre);
    else if (estado == u"42P01" || estado == u"42883")
        anotar(errores::kObjetoNoEncontrado,
               QStringLiteral("No se encuentra la tabla o consulta de entrada.") + entre);
    else if (estado == u"42703")
        anotar(errores::kFaltanParametros,
               QStringLiteral("Pocos parámetros: la instrucción nombra una columna que no "
                              "existe.") +
                   entre);
    else if (estado == u"42501")
        anotar(errores::kFalloGeneral,
               QStringLiteral("El usuario del servidor no tiene permiso para hacerlo: el "
                              "administrador debe hacerlo miembro de «%1».")
                       .arg(QLatin1StringView(kRolPuestos)) +
                   entre);
    else if (estado.startsWith(u"42"))
        anotar(errores::kErroresEnComando,
               QStringLiteral("Error de sintaxis en la instrucción SQL.") + entre);
    else if (estado.startsWith(u"22"))
        anotar(kTiposNoCoinciden, QStringLiteral("No coinciden los tipos de datos.") + entre);
    else if (estado == u"40P01" || estado == u"55P03" || estado == u"40001")
        anotar(errores::kFalloGeneral,
               QStringLiteral("La base de datos está bloqueada por otro usuario o programa.") +
                   entre);
    else if (estado.startsWith(u"08") || estado.startsWith(u"57P") ||
             error.type() == QSqlError::ConnectionError || estado.isEmpty()) {
        perdida_ = !conexionPostgresViva(QSqlDatabase::database(nombreQt_, false));
        anotar(errores::kFalloGeneral,
               QStringLiteral("Se perdió la conexión con el servidor de la base de datos; el "
                              "cambio no se guardó.") +
                   entre);
    } else
        anotar(errores::kFalloGeneral, QStringLiteral("Error de la base de datos.") + entre);
}

bool ConexionPostgres::simple(const QString& sql) {
    QSqlQuery q(QSqlDatabase::database(nombreQt_, false));
    if (servidor::ejecutarTodo(q, sql))
        return true;
    anotar(q.lastError());
    return false;
}

bool ConexionPostgres::abrir() {
    nombreQt_ = servidor::nombreNuevo();
    QString error;
    auto bd = servidor::abrir(datos_, nombreQt_, error);
    if (!bd) {
        nombreQt_.clear();
        anotar(errores::kFalloGeneral, error);
        return false;
    }
    if (const QString problema = servidor::problemaObjetos(*bd, datos_); !problema.isEmpty()) {
        anotar(errores::kFalloGeneral, problema);
        return false;
    }
    // Dates typed as text read day first, as the program writes them.
    // A lock held by another desk is waited for a few seconds, as the file
    // waits for another program, then reported. A statement prepared once
    // and run again is planned for each run's values (from version 12 of
    // the server): a plan made for any value can walk the whole table where
    // the values at hand need a few rows.
    if (!simple(QStringLiteral("SET DateStyle = 'ISO, DMY'; SET lock_timeout = '5s'; "
                               "SELECT set_config('plan_cache_mode', 'force_custom_plan', false) "
                               "WHERE current_setting('server_version_num')::integer >= 120000")))
        return false;
    fijarHoy();
    cancelacion_.preparar(*bd);
    return errores_.isEmpty();
}

Conexion::Abridor ConexionPostgres::abridorDeOtra() const {
    return [datos = datos_]() -> std::unique_ptr<Conexion> {
        return std::make_unique<ConexionPostgres>(datos);
    };
}

void ConexionPostgres::interrumpir() {
    interrumpida_ = true;
    cancelacion_.cancelar();
}

void ConexionPostgres::fijarHoy() {
    // Set outside transactions only: a setting changed inside one is undone
    // with it when it rolls back.
    const QDate hoy = Reloj::hoy();
    if (enTransaccion_ || hoy == hoy_)
        return;
    if (simple(QStringLiteral("SELECT set_config('tarvo.hoy', '%1', false)")
                   .arg(hoy.toString(Qt::ISODate))))
        hoy_ = hoy;
}

QString ConexionPostgres::nombreCanonico(const QString& nombre, const QString& sql) const {
    // As the statement spells it (aliases included), else as the schema does.
    const QRegularExpression re(QStringLiteral(R"(\b%1\b)").arg(QRegularExpression::escape(nombre)),
                                QRegularExpression::CaseInsensitiveOption);
    if (const auto m = re.match(sql); m.hasMatch())
        return m.captured(0);
    return nombresEsquema().value(nombre.toLower(), nombre);
}

ResultadoSentencia ConexionPostgres::correr(QSqlQuery& q, const QString& sql, bool preparada,
                                            bool puntoAbierto, bool claveAgregada) {
    if (!puntoAbierto && !ponerPunto())
        return {};
    const bool ok = preparada ? q.exec() : q.exec(sql);
    if (!ok) {
        anotar(q.lastError());
        // The transaction goes on without the failed statement; the caller
        // decides whether to roll it back.
        volverAlPunto();
        return {};
    }
    ResultadoSentencia r;
    if (claveAgregada) {
        // The key of the last row added, which the statement returned.
        while (q.next())
            ultimoId_ = q.value(0).toLongLong();
        r.afectados = q.numRowsAffected();
    } else if (q.isSelect()) {
        auto tabla = std::make_shared<TablaResultado>();
        const QSqlRecord registro = q.record();
        for (int c = 0; c < registro.count(); ++c) {
            // A table's date and yes/no columns read back as such; an
            // expression (Date() + 30, a comparison) reads as a number, as
            // it does from the database file. The driver does not name a
            // column's table, so a schema column's name tells.
            const QSqlField campo = registro.field(c);
            const int tipo = campo.metaType().id();
            const bool deTabla = nombresEsquema().contains(campo.name().toLower());
            TipoColumna clase = TipoColumna::General;
            if (deTabla && (tipo == QMetaType::QDate || tipo == QMetaType::QDateTime))
                clase = TipoColumna::Fecha;
            else if (deTabla && tipo == QMetaType::Bool)
                clase = TipoColumna::SiNo;
            tabla->agregarColumna(nombreCanonico(registro.fieldName(c), sql), clase);
        }
        while (q.next())
            for (int c = 0; c < registro.count(); ++c)
                tabla->agregarValor(q.value(c));
        r.filas = std::move(tabla);
        r.afectados = -1;
    } else {
        r.afectados = q.numRowsAffected();
    }
    q.finish();
    r.ok = true;
    return r;
}

bool ConexionPostgres::reconectarSiPerdida() {
    // Inside a transaction the loss stands until it ends: what it wrote
    // went with the server's session.
    if (!perdida_ || enTransaccion_)
        return true;
    cerrar();
    hoy_ = {};
    const bool reabierta = abrir();
    if (!reabierta)
        cerrar();
    // Still open to the program: the next statement tries again.
    abierta_ = true;
    perdida_ = !reabierta;
    return reabierta;
}

bool ConexionPostgres::ponerPunto() {
    if (!enTransaccion_)
        return true;
    // The previous statement's savepoint is released in the same round trip
    // as the new one is set; the last one goes with the commit.
    if (!simple(puntoPuesto_ ? QStringLiteral("RELEASE SAVEPOINT %1; SAVEPOINT %1").arg(kPunto)
                             : QStringLiteral("SAVEPOINT ") + kPunto))
        return false;
    puntoPuesto_ = true;
    return true;
}

void ConexionPostgres::volverAlPunto() {
    // The savepoint stays, marking the same state, for the next statement.
    if (enTransaccion_ && puntoPuesto_)
        QSqlQuery(QSqlDatabase::database(nombreQt_, false))
            .exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + kPunto);
}

QSqlQuery* ConexionPostgres::preparada(const QString& sentencia, bool& nueva) {
    nueva = false;
    if (const auto it = preparadas_.find(sentencia); it != preparadas_.end())
        return it->second.get();
    nueva = true;
    auto q = std::make_unique<QSqlQuery>(QSqlDatabase::database(nombreQt_, false));
    q->setForwardOnly(true);
    q->setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!q->prepare(sentencia)) {
        anotar(q->lastError());
        return nullptr;
    }
    if (ordenPreparadas_.size() >= kMaxPreparadas) {
        preparadas_.erase(ordenPreparadas_.front());
        ordenPreparadas_.pop_front();
    }
    ordenPreparadas_.push_back(sentencia);
    return preparadas_.emplace(sentencia, std::move(q)).first->second.get();
}

void ConexionPostgres::olvidar(const QString& sentencia) {
    // After a failure: the next run prepares it again (the table may have
    // changed, or the server may have lost it).
    if (preparadas_.erase(sentencia))
        ordenPreparadas_.erase(
            std::find(ordenPreparadas_.begin(), ordenPreparadas_.end(), sentencia));
}

void ConexionPostgres::olvidarSiCambiaEsquema(const QString& sql) {
    // A statement that may change a table's columns invalidates what was
    // prepared against them.
    static const QRegularExpression lectura(
        QStringLiteral(R"(^\s*\(*\s*(SELECT|INSERT|UPDATE|DELETE|WITH|VALUES)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    if (!preparadas_.empty() && !lectura.match(sql).hasMatch()) {
        preparadas_.clear();
        ordenPreparadas_.clear();
    }
}

QString ConexionPostgres::conClaveDevuelta(const QString& sql) {
    const QString tabla = tablaInsertada(sql);
    if (tabla.isEmpty() || sql.contains(QStringLiteral("RETURNING"), Qt::CaseInsensitive))
        return sql;
    if (!clavesGeneradas_) {
        // Read once, at the first insertion: the column each table takes its
        // key from a sequence for.
        clavesGeneradas_.emplace();
        QSqlQuery c(QSqlDatabase::database(nombreQt_, false));
        if (c.exec(QStringLiteral(
                "SELECT lower(table_name), column_name FROM information_schema.columns "
                "WHERE table_schema = current_schema() AND (is_identity = 'YES' OR "
                "column_default LIKE 'nextval(%')")))
            while (c.next())
                clavesGeneradas_->emplace(c.value(0).toString(), c.value(1).toString());
    }
    const auto clave = clavesGeneradas_->find(tabla);
    if (clave == clavesGeneradas_->end())
        return sql;
    return sql + QStringLiteral(" RETURNING ") + clave->second;
}

ResultadoSentencia ConexionPostgres::ejecutar(const QString& sql, const QVariantList& valores) {
    errores_.clear();
    if (interrumpida_) {
        anotar(errores::kFalloGeneral, QStringLiteral("La instrucción fue interrumpida."));
        return {};
    }
    if (!abierta_) {
        anotar(errores::kFalloGeneral,
               QStringLiteral("La conexión con la base de datos está cerrada."));
        return {};
    }
    if (!reconectarSiPerdida())
        return {};
    const QString texto = nulosComoArchivo(dialecto::adaptar(sql));
    if (!unaSentencia(texto)) {
        anotar(errores::kErroresEnComando,
               QStringLiteral("Se encontraron caracteres después del final de la instrucción "
                              "SQL."));
        return {};
    }
    fijarHoy();
    olvidarSiCambiaEsquema(texto);
    const QString sentencia = conClaveDevuelta(texto);
    const bool claveAgregada = sentencia.size() != texto.size();
    if (valores.isEmpty()) {
        QSqlQuery q(QSqlDatabase::database(nombreQt_, false));
        q.setForwardOnly(true);
        q.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        return correr(q, sentencia, false, false, claveAgregada);
    }
    QVariantList enlazados;
    const QString preparable = conTipos(sentencia, valores, enlazados);
    return correrPreparada(preparable, sentencia, claveAgregada, [&](QSqlQuery& q) {
        for (int i = 0; i < enlazados.size(); ++i)
            q.bindValue(i, paraServidor(enlazados[i]));
    });
}

ResultadoSentencia
ConexionPostgres::correrPreparada(const QString& preparable, const QString& sentencia,
                                  bool claveAgregada,
                                  const std::function<void(QSqlQuery&)>& enlazar) {
    for (int intento = 0;; ++intento) {
        // Preparing is a statement of its own on the server: inside a
        // transaction one savepoint covers it and the execution.
        if (!ponerPunto())
            return {};
        bool nueva = false;
        QSqlQuery* q = preparada(preparable, nueva);
        if (!q) {
            volverAlPunto();
            return {};
        }
        enlazar(*q);
        ResultadoSentencia r = correr(*q, sentencia, true, true, claveAgregada);
        if (r.ok)
            return r;
        const QString estado = q->lastError().nativeErrorCode();
        olvidar(preparable);
        // Prepared before another desk changed the table's columns
        // (0A000), or lost by the server (26000): prepared again, once.
        if (nueva || intento > 0 || (estado != u"0A000" && estado != u"26000"))
            return r;
        errores_.clear();
    }
}

const ConexionPostgres::Procedimiento* ConexionPostgres::procedimiento(const QString& nombre) {
    const QString clave = nombre.toLower();
    if (const auto it = procedimientos_.find(clave); it != procedimientos_.end())
        return &it->second;
    const ResultadoSentencia r = ejecutar(
        QStringLiteral("SELECT Parametros, Sentencia FROM CONSULTAS_GUARDADAS WHERE Nombre = ?"),
        {nombre});
    if (!r.ok || r.filas->filas() == 0)
        return nullptr;
    Procedimiento p;
    for (const QString& parte : r.filas->valor(0, 0).toString().split(u',', Qt::SkipEmptyParts)) {
        const QStringList piezas = parte.simplified().split(u' ');
        if (piezas.size() != 2)
            return nullptr;
        p.nombres << piezas[0];
        p.tipos << piezas[1].toUpper();
    }
    p.sentencia = r.filas->valor(0, 1).toString();
    return &procedimientos_.insert_or_assign(clave, std::move(p)).first->second;
}

ResultadoSentencia ConexionPostgres::ejecutarProcedimiento(const QString& nombre,
                                                           const QVariantList& valores) {
    errores_.clear();
    if (!abierta_) {
        anotar(errores::kFalloGeneral,
               QStringLiteral("La conexión con la base de datos está cerrada."));
        return {};
    }
    if (!reconectarSiPerdida())
        return {};
    const Procedimiento* p = procedimiento(nombre);
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
    fijarHoy();
    const QString sentencia = conClaveDevuelta(p->sentencia);
    const auto enlazar = [&](QSqlQuery& q) {
        for (int i = 0; i < convertidos.size(); ++i) {
            QVariant v = convertidos[i];
            // A day number becomes the date the server's date columns take.
            if (p->tipos[i] == u"DATE" && v.typeId() == QMetaType::Double)
                v = fechas::valorDeDia(v.toDouble());
            // By name: the driver sends values in the order their names appear in
            // the statement, which need not be the declared order.
            const QString marca = u':' + p->nombres[i];
            const QRegularExpression re(QRegularExpression::escape(marca) +
                                        QStringLiteral(R"(\b)"));
            if (p->sentencia.contains(re))
                q.bindValue(marca, paraServidor(v));
        }
    };
    return correrPreparada(sentencia, sentencia, sentencia.size() != p->sentencia.size(), enlazar);
}

bool ConexionPostgres::iniciarTransaccion() {
    errores_.clear();
    if (!abierta_ || !reconectarSiPerdida())
        return false;
    fijarHoy();
    if (!simple(QStringLiteral("BEGIN")))
        return false;
    // One writing transaction at a time, as on the file: what a transaction
    // decides from other rows (the next quote number, MAX(PreId), the lines
    // stored now) holds until it commits. Readers are never blocked.
    if (!simple(QStringLiteral("LOCK TABLE PRESUPUESTOS IN SHARE ROW EXCLUSIVE MODE"))) {
        QSqlQuery(QSqlDatabase::database(nombreQt_, false)).exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    enTransaccion_ = true;
    return true;
}

bool ConexionPostgres::confirmarTransaccion() {
    errores_.clear();
    if (!abierta_)
        return false;
    const bool ok = simple(QStringLiteral("COMMIT"));
    enTransaccion_ = false;
    puntoPuesto_ = false;
    return ok;
}

bool ConexionPostgres::deshacerTransaccion() {
    errores_.clear();
    if (!abierta_)
        return false;
    const bool ok = simple(QStringLiteral("ROLLBACK"));
    enTransaccion_ = false;
    puntoPuesto_ = false;
    return ok;
}
