#include "quotes/editorpresupuesto.h"

#include "data/modconexion.h"
#include "platform/mensajes.h"
#include "platform/puntero.h"
#include "platform/reloj.h"
#include "quotes/enlaces.h"
#include "quotes/guardadopresupuesto.h"
#include "quotes/numeracion.h"
#include "quotes/numeros.h"
#include "users/sesion.h"

namespace {

void atencion(const QString& texto) {
    mensaje(texto, Botones::Aceptar, Icono::Informacion, QStringLiteral("Atención"));
}

// A number column as the amount boxes show it; empty for Null.
QString textoImporte(const Registros& rs, const QString& campo) {
    const QVariant v = rs.campo(campo);
    return v.isNull() || !v.isValid() ? QString() : numeros::texto(v.toDouble());
}

} // namespace

EditorPresupuesto::EditorPresupuesto(QObject* padre)
    : QObject(padre), listas_(consultas_), grilla_(consultas_) {}

std::array<bool, modos::kBotones> EditorPresupuesto::botones() const {
    return modos::botones(modo_);
}

void EditorPresupuesto::cambiarModo(ModoEditor modo) {
    modo_ = modo;
    emit modoCambiado();
}

void EditorPresupuesto::Actualizar() {
    listas_.recargar();
    emit listasRecargadas();
    grilla_.recargar();
    emit productosRecargados();
    emit productoActualCambiado();
}

void EditorPresupuesto::NuevoPre() {
    // Without the number (the read failed and was reported) nothing changes.
    const std::optional<QString> numero = numeracion::numeroPropuesto();
    if (!numero)
        return;
    campos = CamposPresupuesto{};
    campos.numero = *numero;
    campos.fecha = Reloj::hoy();
    campos.vigencia = false;
    campos.textoVigencia = CamposPresupuesto::textoVigenciaInicial();
    campos.diasVigencia = CamposPresupuesto::diasVigenciaInicial();
    vigenciaHabilitada_ = false;
    lineas_.vaciar();
    agregando = true;
    emit lineasCambiadas();
    cambiarModo(ModoEditor::Nuevo);
    emit camposCambiados();
}

void EditorPresupuesto::CargarPre(qint32 id) {
    if (agregando) {
        NuevoPre();
        return;
    }
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("SELECT P.*,IIF(C.EMPNOMBREFANTASIA='',C.EMPRAZONSOCIAL,"
                                 "C.EMPNOMBREFANTASIA) AS NomCliente FROM PRESUPUESTOS P INNER "
                                 "JOIN CONTACTOS C ON P.EMPID=C.EMPID WHERE P.PREID=?"),
                  rs, {id});
    // A read that failed (reported) loads nothing and goes no further.
    if (rs->fallido())
        return;
    if (rs->posicionAbsoluta() > 0) {
        LineasPresupuesto lineas;
        if (!leerLineas(id, lineas))
            return;
        agregando = false;
        const Registros& r = *rs;
        auto texto = [&r](const char16_t* campo) { return r.texto(QString::fromUtf16(campo)); };
        campos.id = QString::number(id);
        campos.numero = texto(u"PreNumero");
        campos.cliente = texto(u"NomCliente");
        campos.clienteTag = texto(u"EmpId");
        campos.fecha = r.campo(QStringLiteral("PreFecha")).toDate();
        campos.saludo = texto(u"PreSaludo");
        campos.lugar = texto(u"PreLugar");
        for (int i = 0; i < 3; ++i) {
            const QString n = QString::number(i + 1);
            campos.descripcion[size_t(i)] = r.texto(QStringLiteral("PreDescripcion") + n);
            campos.concepto[size_t(i)] = r.texto(QStringLiteral("PreOtroConcepto") + n);
            campos.importe[size_t(i)] = textoImporte(r, QStringLiteral("PreOtroPrecio") + n);
            campos.moneda[size_t(i)] = r.texto(QStringLiteral("PreOtroMoneda") + n);
        }
        campos.despedida = texto(u"PreDespedida");
        campos.textoVigencia = texto(u"PreTextoVigencia");
        campos.diasVigencia = texto(u"PreVigencia");
        campos.vigencia =
            CamposPresupuesto::vigenciaVigente(campos.textoVigencia, campos.diasVigencia);
        vigenciaHabilitada_ = campos.vigencia;
        campos.firma = texto(u"PreFirma");
        lineas_ = std::move(lineas);
        emit lineasCambiadas();
        emit camposCambiados();
    }
    CerrarConsulta(rs, true);
    editar();
}

