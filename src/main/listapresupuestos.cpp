#include "main/listapresupuestos.h"

#include "platform/mensajes.h"
#include "platform/puntero.h"
#include "quotes/repositoriopresupuestos.h"
#include "users/sesion.h"

using namespace Qt::StringLiterals;

namespace {

// Quotes whose validity runs out between today and the given notice days.
const QString kAvisos =
    QStringLiteral("PreVigencia>0 and (PreFecha+PreVigencia between Date() and date()+?) ");

const QString kColumnas = QStringLiteral("P.*,C.EMPNOMBREFANTASIA");
// The grid's columns: the quote, its contact's name and its current status.
const QString kColumnasGrilla =
    kColumnas + u","_s + estados::expresionActual(u"P"_s) + u" AS Estado"_s;
const QString kOrigen =
    QStringLiteral("FROM PRESUPUESTOS P INNER JOIN CONTACTOS C ON P.EMPID=C.EMPID");
const QString kOrigenPorCliente = QStringLiteral("FROM CONTACTOS C CROSS JOIN PRESUPUESTOS P");
const QString kUnionPorCliente = QStringLiteral("P.EMPID=C.EMPID");
const QString kOrigenConteo = QStringLiteral("FROM PRESUPUESTOS P");

// Whether every quote names an existing contact, so that the join with the
// contacts drops none and the quotes alone give the list's counts (through
// their indexes, without a lookup per quote). Each distinct contact key of
// the quotes is stepped through the index on it and looked up once.
bool todosConContacto() {
    RegistrosPtr rs;
    AbrirConsulta(
        QStringLiteral(
            "SELECT NOT EXISTS (SELECT 1 FROM PRESUPUESTOS WHERE EmpId IS NULL) AND NOT EXISTS "
            "(WITH RECURSIVE e(id) AS (SELECT min(EmpId) FROM PRESUPUESTOS UNION ALL "
            "SELECT (SELECT min(EmpId) FROM PRESUPUESTOS WHERE EmpId > e.id) FROM e "
            "WHERE e.id IS NOT NULL) SELECT 1 FROM e WHERE e.id IS NOT NULL AND NOT EXISTS "
            "(SELECT 1 FROM CONTACTOS C WHERE C.EmpId = e.id))"),
        rs);
    if (!rs || !rs->abierto() || rs->cantidad() != 1)
        return false;
    rs->moverPrimero();
    return rs->campo(0).toInt() == 1;
}

// The keys each header's order walks, the quote's key last so that no two
// rows tie. Each order is a walk of an index: the indexes on the quote's
// number, date and owner hold the quote's key after the value. The customer's
// order walks the index on the contact's name (which holds the contact's key)
// and, for each contact, its quotes through the index on the contact key.
struct Orden {
    QStringList claves;
    QStringList campos;
};
const Orden& ordenDeColumna(int columna) {
    static const Orden ordenes[] = {
        {{u"P.PreNumero"_s, u"P.PreId"_s}, {u"PreNumero"_s, u"PreId"_s}},
        {{u"P.PreFecha"_s, u"P.PreId"_s}, {u"PreFecha"_s, u"PreId"_s}},
        {{u"C.EmpNombreFantasia"_s, u"C.EmpId"_s, u"P.PreId"_s},
         {u"EmpNombreFantasia"_s, u"EmpId"_s, u"PreId"_s}},
        {{u"P.UsuLogin"_s, u"P.PreId"_s}, {u"UsuLogin"_s, u"PreId"_s}},
    };
    return ordenes[columna];
}

// The statuses a filter lets through (none: every quote).
QList<EstadoPresupuesto> estadosDeFiltro(ListaPresupuestos::Filtro filtro) {
    using F = ListaPresupuestos::Filtro;
    using E = EstadoPresupuesto;
    switch (filtro) {
    case F::Todos:
        break;
    case F::Abiertos:
        return {E::Borrador, E::Enviado};
    case F::Aceptados:
        return {E::Aceptado};
    case F::Rechazados:
        return {E::Rechazado};
    case F::Anulados:
        return {E::Anulado};
    }
    return {};
}

// "('Borrador','Enviado')"
QString listaDeNombres(const QList<EstadoPresupuesto>& lista) {
    QStringList nombres;
    for (EstadoPresupuesto e : lista)
        nombres << u'\'' + estados::nombre(e) + u'\'';
    return u'(' + nombres.join(u',') + u')';
}

// The statuses a filter lets through, as a condition on the quote P: one
// seek of the current statuses' key per quote, so a page stays a walk of
// the order's index.
QString condicionFiltro(ListaPresupuestos::Filtro filtro) {
    const QList<EstadoPresupuesto> lista = estadosDeFiltro(filtro);
    if (lista.isEmpty())
        return {};
    return estados::expresionActual(u"P"_s) + u" IN "_s + listaDeNombres(lista);
}

// How many quotes a filter lets through when every quote is listed: counted
// in the index of the current statuses rather than quote by quote. Only
// stored quotes have a current status and the others are drafts, so a
// filter that takes drafts counts every quote less those with a status,
// plus those whose status it takes.
QString conteoDeFiltro(ListaPresupuestos::Filtro filtro) {
    const QList<EstadoPresupuesto> lista = estadosDeFiltro(filtro);
    if (lista.isEmpty())
        return {};
    const QString conEstado =
        u"SELECT count(*) FROM PRESUPUESTOS_ESTADO_ACTUAL WHERE EstEstado IN "_s +
        listaDeNombres(lista);
    if (!lista.contains(EstadoPresupuesto::Borrador))
        return conEstado;
    return u"SELECT (SELECT count(*) FROM PRESUPUESTOS) - (SELECT count(*) FROM "
           "PRESUPUESTOS_ESTADO_ACTUAL) + ("_s +
           conEstado + u')';
}

// The quote counts for the expiry notice only while the customer's answer
// is awaited.
QString condicionAvisos() {
    return kAvisos + u"AND "_s + condicionFiltro(ListaPresupuestos::Filtro::Abiertos);
}

} // namespace

