// Tarvo's entry point.
#include "app/arranque.h"
#include "quotes/comprobarplantilla.h"

#include <QApplication>

int main(int argc, char** argv) {
    // "--comprobar-plantilla" runs without a display and ends here.
    if (const std::optional<int> codigo = atenderLineaDeOrdenes(argc, argv))
        return *codigo;
    QApplication aplicacion(argc, argv);
    prepararAplicacion(aplicacion);
    Main();
    return QApplication::exec();
}
