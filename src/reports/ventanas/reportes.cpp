#include "reports/ventanas/reportes.h"

#include "data/entornodatos.h"
#include "reports/informes.h"
#include "reports/ventanas/frmInforme.h"
#include "reports/ventanas/frmResultados.h"

#include <QPointer>

#include <map>

namespace {

std::map<QString, QPointer<frmInforme>>& ventanas() {
    static std::map<QString, QPointer<frmInforme>> todas;
    return todas;
}

// The report's one window, created on first use.
frmInforme& ventana(const QString& nombre, DefinicionInforme (*declarar)(), bool cerrarAlTerminar) {
    QPointer<frmInforme>& v = ventanas()[nombre];
    if (!v)
        v = new frmInforme(std::make_unique<Informe>(declarar, cerrarAlTerminar));
    return *v;
}

} // namespace

frmInforme* ventanaReporte(const QString& nombre) {
    const auto it = ventanas().find(nombre);
    return it == ventanas().end() ? nullptr : it->second.data();
}

void mostrarReportePresupuestos() {
    ventana(QStringLiteral("dtrPresupuestos2"), &informes::presupuestos, true).abrir(false);
}

void mostrarReporteCategorias() {
    ventana(QStringLiteral("dtrCategorias"), &informes::categorias, false).abrir(false);
}

void mostrarReporteProductos(const Registros& listaActual) {
    EntornoDatos& dte = dteBodex();
    const QString comando = QStringLiteral("ListadoProductos");
    dte.cerrar(comando);
    // The rows the window shows, in its order, not a second reading. A list
    // that is not open leaves the command to read its own text.
    if (listaActual.abierto()) {
        dte.establecerTexto(comando, listaActual.origen());
        *dte.rsListadoProductos = listaActual;
    }
    ventana(QStringLiteral("dtrProductos"), &informes::productos, false).abrir(true);
}

void mostrarReporteProductosCategorias() {
    dteBodex().cerrar(QStringLiteral("Productos_Categorias"));
    ventana(QStringLiteral("dtrProductosCategorias"), &informes::productosCategorias, false)
        .abrir(false);
}

void mostrarReporteProveedores() {
    dteBodex().cerrar(QStringLiteral("Proveedores"));
    ventana(QStringLiteral("dtrProveedores"), &informes::proveedores, false).abrir(true);
}

void mostrarReporteResultados(const PeticionResultados& peticion) {
    frmInforme& v = ventana(QStringLiteral("dtrResultados"), &informes::resultados, false);
    prepararInformeResultados(v.informe(), peticion);
    v.abrir(false);
}

void pedirReporteResultados(QWidget* padre) {
    frmResultados dialogo(padre);
    dialogo.exec();
}