bool EditorPresupuesto::leerLineas(qint32 id, LineasPresupuesto& lineas) const {
    // Code and description come from the product (empty when it no longer
    // exists), in the order the lines are returned.
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("SELECT L.ProId, L.PreProPrecio, L.PreProCantidad, P.ProCodigo, "
                                 "P.ProDescripcion FROM PRESUPUESTOS_PRODUCTOS L LEFT JOIN "
                                 "PRODUCTOS P ON L.ProId=P.ProId WHERE L.PREID=?"),
                  rs, {id});
    if (rs->fallido())
        return false;
    if (rs->abierto())
        for (rs->moverPrimero(); !rs->alFinal(); rs->moverSiguiente())
            lineas.cargar(rs->campo(0).toInt(), rs->texto(QStringLiteral("ProCodigo")),
                          rs->texto(QStringLiteral("ProDescripcion")), rs->campo(1).toDouble(),
                          rs->campo(2).toDouble());
    CerrarConsulta(rs, true);
    return true;
}

void EditorPresupuesto::CargarProductos() {
    LineasPresupuesto lineas;
    if (!leerLineas(campos.id.trimmed().toInt(), lineas))
        return;
    lineas_ = std::move(lineas);
    emit lineasCambiadas();
}

std::optional<bool> EditorPresupuesto::puedeModificar() const {
    const std::optional<QString> dueno = numeracion::UsuarioPre(campos.id.trimmed().toInt());
    if (!dueno)
        return std::nullopt;
    return esPropietario(*dueno, usuarioActual());
}

void EditorPresupuesto::editar() {
    const std::optional<bool> puede = puedeModificar();
    if (!puede)
        return;
    if (!*puede) {
        atencion(QStringLiteral("Usted no tiene permiso para modificar este Presupuesto."));
        return;
    }
    EditarPre();
}

void EditorPresupuesto::EditarPre() {
    agregando = false;
    // The validity boxes follow the tick again, as when the quote loaded.
    vigenciaHabilitada_ = campos.vigencia;
    cambiarModo(ModoEditor::Edicion);
    emit camposCambiados();
}

bool EditorPresupuesto::ValidarPre() {
    const bool valido = guardado::ValidarPre(campos);
    emit camposCambiados();
    return valido;
}

bool EditorPresupuesto::GuardarPre() {
    const std::optional<qint32> id =
        guardado::GuardarPre(campos, lineas_, agregando, usuarioActual());
    if (!id)
        return false;
    campos.id = QString::number(*id);
    agregando = false;
    mostrarVigenciaGuardada();
    emit camposCambiados();
    documentos_.GenerarDocumento(campos);
    return true;
}

void EditorPresupuesto::mostrarVigenciaGuardada() {
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("SELECT PreTextoVigencia, PreVigencia FROM PRESUPUESTOS WHERE "
                                 "PreId=?"),
                  rs, {campos.id.toInt()});
    if (rs->posicionAbsoluta() > 0) {
        campos.textoVigencia = rs->texto(QStringLiteral("PreTextoVigencia"));
        campos.diasVigencia = rs->texto(QStringLiteral("PreVigencia"));
        campos.vigencia =
            CamposPresupuesto::vigenciaVigente(campos.textoVigencia, campos.diasVigencia);
    }
    CerrarConsulta(rs, true);
}

bool EditorPresupuesto::guardar() {
    if (!ValidarPre() || !GuardarPre())
        return false;
    vigenciaHabilitada_ = false;
    cambiarModo(ModoEditor::Vista);
    emit camposCambiados();
    return true;
}

void EditorPresupuesto::guardarYNuevo() {
    if (guardar())
        NuevoPre();
}

void EditorPresupuesto::cancelar() {
    if (agregando)
        NuevoPre();
    else
        CargarPre(campos.id.trimmed().toInt());
}

void EditorPresupuesto::cmdMenu_Click(int indice) {
    switch (indice) {
    case 0:
        NuevoPre();
        break;
    case 1:
        editar();
        break;
    case 2:
        guardar();
        break;
    case 3:
        guardarYNuevo();
        break;
    case 4:
        cancelar();
        break;
    // The document of the last save, named after the number on screen.
    case 5:
        ImprimirDocumento(campos.numero);
        break;
    case 6:
        AbrirDocumento(campos.numero);
        break;
    case 7:
        EnviarDocumento(campos.numero);
        break;
    case 8:
        emit cerrarPedido();
        break;
    default:
        break;
    }
}

