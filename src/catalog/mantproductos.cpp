#include "catalog/mantproductos.h"

#include "catalog/numeros.h"
#include "data/entornodatos.h"
#include "data/modeloregistros.h"
#include "platform/localizacion.h"
#include "platform/mensajes.h"
#include "platform/puntero.h"
#include "startup/opciones.h"

#include <cmath>
#include <optional>

namespace {

const QString kAtencion = QStringLiteral("Atención");

// A number rounded to two decimals, written as the system writes numbers
// into text: no thousands separator, the locale's decimal separator.
QString textoRedondeado(double valor) {
    double r = std::round(valor * 100.0) / 100.0;
    if (r == 0.0)
        r = 0.0; // never "-0"
    return QString::number(r, 'g', 15).replace(u'.', localeTarvo().decimalPoint());
}

bool esNumerico(const QVariant& valor) {
    if (!valor.isValid() || valor.isNull())
        return false;
    if (valor.typeId() == QMetaType::QString)
        return leeComoNumero(valor.toString().trimmed());
    bool ok = false;
    valor.toDouble(&ok);
    return ok;
}

// The check queries before a deletion: whether a row refers to the product.
// nullopt when the query failed (already reported).
std::optional<bool> tieneFilas(const QString& sql, const QVariant& proId) {
    RegistrosPtr rs;
    AbrirConsulta(sql, rs, {proId});
    std::optional<bool> resultado;
    if (rs->abierto())
        resultado = rs->posicionAbsoluta() > 0;
    CerrarConsulta(rs, true);
    return resultado;
}

} // namespace

QString MantProductos::consultaCompleta() {
    return QStringLiteral("SELECT * FROM PRODUCTOS ORDER BY PRODESCRIPCION ASC");
}

QString MantProductos::tituloInicial() {
    return QStringLiteral("PARA IR A UN PRODUCTO DIGITE LAS PRIMERAS LETRAS DE LA DESCRIPCION");
}

MantProductos::MantProductos(QObject* padre)
    : Mantenimiento(QStringLiteral("CProductos"), consultaCompleta(),
                    {QStringLiteral("ProDescripcion"), QStringLiteral("ProPrecio"),
                     QStringLiteral("ProCosto"), QStringLiteral("ProMinimo"),
                     QStringLiteral("ProDesactivado"), QStringLiteral("ProId"),
                     QStringLiteral("ProCodigo"), QStringLiteral("CatId"), QStringLiteral("ProIVA"),
                     QStringLiteral("ProUnidadMedida"), QStringLiteral("ProMoneda"),
                     QStringLiteral("ProSinVencimiento")},
                    padre),
      categorias_(new ModeloRegistros(this)), unidades_(new ModeloRegistros(this)),
      monedas_(new ModeloRegistros(this)), titulo_(tituloInicial()) {}

void MantProductos::ActualizarCombos() {
    EntornoDatos& dte = dteBodex();
    dte.cerrar(QStringLiteral("CCategoriasActivas"));
    dte.abrir(QStringLiteral("CCategoriasActivas"),
              QStringLiteral("SELECT * FROM CATEGORIAS WHERE CATDESACTIVADA=FALSE OR CATID "
                             "IN(SELECT CATID FROM PRODUCTOS) ORDER BY CATDESCRIPCION ASC"));
    categorias_->establecerRegistros(*dte.rsCCategoriasActivas);
    dte.cerrar(QStringLiteral("UnidadesDeMedida"));
    dte.abrir(QStringLiteral("UnidadesDeMedida"));
    unidades_->establecerRegistros(*dte.rsUnidadesDeMedida);
    dte.cerrar(QStringLiteral("Monedas"));
    dte.abrir(QStringLiteral("Monedas"));
    monedas_->establecerRegistros(*dte.rsMonedas);
}

void MantProductos::teclaEnCampo(int indice, const QString& texto) const {
    if (texto == u"," && indice >= 2 && indice <= 4)
        mensaje(QStringLiteral("Debe utilizar el punto (.) como separador de decimales."));
    else if ((texto == u"," || texto == u".") && indice == 5)
        mensaje(QStringLiteral("El Stock Mínimo debe ser un número entero."));
}

void MantProductos::valoresIniciales() {
    establecerCampo(QStringLiteral("ProDesactivado"), false);
    establecerCampo(QStringLiteral("ProSinVencimiento"), true);
    establecerCampo(QStringLiteral("ProIVA"), QString::number(opciones().iva, 'g', 15));
}

