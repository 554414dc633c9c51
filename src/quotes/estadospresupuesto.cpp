#include "quotes/estadospresupuesto.h"

#include "data/modconexion.h"
#include "data/transaccion.h"
#include "platform/reloj.h"

#include <QDateTime>

#include <array>

namespace {

using E = EstadoPresupuesto;

constexpr std::array<const char16_t*, 6> kNombres{u"Borrador",  u"Enviado", u"Aceptado",
                                                  u"Rechazado", u"Anulado", u"Reemplazado"};

struct Movimiento {
    E desde;
    QList<E> hacia;
};

// The moves a user makes by hand. A decided, cancelled or replaced quote
// stays as it is; a rejected one may still be replaced by a new version.
const QList<Movimiento>& movimientos() {
    static const QList<Movimiento> tabla{
        {E::Borrador, {E::Enviado, E::Aceptado, E::Rechazado, E::Anulado}},
        {E::Enviado, {E::Aceptado, E::Rechazado, E::Anulado}},
    };
    return tabla;
}

} // namespace

namespace estados {

QString nombre(EstadoPresupuesto estado) {
    return QString::fromUtf16(kNombres[size_t(estado)]);
}

std::optional<EstadoPresupuesto> deNombre(const QString& texto) {
    for (size_t i = 0; i < kNombres.size(); ++i)
        if (texto.compare(QString::fromUtf16(kNombres[i]), Qt::CaseInsensitive) == 0)
            return EstadoPresupuesto(i);
    return std::nullopt;
}

QList<EstadoPresupuesto> destinos(EstadoPresupuesto actual) {
    for (const Movimiento& m : movimientos())
        if (m.desde == actual)
            return m.hacia;
    return {};
}

bool puedeMarcarse(EstadoPresupuesto actual, EstadoPresupuesto destino) {
    return destinos(actual).contains(destino);
}

bool admiteNuevaVersion(EstadoPresupuesto actual) {
    return actual == E::Borrador || actual == E::Enviado || actual == E::Rechazado;
}

bool pideMotivo(EstadoPresupuesto destino) {
    return destino == E::Rechazado || destino == E::Anulado;
}

bool abierto(EstadoPresupuesto estado) {
    return estado == E::Borrador || estado == E::Enviado;
}

QString expresionActual(const QString& alias) {
    return QStringLiteral("COALESCE((SELECT A.EstEstado FROM PRESUPUESTOS_ESTADO_ACTUAL A WHERE "
                          "A.PreId=%1.PreId),'Borrador')")
        .arg(alias);
}

std::optional<EstadoPresupuesto> actual(qint32 preId) {
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("SELECT EstEstado FROM PRESUPUESTOS_ESTADO_ACTUAL WHERE PreId=?"),
                  rs, {preId});
    if (rs->fallido())
        return std::nullopt;
    // A name this program does not know (written by a later one) is taken
    // for a status that allows no move.
    const std::optional<EstadoPresupuesto> estado =
        rs->posicionAbsoluta() > 0
            ? deNombre(rs->texto(QStringLiteral("EstEstado"))).value_or(E::Reemplazado)
            : E::Borrador;
    CerrarConsulta(rs, true);
    return estado;
}

bool registrar(Conexion* con, qint32 preId, EstadoPresupuesto estado, const QString& usuario,
               const QString& motivo, std::optional<qint32> reemplazo) {
    const QDateTime ahora(Reloj::hoy(), QTime::currentTime());
    return con
        ->ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS_ESTADOS (PreId, EstEstado, "
                                  "EstFechaHora, UsuLogin, EstMotivo, EstReemplazo) VALUES "
                                  "(?, ?, ?, ?, ?, ?)"),
                   {preId, nombre(estado), ahora, usuario,
                    motivo.isEmpty() ? QVariant() : QVariant(motivo.left(255)),
                    reemplazo ? QVariant(*reemplazo) : QVariant()})
        .ok;
}

Marca marcar(qint32 preId, EstadoPresupuesto desde, EstadoPresupuesto destino,
             const QString& usuario, const QString& motivo) {
    Conexion* con = conexion();
    if (!con) {
        informarErrores({{errores::kFalloGeneral,
                          QStringLiteral("La conexión con la base de datos está cerrada.")}});
        return Marca::Fallido;
    }
    Transaccion transaccion(con);
    if (!transaccion.iniciada()) {
        informarErrores(transaccion.errores());
        return Marca::Fallido;
    }
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("SELECT ") + expresionActual(QStringLiteral("P")) +
                      QStringLiteral(" AS Estado FROM PRESUPUESTOS P WHERE P.PreId=?"),
                  rs, {preId});
    if (rs->fallido())
        return Marca::Fallido;
    if (rs->posicionAbsoluta() <= 0)
        return Marca::Eliminado;
    const std::optional<EstadoPresupuesto> ahora = deNombre(rs->texto(QStringLiteral("Estado")));
    CerrarConsulta(rs, true);
    if (ahora != desde)
        return Marca::Cambiado;
    if (!registrar(con, preId, destino, usuario, motivo)) {
        informarErrores(con->errores());
        return Marca::Fallido;
    }
    if (!transaccion.confirmar()) {
        informarErrores(transaccion.errores());
        return Marca::Fallido;
    }
    return Marca::Marcado;
}

} // namespace estados
