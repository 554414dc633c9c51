#include "main/listapresupuestos.h"

#include "platform/mensajes.h"
#include "platform/puntero.h"
#include "users/sesion.h"

namespace {

QString consultaAvisos(int diasAviso) {
    return QStringLiteral("select count(PreId) from presupuestos where PreVigencia>0 and "
                          "(PreFecha+PreVigencia between Date() and date()+") +
           QString::number(diasAviso) + QStringLiteral(");");
}

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
    consultaLista_ = consultaBase() + orden_;
    Actualizar(consultaLista_);
}

void ListaPresupuestos::Actualizar(const QString& sql) {
    AbrirConsulta(sql, rs_);
    emit listaCambiada();
}

void ListaPresupuestos::ordenarPorColumna(int columna) {
    direccion_ = (columna == ultimaColumna_ && direccion_ == u"ASC") ? QStringLiteral("DESC")
                                                                     : QStringLiteral("ASC");
    ultimaColumna_ = columna;
    CerrarConsulta(rs_, false);
    const qsizetype corte = consultaLista_.indexOf(QStringLiteral("ORDER BY"));
    if (corte >= 0)
        consultaLista_.truncate(corte);
    static const char16_t* const campos[] = {u"PreNumero", u"PreFecha", u"EmpNombreFantasia",
                                             u"UsuLogin"};
    if (columna >= 0 && columna < 4)
        orden_ =
            QStringLiteral(" ORDER BY ") + QString::fromUtf16(campos[columna]) + u' ' + direccion_;
    consultaLista_ += orden_;
    Actualizar(consultaLista_);
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
    // A quote character is doubled inside the literal: it is searched for,
    // and nothing of the text can end the literal.
    const QString t = texto.trimmed().replace(u'\'', QStringLiteral("''"));
    {
        PunteroEspera espera;
        Actualizar(QStringLiteral("SELECT * FROM PRESUPUESTOS, contactos WHERE "
                                  "PRESUPUESTOS.EmpId=contactos.EmpId AND (INSTR(PRELUGAR,'") +
                   t + QStringLiteral("') OR INSTR(PRESALUDO,'") + t +
                   QStringLiteral("') OR INSTR(EMPRAZONSOCIAL,'") + t +
                   QStringLiteral("') OR INSTR(PRENUMERO,'") + t +
                   QStringLiteral("') OR INSTR(CSTR(PREFECHA),'") + t +
                   QStringLiteral("') OR INSTR(EMPNOMBREFANTASIA,'") + t + QStringLiteral("'))") +
                   orden_);
    }
    if (rs_->cantidad() > 0)
        return;
    mensaje(QStringLiteral("No hay Presupuestos con esos datos"), Botones::Aceptar, Icono::Ninguno,
            QStringLiteral("Resultados de la búsqueda"));
    mostrarTodo();
}

void ListaPresupuestos::mostrarTodo() {
    PunteroEspera espera;
    Actualizar(consultaBase() + orden_);
}

void ListaPresupuestos::listarAvisos(int diasAviso) {
    orden_ = QStringLiteral(" ORDER BY PreFecha ASC");
    consultaLista_ = consultaBase() +
                     QStringLiteral(" WHERE PreVigencia>0 and (PreFecha+PreVigencia between "
                                    "Date() and date()+") +
                     QString::number(diasAviso) + QStringLiteral(") ") + orden_;
    Actualizar(consultaLista_);
}

QString ListaPresupuestos::textoAvisos(int diasAviso) {
    RegistrosPtr rs;
    AbrirConsulta(consultaAvisos(diasAviso), rs);
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

    Conexion* con = conexion();
    QList<ErrorProveedor> fallos;
    bool hecho = false;
    if (con && con->iniciarTransaccion()) {
        hecho =
            con->ejecutar(QStringLiteral("DELETE * FROM PRESUPUESTOS_PRODUCTOS WHERE PreId=") + id)
                .ok &&
            con->ejecutar(QStringLiteral("DELETE * FROM PRESUPUESTOS WHERE PreId=") + id).ok;
        if (!hecho)
            fallos = con->errores();
        hecho = hecho ? con->confirmarTransaccion() : (con->deshacerTransaccion(), false);
        if (!hecho && fallos.isEmpty())
            fallos = con->errores();
    } else if (con) {
        fallos = con->errores();
    }
    if (!hecho) {
        QString texto = QStringLiteral("No se pudo eliminar el presupuesto; no se borró nada.");
        for (const auto& e : fallos)
            texto += QStringLiteral("\rError número: ") + QString::number(e.numero) + u'\r' +
                     e.descripcion;
        mensaje(texto, Botones::Aceptar, Icono::Exclamacion, QStringLiteral("Atención"));
        return Borrado::Fallido;
    }
    Actualizar(consultaBase() + orden_);
    return Borrado::Borrado;
}

void ListaPresupuestos::cerrar() {
    CerrarConsulta(rs_, false);
}
