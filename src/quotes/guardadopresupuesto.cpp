#include "quotes/guardadopresupuesto.h"

#include "data/modconexion.h"
#include "data/transaccion.h"
#include "platform/mensajes.h"
#include "quotes/numeros.h"

#include <QSet>

namespace guardado {

namespace {

void avisar(const QString& texto) {
    mensaje(texto, Botones::Aceptar, Icono::Informacion, QStringLiteral("Verifique"));
}

// The contact key of the tag; 0 when it holds none.
qint32 claveContacto(const QString& tag) {
    bool ok = false;
    const qint32 id = tag.trimmed().toInt(&ok);
    return ok && id > 0 ? id : 0;
}

// Nothing when the contact could not be read (the error has been shown).
std::optional<bool> contactoExiste(qint32 empId) {
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("SELECT EmpId FROM CONTACTOS WHERE EmpId=?"), rs, {empId});
    if (rs->fallido())
        return std::nullopt;
    const bool existe = rs->posicionAbsoluta() > 0;
    CerrarConsulta(rs, true);
    return existe;
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
    const QVariantList valores{preId, l.proId, l.precio, moneda, l.cantidad};
    return EjecutarProcedimiento(QStringLiteral("Presupuesto_Producto_Insertar"), rs, valores) > 0;
}

// The stored lines of quote `preId` made to match the editor's.
bool igualarLineas(Conexion* con, qint32 preId, const LineasPresupuesto& lineas) {
    QSet<qint32> listados;
    for (const LineaPresupuesto& l : lineas.lineas()) {
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

} // namespace

bool ValidarPre(CamposPresupuesto& campos) {
    for (QString& importe : campos.importe)
        if (!numeros::leer(importe))
            importe = QStringLiteral("0");
    const qint32 empId = claveContacto(campos.clienteTag);
    if (empId == 0) {
        avisar(QStringLiteral("Elija el Cliente del Presupuesto: escriba parte de su nombre en "
                              "Cliente y pulse Enter."));
        return false;
    }
    const std::optional<bool> existe = contactoExiste(empId);
    if (!existe)
        return false;
    if (!*existe) {
        avisar(QStringLiteral("El Cliente elegido ya no existe. Elija otro Cliente."));
        return false;
    }
    return true;
}

std::optional<qint32> GuardarPre(const CamposPresupuesto& campos, const LineasPresupuesto& lineas,
                                 bool nuevo, const QString& usuario) {
    Conexion* con = conexion();
    if (!con) {
        informarErrores({{errores::kFalloGeneral,
                          QStringLiteral("La conexión con la base de datos está cerrada.")}});
        return std::nullopt;
    }
    // Until confirmar() every write below is undone when the guard goes.
    Transaccion transaccion(con);
    if (!transaccion.iniciada()) {
        informarErrores(transaccion.errores());
        return std::nullopt;
    }
    QVariantList valores = campos.valores(usuario);
    RegistrosPtr rs;
    qint32 preId = 0;
    if (nuevo) {
        if (EjecutarProcedimiento(QStringLiteral("Presupuesto_Insertar"), rs, valores) <= 0)
            return std::nullopt;
        AbrirConsulta(QStringLiteral("SELECT MAX(PREID) FROM PRESUPUESTOS"), rs);
        if (rs->posicionAbsoluta() <= 0 || rs->campo(0).isNull())
            return std::nullopt;
        preId = rs->campo(0).toInt();
        CerrarConsulta(rs, true);
        for (const LineaPresupuesto& l : lineas.lineas())
            if (!insertarLinea(preId, l))
                return std::nullopt;
    } else {
        preId = campos.id.trimmed().toInt();
        valores << preId;
        if (EjecutarProcedimiento(QStringLiteral("Presupuesto_Actualizar"), rs, valores) <= 0) {
            // Nothing failed, nothing was updated: the quote was deleted meanwhile.
            if (con->errores().isEmpty())
                mensaje(QStringLiteral("Este Presupuesto ya no existe: fue eliminado. No se "
                                       "guardó nada."),
                        Botones::Aceptar, Icono::Informacion, QStringLiteral("Atención"));
            return std::nullopt;
        }
        if (!igualarLineas(con, preId, lineas))
            return std::nullopt;
    }
    if (!transaccion.confirmar()) {
        informarErrores(transaccion.errores());
        return std::nullopt;
    }
    return preId;
}

} // namespace guardado
