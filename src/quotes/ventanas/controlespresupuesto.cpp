#include "quotes/ventanas/controlespresupuesto.h"

#include "platform/ventanas/fabricas.h"
#include "quotes/grillaproductos.h"
#include "quotes/lineaspresupuesto.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

template <typename T> T* control(QWidget* padre, const QString& nombre) {
    auto* c = new T(padre);
    c->setObjectName(nombre);
    return c;
}

QComboBox* combo(QWidget* padre, const QString& nombre) {
    auto* c = control<QComboBox>(padre, nombre);
    c->setEditable(true);
    // The list only suggests: whatever is typed stays as typed.
    c->setInsertPolicy(QComboBox::NoInsert);
    return c;
}

QTextEdit* parrafo(QWidget* padre, const QString& nombre) {
    auto* t = control<QTextEdit>(padre, nombre);
    t->setAcceptRichText(false);
    t->setTabChangesFocus(true);
    return t;
}

void crearBarra(ControlesPresupuesto& c, QWidget* v, QHBoxLayout* barra) {
    static const struct {
        const char16_t* texto;
        const char16_t* ayuda;
    } botones[] = {
        {u"Nuevo", u"Ingresar un nuevo presupuesto"},
        {u"Editar", u"Modificar el presupuesto seleccionado"},
        {u"Guardar", u"Guardar los cambios"},
        {u"G+N", u"Guarda y crea un nuevo presupuesto"},
        {u"Cancelar", u"Cancela la operación"},
        {u"Imprimir", u"Imprimir el presupuesto"},
        {u"Modificar", u"Editar el documento en Microsoft Word"},
        {u"Enviar", u"Enviar por mail el Presupuesto"},
        {u"Atras", u"Volver al menú principal"},
    };
    for (int i = 0; i < 9; ++i) {
        auto* b = boton(v, QStringLiteral("cmdMenu(%1)").arg(i),
                        QString::fromUtf16(botones[i].texto), QString::fromUtf16(botones[i].ayuda));
        c.cmdMenu[size_t(i)] = b;
        // "Atras" stands apart at the right end.
        if (i == 8)
            barra->addStretch();
        barra->addWidget(b);
        if (i == 7) {
            c.cmdEnviarPDF = boton(v, u"cmdEnviarPDF", QStringLiteral("Enviar PDF"),
                                   QStringLiteral("Enviar por mail el Presupuesto en PDF"));
            barra->addWidget(c.cmdEnviarPDF);
        }
    }
}

QGridLayout* crearCabecera(ControlesPresupuesto& c, QWidget* v) {
    c.txtFields[0] = caja(v, u"txtFields(0)");
    c.txtFields[0]->setReadOnly(true);
    c.txtFields[0]->setEnabled(false);
    c.txtFields[1] = caja(v, u"txtFields(1)");
    c.dtpFecha = control<QDateEdit>(v, QStringLiteral("dtpFecha"));
    c.dtpFecha->setCalendarPopup(true);
    c.dtpFecha->setDisplayFormat(QStringLiteral("d-MMM-yy"));
    c.txtCliente = caja(v, u"txtCliente");
    c.cmdBuscarProveedor = boton(v, u"cmdBuscarProveedor", QStringLiteral("..."),
                                 QStringLiteral("Buscar Contactos por texto"));
    c.cmdBuscarProveedor->setAccessibleName(QStringLiteral("Buscar Contactos por texto"));
    c.cmdNuevoProveedor = boton(v, u"cmdNuevoProveedor", QStringLiteral("+"),
                                QStringLiteral("Ingresar un Contacto nuevo"));
    c.cmdNuevoProveedor->setAccessibleName(QStringLiteral("Ingresar un Contacto nuevo"));
    c.dtcLugar = combo(v, QStringLiteral("dtcLugar"));
    c.dtcSaludo = combo(v, QStringLiteral("dtcSaludo"));

    auto* g = new QGridLayout;
    g->addWidget(etiqueta(v, u"lblCodigo", QStringLiteral("Código:"), c.txtFields[0]), 0, 0);
    g->addWidget(c.txtFields[0], 0, 1);
    g->addWidget(etiqueta(v, u"lblNumero", QStringLiteral("Núm. de Ppto.:"), c.txtFields[1]), 0, 2);
    g->addWidget(c.txtFields[1], 0, 3);
    g->addWidget(etiqueta(v, u"lblFecha", QStringLiteral("Fecha:"), c.dtpFecha), 0, 4);
    g->addWidget(c.dtpFecha, 0, 5);
    g->addWidget(etiqueta(v, u"lblCliente", QStringLiteral("Cliente:"), c.txtCliente), 1, 0);
    auto* cliente = new QHBoxLayout;
    cliente->addWidget(c.txtCliente, 1);
    cliente->addWidget(c.cmdBuscarProveedor);
    cliente->addWidget(c.cmdNuevoProveedor);
    g->addLayout(cliente, 1, 1, 1, 5);
    g->addWidget(etiqueta(v, u"lblLugar", QStringLiteral("Lugar:"), c.dtcLugar), 2, 0);
    g->addWidget(c.dtcLugar, 2, 1, 1, 2);
    g->addWidget(etiqueta(v, u"lblSaludo", QStringLiteral("Saludo:"), c.dtcSaludo), 2, 3);
    g->addWidget(c.dtcSaludo, 2, 4, 1, 2);
    g->setColumnStretch(3, 1);
    return g;
}