void EditorPresupuesto::establecerVigencia(bool marcada) {
    campos.vigencia = marcada;
    vigenciaHabilitada_ = marcada;
    emit camposCambiados();
}

void EditorPresupuesto::establecerCliente(bool cancelado, qint32 empId, const QString& nombre) {
    campos.clienteTag = cancelado ? QStringLiteral("0") : QString::number(empId);
    campos.cliente = cancelado ? QString() : nombre;
    emit camposCambiados();
}

bool EditorPresupuesto::rechazarBajaStock(qint32 proId) const {
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("SELECT * FROM PRESUPUESTOS_PRODUCTOS WHERE PREID=? AND PROID=?"),
                  rs, {campos.id.trimmed().toInt(), proId});
    // A read that failed (reported) adds nothing.
    if (rs->fallido())
        return true;
    const bool deBaja =
        rs->posicionAbsoluta() > 0 && rs->campo(QStringLiteral("RemProBajaStock")).toBool();
    CerrarConsulta(rs, true);
    if (deBaja)
        atencion(QStringLiteral("No es posible agregar unidades a un Producto que ya fue dado de "
                                "Baja en el Stock."));
    return deBaja;
}

void EditorPresupuesto::agregarProductoActual(const PedirCantidad& pedirCantidad) {
    // The product is taken before the quantity is asked: closing the dialog
    // reloads the grid.
    const std::optional<ProductoGrilla> producto = grilla_.productoActual();
    if (!producto)
        return;
    if (!agregando) {
        const std::optional<bool> puede = puedeModificar();
        if (!puede)
            return;
        if (!*puede) {
            atencion(QStringLiteral("Usted no tiene permiso para modificar este Egreso."));
            return;
        }
        if (rechazarBajaStock(producto->proId))
            return;
    }
    const std::optional<QString> cantidad = pedirCantidad(producto->proId);
    if (cantidad) {
        lineas_.agregar(producto->proId, producto->codigo, producto->descripcion, producto->precio,
                        *cantidad);
        emit lineasCambiadas();
    }
    restaurarPunteroNormal();
}

void EditorPresupuesto::agregarPorCodigo(const QString& codigo,
                                         const PedirCantidad& pedirCantidad) {
    if (!grilla_.buscarCodigo(codigo))
        return;
    emit productoActualCambiado();
    agregarProductoActual(pedirCantidad);
}

void EditorPresupuesto::quitarUnidades(int indice) {
    if (lineas_.vacia() || indice < 0 || indice >= lineas_.cantidad())
        return;
    if (!agregando) {
        const std::optional<bool> puede = puedeModificar();
        if (!puede)
            return;
        if (!*puede) {
            atencion(QStringLiteral("Usted no tiene permiso para modificar este Documento."));
            return;
        }
    }
    const std::optional<double> unidades =
        numeros::leer(entrada(QStringLiteral("Ingrese la cantidad que desea quitar:"),
                              QStringLiteral("Cantidad"), QStringLiteral("1")));
    if (!unidades)
        return;
    if (*unidades <= 0) {
        atencion(QStringLiteral("La cantidad a quitar debe ser un número mayor que cero"));
        return;
    }
    lineas_.quitar(indice, *unidades);
    emit lineasCambiadas();
}

void EditorPresupuesto::teclaGrilla(QChar caracter) {
    grilla_.tecla(caracter);
    emit productoActualCambiado();
}

void EditorPresupuesto::retrocesoGrilla() {
    const bool filtrada = !grilla_.condicion().isEmpty();
    grilla_.retroceso();
    if (filtrada)
        emit productosRecargados();
    emit productoActualCambiado();
}

void EditorPresupuesto::filtrarGrilla(const QString& condicion) {
    grilla_.filtrar(condicion);
    emit productosRecargados();
    emit productoActualCambiado();
}

void EditorPresupuesto::editarProducto() {
    if (grilla_.registros().cantidad() <= 0) {
        mensaje(QStringLiteral("No se han ingresado productos"), Botones::Aceptar,
                Icono::Informacion, QStringLiteral("Verifique"));
        return;
    }
    const std::optional<ProductoGrilla> producto = grilla_.productoActual();
    if (producto && enlacesPresupuesto().editarProducto)
        enlacesPresupuesto().editarProducto(producto->proId);
}

void EditorPresupuesto::cerrar() {
    listas_.cerrar();
    grilla_.cerrar();
    documentos_.cerrar();
}
