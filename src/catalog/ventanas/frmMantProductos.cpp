#include "catalog/ventanas/frmMantProductos.h"

#include "catalog/ventanas/frmBuscarProductos.h"
#include "catalog/ventanas/frmMantCategorias.h"
#include "data/modeloregistros.h"
#include "platform/ventanas/combodatos.h"
#include "platform/ventanas/fabricas.h"
#include "platform/ventanas/unica.h"
#include "reports/ventanas/reportes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace {

QComboBox* comboLibre(QWidget* padre, const char16_t* nombre, ModeloRegistros* lista) {
    auto* combo = new QComboBox(padre);
    combo->setObjectName(QString::fromUtf16(nombre));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setModel(lista);
    combo->setModelColumn(0);
    return combo;
}

} // namespace

frmMantProductos::frmMantProductos(QWidget* padre)
    : VentanaMantenimiento(new MantProductos, padre) {
    productos_ = static_cast<MantProductos*>(&logica());
    setObjectName(QStringLiteral("frmMantProductos"));
    setWindowTitle(QStringLiteral("Mantenimiento de Productos - Tarvo"));

    static const struct {
        const char16_t* campo;
        int maximo;
    } campos[] = {{u"ProCodigo", 12}, {u"ProDescripcion", 100}, {u"ProPrecio", 9},
                  {u"ProCosto", 9},   {u"ProIVA", 5},           {u"ProMinimo", 9}};
    for (int i = 0; i < 6; ++i) {
        txtFields_[size_t(i)] = formulario::crearCampo(this, i, campos[i].maximo);
        if (i >= 2) {
            txtFields_[size_t(i)]->setAlignment(Qt::AlignRight);
            txtFields_[size_t(i)]->installEventFilter(this);
        }
    }
    txtFields_[0]->setToolTip(QStringLiteral("Código de barra (opcional)"));

    productos_->ActualizarCombos();
    dtcCategorias_ = new ComboDatos(this);
    dtcCategorias_->setObjectName(QStringLiteral("dtcCategorias"));
    const Registros& categorias = productos_->categorias()->registros();
    dtcCategorias_->establecerLista(productos_->categorias(),
                                    categorias.indiceCampo(QStringLiteral("CatDescripcion")),
                                    categorias.indiceCampo(QStringLiteral("CatId")));
    auto* cmdCategorias = ::boton(this, u"cmdCategorias", QStringLiteral("+"),
                                  QStringLiteral("Agregar una nueva Categoría"));
    cmdCategorias->setAccessibleName(QStringLiteral("Agregar una nueva Categoría"));
    dtcUnidades_ = comboLibre(this, u"dtcUnidades", productos_->unidades());
    dtcMonedas_ = comboLibre(this, u"dtcMonedas", productos_->monedas());
    auto* chkDesactivado = new QCheckBox(QStringLiteral("Desactivado"), this);
    chkDesactivado->setObjectName(QStringLiteral("chkDesactivado"));
    auto* chkSinVencimiento = new QCheckBox(QStringLiteral("No vence nunca"), this);
    chkSinVencimiento->setObjectName(QStringLiteral("chkSinVencimiento"));
    chkSinVencimiento->setToolTip(QStringLiteral("Este producto no lleva fecha de vencimiento."));

    for (int i = 0; i < 6; ++i)
        mapear(txtFields_[size_t(i)], QString::fromUtf16(campos[i].campo));
    mapear(dtcCategorias_, QStringLiteral("CatId"));
    mapear(dtcUnidades_, QStringLiteral("ProUnidadMedida"));
    mapear(dtcMonedas_, QStringLiteral("ProMoneda"));
    mapear(chkDesactivado, QStringLiteral("ProDesactivado"));
    mapear(chkSinVencimiento, QStringLiteral("ProSinVencimiento"));

    auto* fraGanancias = new QGroupBox(QStringLiteral("Ganancias:"), this);
    fraGanancias->setObjectName(QStringLiteral("fraGanancias"));
    lblPorcentual_ = etiqueta(fraGanancias, u"lblPorcentual", QStringLiteral("0"));
    lblAbsoluto_ = etiqueta(fraGanancias, u"lblAbsoluto", QStringLiteral("0"));
    auto* ganancias = new QGridLayout(fraGanancias);
    ganancias->addWidget(
        etiqueta(fraGanancias, {}, QStringLiteral("Margen Porcentual (%):"), lblPorcentual_), 0, 0);
    ganancias->addWidget(lblPorcentual_, 0, 1);
    ganancias->addWidget(
        etiqueta(fraGanancias, {}, QStringLiteral("Margen Absoluto ($):"), lblAbsoluto_), 1, 0);
    ganancias->addWidget(lblAbsoluto_, 1, 1);

    auto* controles = new QGridLayout;
    auto linea = [&](int fila, int columna, const QString& texto, QWidget* control) {
        controles->addWidget(etiqueta(this, {}, texto, control), fila, columna);
        controles->addWidget(control, fila, columna + 1);
    };
    linea(0, 0, QStringLiteral("Código de barra:"), txtFields_[0]);
    linea(1, 0, QStringLiteral("Descripción:"), txtFields_[1]);
    auto* categoria = new QHBoxLayout;
    categoria->addWidget(dtcCategorias_, 1);
    categoria->addWidget(cmdCategorias);
    controles->addWidget(etiqueta(this, {}, QStringLiteral("Categoría:"), dtcCategorias_), 2, 0);
    controles->addLayout(categoria, 2, 1);
    linea(3, 0, QStringLiteral("Unidad de Medida:"), dtcUnidades_);
    linea(4, 0, QStringLiteral("Moneda:"), dtcMonedas_);
    linea(0, 2, QStringLiteral("Precio:"), txtFields_[2]);
    linea(1, 2, QStringLiteral("Costo:"), txtFields_[3]);
    auto* iva = new QHBoxLayout;
    iva->addWidget(txtFields_[4]);
    iva->addWidget(etiqueta(this, {}, QStringLiteral("%")));
    controles->addWidget(etiqueta(this, {}, QStringLiteral("I.V.A.: "), txtFields_[4]), 2, 2);
    controles->addLayout(iva, 2, 3);
    linea(3, 2, QStringLiteral("Stock Mínimo:"), txtFields_[5]);
    controles->addWidget(chkDesactivado, 4, 3);
    controles->addWidget(chkSinVencimiento, 5, 3);
    controles->addWidget(fraGanancias, 0, 4, 5, 1);
    controles->setColumnStretch(1, 1);

    crearComandos({{u"Nuevo", u"Ingresar un nuevo producto"},
                   {u"Editar", u"Modificar el producto seleccionado"},
                   {u"Guardar", u"Guardar los cambios"},
                   {u"Imprimir", u"Imprimir la lista de productos"},
                   {u"Buscar", u"Buscar por la descripción"},
                   {u"Avanza.", u"Búsqueda avanzada"},
                   {u"Actualizar", u"Muestra todos los datos"},
                   {u"Cancelar", u"Cancela la operación"},
                   {u"Eliminar", u"Elimina el Producto seleccionado"},
                   {u"Atras", u"Volver al menú principal"}},
                  {2, 7, 9});
    crearGrilla(MantProductos::tituloInicial(),
                {QStringLiteral("Descripción"), QStringLiteral("Precio"), QStringLiteral("Costo"),
                 QStringLiteral("Mínimo"), QStringLiteral("Desactivado")},
                {360, 90, 90, 80, 90});
    grilla()->installEventFilter(this);
    connect(grilla()->horizontalHeader(), &QHeaderView::sectionClicked, productos_,
            &MantProductos::ordenarPorColumna);
    connect(productos_, &MantProductos::tituloGrillaCambiado, this,
            &frmMantProductos::establecerTitulo);
    connect(cmdCategorias, &QPushButton::clicked, this, &frmMantProductos::cmdCategorias_Click);
    resize(960, 640);
    terminar(controles);
}

