// Tarvo's entry point.
#include "startup/ventanas/aplicacion.h"
#include "startup/ventanas/arranque.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication aplicacion(argc, argv);
    prepararAplicacion(aplicacion);
    Main();
    return QApplication::exec();
}
