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
    GetCancel getCancel = nullptr;
    Cancel cancel = nullptr;
    FreeCancel freeCancel = nullptr;
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
        return f;
    }();
    return funciones;
}

} // namespace

CancelacionPostgres::~CancelacionPostgres() {
    soltar();
}

void CancelacionPostgres::preparar(const QSqlDatabase& bd) {
    soltar();
    const QVariant manejador = bd.driver() ? bd.driver()->handle() : QVariant();
    // The driver names the handle by libpq's struct ("pg_conn*").
    if (!manejador.isValid() ||
        (std::strcmp(manejador.typeName(), "pg_conn*") != 0 &&
         std::strcmp(manejador.typeName(), "PGconn*") != 0) ||
        !libpq().completa())
        return;
    void* conexion = *static_cast<void* const*>(manejador.constData());
    if (conexion)
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
