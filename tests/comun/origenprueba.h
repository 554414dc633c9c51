#pragma once

#include <QString>
#include <QVariantList>

struct sqlite3;

// A database of the stock-control program for one test: a SQLite file with
// its four tables, to which the test adds rows, and its registration as an
// ODBC data source of the SQLite3 driver in the test's own configuration.
class OrigenPrueba {
public:
    explicit OrigenPrueba(const QString& ruta);
    ~OrigenPrueba();
    OrigenPrueba(const OrigenPrueba&) = delete;
    OrigenPrueba& operator=(const OrigenPrueba&) = delete;

    const QString& ruta() const { return ruta_; }
    void ejecutar(const QString& sql, const QVariantList& valores = {});

    void categoria(qint64 id, const QString& descripcion, bool desactivada = false);
    void sector(qint64 id, const QString& descripcion, bool desactivado = false);
    // The trade name; the other columns are derived from it.
    void proveedor(qint64 id, const QString& nombre, bool desactivado = false);
    void producto(const QVariantList& columnas); // the 12 columns in order

    // Registers the file under `nombre`; unixODBC's driver manager never
    // forgets where a name pointed within one process, so each test takes a
    // name of its own (nombreNuevo()) unless the file's path stays the same.
    void registrar(const QString& nombre) const;
    static QString nombreNuevo();

private:
    QString ruta_;
    sqlite3* bd_ = nullptr;
};
