#include "catalog/ventanas/frmMantContactos.h"

#include "data/modeloregistros.h"
#include "platform/ventanas/combodatos.h"
#include "platform/ventanas/fabricas.h"
#include "platform/ventanas/unica.h"
#include "reports/ventanas/reportes.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

frmMantContactos::frmMantContactos(QWidget* padre)
    : VentanaMantenimiento(new MantContactos, padre) {
    contactos_ = static_cast<MantContactos*>(&logica());
    setObjectName(QStringLiteral("frmMantContactos"));
    setWindowTitle(QStringLiteral("Mantenimiento de Contactos - Tarvo"));

    static const struct {
        const char16_t* etiqueta;
        const char16_t* campo;
        int maximo;
    } campos[] = {
        {u"Código:", u"EmpId", 0},
        {u"Nombre:", u"EmpNombreFantasia", 30},
        {u"Razón Social:", u"EmpRazonSocial", 30},
        {u"Dirección:", u"EmpDireccion", 50},
        {u"Código Postal:", u"EmpCodigoPostal", 10},
        {u"Teléfono 1:", u"EmpTelefono1", 20},
        {u"Teléfono 2:", u"EmpTelefono2", 20},
        {u"Fax:", u"EmpFax", 20},
        {u"Ruc:", u"EmpRuc", 20},
        {u"E.Mail:", u"EmpEmail", 50},
        {u"Página Web:", u"EmpURL", 50},
        {u"Zona:", u"EmpZona", 50},
        {u"Ciudad:", u"EmpCiudad", 50},
        {u"Provincia/Estado:", u"EmpProvinciaEstado", 50},
        {u"País:", u"EmpPais", 50},
    };
    auto* controles = new QGridLayout;
    int i = 0;
    for (const auto& c : campos) {
        QLineEdit* campo = formulario::crearCampo(this, i, c.maximo);
        if (i == 0)
            formulario::sombrearClave(campo);
        mapear(campo, QString::fromUtf16(c.campo), i > 0);
        // Two columns of label and box.
        const int fila = i / 2;
        const int columna = (i % 2) * 2;
        controles->addWidget(etiqueta(this, {}, QString::fromUtf16(c.etiqueta), campo), fila,
                             columna);
        controles->addWidget(campo, fila, columna + 1);
        ++i;
    }
    dtcVinculos_ = new ComboDatos(this);
    dtcVinculos_->setObjectName(QStringLiteral("dtcVinculos"));
    contactos_->ActualizarVinculos();
    MantContactos* logica = contactos_;
    dtcVinculos_->establecerLista(
        logica->vinculos(),
        logica->vinculos()->registros().indiceCampo(QStringLiteral("VinDescripcion")),
        logica->vinculos()->registros().indiceCampo(QStringLiteral("VinId")));
    mapear(dtcVinculos_, QStringLiteral("VinId"));
    controles->addWidget(etiqueta(this, {}, QStringLiteral("Vínculo:"), dtcVinculos_), i / 2,
                         (i % 2) * 2);
    controles->addWidget(dtcVinculos_, i / 2, (i % 2) * 2 + 1);
    controles->setColumnStretch(1, 1);
    controles->setColumnStretch(3, 1);

    crearComandos({{u"Nuevo", u"Ingresar un nuevo proveedor"},
                   {u"Editar", u"Modificar el proveedor seleccionado"},
                   {u"Guardar", u"Guardar los cambios"},
                   {u"Imprimir", u"Imprimir la lista de proveedores"},
                   {u"Buscar", u"Buscar por la descripción"},
                   {u"Actualizar", u"Muestra todos los datos"},
                   {u"Cancelar", u"Cancela la operación"},
                   {u"Atras", u"Volver al menú principal"}},
                  {2, 6, 7});
    crearGrilla(QStringLiteral("LISTA DE PROVEEDORES"),
                {QStringLiteral("Nombre"), QStringLiteral("Razón Social"), QStringLiteral("Ruc"),
                 QStringLiteral("Dirección"), QStringLiteral("Código Postal"),
                 QStringLiteral("Telefono 1"), QStringLiteral("Telefono 2"), QStringLiteral("Fax"),
                 QStringLiteral("E-mail"), QStringLiteral("URL"), QStringLiteral("Zona"),
                 QStringLiteral("Ciudad"), QStringLiteral("Provincia/Estado"),
                 QStringLiteral("País")},
                {200, 200, 100, 200});
    resize(900, 620);
    terminar(controles);
}

frmMantContactos& frmMantContactos::mostrar() {
    frmMantContactos& ventana = ventanaUnica<frmMantContactos>();
    ventana.show();
    ventana.raise();
    ventana.activateWindow();
    return ventana;
}

void frmMantContactos::cmdMenu_Click(int indice) {
    switch (indice) {
    case 0:
        contactos_->nuevo();
        break;
    case 1:
        contactos_->editar();
        break;
    case 2:
        guardar();
        break;
    case 4:
        contactos_->buscar();
        break;
    case 5:
        contactos_->mostrarTodo();
        break;
    case 6:
        contactos_->cancelar();
        break;
    case 7:
        close();
        break;
    case 3:
        // The report closes and rereads the list's set; the grid rebinds to it.
        mostrarReporteProveedores();
        contactos_->cargar();
        break;
    default:
        break;
    }
}
