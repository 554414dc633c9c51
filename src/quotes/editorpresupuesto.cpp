#include "quotes/editorpresupuesto.h"

#include "data/marcasedicion.h"
#include "data/modconexion.h"
#include "platform/mensajes.h"
#include "platform/puntero.h"
#include "platform/reloj.h"
#include "quotes/accionesdocumento.h"
#include "quotes/enlaces.h"
#include "quotes/estadospresupuesto.h"
#include "quotes/numeros.h"
#include "quotes/repositoriopresupuestos.h"
#include "users/sesion.h"

#include <QScopedValueRollback>

#include <utility>

namespace {

using Repositorio = RepositorioPresupuestos;

void atencion(const QString& texto) {
    mensaje(texto, Botones::Aceptar, Icono::Informacion, QStringLiteral("Atención"));
}

void verifique(const QString& texto) {
    mensaje(texto, Botones::Aceptar, Icono::Informacion, QStringLiteral("Verifique"));
}

} // namespace

EditorPresupuesto::EditorPresupuesto(QObject* padre)
    : QObject(padre), listas_(consultas_), grilla_(consultas_) {}

std::array<bool, modos::kBotones> EditorPresupuesto::botones() const {
    return modos::botones(modo_);
}

void EditorPresupuesto::cambiarModo(ModoEditor modo) {
    // The mark lasts while the stored quote is open for changes.
    if (modo != ModoEditor::Edicion)
        soltarMarca();
    modo_ = modo;
    emit modoCambiado();
}

void EditorPresupuesto::Actualizar() {
    if (recargando_)
        return;
    const QScopedValueRollback enCurso(recargando_, true);
    QList<ErrorProveedor> errores;
    {
        ErroresRetenidos retenidos;
        // The grid keeps the rows it showed when the lists cannot be read.
        if (listas_.recargar())
            grilla_.recargar();
        errores = retenidos.errores();
    }
    emit listasRecargadas();
    emit productosRecargados();
    emit productoActualCambiado();
    if (errores.isEmpty())
        recargaFallida_ = false;
    else if (!std::exchange(recargaFallida_, true))
        informarErrores({errores.first()});
}

