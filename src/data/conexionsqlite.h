#pragma once

#include "data/conexion.h"
#include "data/sentencia.h"

#include <QStringList>

#include <atomic>
#include <map>
#include <vector>

// A connection to a database file of this system, opened through Qt's SQLite
// driver; statements run on the engine's own interface (reached through the
// driver's handle) with the system's dialect added.
class ConexionSqlite final : public Conexion {
public:
    // Opens an existing database file. Never creates one: a missing, empty or
    // foreign file leaves the connection closed with the reason in errores().
    // A read-only connection never writes the file.
    explicit ConexionSqlite(const QString& ruta, bool soloLectura = false);
    ~ConexionSqlite() override;
    ConexionSqlite(const ConexionSqlite&) = delete;
    ConexionSqlite& operator=(const ConexionSqlite&) = delete;

    bool abierta() const override { return bd_ != nullptr; }
    void cerrar() override;
    const QString& ruta() const { return ruta_; }
    sqlite3* manejador() const { return bd_; }

    ResultadoSentencia ejecutar(const QString& sql, const QVariantList& valores = {}) override;
    ResultadoSentencia ejecutarProcedimiento(const QString& nombre,
                                             const QVariantList& valores) override;

    bool iniciarTransaccion() override;
    bool confirmarTransaccion() override;
    bool deshacerTransaccion() override;
    bool enTransaccion() const override;
    qint64 ultimoIdInsertado() const override;

    void ampliarCache() override;
    // Another read-only connection to the same file.
    Abridor abridorDeOtra() const override;
    void interrumpir() override;

    // The stored query's declared parameter types, in order ("TEXT", "INTEGER",
    // "DOUBLE", "DATE", "BOOLEAN").
    // Prepared once, on first use, and kept until the connection closes.
    struct Procedimiento {
        QStringList nombres;
        QStringList tipos;
        Sentencia preparada;
        std::vector<int> indices; // placeholder of each parameter; 0 when unused
    };

private:
    bool abrir();
    Procedimiento* procedimiento(const QString& nombre);
    ResultadoSentencia correr(sqlite3_stmt* sentencia);
    bool ejecutarSimple(const char* sql);
    void anotarError(int codigo);
    void anotar(qint32 numero, const QString& descripcion);

    QString ruta_;
    bool soloLectura_ = false;
    std::atomic<bool> interrumpida_{false};
    QString nombreQt_;
    sqlite3* bd_ = nullptr;
    std::map<QString, Procedimiento> procedimientos_;
};