QString ListaPresupuestos::consultaBase() {
    return QStringLiteral("SELECT ") + kColumnas + u' ' + kOrigen;
}

ListaPresupuestos::ListaPresupuestos(QObject* padre)
    : QObject(padre), modelo_(new ModeloVentana(this)) {}

ListaPresupuestos::~ListaPresupuestos() = default;

void ListaPresupuestos::cargar() {
    orden_ = QStringLiteral(" ORDER BY PReFECHA ASC");
    columnaOrden_ = 1;
    descendente_ = false;
    mostrar({});
    // The first list is read through a small page cache; the sorts that
    // follow walk the same indexes again and keep them in a large one.
    AmpliarCache();
}

void ListaPresupuestos::mostrar(const QString& condicion, const QVariantList& valores,
                                bool busqueda, bool soloAbiertos) {
    condicion_ = condicion;
    busqueda_ = busqueda;
    soloAbiertos_ = soloAbiertos;
    mostrada_ = consultaBase() + (condicion.isEmpty() ? QString() : u" WHERE "_s + condicion);
    valoresMostrada_ = valores;
    actualizar();
}

void ListaPresupuestos::actualizar() {
    const Orden& orden = ordenDeColumna(columnaOrden_);
    ModeloVentana::Consulta consulta;
    consulta.columnas = kColumnasGrilla;
    consulta.origen = kOrigen;
    QString condicion = condicion_;
    for (const QString& f :
         {soloAbiertos_ ? condicionFiltro(Filtro::Abiertos) : QString(), condicionFiltro(filtro_)})
        if (!f.isEmpty())
            condicion = condicion.isEmpty() ? f : u'(' + condicion + u") AND "_s + f;
    consulta.condicion = condicion;
    if (columnaOrden_ == 2) {
        // The contacts lead the join, or the engine may read every quote and
        // sort them by their contact's name.
        consulta.origen = kOrigenPorCliente;
        consulta.condicion = condicion.isEmpty()
                                 ? kUnionPorCliente
                                 : kUnionPorCliente + u" AND ("_s + condicion + u')';
    }
    consulta.valores = valoresMostrada_;
    consulta.claves = orden.claves;
    consulta.camposClave = orden.campos;
    consulta.descendente = descendente_;
    // A search names the contact's columns and may scan every quote to count:
    // its first page is shown before the count.
    consulta.conteoDiferido = busqueda_;
    // Every quote, filtered by status only: whatever the order, the same
    // rows, counted through the current statuses.
    const QString conteoFiltro = condicion_.isEmpty() ? conteoDeFiltro(filtro_) : QString();
    if (!busqueda_ && (columnaOrden_ != 2 || !conteoFiltro.isEmpty()) && todosConContacto()) {
        if (columnaOrden_ != 2)
            consulta.origenConteo = kOrigenConteo;
        consulta.conteo = conteoFiltro;
    }
    modelo_->establecer(consulta);
    emit listaCambiada();
}

