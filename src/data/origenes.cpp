#include "data/origenes.h"

#include "data/conexionodbc.h"
#include "data/conexionpostgres.h"
#include "data/conexionsqlite.h"
#include "platform/odbc.h"

#include <QFileInfo>

namespace {

ErrorProveedor sinOrigen(const QString& dsn) {
    return {errores::kFalloGeneral,
            QStringLiteral("No se encontró el nombre del origen de datos '%1' y no se especificó "
                           "ningún controlador predeterminado.")
                .arg(dsn)};
}

} // namespace

std::unique_ptr<Conexion> abrirOrigenDatos(const QString& dsn, const QString& password,
                                           QList<ErrorProveedor>& fallos) {
    fallos.clear();
    const auto origen = odbc::leerOrigen(dsn);
    if (!origen) {
        fallos.append(sinOrigen(dsn));
        return nullptr;
    }
    std::unique_ptr<Conexion> conexion;
    if (odbc::esDriverSqlite(origen->driver))
        conexion = std::make_unique<ConexionSqlite>(origen->baseDatos);
    else if (odbc::esDriverPostgres(origen->driver))
        // The password, if any, comes from libpq's ~/.pgpass, never from here.
        conexion = std::make_unique<ConexionPostgres>(
            DatosServidor{origen->servidor, origen->puerto.toInt(), origen->baseDatos,
                          origen->usuario, origen->ssl});
    else
        conexion = std::make_unique<ConexionOdbc>(dsn, password);
    if (!conexion->abierta()) {
        fallos = conexion->errores();
        return nullptr;
    }
    return conexion;
}

std::unique_ptr<Conexion> abrirOrigenOdbc(const QString& dsn, const QString& password,
                                          QList<ErrorProveedor>& fallos) {
    fallos.clear();
    const auto origen = odbc::leerOrigen(dsn);
    if (!origen) {
        fallos.append(sinOrigen(dsn));
        return nullptr;
    }
    if (odbc::esDriverSqlite(origen->driver) && !QFileInfo(origen->baseDatos).isFile()) {
        fallos.append({errores::kFalloGeneral,
                       QStringLiteral("No se encuentra el archivo de base de datos '%1'.")
                           .arg(origen->baseDatos)});
        return nullptr;
    }
    auto conexion = std::make_unique<ConexionOdbc>(dsn, password);
    if (!conexion->abierta()) {
        fallos = conexion->errores();
        return nullptr;
    }
    return conexion;
}