bool MantProductos::validar() {
    const RegistrosPtr& rs = registros();
    if (rs->campo(QStringLiteral("CatId")).isNull() ||
        rs->texto(QStringLiteral("ProDescripcion")).isEmpty()) {
        mensaje(QStringLiteral("Debe ingresar la descripción del producto y la categoría"));
        return false;
    }
    const QString numericos[] = {QStringLiteral("ProPrecio"), QStringLiteral("ProCosto"),
                                 QStringLiteral("ProIVA"), QStringLiteral("ProMinimo")};
    for (const QString& campo : numericos) {
        if (!esNumerico(rs->campo(campo))) {
            mensaje(QStringLiteral("Los campos Costo, Precio y Stock Mínimo, deben contener "
                                   "datos numéricos."));
            return false;
        }
    }
    // The minimum stock column holds whole numbers: 2.5 would be stored as is.
    const double minimo = rs->campo(QStringLiteral("ProMinimo")).toDouble();
    if (std::floor(minimo) != minimo) {
        mensaje(QStringLiteral("El Stock Mínimo debe ser un número entero."));
        return false;
    }
    // Numbers are stored as numbers, not as the text typed.
    for (const QString& campo : numericos) {
        const double valor = rs->campo(campo).toDouble();
        establecerCampo(campo, campo == u"ProMinimo" ? QVariant(qint64(valor)) : QVariant(valor));
    }
    return true;
}

Consulta MantProductos::consultaBusqueda(const QString& texto) const {
    // The text is bound: quotes, % and _ are searched for as they are.
    return {QStringLiteral("SELECT * FROM PRODUCTOS WHERE INSTR(PRODESCRIPCION,?) ORDER BY "
                           "PRODESCRIPCION ASC"),
            {texto}};
}

QString MantProductos::tituloBusqueda() const {
    return QStringLiteral("Buscar por descripción");
}

QString MantProductos::mensajeDuplicado() const {
    return QStringLiteral("El Producto ingresado ya existe.");
}

void MantProductos::busquedaAvanzada(const QString& condicion) {
    if (estado() == EstadoMantenimiento::Editando)
        return;
    PunteroEspera espera;
    Actualizar(QStringLiteral("SELECT * FROM PRODUCTOS WHERE ") + condicion +
               QStringLiteral(" ORDER BY PRODESCRIPCION ASC"));
}

void MantProductos::ordenarPorColumna(int columna) {
    if (estado() == EstadoMantenimiento::Editando)
        return;
    if (columna == ultimaColumna_)
        direccion_ = direccion_ == u"DESC" ? QStringLiteral("ASC") : QStringLiteral("DESC");
    else
        direccion_ = QStringLiteral("ASC");
    ultimaColumna_ = columna;
    Consulta actual = consultaActual();
    const qsizetype orden = actual.sql.indexOf(QStringLiteral("ORDER BY"));
    if (orden >= 0)
        actual.sql.truncate(orden);
    static const char16_t* const campos[] = {u"ProDescripcion", u"ProPrecio", u"ProCosto",
                                             u"ProMinimo", u"ProDesactivado"};
    if (columna >= 0 && columna < 5)
        actual.sql +=
            QStringLiteral(" ORDER BY ") + QString::fromUtf16(campos[columna]) + u' ' + direccion_;
    Actualizar(actual.sql, actual.valores);
}

void MantProductos::establecerTitulo(const QString& titulo) {
    titulo_ = titulo;
    emit tituloGrillaCambiado(titulo_);
}

void MantProductos::teclaEnGrilla(QChar tecla) {
    if (posicionActual() == 0 || tecla.isNull())
        return;
    if (tecla == QChar(8)) {
        prefijo_.clear();
        moverA(1);
        establecerTitulo(tituloInicial());
        return;
    }
    prefijo_ += tecla;
    Registros busqueda = *registros();
    QString literal = prefijo_;
    literal.replace(u'\'', QStringLiteral("''"));
    busqueda.buscar(QStringLiteral("PRODESCRIPCION >='") + literal + u'\'');
    // Nothing at or after the prefix: the current row stays, so the grid never
    // loses its row (and Backspace keeps working).
    if (busqueda.posicionAbsoluta() > 0)
        moverA(busqueda.posicionAbsoluta());
    establecerTitulo(QStringLiteral("Búsqueda: ") + prefijo_ +
                     QStringLiteral(" (BackSapce comienza de nuevo)"));
}

