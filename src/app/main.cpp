// Tarvo's entry point. Two options run without a display and end at once:
// `--comprobar-plantilla [FICHERO]` checks a quote template,
// `--carpeta-programa` prints the folder the companion files (bd2000.mdb,
// presupuesto.dot) are taken from; the installation checks and support use it.
// `--version-base RUTA` and `--actualizar-base RUTA [CARPETA]` print and
// upgrade a database file's schema version; `--preparar-servidor` and
// `--copiar-a-servidor` prepare a PostgreSQL server and copy a file into it.
#include "app/arranque.h"
#include "platform/carpetas.h"
#include "quotes/comprobarplantilla.h"
#include "startup/actualizacionbase.h"
#include "startup/ordenesservidor.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <string_view>

int main(int argc, char** argv) {
    if (const std::optional<int> codigo = atenderLineaDeOrdenes(argc, argv))
        return *codigo;
    if (const std::optional<int> codigo = atenderOrdenesBase(argc, argv))
        return *codigo;
    if (const std::optional<int> codigo = atenderOrdenesServidor(argc, argv))
        return *codigo;
    if (argc == 2 && std::string_view(argv[1]) == "--carpeta-programa") {
        QCoreApplication nucleo(argc, argv);
        std::puts(QDir::toNativeSeparators(carpetaPrograma()).toLocal8Bit().constData());
        return 0;
    }
    QApplication aplicacion(argc, argv);
    prepararAplicacion(aplicacion);
    Main();
    return QApplication::exec();
}
