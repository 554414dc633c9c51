// Tarvo's entry point.
#include "app/arranque.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication aplicacion(argc, argv);
    prepararAplicacion(aplicacion);
    Main();
    return QApplication::exec();
}