MantProductos::Margenes MantProductos::margenes() const {
    Margenes m;
    if (posicionActual() == 0)
        return m;
    const double costo = registros()->campo(QStringLiteral("ProCosto")).toDouble();
    const double precio = registros()->campo(QStringLiteral("ProPrecio")).toDouble();
    if (costo > 0) {
        m.porcentual = textoRedondeado((precio - costo) / costo * 100.0);
        m.absoluto = textoRedondeado(precio - costo);
    }
    return m;
}

MantProductos::Borrado MantProductos::eliminar() {
    if (estado() == EstadoMantenimiento::Editando)
        return Borrado::NoConfirmado;
    const RegistrosPtr& rs = registros();
    if (posicionActual() == 0) {
        mensaje(QStringLiteral("No hay nada para borrar"));
        return Borrado::NadaQueBorrar;
    }
    const QString pregunta =
        QStringLiteral("Esta seguro que dese eliminar el Producto con los siguientes datos: ") +
        QStringLiteral("\r\n\r\n- Código: ") + rs->texto(QStringLiteral("ProCodigo")) +
        QStringLiteral("\r\n- Descripción: ") + rs->texto(QStringLiteral("ProDescripcion"));
    if (mensaje(pregunta, Botones::SiNo, Icono::Ninguno,
                QStringLiteral("Confirme que desea hacer")) != Respuesta::Si)
        return Borrado::NoConfirmado;

    const QVariant proId = rs->campo(QStringLiteral("ProId"));
    // Rows of the stock-control program, then the quotes' lines (which would
    // lose their description): each one keeps the product.
    static const struct {
        const char16_t* sql;
        const char16_t* motivo;
    } usos[] = {
        {u"SELECT FacId FROM FACTURAS_PRODUCTOS WHERE ProId=?",
         u"No es posible eliminar este producto porque tiene Compras asociadas."},
        {u"SELECT RemId FROM REMITOS_PRODUCTOS WHERE ProId=?",
         u"No es posible eliminar este producto porque tiene Remitos asociados."},
        {u"SELECT LotId FROM LOTES WHERE ProId=?",
         u"No es posible eliminar este producto porque tiene Lotes asociados."},
        {u"SELECT PreId FROM PRESUPUESTOS_PRODUCTOS WHERE ProId=?",
         u"No es posible eliminar este producto porque está incluido en Presupuestos."},
    };
    for (const auto& uso : usos) {
        const std::optional<bool> usado = tieneFilas(QString::fromUtf16(uso.sql), proId);
        if (!usado)
            return Borrado::Fallido; // the check could not be made: nothing is deleted
        if (*usado) {
            mensaje(QString::fromUtf16(uso.motivo), Botones::Aceptar, Icono::Informacion,
                    kAtencion);
            return Borrado::EnUso;
        }
    }

    Conexion* con = conexion();
    const ResultadoSentencia r =
        con ? con->ejecutar(QStringLiteral("delete from productos where ProId=?"), {proId})
            : ResultadoSentencia{};
    if (!r.ok || r.afectados != 1) {
        if (!con)
            informarErrores({{errores::kFalloGeneral,
                              QStringLiteral("La conexión con la base de datos está cerrada.")}});
        else if (!r.ok)
            informarErrores(con->errores());
        else
            mensaje(QStringLiteral("El producto ya no existe; no se eliminó nada."),
                    Botones::Aceptar, Icono::Informacion, kAtencion);
        mostrarTodo();
        return Borrado::Fallido;
    }
    mostrarTodo();
    mensaje(QStringLiteral("El producto se ha eliminado correctamente."), Botones::Aceptar,
            Icono::Informacion, kAtencion);
    return Borrado::Borrado;
}

bool MantProductos::irAProducto(qint32 proId) {
    if (estado() == EstadoMantenimiento::Editando)
        return false;
    if (!registros()->abierto())
        cargar();
    const QString criterio = QStringLiteral("ProId=") + QString::number(proId);
    for (int intento = 0; intento < 2; ++intento) {
        Registros busqueda = *registros();
        busqueda.moverPrimero();
        busqueda.buscar(criterio);
        if (busqueda.posicionAbsoluta() > 0) {
            moverA(busqueda.posicionAbsoluta());
            return true;
        }
        if (intento == 0)
            mostrarTodo();
    }
    return false;
}
