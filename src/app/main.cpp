// Tarvo's entry point.
// `tarvo --carpeta-programa` only prints the folder the companion files
// (bd2000.mdb, presupuesto.dot) are taken from and exits, without a display:
// the installation checks and support use it.
#include "app/arranque.h"
#include "platform/carpetas.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <string_view>

int main(int argc, char** argv) {
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
