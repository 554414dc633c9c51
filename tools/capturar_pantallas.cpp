// Pictures of the program for its README: runs the program's own start-up on
// the account the calling script prepared (a sample database already in its
// Documents folder), logs in as admin with the empty password, and saves the
// main window and the quote editor on the first quote of the list.
// Usage: tarvo_capturar_pantallas CARPETA_SALIDA   (see scripts/capturas.sh)
#include "app/arranque.h"
#include "comun/dialogos.h"
#include "main/ventanas/frmPrincipal.h"
#include "platform/carpetas.h"
#include "quotes/ventanas/frmDetallePresupuesto.h"
#include "users/ventanas/frmLogin.h"

#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include <cstdio>

namespace {

bool guardar(QWidget* ventana, const QString& archivo) {
    if (!ventana) {
        std::fprintf(stderr, "no hay ventana para %s\n", qPrintable(archivo));
        return false;
    }
    if (!ventana->grab().save(archivo)) {
        std::fprintf(stderr, "no se pudo guardar %s\n", qPrintable(archivo));
        return false;
    }
    std::printf("%s\n", qPrintable(archivo));
    return true;
}

// Lets the windows lay out and paint before a picture is taken.
constexpr int kPausa = 800;

} // namespace

int main(int argc, char** argv) {
    QApplication aplicacion(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: tarvo_capturar_pantallas CARPETA_SALIDA\n");
        return 2;
    }
    const QString salida = QString::fromLocal8Bit(argv[1]);
    prepararAplicacion(aplicacion);
    // The build's companion files, as the program beside them finds them.
    establecerCarpetaPrograma(QFileInfo(QStringLiteral(TARVO_BD_PRISTINA)).absolutePath());
    alAparecer<frmLogin>(
        [](frmLogin& login) { login.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click(); });
    Main();

    int resultado = 1;
    QTimer::singleShot(kPausa, [&resultado, salida] {
        auto* principal = ventanaVisible<frmPrincipal>();
        if (!guardar(principal, salida + QStringLiteral("/principal.png")))
            return QCoreApplication::exit(1);
        auto* lista = principal->findChild<QTableView*>(QStringLiteral("dtgLista"));
        lista->setCurrentIndex(lista->model()->index(0, 0));
        principal->findChild<QPushButton*>(QStringLiteral("cmdMenu(1)"))->click();
        // The editor on its products tab: the quote's lines beside the catalogue.
        if (auto* editor = ventanaVisible<frmDetallePresupuesto>())
            if (auto* pestanas = editor->findChild<QTabWidget*>())
                pestanas->setCurrentIndex(1);
        QTimer::singleShot(kPausa, [&resultado, salida] {
            if (guardar(ventanaVisible<frmDetallePresupuesto>(),
                        salida + QStringLiteral("/editor.png")))
                resultado = 0;
            QCoreApplication::exit(resultado);
        });
    });
    QApplication::exec();
    return resultado;
}
