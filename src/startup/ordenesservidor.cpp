#include "startup/ordenesservidor.h"

#include "data/copiaservidor.h"
#include "data/versionservidor.h"
#include "startup/actualizacionbase.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <cstring>

namespace {

// How the administrator lets a desk in, after every successful preparation.
QString accesoPuestos() {
    return QStringLiteral("Cada puesto entra con un usuario propio del servidor que sea miembro "
                          "de «%1»: GRANT %1 TO usuario;\n")
        .arg(QLatin1StringView(kRolPuestos));
}

int preparar(const DatosServidor& datos, QTextStream& salida, QTextStream& errores) {
    const ResultadoActualizacion r = prepararServidor(datos);
    using Estado = ResultadoActualizacion::Estado;
    switch (r.estado) {
    case Estado::AlDia:
        salida << QStringLiteral("La base de datos del %1 ya está al día (versión %2).\n")
                      .arg(datos.descripcion())
                      .arg(r.versionNueva)
               << accesoPuestos();
        return 0;
    case Estado::Actualizada:
        salida << (r.versionAnterior == 0
                       ? QStringLiteral("La base de datos del %1 quedó preparada en la versión "
                                        "%2.\n")
                             .arg(datos.descripcion())
                             .arg(r.versionNueva)
                       : QStringLiteral("La base de datos del %1 se actualizó de la versión %2 a "
                                        "la versión %3.\n")
                             .arg(datos.descripcion())
                             .arg(r.versionAnterior)
                             .arg(r.versionNueva))
               << accesoPuestos();
        return 0;
    default:
        errores << r.texto() << '\n';
        return 1;
    }
}

int copiar(const QString& ruta, const DatosServidor& datos, QTextStream& salida,
           QTextStream& errores) {
    // A file of an older schema is upgraded first, as at start-up; values
    // that would collide under the Spanish rules stop it with their list.
    const ResultadoActualizacion a = actualizarBase(ruta, QString());
    if (!a.alDia()) {
        errores << a.texto() << '\n';
        return 1;
    }
    const ResultadoCopia r = copiarAServidor(ruta, datos);
    if (!r.ok) {
        errores << QStringLiteral("No se copió nada: %1\n").arg(r.error);
        return 1;
    }
    for (const auto& [tabla, filas] : r.filas)
        salida << QStringLiteral("%1: %2\n").arg(tabla).arg(filas);
    for (const auto& [tabla, filas] : r.sinPresupuesto)
        salida << QStringLiteral("%1: %2 filas de presupuestos que ya no existen no se copiaron.\n")
                      .arg(tabla)
                      .arg(filas);
    salida << QStringLiteral("Copia terminada en el %1.\n").arg(datos.descripcion());
    return 0;
}

} // namespace

std::optional<int> atenderOrdenesServidor(int argc, char** argv) {
    if (argc < 2)
        return std::nullopt;
    const bool preparacion = std::strcmp(argv[1], "--preparar-servidor") == 0;
    const bool copia = std::strcmp(argv[1], "--copiar-a-servidor") == 0;
    if (!preparacion && !copia)
        return std::nullopt;
    QCoreApplication nucleo(argc, argv);
    QTextStream salida(stdout);
    QTextStream errores(stderr);
    if (argc != (preparacion ? 3 : 4)) {
        errores << (preparacion
                        ? "Uso: tarvo --preparar-servidor \"host=… dbname=… user=…\"\n"
                        : "Uso: tarvo --copiar-a-servidor RUTA \"host=… dbname=… user=…\"\n");
        return 2;
    }
    QString error;
    const auto datos = servidor::leerCadena(QString::fromLocal8Bit(argv[argc - 1]), error);
    if (!datos) {
        errores << QStringLiteral("La cadena de conexión no es válida: %1\n").arg(error);
        return 2;
    }
    if (preparacion)
        return preparar(*datos, salida, errores);
    const QString ruta = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    if (!QFileInfo(ruta).isFile()) {
        errores << QStringLiteral("No se encuentra el archivo «%1».\n").arg(ruta);
        return 2;
    }
    return copiar(ruta, *datos, salida, errores);
}
