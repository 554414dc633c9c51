#include "comun/mundopresupuestos.h"

#include "data/modconexion.h"
#include "platform/reloj.h"
#include "users/sesion.h"

MundoPresupuestos::MundoPresupuestos(const QString& usuario)
    : entorno_(std::make_unique<EntornoPrueba>()), mensajes_(std::make_unique<MensajesGuion>()) {
    base_ = entorno_->copiarBase();
    datos_ = std::make_unique<Fixtura>(base_);
    abrirConexionDePrueba(base_);
    prepararEntornoDatosDePrueba();
    Reloj::fijar(hoy());
    establecerUsuarioActual(usuario);
}

MundoPresupuestos::~MundoPresupuestos() {
    if (conexion())
        CerrarConexion();
    cerrarEntornoDatosDePrueba();
    Reloj::liberar();
    establecerUsuarioActual({});
    datos_.reset();
    mensajes_.reset();
    entorno_.reset();
}

int MundoPresupuestos::presupuesto(const QVariant& numero, int empId, const QString& usuario) {
    Fixtura::Presupuesto p;
    p.numero = numero;
    p.empId = empId;
    p.usuLogin = usuario;
    return datos_->presupuesto(p);
}
