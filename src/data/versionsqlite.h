#pragma once

#include "data/versionesquema.h"

struct sqlite3;

// A database file's schema version, kept in the file's header
// (PRAGMA user_version). Files written before the version was kept carry 0;
// their schema tells which version they are: the collation their CATEGORIAS
// table declares, NOCASE in version 1 and ESPANOL from version 2 on.
class BaseVersionadaSqlite final : public BaseVersionada {
public:
    explicit BaseVersionadaSqlite(const QString& ruta);
    ~BaseVersionadaSqlite() override;
    BaseVersionadaSqlite(const BaseVersionadaSqlite&) = delete;
    BaseVersionadaSqlite& operator=(const BaseVersionadaSqlite&) = delete;

    // Opens the file (never creating it) and begins a transaction that keeps
    // other programs from committing until it ends. A file another program is
    // writing or holds locked fails here, with enUso() true.
    bool comenzar() override;
    bool confirmar() override;
    void deshacer() override;
    int version() override;
    bool fijarVersion(int version) override;
    bool ejecutarGuion(const QString& sql) override;
    bool colisiones(const ColumnaUnica& c, QList<QStringList>& grupos) override;
    bool comprobarReferencias() override;
    // Copies the file's pages as the transaction sees them into a file under
    // a temporary name beside `destino`, then renames it into place.
    bool guardarCopia(const QString& destino) override;
    bool enUso() const override;

private:
    bool abrir();
    bool exec(const char* sql);
    bool fallo(int codigo);

    QString ruta_;
    sqlite3* bd_ = nullptr;
    int codigo_ = 0;
};

// The version of the file at `ruta`, read without writing it;
// versionesquema::kDesconocida when it cannot be told.
int versionArchivo(const QString& ruta);
