#include "data/modconexion.h"

#include "data/origenes.h"
#include "data/servidor.h"
#include "platform/mensajes.h"
#include "platform/odbc.h"
#include "platform/puntero.h"
#include "platform/salida.h"

#include <QCoreApplication>
#include <QDir>

#include <utility>

namespace {

std::unique_ptr<Conexion> compartida;
std::unique_ptr<Conexion> origen;
std::function<void()> accionFalloConexion;
ErroresRetenidos* retenidos = nullptr;

// Qt's registry of SQL connections is gone by the time static objects are
// destroyed, so the connections still open at the end are closed with the
// application object instead; what outlives it (exit() from inside the
// program) is left to the operating system rather than closed too late.
void cerrarConexionesAlSalir() {
    compartida.reset();
    origen.reset();
}
void cerrarConLaAplicacion() {
    qRemovePostRoutine(cerrarConexionesAlSalir);
    qAddPostRoutine(cerrarConexionesAlSalir);
}
struct SoltarAlDestruir {
    ~SoltarAlDestruir() {
        (void)compartida.release();
        (void)origen.release();
    }
} soltarAlDestruir;

void abrirConsultaEn(Conexion* con, const QString& sql, RegistrosPtr& rs,
                     const QVariantList& valores = {}) {
    rs = std::make_shared<Registros>();
    if (!con) {
        *rs = Registros::fallo(sql);
        informarErrores({{errores::kFalloGeneral,
                          QStringLiteral("La conexión con la base de datos está cerrada.")}});
        return;
    }
    const ResultadoSentencia r = con->ejecutar(sql, valores);
    if (!r.ok) {
        *rs = Registros::fallo(sql);
        informarErrores(con->errores());
        return;
    }
    if (r.filas)
        *rs = Registros(r.filas, sql);
}

// The data source could not be written: the message names the sources file
// and the reason, so that it can be mended by hand.
void avisarOrigenFallido(const QString& motivo) {
    mensaje(QStringLiteral("DSN Creation Failed\nArchivo «%1»: %2")
                .arg(QDir::toNativeSeparators(odbc::archivoOrigenesUsuario()), motivo));
}

} // namespace

void informarErrores(const QList<ErrorProveedor>& errores) {
    if (retenidos) {
        retenidos->errores_ += errores;
        return;
    }
    for (const auto& e : errores)
        mensaje(QStringLiteral("Error número: ") + QString::number(e.numero) + u'\r' +
                e.descripcion);
}

ErroresRetenidos::ErroresRetenidos() : anterior_(retenidos) {
    retenidos = this;
}

ErroresRetenidos::~ErroresRetenidos() {
    if (activo_)
        retenidos = anterior_;
}

void ErroresRetenidos::informar() {
    if (activo_) {
        activo_ = false;
        retenidos = anterior_;
    }
    informarErrores(std::exchange(errores_, {}));
}

ExcepcionBaseDatos::ExcepcionBaseDatos(ErrorProveedor error)
    : std::runtime_error(error.descripcion.toStdString()), error_(std::move(error)) {}

Conexion* conexion() {
    return compartida.get();
}

Conexion* conexionOrigen() {
    return origen.get();
}

void CrearDSN(const QString& nombre, const QString& rutaBase) {
    // A broken file is left as it is, never written into.
    QString motivo = odbc::problemaArchivoOrigenes();
    if (motivo.isEmpty() && odbc::escribirOrigenUsuario(nombre, odbc::driverSqlite(), rutaBase))
        return;
    // unixODBC keeps at most 1000 bytes of a line; a longer path comes back cut.
    if (motivo.isEmpty() && rutaBase.toUtf8().size() > 990)
        motivo = QStringLiteral("la ruta de la base de datos es demasiado larga para él (más de "
                                "990 bytes); elija una ubicación más corta.");
    if (motivo.isEmpty())
        motivo = QStringLiteral("no se pudo escribir en él el origen de datos «%1».").arg(nombre);
    avisarOrigenFallido(motivo);
}

