#pragma once

#include "data/cancelacionpostgres.h"
#include "data/conexion.h"
#include "data/servidor.h"

#include <QDate>
#include <QHash>
#include <QStringList>

#include <atomic>
#include <map>
#include <optional>

class QSqlError;
class QSqlQuery;

// A connection to a PostgreSQL database prepared for the program, through
// Qt's QPSQL driver. The server's own objects (resources/postgresql/) make
// the system's statements run as written; this class adds what the driver
// needs: today's date from the clock service in the session, each statement
// of a transaction under a savepoint (an error would otherwise abort the
// whole transaction), stored-query values bound by name, column names back
// in their canonical spelling and the server's errors as provider errors.
class ConexionPostgres final : public Conexion {
public:
    // Connects and checks that the database holds the program's objects;
    // otherwise the connection stays closed with the reason in errores().
    explicit ConexionPostgres(const DatosServidor& datos);
    ~ConexionPostgres() override;
    ConexionPostgres(const ConexionPostgres&) = delete;
    ConexionPostgres& operator=(const ConexionPostgres&) = delete;

    bool abierta() const override { return abierta_; }
    void cerrar() override;
    const DatosServidor& datos() const { return datos_; }

    ResultadoSentencia ejecutar(const QString& sql, const QVariantList& valores = {}) override;
    ResultadoSentencia ejecutarProcedimiento(const QString& nombre,
                                             const QVariantList& valores) override;

    bool iniciarTransaccion() override;
    bool confirmarTransaccion() override;
    bool deshacerTransaccion() override;
    bool enTransaccion() const override { return enTransaccion_; }
    qint64 ultimoIdInsertado() const override { return ultimoId_; }

    // Another connection to the same database, as this one was opened.
    Abridor abridorDeOtra() const override;
    void interrumpir() override;

    // A column name as the schema and the statement spell it ("PreNumero"
    // for the server's "prenumero"); the name itself when unknown.
    QString nombreCanonico(const QString& nombre, const QString& sql) const;

private:
    struct Procedimiento {
        QStringList nombres;
        QStringList tipos;
        QString sentencia;
    };

    bool abrir();
    const Procedimiento* procedimiento(const QString& nombre);
    // Runs the prepared or plain query under a savepoint when in a
    // transaction (`puntoAbierto`: the caller has set it, before preparing).
    // `claveAgregada`: the statement returns the generated key that
    // conClaveDevuelta asked for, which is kept rather than returned as rows.
    ResultadoSentencia correr(QSqlQuery& q, const QString& sql, bool preparada,
                              bool puntoAbierto = false, bool claveAgregada = false);
    // Undoes the failed statement's savepoint; the transaction goes on.
    void volverAlPunto();
    // An INSERT into a table whose key comes from a sequence returns that
    // key, so that no second statement has to ask for it.
    QString conClaveDevuelta(const QString& sql);
    bool simple(const QString& sql);
    void fijarHoy();
    void anotar(const QSqlError& error);
    void anotar(qint32 numero, const QString& descripcion);

    DatosServidor datos_;
    QString nombreQt_;
    bool abierta_ = false;
    bool enTransaccion_ = false;
    QDate hoy_;
    qint64 ultimoId_ = 0;
    // The key column of each table that takes its key from a sequence, by
    // the table's lower-case name; read at the first insertion.
    std::optional<std::map<QString, QString>> clavesGeneradas_;
    std::map<QString, Procedimiento> procedimientos_;
    CancelacionPostgres cancelacion_;
    std::atomic<bool> interrumpida_{false};
};
