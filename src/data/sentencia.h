#pragma once

#include <sqlite3.h>

#include <utility>

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
