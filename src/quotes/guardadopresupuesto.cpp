// Saving a quote with its lines: the repository's one write transaction.
#include "quotes/repositoriopresupuestos.h"

#include "data/modconexion.h"
#include "data/transaccion.h"
#include "platform/mensajes.h"
#include "quotes/estadospresupuesto.h"

#include <QSet>

namespace {

using Leido = RepositorioPresupuestos::Leido;
using Resultado = RepositorioPresupuestos::Resultado;

void atencion(const QString& texto) {
    mensaje(texto, Botones::Aceptar, Icono::Informacion, QStringLiteral("Atención"));
}

// A statement of our own inside the save; failures shown as the helpers show them.
bool ejecutar(Conexion* con, const QString& sql, const QVariantList& valores) {
    if (con->ejecutar(sql, valores).ok)
        return true;
    informarErrores(con->errores());
    return false;
}

bool insertarLinea(qint32 preId, const LineaPresupuesto& l) {
    RegistrosPtr rs;
    // The product's currency of now; a read that fails stops the save.
    AbrirConsulta(QStringLiteral("SELECT ProMoneda FROM PRODUCTOS WHERE ProId=?"), rs, {l.proId});
    if (rs->fallido())
        return false;
    const QString moneda =
        rs->posicionAbsoluta() > 0 ? rs->texto(QStringLiteral("ProMoneda")) : QString();
    // A copied line keeps the currency its price is in.
    const QVariantList valores{preId, l.proId, l.precio, l.moneda.value_or(moneda), l.cantidad};
    return EjecutarProcedimiento(QStringLiteral("Presupuesto_Producto_Insertar"), rs, valores) > 0;
}

// The stored lines of quote `preId` made to match `lineas`.
bool igualarLineas(Conexion* con, qint32 preId, const std::vector<LineaPresupuesto>& lineas) {
    QSet<qint32> listados;
    for (const LineaPresupuesto& l : lineas) {
        listados.insert(l.proId);
        RegistrosPtr rs;
        EjecutarProcedimiento(QStringLiteral("Presupuestos_Productos_Existe"), rs,
                              {preId, l.proId});
        if (rs->posicionAbsoluta() <= 0)
            return false;
        const bool guardada = rs->campo(0).toLongLong() != 0;
        CerrarConsulta(rs, true);
        if (!guardada) {
            if (!insertarLinea(preId, l))
                return false;
        } else if (!ejecutar(con,
                             QStringLiteral("UPDATE PRESUPUESTOS_PRODUCTOS SET PreProPrecio=?, "
                                            "PreProCantidad=? WHERE PreId=? AND ProId=?"),
                             {l.precio, l.cantidad, preId, l.proId})) {
            return false;
        }
    }
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("SELECT ProId FROM PRESUPUESTOS_PRODUCTOS WHERE PreId=?"), rs,
                  {preId});
    if (!rs->abierto())
        return false;
    for (rs->moverPrimero(); !rs->alFinal(); rs->moverSiguiente()) {
        const qint32 proId = rs->campo(0).toInt();
        if (!listados.contains(proId) &&
            !ejecutar(con,
                      QStringLiteral("DELETE FROM PRESUPUESTOS_PRODUCTOS WHERE PreId=? AND "
                                     "ProId=?"),
                      {preId, proId}))
            return false;
    }
    return true;
}

// Inserts the quote and its lines; its new key, or nothing.
std::optional<qint32> insertar(const Presupuesto& p, const QString& usuario) {
    RegistrosPtr rs;
    if (EjecutarProcedimiento(QStringLiteral("Presupuesto_Insertar"), rs,
                              RepositorioPresupuestos::valoresGuardado(p, usuario)) <= 0)
        return std::nullopt;
    AbrirConsulta(QStringLiteral("SELECT MAX(PREID) FROM PRESUPUESTOS"), rs);
    if (rs->posicionAbsoluta() <= 0 || rs->campo(0).isNull())
        return std::nullopt;
    const qint32 preId = rs->campo(0).toInt();
    CerrarConsulta(rs, true);
    for (const LineaPresupuesto& l : p.lineas)
        if (!insertarLinea(preId, l))
            return std::nullopt;
    return preId;
}

