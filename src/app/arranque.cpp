#include "app/arranque.h"

#include "data/entornodatos.h"
#include "data/modconexion.h"
#include "main/ventanas/frmPrincipal.h"
#include "platform/carpetas.h"
#include "platform/mensajes.h"
#include "platform/salida.h"
#include "platform/ventanas/mensajesqt.h"
#include "quotes/ventanas/enlacescatalogo.h"
#include "startup/actualizacionbase.h"
#include "startup/archivoajustes.h"
#include "startup/arranque.h"
#include "startup/basetarvo.h"
#include "startup/copiaseguridad.h"
#include "startup/copiaseguridadservidor.h"
#include "startup/informacion.h"
#include "startup/opciones.h"
#include "startup/ventanas/frmOpciones.h"
#include "startup/ventanas/frmPresentacion.h"
#include "startup/ventanas/icono.h"
#include "users/ventanas/frmLogin.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

namespace {

// Empty when the chosen database can be opened; otherwise the title and the
// first lines of the message that precedes the options dialog.
struct ProblemaBase {
    QString titulo;
    QString texto;
};

ProblemaBase problemaBase() {
    const QString ruta = opciones().db_path;
    if (!QFileInfo(ruta).isFile())
        return {QStringLiteral("No se ha encontrado la base de datos del programa."), {}};
    // A file newer than the program is never opened, so never written.
    const QString masNueva = problemaVersionBase(ruta);
    if (!masNueva.isEmpty())
        return {QStringLiteral("La base de datos es de una versión más nueva"), masNueva};
    const QString falta = tablaQueFalta(ruta);
    if (falta.isEmpty())
        return {};
    return {QStringLiteral("La base de datos no es válida"),
            QStringLiteral("El archivo «%1» no es una base de datos de Tarvo: no contiene la "
                           "tabla %2.\n\n")
                .arg(QDir::toNativeSeparators(ruta), falta)};
}

// Until a database file of the program is chosen in the options there is no
// way on.
void buscarBase() {
    for (ProblemaBase p = problemaBase(); !p.titulo.isEmpty(); p = problemaBase()) {
        mensaje(p.texto +
                    QStringLiteral("A continuación se abrirá la pantalla de opciones para que la "
                                   "seleccione manualmente (por defecto la base de datos se "
                                   "instala en la carpeta ") +
                    QDir::toNativeSeparators(carpetaPrograma()) + QStringLiteral(")."),
                Botones::Aceptar, Icono::Informacion, p.titulo);
        frmOpciones dialogo;
        dialogo.reiniciar = false;
        dialogo.exec();
        CargarOpciones();
    }
}

// The server of the settings.
DatosServidor datosServidor() {
    const Configuracion& c = opciones();
    return {c.db_servidor, c.db_puerto.toInt(), c.db_basedatos, c.db_usuario, {}};
}

void mostrarAhora(QWidget* ventana) {
    ventana->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

void prepararAplicacion(QApplication& aplicacion) {
    QApplication::setOrganizationName(QStringLiteral("Varnel Software"));
    QApplication::setApplicationName(informacion::titulo());
    QApplication::setApplicationVersion(informacion::version());
    aplicacion.setWindowIcon(iconoTarvo());
    // Ties the windows to the desktop entry (its name and icon in the task bar).
    QGuiApplication::setDesktopFileName(QStringLiteral("com.varnelsoftware.tarvo"));
    cargarTraduccionQt();
    static MensajesQt servicio;
    instalarMensajes(&servicio);
    conectarCatalogoAlEditor();
    establecerAccionFalloConexion([] {
        frmOpciones opciones;
        opciones.reiniciar = true;
        opciones.exec();
    });
}

void Main() {
    const QString cuenta = nombreCuenta();
    const QString origen = nombreOrigenDatos(cuenta);
    dteBodex().establecerCadenaConexion(cadenaConexionInformes(cuenta));
    QDir::setCurrent(carpetaPrograma());
    // Settings that exist but cannot be read are never taken for a first start.
    if (!comprobarArchivoAjustes())
        terminarPrograma(1);
    CargarOpciones();
    prepararCarpetaTarvo();
    const bool enServidor = opciones().enServidor();
    if (enServidor) {
        // The data source names the server; the connection checks that it
        // holds the program's objects in this version. A failure is told and
        // the options dialog opens, never a fallback to a local file.
        if (!CrearDSNServidor(origen, datosServidor())) {
            frmOpciones dialogo;
            dialogo.reiniciar = true;
            dialogo.exec();
            terminarPrograma(1);
        }
    } else {
        buscarBase();
        // Before anything holds the file: an older schema is brought up to
        // date (or left as it is, with the reason told).
        actualizarBaseAlIniciar(opciones().db_path, opciones().db_backup);
        CrearDSN(origen, opciones().db_path);
    }
    AbrirConexion(origen, passwordBase());

    auto* login = new frmLogin;
    login->exec();
    if (!login->LoginSucceeded) {
        CerrarConexion();
        terminarPrograma(0);
    }

    QPointer<frmPresentacion> presentacion = new frmPresentacion;
    presentacion->show();
    mostrarAhora(presentacion);
    // The start-of-day copy: the file, copied while nothing holds it; or a
    // dump of the server database, made by the first desk of the day.
    if (!opciones().db_backup.isEmpty()) {
        if (!enServidor) {
            CerrarConexion();
            CopiaSeguridad(opciones().db_path, opciones().db_backup);
            AbrirConexion(origen, passwordBase());
        } else if (Conexion* c = conexion()) {
            CopiaSeguridadServidor(*c, datosServidor(), opciones().db_backup);
        }
    }
    if (presentacion)
        mostrarAhora(presentacion);
    delete login;

    auto* principal = new frmPrincipal;
    principal->show();
    if (presentacion)
        presentacion->close();
}