void ListaPresupuestos::ordenarPorColumna(int columna) {
    if (columna < 0 || columna >= 4)
        return;
    direccion_ = (columna == ultimaColumna_ && direccion_ == u"ASC") ? QStringLiteral("DESC")
                                                                     : QStringLiteral("ASC");
    ultimaColumna_ = columna;
    columnaOrden_ = columna;
    descendente_ = direccion_ == u"DESC";
    static const char16_t* const campos[] = {u"PreNumero", u"PreFecha", u"EmpNombreFantasia",
                                             u"UsuLogin"};
    orden_ = QStringLiteral(" ORDER BY ") + QString::fromUtf16(campos[columna]) + u' ' + direccion_;
    actualizar();
}

void ListaPresupuestos::buscar() {
    const QString respuesta = entrada(QStringLiteral("Si busca por fecha utilice el formato: "
                                                     "dd/mm/yy"),
                                      QStringLiteral("Ingrese el texto a buscar:"));
    if (respuesta.isEmpty())
        return;
    buscarTexto(respuesta);
}

void ListaPresupuestos::buscarTexto(const QString& texto) {
    // The text is bound, never spliced: quote characters, % and _ are
    // searched for as they are.
    {
        PunteroEspera espera;
        mostrar(QStringLiteral("INSTR(PRELUGAR,?1) OR INSTR(PRESALUDO,?1) OR "
                               "INSTR(EMPRAZONSOCIAL,?1) OR INSTR(PRENUMERO,?1) OR "
                               "INSTR(CSTR(PREFECHA),?1) OR INSTR(EMPNOMBREFANTASIA,?1)"),
                {texto.trimmed()}, true);
    }
    if (cantidad() > 0)
        return;
    mensaje(QStringLiteral("No hay Presupuestos con esos datos"), Botones::Aceptar, Icono::Ninguno,
            QStringLiteral("Resultados de la búsqueda"));
    mostrarTodo();
}

void ListaPresupuestos::mostrarTodo() {
    PunteroEspera espera;
    mostrar({});
}

void ListaPresupuestos::listarAvisos(int diasAviso) {
    orden_ = QStringLiteral(" ORDER BY PreFecha ASC");
    columnaOrden_ = 1;
    descendente_ = false;
    mostrar(kAvisos, {diasAviso}, false, true);
}

QString ListaPresupuestos::textoAvisos(int diasAviso) {
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("select count(PreId) from presupuestos P WHERE ") +
                      condicionAvisos(),
                  rs, {diasAviso});
    // A count that cannot be read (already reported) announces nothing.
    const qint64 n = rs->posicionAbsoluta() > 0 ? rs->campo(0).toLongLong() : 0;
    CerrarConsulta(rs, true);
    if (n > 0)
        return QStringLiteral("Hay %1 próximos a vencer. Clic para verlos.").arg(n);
    return QStringLiteral("No hay avisos.");
}

ListaPresupuestos::Edicion ListaPresupuestos::editar(int posicion, qint32& preId) const {
    if (posicion < 1 || posicion > cantidad())
        return Edicion::SinFila;
    if (!esPropietario(modelo_->valor(posicion - 1, QStringLiteral("UsuLogin")).toString(),
                       usuarioActual())) {
        mensaje(QStringLiteral("Usted no tiene permiso para modificar este Presupuesto."),
                Botones::Aceptar, Icono::Informacion, QStringLiteral("Atención"));
        return Edicion::Rechazada;
    }
    preId = modelo_->valor(posicion - 1, QStringLiteral("PreId")).toInt();
    return Edicion::Permitida;
}

ListaPresupuestos::Borrado
ListaPresupuestos::eliminar(int posicion, const std::function<bool()>& verificarAdministrador) {
    if (!verificarAdministrador())
        return Borrado::NoVerificado;
    if (posicion < 1 || posicion > cantidad()) {
        mensaje(QStringLiteral("No hay nada para borrar"));
        return Borrado::NadaQueBorrar;
    }
    const QVariant preId = modelo_->valor(posicion - 1, QStringLiteral("PreId"));
    const QVariant preNumero = modelo_->valor(posicion - 1, QStringLiteral("PreNumero"));
    const QString id = preId.toString().trimmed();
    const QString numero = preNumero.toString().trimmed();
    const QString pregunta =
        preNumero.isNull()
            ? QStringLiteral("Esta seguro que dese eliminar la presupuesto Sin Número, código ") +
                  id
            : QStringLiteral("Esta seguro que dese eliminar el presupuesto Nro. ") + numero;
    if (mensaje(pregunta, Botones::SiNo, Icono::Pregunta,
                QStringLiteral("Confirme que desea hacer")) != Respuesta::Si)
        return Borrado::NoConfirmado;

    QList<ErrorProveedor> fallos;
    if (!RepositorioPresupuestos::eliminar(preId.toInt(), fallos)) {
        QString texto = QStringLiteral("No se pudo eliminar el presupuesto; no se borró nada.");
        for (const auto& e : fallos)
            texto += QStringLiteral("\rError número: ") + QString::number(e.numero) + u'\r' +
                     e.descripcion;
        mensaje(texto, Botones::Aceptar, Icono::Exclamacion, QStringLiteral("Atención"));
        return Borrado::Fallido;
    }
    mostrar({});
    return Borrado::Borrado;
}