// Whether another quote than `preId` holds `numero`.
std::optional<bool> numeroTomado(const QString& numero, qint32 preId) {
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("SELECT PreId FROM PRESUPUESTOS WHERE PreNumero=? AND PreId<>?"),
                  rs, {numero, preId});
    if (rs->fallido())
        return std::nullopt;
    const bool tomado = rs->posicionAbsoluta() > 0;
    CerrarConsulta(rs, true);
    return tomado;
}

// Whether quote `preId` is stored.
std::optional<bool> existe(qint32 preId) {
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("SELECT PreId FROM PRESUPUESTOS WHERE PreId=?"), rs, {preId});
    if (rs->fallido())
        return std::nullopt;
    const bool hay = rs->posicionAbsoluta() > 0;
    CerrarConsulta(rs, true);
    return hay;
}

} // namespace

RepositorioPresupuestos::Guardado
RepositorioPresupuestos::guardar(Presupuesto p, const std::optional<Presupuesto>& cargado,
                                 const QString& usuario, bool numeroPropuesto,
                                 std::optional<qint32> reemplaza) {
    Guardado fin;
    Conexion* con = conexion();
    if (!con) {
        informarErrores({{errores::kFalloGeneral,
                          QStringLiteral("La conexión con la base de datos está cerrada.")}});
        return fin;
    }
    // Until confirmar() every write below is undone when the guard goes. It
    // takes the write lock at once, so what is decided from other rows (the
    // number, what is stored now) holds until the commit.
    Transaccion transaccion(con);
    if (!transaccion.iniciada()) {
        informarErrores(transaccion.errores());
        return fin;
    }
    const bool nuevo = !p.id;
    if (nuevo && numeroPropuesto) {
        const std::optional<QString> numero = RepositorioPresupuestos::numeroPropuesto();
        if (!numero)
            return fin;
        p.numero = *numero;
    }
    if (!nuevo) {
        Presupuesto guardado;
        const Leido l = leerGuardado(*p.id, guardado);
        if (l == Leido::Fallo)
            return fin;
        if (l == Leido::No) {
            atencion(QStringLiteral("Este Presupuesto ya no existe: fue eliminado. No se guardó "
                                    "nada."));
            fin.resultado = Resultado::Eliminado;
            return fin;
        }
        if (cargado && !cargado->mismoGuardado(guardado)) {
            fin.resultado = Resultado::Cambiado;
            return fin;
        }
    }
    // A number is refused where another quote holds it; a stored quote that
    // keeps its own number is not, even where older files hold it twice.
    const bool numeroNuevo = nuevo || !cargado || p.numero != cargado->numero;
    if (numeroNuevo && !p.numero.isEmpty()) {
        const std::optional<bool> tomado = numeroTomado(p.numero, p.id.value_or(0));
        if (!tomado)
            return fin;
        if (*tomado) {
            mensaje(QStringLiteral("Ya existe un presupuesto con el número %1.").arg(p.numero),
                    Botones::Aceptar, Icono::Informacion, QStringLiteral("Verifique"));
            fin.resultado = Resultado::NumeroRepetido;
            return fin;
        }
    }
    if (nuevo) {
        const std::optional<qint32> preId = insertar(p, usuario);
        if (!preId)
            return fin;
        p.id = *preId;
        if (reemplaza) {
            // Decided under the lock: the replaced quote is still there and
            // still admits a new version.
            const std::optional<bool> hay = existe(*reemplaza);
            if (!hay)
                return fin;
            std::optional<EstadoPresupuesto> estado;
            if (*hay) {
                estado = estados::actual(*reemplaza);
                if (!estado)
                    return fin;
            }
            if (estado && estados::admiteNuevaVersion(*estado)) {
                if (!estados::registrar(con, *reemplaza, EstadoPresupuesto::Reemplazado, usuario,
                                        {}, *p.id)) {
                    informarErrores(con->errores());
                    return fin;
                }
                fin.reemplazo = true;
            }
        }
    } else {
        RegistrosPtr rs;
        QVariantList valores = valoresGuardado(p, usuario);
        valores << *p.id;
        if (EjecutarProcedimiento(QStringLiteral("Presupuesto_Actualizar"), rs, valores) <= 0 ||
            !igualarLineas(con, *p.id, p.lineas))
            return fin;
    }
    if (!transaccion.confirmar()) {
        informarErrores(transaccion.errores());
        return fin;
    }
    p.usuario = usuario;
    fin.resultado = Resultado::Guardado;
    fin.presupuesto = std::move(p);
    return fin;
}
