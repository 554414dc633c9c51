#include "catalog/ventanas/frmBuscarProductos.h"

#include "catalog/busquedaproductos.h"
#include "data/entornodatos.h"
#include "data/modconexion.h"
#include "data/modeloregistros.h"
#include "platform/mensajes.h"
#include "platform/ventanas/combodatos.h"
#include "platform/ventanas/entertab.h"
#include "platform/ventanas/fabricas.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The distinct values of a column of the active products, for a combo that
// also accepts free text.
void llenarCombo(QComboBox* combo, ModeloRegistros* modelo, const QString& sql) {
    RegistrosPtr rs;
    AbrirConsulta(sql, rs);
    modelo->establecerRegistros(*rs);
    CerrarConsulta(rs, true);
    combo->setModel(modelo);
    combo->setModelColumn(0);
    combo->setCurrentIndex(-1);
    combo->clearEditText();
}

} // namespace

frmBuscarProductos::frmBuscarProductos(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmBuscarProductos"));
    setWindowTitle(QStringLiteral("Búsqueda avanzada de productos - Tarvo"));
    setModal(true);

    txtCodigo_ = caja(this, u"txtCodigo");
    txtCodigo_->setToolTip(QStringLiteral("Código de barra (opcional)"));
    txtDescripcion_ = caja(this, u"txtDescripcion");
    chkCategoria_ = new QCheckBox(QStringLiteral("Categoría:"), this);
    chkCategoria_->setObjectName(QStringLiteral("chkCategoria"));
    dtcCategorias_ = new ComboDatos(this);
    dtcCategorias_->setObjectName(QStringLiteral("dtcCategorias"));
    dtcCategorias_->setAccessibleName(QStringLiteral("Categoría"));
    dtcCategorias_->setEnabled(false);
    txtCosto_ = caja(this, u"txtCosto");
    txtPrecio_ = caja(this, u"txtPrecio");
    dtcUnidades_ = new QComboBox(this);
    dtcUnidades_->setObjectName(QStringLiteral("dtcUnidades"));
    dtcUnidades_->setEditable(true);
    dtcUnidades_->setInsertPolicy(QComboBox::NoInsert);
    dtcMonedas_ = new QComboBox(this);
    dtcMonedas_->setObjectName(QStringLiteral("dtcMonedas"));
    dtcMonedas_->setEditable(true);
    dtcMonedas_->setInsertPolicy(QComboBox::NoInsert);
    txtStockMinimo_ = caja(this, u"txtStockMinimo");
    for (QLineEdit* numero : {txtCosto_, txtPrecio_, txtStockMinimo_})
        numero->setAlignment(Qt::AlignRight);

    auto* cmdAceptar = boton(this, u"cmdAceptar", QStringLiteral("Aceptar"));
    auto* cmdCancelar = boton(this, u"cmdCancelar", QStringLiteral("Cancelar"));

    auto* rejilla = new QGridLayout;
    int fila = 0;
    auto linea = [&](const QString& texto, QWidget* control) {
        rejilla->addWidget(etiqueta(this, {}, texto, control), fila, 0);
        rejilla->addWidget(control, fila++, 1);
    };
    linea(QStringLiteral("Código de barra:"), txtCodigo_);
    linea(QStringLiteral("Descripción:"), txtDescripcion_);
    rejilla->addWidget(chkCategoria_, fila, 0);
    rejilla->addWidget(dtcCategorias_, fila++, 1);
    linea(QStringLiteral("Costo:"), txtCosto_);
    linea(QStringLiteral("Precio:"), txtPrecio_);
    linea(QStringLiteral("Unidad de Medida:"), dtcUnidades_);
    linea(QStringLiteral("Moneda:"), dtcMonedas_);
    linea(QStringLiteral("Stock Mínimo:"), txtStockMinimo_);
    rejilla->setColumnMinimumWidth(1, 260);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdAceptar);
    botones->addWidget(cmdCancelar);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(rejilla);
    todo->addLayout(botones);

    // The lists: the data environment's active categories, and the units and
    // currencies of the active products.
    categorias_ = new ModeloRegistros(this);
    dteBodex().abrir(QStringLiteral("CCategoriasActivas"));
    categorias_->establecerRegistros(*dteBodex().rsCCategoriasActivas);
    dtcCategorias_->establecerLista(
        categorias_, categorias_->registros().indiceCampo(QStringLiteral("CatDescripcion")),
        categorias_->registros().indiceCampo(QStringLiteral("CatId")));
    unidades_ = new ModeloRegistros(this);
    llenarCombo(dtcUnidades_, unidades_,
                QStringLiteral("select distinct ProUnidadMedida from productos where "
                               "ProDesactivado=0"));
    monedas_ = new ModeloRegistros(this);
    llenarCombo(dtcMonedas_, monedas_,
                QStringLiteral("select distinct ProMoneda from productos where ProDesactivado=0"));
    condicion = QStringLiteral("1");
    cancelado = false;

    connect(chkCategoria_, &QCheckBox::toggled, dtcCategorias_, &QWidget::setEnabled);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmBuscarProductos::aceptar);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmBuscarProductos::cancelar);
    new FiltroEnterTab(this);
}

frmBuscarProductos::~frmBuscarProductos() = default;

void frmBuscarProductos::aceptar() {
    CriteriosProductos c;
    c.codigo = txtCodigo_->text();
    c.descripcion = txtDescripcion_->text();
    c.porCategoria = chkCategoria_->isChecked();
    c.catId = dtcCategorias_->valor();
    c.costo = txtCosto_->text();
    c.precio = txtPrecio_->text();
    c.unidad = dtcUnidades_->currentText();
    c.moneda = dtcMonedas_->currentText();
    c.stockMinimo = txtStockMinimo_->text();
    const CondicionProductos r = construirCondicionProductos(c);
    if (!r.valida) {
        mensaje(r.mensaje, Botones::Aceptar, Icono::Informacion, QStringLiteral("Verifique"));
        return;
    }
    condicion = r.condicion;
    cancelado = false;
    accept();
}

void frmBuscarProductos::cancelar() {
    cancelado = true;
    QDialog::reject();
}

void frmBuscarProductos::reject() {
    cancelar();
}
