#include "quotes/consultasrecordadas.h"

#include "data/modconexion.h"

std::optional<ConsultasRecordadas::Version> ConsultasRecordadas::versionActual() {
    Conexion* con = conexion();
    if (!con)
        return std::nullopt;
    const ResultadoSentencia r = con->ejecutar(
        QStringLiteral("SELECT total_changes(), (SELECT data_version FROM pragma_data_version)"));
    if (!r.ok || !r.filas || r.filas->filas() != 1)
        return std::nullopt;
    return Version{con, r.filas->valor(0, 0).toLongLong(), r.filas->valor(0, 1).toLongLong()};
}

Registros ConsultasRecordadas::abrir(const QString& sql) {
    const std::optional<Version> ahora = versionActual();
    if (!ahora || !(*ahora == version_)) {
        recordadas_.clear();
        version_ = ahora.value_or(Version{});
    }
    const auto it = recordadas_.constFind(sql);
    if (it != recordadas_.constEnd()) {
        Registros copia = *it;
        copia.moverPrimero();
        return copia;
    }
    RegistrosPtr rs;
    AbrirConsulta(sql, rs);
    Registros leidos = *rs;
    if (ahora && leidos.abierto())
        recordadas_.insert(sql, leidos);
    leidos.moverPrimero();
    return leidos;
}