frmMantProductos& frmMantProductos::mostrar(qint32 proId) {
    frmMantProductos& ventana = ventanaUnica<frmMantProductos>();
    ventana.show();
    ventana.raise();
    ventana.activateWindow();
    if (proId > 0)
        ventana.productos().irAProducto(proId);
    return ventana;
}

void frmMantProductos::cmdMenu_Click(int indice) {
    switch (indice) {
    case 0:
        productos_->nuevo();
        break;
    case 1:
        productos_->editar();
        break;
    case 2:
        guardar();
        break;
    case 4:
        productos_->buscar();
        break;
    case 5: {
        frmBuscarProductos busqueda(this);
        busqueda.exec();
        if (!busqueda.cancelado)
            productos_->busquedaAvanzada(busqueda.condicion);
        break;
    }
    case 6:
        productos_->mostrarTodo();
        break;
    case 7:
        productos_->cancelar();
        break;
    case 8:
        productos_->eliminar();
        break;
    case 9:
        close();
        break;
    case 3:
        mostrarReporteProductos(*productos_->registros());
        break;
    default:
        break;
    }
}

void frmMantProductos::cmdCategorias_Click() {
    ventanaUnica<frmMantCategorias>().exec();
    ActualizarCombos();
}

void frmMantProductos::ActualizarCombos() {
    // What the combos show (a value being typed included) survives the reload.
    const QVariant categoria = dtcCategorias_->valor();
    const QString textoCategoria = dtcCategorias_->currentText();
    const QString unidad = dtcUnidades_->currentText();
    const QString moneda = dtcMonedas_->currentText();
    productos_->ActualizarCombos();
    dtcCategorias_->establecerValor(categoria);
    if (dtcCategorias_->currentText() != textoCategoria)
        dtcCategorias_->setCurrentText(textoCategoria);
    dtcUnidades_->setCurrentText(unidad);
    dtcMonedas_->setCurrentText(moneda);
}

void frmMantProductos::changeEvent(QEvent* evento) {
    if (evento->type() == QEvent::ActivationChange && isActiveWindow())
        ActualizarCombos();
    VentanaMantenimiento::changeEvent(evento);
}

bool frmMantProductos::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() != QEvent::KeyPress)
        return VentanaMantenimiento::eventFilter(objeto, evento);
    const auto* tecla = static_cast<QKeyEvent*>(evento);
    if (objeto == grilla()) {
        // The grid is a list: typed characters go to the type-ahead.
        if (tecla->key() == Qt::Key_Backspace) {
            productos_->teclaEnGrilla(QChar(8));
            return true;
        }
        const QString texto = tecla->text();
        if (texto.size() == 1 && texto[0].isPrint()) {
            productos_->teclaEnGrilla(texto[0]);
            return true;
        }
        return false;
    }
    for (int i = 2; i < 6; ++i)
        if (objeto == txtFields_[size_t(i)])
            productos_->teclaEnCampo(i, tecla->text());
    return VentanaMantenimiento::eventFilter(objeto, evento);
}

void frmMantProductos::alCambiarFila(int) {
    const MantProductos::Margenes m = productos_->margenes();
    lblPorcentual_->setText(m.porcentual);
    lblAbsoluto_->setText(m.absoluto);
}
