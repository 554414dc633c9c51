#include "startup/ventanas/aplicacion.h"

#include "data/modconexion.h"
#include "platform/ventanas/mensajesqt.h"
#include "startup/informacion.h"
#include "startup/ventanas/frmOpciones.h"
#include "startup/ventanas/icono.h"

#include <QApplication>

void prepararAplicacion(QApplication& aplicacion) {
    QApplication::setOrganizationName(QStringLiteral("Varnel Software"));
    QApplication::setApplicationName(informacion::titulo());
    QApplication::setApplicationVersion(informacion::version());
    aplicacion.setWindowIcon(iconoTarvo());
    cargarTraduccionQt();
    static MensajesQt servicio;
    instalarMensajes(&servicio);
    establecerAccionFalloConexion([] {
        frmOpciones opciones;
        opciones.reiniciar = true;
        opciones.exec();
    });
}
