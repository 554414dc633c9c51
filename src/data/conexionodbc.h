#pragma once

#include "data/conexion.h"

// A connection to a data source of another driver (such as the stock-control
// program's database), through Qt's ODBC driver. Statements go to the driver
// as written; stored queries are not available on it.
class ConexionOdbc final : public Conexion {
public:
    ConexionOdbc(const QString& dsn, const QString& password);
    ~ConexionOdbc() override;
    ConexionOdbc(const ConexionOdbc&) = delete;
    ConexionOdbc& operator=(const ConexionOdbc&) = delete;

    bool abierta() const override;
    void cerrar() override;
    ResultadoSentencia ejecutar(const QString& sql, const QVariantList& valores = {}) override;
    ResultadoSentencia ejecutarProcedimiento(const QString& nombre,
                                             const QVariantList& valores) override;
    bool iniciarTransaccion() override;
    bool confirmarTransaccion() override;
    bool deshacerTransaccion() override;
    bool enTransaccion() const override { return enTransaccion_; }
    qint64 ultimoIdInsertado() const override { return ultimoId_; }

private:
    void anotar(const class QSqlError& error);
    QString nombreQt_;
    bool enTransaccion_ = false;
    qint64 ultimoId_ = 0;
};
