#pragma once

#include <sqlite3.h>

#include <utility>

// Scoped ownership for the engine's raw interface, used where code works on a
// sqlite3 handle directly (the connection itself, the sample-data tools).

// Owns one prepared SQLite statement and finalizes it when it goes, on every
// path. Move only.
class Sentencia {
public:
    Sentencia() = default;
    explicit Sentencia(sqlite3_stmt* st) : st_(st) {}
    ~Sentencia() { sqlite3_finalize(st_); }
    Sentencia(Sentencia&& otra) noexcept : st_(std::exchange(otra.st_, nullptr)) {}
    Sentencia& operator=(Sentencia&& otra) noexcept {
        std::swap(st_, otra.st_);
        return *this;
    }
    Sentencia(const Sentencia&) = delete;
    Sentencia& operator=(const Sentencia&) = delete;

    sqlite3_stmt* get() const { return st_; }
    explicit operator bool() const { return st_ != nullptr; }
    // For sqlite3_prepare_*: finalizes what it held and hands out the slot.
    sqlite3_stmt** destino() {
        sqlite3_finalize(std::exchange(st_, nullptr));
        return &st_;
    }

private:
    sqlite3_stmt* st_ = nullptr;
};

// Scoped transaction on a raw handle: BEGIN IMMEDIATE on construction,
// ROLLBACK on destruction unless confirmar() committed. Connections of the
// program use Transaccion (data/transaccion.h) instead.
class TransaccionSqlite {
public:
    explicit TransaccionSqlite(sqlite3* bd)
        : bd_(bd),
          activa_(sqlite3_exec(bd, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK) {}
    ~TransaccionSqlite() {
        if (activa_)
            sqlite3_exec(bd_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    TransaccionSqlite(const TransaccionSqlite&) = delete;
    TransaccionSqlite& operator=(const TransaccionSqlite&) = delete;

    bool iniciada() const { return activa_; }
    // False when the commit failed; the destructor then rolls back.
    bool confirmar() {
        if (activa_ && sqlite3_exec(bd_, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK)
            activa_ = false;
        return !activa_;
    }

private:
    sqlite3* bd_;
    bool activa_;
};
