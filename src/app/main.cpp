// Tarvo's entry point.
#include "startup/ventanas/aplicacion.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication aplicacion(argc, argv);
    prepararAplicacion(aplicacion);
    // The start-up sequence (login and main window) is not built yet.
    QTextStream(stderr) << "Tarvo " TARVO_VERSION
                           ": la base de datos, la configuración y sus servicios están "
                           "construidos; el arranque del programa (inicio de sesión y ventana "
                           "principal) todavía no.\n";
    return 0;
}
