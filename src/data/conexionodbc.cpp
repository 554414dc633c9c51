#include "data/conexionodbc.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include <atomic>

ConexionOdbc::ConexionOdbc(const QString& dsn, const QString& password) {
    static std::atomic<int> contador{0};
    nombreQt_ = QStringLiteral("tarvo_odbc_%1").arg(++contador);
    bool ok = false;
    {
        QSqlDatabase bd = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), nombreQt_);
        // The bare name: the driver puts "DSN=" before it.
        bd.setDatabaseName(dsn);
        bd.setPassword(password);
        ok = bd.open();
        if (!ok)
            anotar(bd.lastError());
    }
    // Removed once no handle to it is left, otherwise Qt warns that it is
    // still in use.
    if (!ok) {
        if (errores_.isEmpty())
            errores_.append(
                {errores::kFalloGeneral,
                 QStringLiteral("No se puede abrir el origen de datos '%1'.").arg(dsn)});
        cerrar();
    }
}

ConexionOdbc::~ConexionOdbc() {
    cerrar();
}

bool ConexionOdbc::abierta() const {
    return !nombreQt_.isEmpty() && QSqlDatabase::database(nombreQt_, false).isOpen();
}

void ConexionOdbc::cerrar() {
    if (nombreQt_.isEmpty())
        return;
    {
        QSqlDatabase bd = QSqlDatabase::database(nombreQt_, false);
        bd.close();
    }
    QSqlDatabase::removeDatabase(nombreQt_);
    nombreQt_.clear();
}

void ConexionOdbc::anotar(const QSqlError& error) {
    if (error.type() == QSqlError::NoError)
        return;
    bool ok = false;
    const int numero = error.nativeErrorCode().toInt(&ok);
    errores_.append({ok && numero != 0 ? numero : errores::kFalloGeneral, error.text()});
}

ResultadoSentencia ConexionOdbc::ejecutar(const QString& sql, const QVariantList& valores) {
    errores_.clear();
    if (!abierta()) {
        errores_.append({errores::kFalloGeneral,
                         QStringLiteral("La conexión con la base de datos está cerrada.")});
        return {};
    }
    QSqlQuery consulta(QSqlDatabase::database(nombreQt_, false));
    consulta.setForwardOnly(true);
    if (!consulta.prepare(sql)) {
        anotar(consulta.lastError());
        return {};
    }
    for (const QVariant& v : valores)
        consulta.addBindValue(v);
    if (!consulta.exec()) {
        anotar(consulta.lastError());
        return {};
    }
    ResultadoSentencia r;
    r.ok = true;
    if (!consulta.isSelect()) {
        r.afectados = consulta.numRowsAffected();
        // Drivers that cannot tell leave it invalid.
        const QVariant id = consulta.lastInsertId();
        if (id.isValid())
            ultimoId_ = id.toLongLong();
        return r;
    }
    auto tabla = std::make_shared<TablaResultado>();
    const QSqlRecord registro = consulta.record();
    for (int c = 0; c < registro.count(); ++c) {
        const auto tipo = registro.field(c).metaType().id();
        tabla->agregarColumna(registro.fieldName(c),
                              tipo == QMetaType::QDate || tipo == QMetaType::QDateTime
                                  ? TipoColumna::Fecha
                              : tipo == QMetaType::Bool ? TipoColumna::SiNo
                                                        : TipoColumna::General);
    }
    while (consulta.next())
        for (int c = 0; c < registro.count(); ++c)
            tabla->agregarValor(consulta.value(c));
    if (consulta.lastError().type() != QSqlError::NoError) {
        anotar(consulta.lastError());
        return {};
    }
    r.filas = std::move(tabla);
    r.afectados = -1;
    return r;
}

ResultadoSentencia ConexionOdbc::ejecutarProcedimiento(const QString& nombre, const QVariantList&) {
    errores_.clear();
    errores_.append({errores::kObjetoNoEncontrado,
                     QStringLiteral("No se encuentra la consulta almacenada '%1'.").arg(nombre)});
    return {};
}

bool ConexionOdbc::iniciarTransaccion() {
    errores_.clear();
    enTransaccion_ = abierta() && QSqlDatabase::database(nombreQt_, false).transaction();
    return enTransaccion_;
}

bool ConexionOdbc::confirmarTransaccion() {
    errores_.clear();
    const bool hecho = abierta() && QSqlDatabase::database(nombreQt_, false).commit();
    if (hecho)
        enTransaccion_ = false;
    return hecho;
}

bool ConexionOdbc::deshacerTransaccion() {
    errores_.clear();
    enTransaccion_ = false;
    return abierta() && QSqlDatabase::database(nombreQt_, false).rollback();
}
