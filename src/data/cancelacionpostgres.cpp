#include "data/cancelacionpostgres.h"

#include <QSqlDriver>
#include <QVariant>

#include <cstring>

#include <dlfcn.h>

namespace {

// libpq's cancel functions, found in the copy the Qt driver loaded.
struct Libpq {
    using GetCancel = void* (*)(void*);
    using Cancel = int (*)(void*, char*, int);
    using FreeCancel = void (*)(void*);
    using Status = int (*)(const void*);
    GetCancel getCancel = nullptr;
    Cancel cancel = nullptr;
    FreeCancel freeCancel = nullptr;
    Status status = nullptr;
    bool completa() const { return getCancel && cancel && freeCancel; }
};

const Libpq& libpq() {
    static const Libpq funciones = [] {
        Libpq f;
        void* biblioteca = dlopen("libpq.so.5", RTLD_LAZY | RTLD_NOLOAD);
        if (!biblioteca)
            return f;
        f.getCancel = reinterpret_cast<Libpq::GetCancel>(dlsym(biblioteca, "PQgetCancel"));
        f.cancel = reinterpret_cast<Libpq::Cancel>(dlsym(biblioteca, "PQcancel"));
        f.freeCancel = reinterpret_cast<Libpq::FreeCancel>(dlsym(biblioteca, "PQfreeCancel"));
        f.status = reinterpret_cast<Libpq::Status>(dlsym(biblioteca, "PQstatus"));
        return f;
    }();
    return funciones;
}

// libpq's connection of an open database; null when not one.
void* conexionLibpq(const QSqlDatabase& bd) {
    const QVariant manejador = bd.driver() ? bd.driver()->handle() : QVariant();
    // The driver names the handle by libpq's struct ("pg_conn*").
    if (!manejador.isValid() || (std::strcmp(manejador.typeName(), "pg_conn*") != 0 &&
                                 std::strcmp(manejador.typeName(), "PGconn*") != 0))
        return nullptr;
    return *static_cast<void* const*>(manejador.constData());
}

} // namespace

bool conexionPostgresViva(const QSqlDatabase& bd) {
    void* conexion = conexionLibpq(bd);
    // CONNECTION_OK is 0 in libpq's ConnStatusType.
    return conexion && libpq().status && libpq().status(conexion) == 0;
}

CancelacionPostgres::~CancelacionPostgres() {
    soltar();
}

void CancelacionPostgres::preparar(const QSqlDatabase& bd) {
    soltar();
    void* conexion = conexionLibpq(bd);
    if (conexion && libpq().completa())
        peticion_ = libpq().getCancel(conexion);
}

bool CancelacionPostgres::cancelar() const {
    if (!peticion_)
        return false;
    char error[256] = {};
    return libpq().cancel(peticion_, error, int(sizeof error)) == 1;
}

void CancelacionPostgres::soltar() {
    if (peticion_)
        libpq().freeCancel(peticion_);
    peticion_ = nullptr;
}
