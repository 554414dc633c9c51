// Tarvo's entry point. The start-up sequence (settings, login, main window)
// arrives with the start-up subsystem; until then the program says so.
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream(stderr) << "Tarvo " TARVO_VERSION
                           ": la base de datos y sus servicios están construidos; el arranque "
                           "del programa (inicio de sesión y ventana principal) todavía no.\n";
    return 0;
}
