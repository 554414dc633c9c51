#include "data/origenes.h"

#include "data/conexionodbc.h"
#include "data/conexionsqlite.h"
#include "platform/odbc.h"

std::unique_ptr<Conexion> abrirOrigenDatos(const QString& dsn, const QString& password,
                                           QList<ErrorProveedor>& fallos) {
    fallos.clear();
    const auto origen = odbc::leerOrigen(dsn);
    if (!origen) {
        fallos.append({errores::kFalloGeneral,
                       QStringLiteral("No se encontró el nombre del origen de datos '%1' y no "
                                      "se especificó ningún controlador predeterminado.")
                           .arg(dsn)});
        return nullptr;
    }
    std::unique_ptr<Conexion> conexion;
    if (odbc::esDriverSqlite(origen->driver))
        conexion = std::make_unique<ConexionSqlite>(origen->baseDatos);
    else
        conexion = std::make_unique<ConexionOdbc>(dsn, password);
    if (!conexion->abierta()) {
        fallos = conexion->errores();
        return nullptr;
    }
    return conexion;
}
