#pragma once

#include "data/conexionsqlite.h"

#include <QDate>
#include <QVariant>

#include <memory>

// Adds rows to a test database with plain statements on a connection of its
// own: contacts, products, quotes and their lines. On the server engine
// (servidorprueba.h) they go to the server database that stands for the file.
class Fixtura {
public:
    explicit Fixtura(const QString& rutaBase);
    ~Fixtura();

    struct Presupuesto {
        QVariant numero = QStringLiteral("1");
        QDate fecha = QDate(2026, 12, 1);
        int empId = 1;
        int vigencia = 0;
        QString lugar = QStringLiteral("Montevideo");
        QString saludo = QStringLiteral("Estimados");
        QVariant usuLogin = QStringLiteral("admin");
    };

    int contacto(const QString& nombreFantasia, const QString& razonSocial = {});
    int presupuesto(const Presupuesto& p);
    int producto(const QString& descripcion, const QString& codigo = {});
    // A product with its price and currency; withdrawn when `desactivado`.
    int producto(const QString& descripcion, const QString& codigo, double precio,
                 const QString& moneda, bool desactivado = false);
    void linea(int preId, int proId, double precio = 1.0, double cantidad = 1.0);
    // Marks a stored line as written off in the stock.
    void darDeBaja(int preId, int proId);
    void usuario(const QString& login, const QVariant& passwordCodificada, const QString& nombre);
    int contar(const QString& tabla);

    // The connection the fixture's rows go to: the file's, or on the server
    // engine the server database's.
    Conexion& conexion() { return activa(); }
    Conexion& activa();
    // The database file itself, whatever the engine.
    ConexionSqlite& archivo() { return con_; }
    // Runs a statement that must succeed.
    void ejecutar(const QString& sql, const QVariantList& valores = {});
    // A trigger `nombre` that refuses each row of `evento` ("BEFORE INSERT",
    // "BEFORE DELETE"…) on `tabla` with the error `mensaje`, only where
    // `condicion` (on NEW or OLD) holds when one is given; written in the
    // engine's own form. quitarRechazo drops it again.
    void rechazar(const QString& nombre, const QString& evento, const QString& tabla,
                  const QString& mensaje, const QString& condicion = {});
    void quitarRechazo(const QString& nombre, const QString& tabla);
    // Holds the whole database for the fixture, as another program would, so
    // that every read of `otra` fails at once; soltar() lets it go.
    void acaparar(Conexion& otra);
    void soltar();
    // An SQL expression naming how the value of `expresion` is stored, in the
    // file's words ("integer", "real", "text", "null"), whatever the engine.
    QString tipoDe(const QString& expresion) const;

private:
    ConexionSqlite con_;
    std::unique_ptr<Conexion> servidor_;
};

// A connection of its own to the test's database: the file, or on the
// server engine the server database that stands for it.
std::unique_ptr<Conexion> conexionDePrueba(const QString& rutaBase);

// Points the data source `nombre` at the file (or, on the server engine, at
// the server database that stands for it).
void crearOrigenDePrueba(const QString& nombre, const QString& rutaBase);
// Points the test data source TARVO_PRUEBA at the test's database and opens
// the shared connection on it.
void abrirConexionDePrueba(const QString& rutaBase);
// Points the data environment (the windows' named result sets) at the test's
// data source, every command back at its design text, as a fresh program has
// it; and disconnects it again at the end of a test.
void prepararEntornoDatosDePrueba();
void cerrarEntornoDatosDePrueba();
