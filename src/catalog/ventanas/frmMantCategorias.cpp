#include "catalog/ventanas/frmMantCategorias.h"

#include "platform/ventanas/fabricas.h"
#include "platform/ventanas/unica.h"
#include "reports/ventanas/reportes.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

frmMantCategorias::frmMantCategorias(QWidget* padre)
    : VentanaMantenimiento(new MantCategorias, padre) {
    categorias_ = static_cast<MantCategorias*>(&logica());
    setObjectName(QStringLiteral("frmMantCategorias"));
    setWindowTitle(QStringLiteral("Mantenimiento de Categorías - Tarvo"));

    auto* codigo = formulario::crearCampo(this, 0);
    formulario::sombrearClave(codigo);
    auto* descripcion = formulario::crearCampo(this, 1, 50);
    auto* desactivada = new QCheckBox(this);
    desactivada->setObjectName(QStringLiteral("chkDesactivado"));
    mapear(codigo, QStringLiteral("CatId"), false);
    mapear(descripcion, QStringLiteral("CatDescripcion"));
    mapear(desactivada, QStringLiteral("CatDesactivada"));

    auto* controles = new QGridLayout;
    controles->addWidget(etiqueta(this, {}, QStringLiteral("Código:"), codigo), 0, 0);
    controles->addWidget(codigo, 0, 1);
    controles->addWidget(etiqueta(this, {}, QStringLiteral("Descripción:"), descripcion), 1, 0);
    controles->addWidget(descripcion, 1, 1);
    controles->addWidget(etiqueta(this, {}, QStringLiteral("Desactivada:"), desactivada), 2, 0);
    controles->addWidget(desactivada, 2, 1);
    controles->setColumnStretch(1, 1);

    crearComandos({{u"Nuevo", u"Ingresar una nueva categoría"},
                   {u"Editar", u"Modificar la categoría seleccionada"},
                   {u"Guardar", u"Guardar los cambios"},
                   {u"Imprimir", u"Imprimir la lista de categorías"},
                   {u"Buscar", u"Buscar por la descripción"},
                   {u"Actualizar", u"Muestra todos los datos"},
                   {u"Cancelar", u"Cancela la operación"},
                   {u"Atras", u"Volver al menú principal"},
                   {u"Eliminar", u"Elimina las Categorías desactivadas"}},
                  {2, 6, 7});
    crearGrilla(
        QStringLiteral("LISTA DE CATEGORIAS"),
        {QStringLiteral("Código"), QStringLiteral("Descripción"), QStringLiteral("Desactivada")},
        {70, 320, 90});
    resize(640, 480);
    terminar(controles);
}

frmMantCategorias& frmMantCategorias::mostrar() {
    frmMantCategorias& ventana = ventanaUnica<frmMantCategorias>();
    ventana.show();
    ventana.raise();
    ventana.activateWindow();
    return ventana;
}

void frmMantCategorias::cmdMenu_Click(int indice) {
    switch (indice) {
    case 0:
        categorias_->nuevo();
        break;
    case 1:
        categorias_->editar();
        break;
    case 2:
        guardar();
        break;
    case 4:
        categorias_->buscar();
        break;
    case 5:
        categorias_->mostrarTodo();
        break;
    case 6:
        categorias_->cancelar();
        break;
    case 7:
        close();
        break;
    case 8:
        categorias_->purgar();
        break;
    case 3:
        mostrarReporteCategorias();
        break;
    default:
        break;
    }
}