QWidget* paginaDescripcion(ControlesPresupuesto& c, QWidget* v) {
    auto* p = new QWidget(v);
    auto* g = new QGridLayout(p);
    for (int i = 0; i < 3; ++i) {
        auto* t = parrafo(p, QStringLiteral("rtbDescripcion%1").arg(i + 1));
        c.rtbDescripcion[size_t(i)] = t;
        g->addWidget(etiqueta(p, QString(QStringLiteral("lblParrafo%1").arg(i + 1)),
                              QStringLiteral("Párrafo %1:").arg(i + 1), t),
                     i, 0, Qt::AlignTop);
        g->addWidget(t, i, 1);
    }
    return p;
}

QWidget* paginaProductos(ControlesPresupuesto& c, QWidget* v) {
    auto* p = new QWidget(v);
    auto* lista = new QGroupBox(QStringLiteral("Lista de Productos"), p);
    lista->setObjectName(QStringLiteral("fraListaProductos"));
    c.dtgProductos = control<QTableView>(lista, QStringLiteral("dtgProductos"));
    c.lblTituloProductos =
        etiqueta(lista, u"lblTituloProductos", GrillaProductos::tituloInicial(), c.dtgProductos);
    c.dtgProductos->setSelectionBehavior(QAbstractItemView::SelectRows);
    c.dtgProductos->setSelectionMode(QAbstractItemView::SingleSelection);
    c.dtgProductos->setEditTriggers(QAbstractItemView::NoEditTriggers);
    c.dtgProductos->verticalHeader()->setDefaultSectionSize(22);
    c.dtgProductos->setTabKeyNavigation(false);
    c.txtCodigoBarraAgregar = caja(lista, u"txtCodigoBarraAgregar");
    c.cmdEditarProducto = boton(lista, u"cmdEditarProducto", QStringLiteral("Editar producto"),
                                QStringLiteral("Editar el Producto seleccionado"));
    c.cmdBusquedaAvanzada =
        boton(lista, u"cmdBusquedaAvanzada", QStringLiteral("Búsqueda avanzada"),
              QStringLiteral("Búsqueda avanzada de productos"));
    auto* enLista = new QVBoxLayout(lista);
    enLista->addWidget(c.lblTituloProductos);
    enLista->addWidget(c.dtgProductos, 1);
    auto* codigo = new QHBoxLayout;
    codigo->addWidget(etiqueta(lista, u"lblCodigoBarra", QStringLiteral("Código de barra:"),
                               c.txtCodigoBarraAgregar));
    codigo->addWidget(c.txtCodigoBarraAgregar, 1);
    codigo->addWidget(c.cmdEditarProducto);
    codigo->addWidget(c.cmdBusquedaAvanzada);
    enLista->addLayout(codigo);
    auto* pistaAgregar = etiqueta(lista, u"lblAgregar",
                                  QStringLiteral("O DOBLE CLIC PARA AGREGAR PRODUCTOS AL REMITO"));
    enLista->addWidget(pistaAgregar);

    auto* incluidos = new QGroupBox(QStringLiteral("Productos incluidos en el Presupuesto"), p);
    incluidos->setObjectName(QStringLiteral("fraProductosIncluidos"));
    c.lvPrePro = control<QTreeWidget>(incluidos, QStringLiteral("lvPrePro"));
    c.lvPrePro->setAccessibleName(QStringLiteral("Productos incluidos en el Presupuesto"));
    c.lvPrePro->setRootIsDecorated(false);
    c.lvPrePro->setUniformRowHeights(true);
    c.lvPrePro->setAllColumnsShowFocus(true);
    c.lvPrePro->setHeaderLabels(LineasPresupuesto::encabezados());
    auto* enIncluidos = new QVBoxLayout(incluidos);
    enIncluidos->addWidget(c.lvPrePro, 1);
    auto* pistaQuitar =
        etiqueta(incluidos, u"lblQuitar", QStringLiteral("DOBLE CLIC PARA QUITAR PRODUCTOS"));
    enIncluidos->addWidget(pistaQuitar);

    auto* h = new QHBoxLayout(p);
    h->addWidget(lista, 1);
    h->addWidget(incluidos, 1);
    return p;
}

