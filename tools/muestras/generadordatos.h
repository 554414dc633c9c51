#pragma once

#include <QString>

struct sqlite3;

// How much sample data to generate and from which seed.
struct ParametrosGeneracion {
    quint32 semilla = 1;
    int contactos = 0;
    int categorias = 0;
    int productos = 0;
    int presupuestos = 0;
};

// Fills a database of this system with realistic sample data: contacts,
// categories, products and quotes with their lines. The same seed and the same
// today (from the clock service) give the same rows on every machine: the
// random numbers come from std::mt19937 through this class's own integer
// distributions, and no floating-point function of the C library is used.
class GeneradorDatos {
public:
    // Changes whenever the same seed starts giving different rows, so that
    // cached databases can tell they are stale.
    static constexpr int kVersion = 1;

    explicit GeneradorDatos(const ParametrosGeneracion& parametros);

    // Copies the pristine database to `salida` (replacing it) and fills the
    // copy. The copy is filled under a temporary name and renamed at the end,
    // so a failure never leaves a half-filled file.
    bool generarArchivo(const QString& pristina, const QString& salida);

    // Fills an open database in one transaction; on failure nothing is stored.
    bool llenar(sqlite3* bd);

    // Why the last operation failed.
    const QString& error() const { return error_; }
    // Quote lines written by the last llenar().
    qint64 lineas() const { return lineas_; }

private:
    bool validar();

    ParametrosGeneracion p_;
    QString error_;
    qint64 lineas_ = 0;
};