bool CrearDSNServidor(const QString& nombre, const DatosServidor& datos) {
    QString motivo = odbc::problemaArchivoOrigenes();
    const odbc::Origen origen{
        odbc::driverPostgres(), datos.baseDatos,
        datos.servidor,         datos.puerto ? QString::number(datos.puerto) : QString(),
        datos.usuario,          datos.ssl};
    if (motivo.isEmpty() && odbc::escribirOrigenServidor(nombre, origen))
        return true;
    if (motivo.isEmpty())
        motivo = QStringLiteral("no se pudo escribir en él el origen de datos «%1» del %2.")
                     .arg(nombre, datos.descripcion());
    avisarOrigenFallido(motivo);
    return false;
}

void establecerAccionFalloConexion(std::function<void()> accion) {
    accionFalloConexion = std::move(accion);
}

void AbrirConexion(const QString& dsn, const QString& password) {
    QList<ErrorProveedor> fallos;
    compartida = abrirOrigenDatos(dsn, password, fallos);
    if (compartida) {
        cerrarConLaAplicacion();
        return;
    }
    // The connection's own reason goes on a second line: locked, not a
    // database, damaged or another program's file each need a different remedy.
    const auto leido = odbc::leerOrigen(dsn);
    QString texto =
        leido && odbc::esDriverPostgres(leido->driver)
            ? QStringLiteral("No se puede usar la base de datos del servidor PostgreSQL.")
            : QStringLiteral("No tiene suficientes permisos en la ubicación actual de la "
                             "base de datos.");
    if (!fallos.isEmpty() && !fallos.first().descripcion.isEmpty())
        texto += QStringLiteral("\n") + fallos.first().descripcion;
    mensaje(texto, Botones::Aceptar, Icono::Informacion, QStringLiteral("Atención"));
    if (accionFalloConexion)
        accionFalloConexion();
    terminarPrograma(1);
}

void AmpliarCache() {
    if (compartida)
        compartida->ampliarCache();
}

void CerrarConexion() {
    if (compartida)
        compartida->cerrar();
    compartida.reset();
}

void AbrirConsulta(const QString& sql, RegistrosPtr& rs) {
    abrirConsultaEn(compartida.get(), sql, rs);
}

void AbrirConsulta(const QString& sql, RegistrosPtr& rs, const QVariantList& valores) {
    abrirConsultaEn(compartida.get(), sql, rs, valores);
}

void CerrarConsulta(RegistrosPtr& rs, bool liberar) {
    if (rs && rs->abierto())
        rs->cerrar();
    if (liberar)
        rs.reset();
}

qint32 EjecutarProcedimiento(const QString& nombre, RegistrosPtr& rs,
                             const QVariantList& parametros) {
    rs = std::make_shared<Registros>();
    QList<ErrorProveedor> fallos;
    ResultadoSentencia r;
    if (compartida) {
        r = compartida->ejecutarProcedimiento(nombre, parametros);
        fallos = compartida->errores();
    } else {
        fallos = {{errores::kFalloGeneral,
                   QStringLiteral("La conexión con la base de datos está cerrada.")}};
    }
    if (!r.ok) {
        *rs = Registros::fallo(nombre);
        // Each provider error, then the failing step's own.
        informarErrores(fallos);
        if (!fallos.isEmpty())
            informarErrores({fallos.first()});
        return 0;
    }
    if (r.filas)
        *rs = Registros(r.filas, nombre);
    return qint32(r.afectados);
}

void AbrirConexionOrigen(const QString& dsn, const QString& password) {
    QList<ErrorProveedor> fallos;
    origen = abrirOrigenOdbc(dsn, password, fallos);
    if (!origen)
        throw ExcepcionBaseDatos(fallos.isEmpty() ? ErrorProveedor{errores::kFalloGeneral, {}}
                                                  : fallos.first());
    cerrarConLaAplicacion();
}

void AbrirConsultaOrigen(const QString& sql, RegistrosPtr& rs) {
    abrirConsultaEn(origen.get(), sql, rs);
}

void MostrarError(const ErrorProveedor& error) {
    restaurarPunteroNormal();
    if (error.numero == 3021)
        mensaje(QStringLiteral("Seleccione primero una empresa"));
    else
        mensaje(error.descripcion, Botones::Aceptar, Icono::Exclamacion, tituloAplicacion());
}

QString ObtenerCampoProducto(qint32 proId, const QString& campo) {
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("SELECT * FROM PRODUCTOS WHERE PROID=?"), rs, {proId});
    QString valor;
    if (rs->posicionAbsoluta() > 0)
        valor = rs->texto(campo);
    CerrarConsulta(rs, true);
    return valor;
}