QStringList ListaPresupuestos::textosFiltro() {
    return {u"Todos"_s, u"Abiertos"_s, u"Aceptados"_s, u"Rechazados"_s, u"Anulados"_s};
}

void ListaPresupuestos::filtrar(Filtro filtro) {
    filtro_ = filtro;
    PunteroEspera espera;
    actualizar();
}

std::optional<EstadoPresupuesto> ListaPresupuestos::estadoDeFila(int posicion) {
    if (posicion < 1 || posicion > cantidad())
        return std::nullopt;
    return estados::deNombre(modelo_->valor(posicion - 1, u"Estado"_s).toString());
}

ListaPresupuestos::Marcado ListaPresupuestos::marcar(int posicion, EstadoPresupuesto destino) {
    if (posicion < 1 || posicion > cantidad())
        return Marcado::SinFila;
    qint32 preId = 0;
    if (editar(posicion, preId) != Edicion::Permitida)
        return Marcado::Rechazada;
    const QString numero = modelo_->valor(posicion - 1, u"PreNumero"_s).toString().trimmed();
    const QString destinoTexto = estados::nombre(destino);
    // The status is read again: the list may show one another program
    // has changed since.
    const std::optional<EstadoPresupuesto> desde = estados::actual(preId);
    if (!desde)
        return Marcado::Fallido;
    if (!estados::puedeMarcarse(*desde, destino)) {
        mensaje(u"Este Presupuesto está «%1»: no se puede marcar como «%2»."_s.arg(
                    estados::nombre(*desde), destinoTexto),
                Botones::Aceptar, Icono::Informacion, u"Atención"_s);
        actualizar();
        return Marcado::NoPermitido;
    }
    const QString cual = numero.isEmpty() ? u"el presupuesto Sin Número, código %1"_s.arg(preId)
                                          : u"el presupuesto Nro. %1"_s.arg(numero);
    if (mensaje(u"¿Marca %1 como «%2»?"_s.arg(cual, destinoTexto), Botones::SiNo, Icono::Pregunta,
                u"Confirme"_s) != Respuesta::Si)
        return Marcado::NoConfirmado;
    QString motivo;
    if (estados::pideMotivo(destino))
        motivo = entrada(u"Motivo (puede dejarlo en blanco):"_s, u"Presupuesto "_s + destinoTexto)
                     .simplified();
    switch (estados::marcar(preId, *desde, destino, usuarioActual(), motivo)) {
    case estados::Marca::Marcado:
        actualizar();
        return Marcado::Marcado;
    case estados::Marca::Cambiado:
        mensaje(u"Otro usuario cambió el estado de este Presupuesto. No se marcó; la lista "
                "muestra su estado actual."_s,
                Botones::Aceptar, Icono::Informacion, u"Atención"_s);
        break;
    case estados::Marca::Eliminado:
        mensaje(u"Este Presupuesto ya no existe: fue eliminado."_s, Botones::Aceptar,
                Icono::Informacion, u"Atención"_s);
        break;
    case estados::Marca::Fallido:
        return Marcado::Fallido;
    }
    actualizar();
    return Marcado::Fallido;
}

ListaPresupuestos::Edicion ListaPresupuestos::nuevaVersion(int posicion, qint32& preId) {
    qint32 id = 0;
    const Edicion e = editar(posicion, id);
    if (e != Edicion::Permitida)
        return e;
    const std::optional<EstadoPresupuesto> estado = estados::actual(id);
    if (!estado)
        return Edicion::Rechazada;
    if (!estados::admiteNuevaVersion(*estado)) {
        mensaje(u"Un Presupuesto «%1» no admite una nueva versión."_s.arg(estados::nombre(*estado)),
                Botones::Aceptar, Icono::Informacion, u"Atención"_s);
        return Edicion::Rechazada;
    }
    preId = id;
    return Edicion::Permitida;
}

void ListaPresupuestos::cerrar() {
    modelo_->vaciar();
}