QWidget* paginaManoDeObra(ControlesPresupuesto& c, QWidget* v) {
    auto* p = new QWidget(v);
    auto* g = new QGridLayout(p);
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        c.dtcConcepto[size_t(i)] = combo(p, QStringLiteral("dtcConcepto") + n);
        c.txtImporte[size_t(i)] = caja(p, QString(QStringLiteral("txtImporte") + n));
        c.dtcMoneda[size_t(i)] = combo(p, QStringLiteral("dtcMoneda") + n);
        c.dtcMoneda[size_t(i)]->setAccessibleName(QStringLiteral("Moneda ") + n);
        g->addWidget(etiqueta(p, QString(QStringLiteral("lblConcepto") + n),
                              QStringLiteral("Concepto:"), c.dtcConcepto[size_t(i)]),
                     i, 0);
        g->addWidget(c.dtcConcepto[size_t(i)], i, 1);
        g->addWidget(etiqueta(p, QString(QStringLiteral("lblImporte") + n),
                              QStringLiteral("Importe:"), c.txtImporte[size_t(i)]),
                     i, 2);
        g->addWidget(c.txtImporte[size_t(i)], i, 3);
        g->addWidget(c.dtcMoneda[size_t(i)], i, 4);
    }
    g->setColumnStretch(1, 1);
    g->setRowStretch(3, 1);
    return p;
}

QWidget* paginaDespedida(ControlesPresupuesto& c, QWidget* v) {
    auto* p = new QWidget(v);
    c.rtbDespedida = parrafo(p, QStringLiteral("rtbDespedida"));
    c.rtbFirma = parrafo(p, QStringLiteral("rtbFirma"));
    c.chkVigencia = control<QCheckBox>(p, QStringLiteral("chkVigencia"));
    c.chkVigencia->setText(QStringLiteral("Vigencia:"));
    c.txtTextoVigencia = caja(p, u"txtTextoVigencia");
    c.txtTextoVigencia->setAccessibleName(QStringLiteral("Texto de la vigencia"));
    c.txtDiasVigencia = caja(p, u"txtDiasVigencia");
    c.txtDiasVigencia->setMaximumWidth(70);
    auto* g = new QGridLayout(p);
    g->addWidget(etiqueta(p, u"lblDespedida", QStringLiteral("Saludo:"), c.rtbDespedida), 0, 0,
                 Qt::AlignTop);
    g->addWidget(c.rtbDespedida, 0, 1);
    g->addWidget(etiqueta(p, u"lblFirma", QStringLiteral("Firma:"), c.rtbFirma), 1, 0,
                 Qt::AlignTop);
    g->addWidget(c.rtbFirma, 1, 1);
    auto* vigencia = new QHBoxLayout;
    vigencia->addWidget(c.chkVigencia);
    vigencia->addWidget(c.txtTextoVigencia, 1);
    vigencia->addWidget(c.txtDiasVigencia);
    vigencia->addWidget(etiqueta(p, u"lblDias", QStringLiteral("días"), c.txtDiasVigencia));
    g->addLayout(vigencia, 2, 0, 1, 2);
    return p;
}

} // namespace

std::array<QComboBox*, 8> ControlesPresupuesto::combos() const {
    return {dtcLugar,       dtcSaludo,    dtcConcepto[0], dtcConcepto[1],
            dtcConcepto[2], dtcMoneda[0], dtcMoneda[1],   dtcMoneda[2]};
}

QList<QWidget*> ControlesPresupuesto::campos() const {
    QList<QWidget*> l{txtFields[1], txtCliente,        dtcSaludo,         dtcLugar,
                      dtpFecha,     rtbDescripcion[0], rtbDescripcion[1], rtbDescripcion[2],
                      rtbDespedida, rtbFirma};
    for (size_t i = 0; i < 3; ++i)
        l << dtcConcepto[i] << txtImporte[i] << dtcMoneda[i];
    return l;
}

ControlesPresupuesto construirControles(QWidget* ventana) {
    ControlesPresupuesto c;
    auto* barra = new QHBoxLayout;
    crearBarra(c, ventana, barra);
    QGridLayout* cabecera = crearCabecera(c, ventana);
    c.sstPresupuesto = control<QTabWidget>(ventana, QStringLiteral("sstPresupuesto"));
    c.sstPresupuesto->addTab(paginaDescripcion(c, c.sstPresupuesto), QStringLiteral("Descripción"));
    c.sstPresupuesto->addTab(paginaProductos(c, c.sstPresupuesto), QStringLiteral("Productos"));
    c.sstPresupuesto->addTab(paginaManoDeObra(c, c.sstPresupuesto), QStringLiteral("Mano de obra"));
    c.sstPresupuesto->addTab(paginaDespedida(c, c.sstPresupuesto), QStringLiteral("Despedida"));
    auto* todo = new QVBoxLayout(ventana);
    todo->addLayout(barra);
    todo->addLayout(cabecera);
    todo->addWidget(c.sstPresupuesto, 1);
    return c;
}