void EditorPresupuesto::NuevoPre() {
    // Without the number (the read failed and was reported) nothing changes.
    const std::optional<QString> numero = Repositorio::numeroPropuesto();
    if (!numero)
        return;
    propuesto_ = *numero;
    cargado_.reset();
    reemplaza_.reset();
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

bool EditorPresupuesto::NuevaVersion(qint32 id) {
    Presupuesto original;
    const Repositorio::Leido leido = Repositorio::cargar(id, original);
    if (leido == Repositorio::Leido::Fallo)
        return false;
    if (leido == Repositorio::Leido::No) {
        atencion(QStringLiteral("Este Presupuesto ya no existe: fue eliminado."));
        return false;
    }
    const std::optional<QString> numero = Repositorio::numeroVersion(id, original.numero);
    if (!numero)
        return false;
    campos = CamposPresupuesto::desde(original);
    campos.id.clear();
    campos.numero = *numero;
    campos.fecha = Reloj::hoy();
    vigenciaHabilitada_ = campos.vigencia;
    lineas_.vaciar();
    for (const LineaPresupuesto& l : original.lineas)
        lineas_.cargar(l.proId, l.codigo, l.descripcion, l.precio, l.cantidad, l.moneda);
    cargado_.reset();
    propuesto_.reset();
    reemplaza_ = id;
    agregando = true;
    emit lineasCambiadas();
    cambiarModo(ModoEditor::Nuevo);
    emit camposCambiados();
    return true;
}

void EditorPresupuesto::CargarPre(qint32 id) {
    if (agregando) {
        NuevoPre();
        return;
    }
    Presupuesto p;
    const Repositorio::Leido leido = Repositorio::cargar(id, p);
    // A read that failed (reported) loads nothing and goes no further.
    if (leido == Repositorio::Leido::Fallo)
        return;
    if (leido == Repositorio::Leido::Si) {
        agregando = false;
        campos = CamposPresupuesto::desde(p);
        vigenciaHabilitada_ = campos.vigencia;
        lineas_.vaciar();
        for (const LineaPresupuesto& l : p.lineas)
            lineas_.cargar(l.proId, l.codigo, l.descripcion, l.precio, l.cantidad);
        cargado_ = std::move(p);
        propuesto_.reset();
        reemplaza_.reset();
        if (marcado_ != id)
            soltarMarca();
        emit lineasCambiadas();
        emit camposCambiados();
    }
    editar();
}

std::optional<bool> EditorPresupuesto::puedeModificar() const {
    const std::optional<QString> dueno = Repositorio::propietario(campos.clave().value_or(0));
    if (!dueno)
        return std::nullopt;
    return esPropietario(*dueno, usuarioActual());
}

bool EditorPresupuesto::permitido(const QString& rechazo) const {
    const std::optional<bool> puede = puedeModificar();
    if (puede && !*puede)
        atencion(rechazo);
    return puede.value_or(false);
}

void EditorPresupuesto::editar() {
    if (!permitido(QStringLiteral("Usted no tiene permiso para modificar este Presupuesto.")))
        return;
    if (marcar()) {
        const std::optional<qint32> id = campos.clave();
        if (modo_ == ModoEditor::Consulta && id) {
            // The other desk has let it go: what it saved is what gets edited.
            cambiarModo(ModoEditor::Edicion);
            CargarPre(*id);
            return;
        }
        EditarPre();
        return;
    }
    vigenciaHabilitada_ = false;
    cambiarModo(ModoEditor::Consulta);
    emit camposCambiados();
}

bool EditorPresupuesto::marcar() {
    const std::optional<qint32> id = campos.clave();
    Conexion* c = conexion();
    if (agregando || !id || !c)
        return true;
    if (marcado_ == id)
        return true;
    soltarMarca();
    const std::unique_ptr<MarcasEdicion> marcas = marcasEdicion(*c);
    switch (marcas->tomar(*id, usuarioActual(), puestoActual())) {
    case MarcasEdicion::Toma::Tomada:
        marcado_ = id;
        return true;
    case MarcasEdicion::Toma::Fallo:
        informarErrores(marcas->errores());
        return false;
    case MarcasEdicion::Toma::Ocupada:
        break;
    }
    const std::optional<MarcaEdicion> quien = marcas->quien(*id);
    if (!quien) {
        informarErrores(marcas->errores());
    } else if (quien->usuario.isEmpty()) {
        atencion(QStringLiteral("El presupuesto %1 está siendo modificado en otro puesto.")
                     .arg(campos.numero));
    } else {
        atencion(QStringLiteral("El presupuesto %1 está siendo modificado por %2 en %3 desde las "
                                "%4.")
                     .arg(campos.numero, quien->usuario, quien->puesto,
                          quien->desde.toLocalTime().toString(QStringLiteral("HH:mm"))));
    }
    return false;
}

void EditorPresupuesto::soltarMarca() {
    const std::optional<qint32> id = std::exchange(marcado_, std::nullopt);
    if (Conexion* c = conexion(); id && c)
        marcasEdicion(*c)->soltar(*id);
}

void EditorPresupuesto::EditarPre() {
    agregando = false;
    // The validity boxes follow the tick again, as when the quote loaded.
    vigenciaHabilitada_ = campos.vigencia;
    cambiarModo(ModoEditor::Edicion);
    emit camposCambiados();
}

bool EditorPresupuesto::ValidarPre() {
    const bool valido = validar();
    emit camposCambiados();
    return valido;
}

bool EditorPresupuesto::validar() {
    // Empty amounts and amounts that do not read as a number become "0".
    for (QString& importe : campos.importe)
        if (!numeros::leer(importe))
            importe = QStringLiteral("0");
    const qint32 empId = campos.registro({}).empId;
    if (empId == 0) {
        verifique(QStringLiteral("Elija el Cliente del Presupuesto: escriba parte de su nombre en "
                                 "Cliente y pulse Enter."));
        return false;
    }
    const std::optional<bool> existe = Repositorio::contactoExiste(empId);
    if (!existe)
        return false;
    if (!*existe) {
        verifique(QStringLiteral("El Cliente elegido ya no existe. Elija otro Cliente."));
        return false;
    }
    std::optional<qint32> dias;
    if (campos.vigencia && !campos.diasGuardados(dias)) {
        verifique(QStringLiteral("Escriba en Vigencia la cantidad de días con un número."));
        return false;
    }
    return true;
}

bool EditorPresupuesto::GuardarPre() {
    Presupuesto p = campos.registro(lineas_.lineas());
    if (agregando)
        p.id.reset();
    const bool propuesto = agregando && propuesto_ && campos.numero == *propuesto_;
    const std::optional<qint32> reemplaza = agregando ? reemplaza_ : std::nullopt;
    Repositorio::Guardado g = Repositorio::guardar(p, agregando ? std::nullopt : cargado_,
                                                   usuarioActual(), propuesto, reemplaza);
    if (g.resultado == Repositorio::Resultado::Cambiado) {
        // Another copy of the program changed the quote since it loaded here.
        if (mensaje(QStringLiteral("Otro usuario cambió este Presupuesto después de que usted lo "
                                   "abrió. No se guardó nada.\r¿Desea guardar lo que escribió "
                                   "como un Presupuesto nuevo, con otro número?\r(Sí: lo guarda "
                                   "como nuevo. No: sigue como está; «Cancelar» muestra el "
                                   "Presupuesto guardado.)"),
                    Botones::SiNo, Icono::Pregunta, QStringLiteral("Atención")) != Respuesta::Si)
            return false;
        p.id.reset();
        g = Repositorio::guardar(p, std::nullopt, usuarioActual(), true);
    }
    if (g.resultado != Repositorio::Resultado::Guardado)
        return false;
    // What was stored is shown: key, number and validity.
    campos.id = QString::number(*g.presupuesto.id);
    campos.numero = g.presupuesto.numero;
    campos.mostrarVigencia(g.presupuesto);
    cargado_ = std::move(g.presupuesto);
    propuesto_.reset();
    reemplaza_.reset();
    agregando = false;
    emit camposCambiados();
    if (reemplaza && !g.reemplazo)
        atencion(QStringLiteral("Se guardó como un Presupuesto nuevo: el Presupuesto del que es "
                                "versión fue eliminado o cambió de estado, y no se marcó como "
                                "reemplazado."));
    documentos_.GenerarDocumento(campos);
    return true;
}

bool EditorPresupuesto::guardar() {
    if (soloLectura() || !ValidarPre() || !GuardarPre())
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
        CargarPre(campos.clave().value_or(0));
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
    // The document of the quote on screen, as its last save wrote it.
    case 5:
        ImprimirDocumentoDe(campos.numero, campos.id);
        break;
    case 6:
        AbrirDocumentoDe(campos.numero, campos.id);
        break;
    case 7:
        EnviarDocumentoDe(campos.numero, campos.id);
        break;
    case 8:
        emit cerrarPedido();
        break;
    default:
        break;
    }
}

