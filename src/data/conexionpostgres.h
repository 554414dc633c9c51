#pragma once

#include "data/cancelacionpostgres.h"
#include "data/conexion.h"
#include "data/servidor.h"

#include <QDate>
#include <QHash>
#include <QStringList>

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>
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
    QString identidad() const override { return servidor::escribirCadena(datos_); }
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
    // Inside a transaction, sets the savepoint a failed statement goes
    // back to (releasing the previous statement's in the same round trip).
    bool ponerPunto();
    // A connection the server dropped (it restarted, the network failed) is
    // opened again before the next statement outside a transaction, so that
    // the user can repeat what failed; false, with the reason, if it cannot.
    bool reconectarSiPerdida();
    // Undoes the failed statement; the transaction goes on.
    void volverAlPunto();
    // The statement prepared on this connection (prepared now if new; the
    // oldest of kMaxPreparadas is dropped); null when the server refuses it.
    QSqlQuery* preparada(const QString& sentencia, bool& nueva);
    // Runs `preparable` prepared, its values bound by `enlazar`, under a
    // savepoint in a transaction; a prepared statement the server no longer
    // takes as it is is prepared again once.
    ResultadoSentencia correrPreparada(const QString& preparable, const QString& sentencia,
                                       bool claveAgregada,
                                       const std::function<void(QSqlQuery&)>& enlazar);
    void olvidar(const QString& sentencia);
    void olvidarSiCambiaEsquema(const QString& sql);
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
    // A savepoint set by the last statement of the transaction, not released.
    bool puntoPuesto_ = false;
    bool perdida_ = false;
    QDate hoy_;
    qint64 ultimoId_ = 0;
    // The key column of each table that takes its key from a sequence, by
    // the table's lower-case name; read at the first insertion.
    std::optional<std::map<QString, QString>> clavesGeneradas_;
    std::map<QString, Procedimiento> procedimientos_;
    static constexpr std::size_t kMaxPreparadas = 64;
    std::map<QString, std::unique_ptr<QSqlQuery>> preparadas_;
    std::deque<QString> ordenPreparadas_;
    CancelacionPostgres cancelacion_;
    std::atomic<bool> interrumpida_{false};
};
