#include "data/versionservidor.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

BaseVersionadaServidor::BaseVersionadaServidor(const DatosServidor& datos)
    : datos_(datos), nombreQt_(servidor::nombreNuevo()) {}

BaseVersionadaServidor::~BaseVersionadaServidor() {
    deshacer();
    servidor::cerrar(nombreQt_);
}

bool BaseVersionadaServidor::exec(const QString& sql) {
    QSqlQuery q(QSqlDatabase::database(nombreQt_, false));
    if (servidor::ejecutarTodo(q, sql))
        return true;
    error_ = q.lastError().databaseText().trimmed();
    if (error_.isEmpty())
        error_ = q.lastError().text();
    return false;
}

bool BaseVersionadaServidor::comenzar() {
    if (!QSqlDatabase::contains(nombreQt_)) {
        QString error;
        if (!servidor::abrir(datos_, nombreQt_, error)) {
            error_ = error;
            return false;
        }
    }
    enTransaccion_ = exec(QStringLiteral("BEGIN"));
    // One preparation at a time: the key is the text "tarvo" read as a number.
    return enTransaccion_ && exec(QStringLiteral("SELECT pg_advisory_xact_lock(7627876876)"));
}

bool BaseVersionadaServidor::confirmar() {
    if (!exec(QStringLiteral("COMMIT")))
        return false;
    enTransaccion_ = false;
    return true;
}

void BaseVersionadaServidor::deshacer() {
    if (enTransaccion_)
        exec(QStringLiteral("ROLLBACK"));
    enTransaccion_ = false;
}

int BaseVersionadaServidor::version() {
    QSqlQuery q(QSqlDatabase::database(nombreQt_, false));
    if (!q.exec(QStringLiteral("SELECT to_regclass('tarvo_version') IS NOT NULL, "
                               "to_regclass('presupuestos') IS NOT NULL")) ||
        !q.next()) {
        error_ = q.lastError().text();
        return versionesquema::kDesconocida;
    }
    if (!q.value(0).toBool()) {
        if (q.value(1).toBool()) {
            error_ = QStringLiteral("la base de datos tiene tablas del programa pero no su "
                                    "versión; no se tocará.");
            return versionesquema::kDesconocida;
        }
        return 0;
    }
    if (!q.exec(QStringLiteral("SELECT MAX(Version) FROM TARVO_VERSION")) || !q.next()) {
        error_ = q.lastError().text();
        return versionesquema::kDesconocida;
    }
    return q.value(0).isNull() ? 0 : q.value(0).toInt();
}

bool BaseVersionadaServidor::fijarVersion(int version) {
    return exec(QStringLiteral("DELETE FROM TARVO_VERSION")) &&
           exec(QStringLiteral("INSERT INTO TARVO_VERSION (Version) VALUES (%1)").arg(version));
}

bool BaseVersionadaServidor::ejecutarGuion(const QString& sql) {
    // A script without parameters runs as one simple query, every statement
    // in it, inside the open transaction.
    return exec(sql);
}

bool BaseVersionadaServidor::colisiones(const ColumnaUnica&, QList<QStringList>&) {
    // The server's text columns compare under the Spanish collation since
    // the first step: no step changes how values compare.
    return true;
}

bool BaseVersionadaServidor::comprobarReferencias() {
    // Foreign keys are checked by the server as each statement runs.
    return true;
}

bool BaseVersionadaServidor::guardarCopia(const QString&) {
    return true;
}

const std::vector<PasoEsquema>& pasosServidor() {
    // Version 2: the program's objects, tables, views, stored queries and
    // seed rows, as a file of version 2 has them.
    static const std::vector<PasoEsquema> pasos{
        {2, QStringLiteral(":/postgresql/version-2.sql"), {}},
        // Version 3: the history of each quote's status.
        {3, QStringLiteral(":/postgresql/version-3.sql"), {}},
        // Version 4: the index of the expiry day.
        {4, QStringLiteral(":/postgresql/version-4.sql"), {}},
        // Version 5: who edits a quote, the day of the last backup, each
        // quote's lines tied to it, and each quote's current status kept by
        // triggers on its history.
        {5, QStringLiteral(":/postgresql/version-5.sql"), {}},
    };
    return pasos;
}

ResultadoActualizacion prepararServidor(const DatosServidor& datos) {
    BaseVersionadaServidor base(datos);
    // First the settings a restored dump lacks, applied on every run: they
    // need a superuser, so a preparation without one stops before it creates
    // anything.
    QFile f(QStringLiteral(":/postgresql/ajustes.sql"));
    const auto fallida = [](const QString& detalle) {
        ResultadoActualizacion r;
        r.versionNueva = pasosServidor().back().version;
        r.estado = ResultadoActualizacion::Estado::Fallida;
        r.detalle = detalle;
        return r;
    };
    if (!f.open(QIODevice::ReadOnly))
        return fallida(QStringLiteral("no se puede leer ajustes.sql."));
    if (!base.comenzar())
        return fallida(base.error());
    if (!base.ejecutarGuion(QString::fromUtf8(f.readAll())) || !base.confirmar())
        return fallida(QStringLiteral("%1 (la preparación la debe hacer un superusuario del "
                                      "servidor).")
                           .arg(base.error()));
    ResultadoActualizacion r = actualizarEsquema(
        base, [](int) { return QString(); }, pasosServidor());
    if (!r.alDia())
        return r;
    // Last, on every run: the indexes of the list's orders, and the desks'
    // role with its privileges on every object the steps made (a later
    // step's tables are granted too).
    const auto aplicar = [&base](const char* guion) {
        QFile f(QStringLiteral(":/postgresql/") + QLatin1StringView(guion));
        if (!f.open(QIODevice::ReadOnly))
            return QStringLiteral("no se puede leer %1").arg(QLatin1StringView(guion));
        if (!base.comenzar() || !base.ejecutarGuion(QString::fromUtf8(f.readAll())) ||
            !base.confirmar())
            return base.error();
        return QString();
    };
    if (const QString error = aplicar("indices.sql"); !error.isEmpty())
        return fallida(
            QStringLiteral("no se pudieron crear los índices de la lista (%1).").arg(error));
    if (const QString error = aplicar("puestos.sql"); !error.isEmpty())
        return fallida(QStringLiteral("no se pudo dar acceso a los puestos (%1).").arg(error));
    return r;
}
