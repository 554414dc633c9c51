#pragma once

#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"

#include <QVariant>

#include <memory>

// The world of a catalogue test: a private HOME with a fresh database, the
// shared connection and the data environment's connection on it, a scripted
// message service, and a fixture builder for categories, products and the
// rows that refer to them.
class MundoCatalogo {
public:
    MundoCatalogo();
    ~MundoCatalogo();
    MundoCatalogo(const MundoCatalogo&) = delete;
    MundoCatalogo& operator=(const MundoCatalogo&) = delete;

    MensajesGuion& mensajes() { return *mensajes_; }
    Fixtura& datos() { return *datos_; }

    int categoria(const QString& descripcion, bool desactivada = false);
    int producto(const QString& descripcion, int catId, double precio = 0, double costo = 0,
                 const QVariant& unidad = {}, const QVariant& moneda = {},
                 const QVariant& codigo = {}, int minimo = 0);
    void ejecutar(const QString& sql, const QVariantList& valores = {});
    // The first column of the first row; invalid when none.
    QVariant leer(const QString& sql, const QVariantList& valores = {});
    // The texts of the messages shown, in order.
    QStringList textos() const { return mensajes_->textos(); }

private:
    std::unique_ptr<EntornoPrueba> entorno_;
    std::unique_ptr<MensajesGuion> mensajes_;
    std::unique_ptr<Fixtura> datos_;
};