void EditorPresupuesto::enviarPdf() {
    bool esClave = false;
    const qint32 empId = campos.clienteTag.toInt(&esClave);
    // A contact's field that cannot be read (the error has been shown) leaves
    // the message without addressee.
    const QString correo = esClave && empId > 0
                               ? RepositorioPresupuestos::correoContacto(empId).value_or(QString())
                               : QString();
    if (!EnviarPdfDocumentoDe(campos.numero, campos.id, correo))
        return;
    const std::optional<qint32> id = campos.clave();
    if (!id)
        return;
    // Only a draft becomes "Enviado": a quote already sent, decided or
    // replaced keeps its status.
    if (estados::actual(*id) != EstadoPresupuesto::Borrador)
        return;
    if (mensaje(QStringLiteral("¿Marcar el presupuesto «%1» como Enviado?").arg(campos.numero),
                Botones::SiNo, Icono::Pregunta, QStringLiteral("Confirme")) != Respuesta::Si)
        return;
    // A status changed meanwhile elsewhere is left as it is.
    estados::marcar(*id, EstadoPresupuesto::Borrador, EstadoPresupuesto::Enviado, usuarioActual(),
                    QString());
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
    const std::optional<bool> deBaja = Repositorio::lineaDeBaja(campos.clave().value_or(0), proId);
    // A read that failed (reported) adds nothing.
    if (!deBaja)
        return true;
    if (*deBaja)
        atencion(QStringLiteral("No es posible agregar unidades a un Producto que ya fue dado de "
                                "Baja en el Stock."));
    return *deBaja;
}

void EditorPresupuesto::agregarProductoActual(const PedirCantidad& pedirCantidad) {
    // The product is taken before the quantity is asked: closing the dialog
    // reloads the grid.
    const std::optional<ProductoGrilla> producto = grilla_.productoActual();
    if (!producto || soloLectura())
        return;
    if (!agregando &&
        (!permitido(QStringLiteral("Usted no tiene permiso para modificar este Egreso.")) ||
         rechazarBajaStock(producto->proId)))
        return;
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
    if (lineas_.vacia() || indice < 0 || indice >= lineas_.cantidad() || soloLectura())
        return;
    if (!agregando &&
        !permitido(QStringLiteral("Usted no tiene permiso para modificar este Documento.")))
        return;
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
    soltarMarca();
    listas_.cerrar();
    grilla_.cerrar();
    documentos_.cerrar();
}
