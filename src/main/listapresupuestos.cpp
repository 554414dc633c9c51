#include "main/listapresupuestos.h"

#include "platform/mensajes.h"
#include "platform/puntero.h"
#include "quotes/repositoriopresupuestos.h"
#include "users/sesion.h"

namespace {

// Quotes whose validity runs out between today and the given notice days.
const QString kCondicionAvisos =
    QStringLiteral(" WHERE PreVigencia>0 and (PreFecha+PreVigencia between Date() and date()+?) ");

} // namespace

QString ListaPresupuestos::consultaBase() {
    return QStringLiteral("SELECT P.*,C.EMPNOMBREFANTASIA FROM PRESUPUESTOS P INNER JOIN "
                          "CONTACTOS C ON P.EMPID=C.EMPID");
}

ListaPresupuestos::ListaPresupuestos(QObject* padre)
    : QObject(padre), rs_(std::make_shared<Registros>()) {}

ListaPresupuestos::~ListaPresupuestos() = default;

void ListaPresupuestos::cargar() {
    orden_ = QStringLiteral(" ORDER BY PReFECHA ASC");
    mostrar(consultaBase());
}

void ListaPresupuestos::Actualizar(const QString& sql, const QVariantList& valores) {
    AbrirConsulta(sql, rs_, valores);
    emit listaCambiada();
}

void ListaPresupuestos::mostrar(const QString& sinOrden, const QVariantList& valores) {
    mostrada_ = sinOrden;
    valoresMostrada_ = valores;
    Actualizar(mostrada_ + orden_, valoresMostrada_);
}

void ListaPresupuestos::ordenarPorColumna(int columna) {
    direccion_ = (columna == ultimaColumna_ && direccion_ == u"ASC") ? QStringLiteral("DESC")
                                                                     : QStringLiteral("ASC");
    ultimaColumna_ = columna;
    CerrarConsulta(rs_, false);
    static const char16_t* const campos[] = {u"PreNumero", u"PreFecha", u"EmpNombreFantasia",
                                             u"UsuLogin"};
    if (columna >= 0 && columna < 4)
        orden_ =
            QStringLiteral(" ORDER BY ") + QString::fromUtf16(campos[columna]) + u' ' + direccion_;
    Actualizar(mostrada_ + orden_, valoresMostrada_);
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
        mostrar(QStringLiteral("SELECT * FROM PRESUPUESTOS, contactos WHERE "
                               "PRESUPUESTOS.EmpId=contactos.EmpId AND (INSTR(PRELUGAR,?1) OR "
                               "INSTR(PRESALUDO,?1) OR INSTR(EMPRAZONSOCIAL,?1) OR "
                               "INSTR(PRENUMERO,?1) OR INSTR(CSTR(PREFECHA),?1) OR "
                               "INSTR(EMPNOMBREFANTASIA,?1))"),
                {texto.trimmed()});
    }
    if (rs_->cantidad() > 0)
        return;
    mensaje(QStringLiteral("No hay Presupuestos con esos datos"), Botones::Aceptar, Icono::Ninguno,
            QStringLiteral("Resultados de la búsqueda"));
    mostrarTodo();
}

void ListaPresupuestos::mostrarTodo() {
    PunteroEspera espera;
    mostrar(consultaBase());
}

void ListaPresupuestos::listarAvisos(int diasAviso) {
    orden_ = QStringLiteral(" ORDER BY PreFecha ASC");
    mostrar(consultaBase() + kCondicionAvisos, {diasAviso});
}

QString ListaPresupuestos::textoAvisos(int diasAviso) {
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("select count(PreId) from presupuestos") + kCondicionAvisos, rs,
                  {diasAviso});
    // A count that cannot be read (already reported) announces nothing.
    const qint64 n = rs->posicionAbsoluta() > 0 ? rs->campo(0).toLongLong() : 0;
    CerrarConsulta(rs, true);
    if (n > 0)
        return QStringLiteral("Hay %1 próximos a vencer. Clic para verlos.").arg(n);
    return QStringLiteral("No hay avisos.");
}

ListaPresupuestos::Edicion ListaPresupuestos::editar(int posicion, qint32& preId) const {
    if (posicion < 1 || posicion > rs_->cantidad())
        return Edicion::SinFila;
    Registros fila = *rs_;
    fila.moverA(posicion);
    if (!esPropietario(fila.texto(QStringLiteral("UsuLogin")), usuarioActual())) {
        mensaje(QStringLiteral("Usted no tiene permiso para modificar este Presupuesto."),
                Botones::Aceptar, Icono::Informacion, QStringLiteral("Atención"));
        return Edicion::Rechazada;
    }
    preId = fila.campo(QStringLiteral("PreId")).toInt();
    return Edicion::Permitida;
}

ListaPresupuestos::Borrado
ListaPresupuestos::eliminar(int posicion, const std::function<bool()>& verificarAdministrador) {
    if (!verificarAdministrador())
        return Borrado::NoVerificado;
    if (posicion < 1 || posicion > rs_->cantidad()) {
        mensaje(QStringLiteral("No hay nada para borrar"));
        return Borrado::NadaQueBorrar;
    }
    Registros fila = *rs_;
    fila.moverA(posicion);
    const QString id = fila.texto(QStringLiteral("PreId")).trimmed();
    const QString numero = fila.texto(QStringLiteral("PreNumero")).trimmed();
    const QString pregunta =
        fila.campo(QStringLiteral("PreNumero")).isNull()
            ? QStringLiteral("Esta seguro que dese eliminar la presupuesto Sin Número, código ") +
                  id
            : QStringLiteral("Esta seguro que dese eliminar el presupuesto Nro. ") + numero;
    if (mensaje(pregunta, Botones::SiNo, Icono::Pregunta,
                QStringLiteral("Confirme que desea hacer")) != Respuesta::Si)
        return Borrado::NoConfirmado;

    QList<ErrorProveedor> fallos;
    if (!RepositorioPresupuestos::eliminar(fila.campo(QStringLiteral("PreId")).toInt(), fallos)) {
        QString texto = QStringLiteral("No se pudo eliminar el presupuesto; no se borró nada.");
        for (const auto& e : fallos)
            texto += QStringLiteral("\rError número: ") + QString::number(e.numero) + u'\r' +
                     e.descripcion;
        mensaje(texto, Botones::Aceptar, Icono::Exclamacion, QStringLiteral("Atención"));
        return Borrado::Fallido;
    }
    mostrar(consultaBase());
    return Borrado::Borrado;
}

void ListaPresupuestos::cerrar() {
    CerrarConsulta(rs_, false);
}
