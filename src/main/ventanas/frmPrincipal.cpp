#include "main/ventanas/frmPrincipal.h"

#include "catalog/ventanas/frmMantCategorias.h"
#include "catalog/ventanas/frmMantContactos.h"
#include "catalog/ventanas/frmMantProductos.h"
#include "data/entornodatos.h"
#include "data/modconexion.h"
#include "exchange/ventanas/frmExportar.h"
#include "exchange/ventanas/frmImportar.h"
#include "main/listapresupuestos.h"
#include "platform/salida.h"
#include "platform/ventanas/entertab.h"
#include "platform/ventanas/fabricas.h"
#include "platform/ventanas/unica.h"
#include "quotes/ventanas/frmDetallePresupuesto.h"
#include "reports/ventanas/reportes.h"
#include "startup/informacion.h"
#include "startup/opciones.h"
#include "startup/ventanas/frmAcercaDe.h"
#include "startup/ventanas/frmOpciones.h"
#include "users/sesion.h"
#include "users/ventanas/frmMantUsuarios.h"
#include "users/ventanas/frmVerificaUsuario.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

#include <utility>

namespace {

// Twips (1/1440 inch) as pixels at 96 dpi.
int pixeles(int twips) {
    return twips * 96 / 1440;
}

} // namespace

frmPrincipal::frmPrincipal(QWidget* padre) : QMainWindow(padre) {
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(QStringLiteral("Menú Principal - Tarvo"));
    setAttribute(Qt::WA_DeleteOnClose);
    lista_ = new ListaPresupuestos(this);
    crearMenus();
    crearLista();

    auto* sbAvisos = statusBar();
    sbAvisos->setObjectName(QStringLiteral("sbAvisos"));
    sbAvisos->setSizeGripEnabled(true);
    avisos_ = etiqueta(sbAvisos, u"avisos", {});
    avisos_->setCursor(Qt::PointingHandCursor);
    avisos_->installEventFilter(this);
    sbAvisos->addWidget(avisos_, 1);

    new FiltroEnterTab(this);
    resize(pixeles(975 + 1140 + 5265 + 1470 + 1300) + 220, 520);

    connect(lista_, &ListaPresupuestos::listaCambiada, this, &frmPrincipal::enlazarGrilla);
    lista_->cargar();
}

frmPrincipal::~frmPrincipal() = default;

void frmPrincipal::crearMenus() {
    QMenuBar* barra = menuBar();
    QMenu* archivo = menu(barra, u"mnuArchivo", QStringLiteral("Archivo"));
    connect(accion(archivo, u"mnuArchivoNuevoPresupuesto", QStringLiteral("Nuevo Presupuesto")),
            &QAction::triggered, this, [this] { cmdMenu_Click(0); });
    crearMenuPresupuesto(archivo);
    QMenu* reportes = menu(archivo, u"mnuArchivoReportes", QStringLiteral("Reportes"));
    connect(accion(reportes, u"mnuArchivoProCat", QStringLiteral("Productos por Categoría")),
            &QAction::triggered, this, [] { mostrarReporteProductosCategorias(); });
    connect(accion(reportes, u"mnuArchivoResultados", QStringLiteral("Resultados de presupuestos")),
            &QAction::triggered, this, [this] { pedirReporteResultados(this); });
    connect(accion(archivo, u"mnuArchivoImportar", QStringLiteral("Importar")), &QAction::triggered,
            this, [this] {
                frmImportar importar(this);
                importar.exec();
            });
    archivo->addSeparator();
    connect(accion(archivo, u"mnuArchivoSalir", QStringLiteral("Salir")), &QAction::triggered, this,
            &frmPrincipal::salir);

    QMenu* contactos = menu(barra, u"mnuContactos", QStringLiteral("Contactos"));
    connect(
        accion(contactos, u"mnuContactosIngresoContactos", QStringLiteral("Ingreso de Contactos")),
        &QAction::triggered, this, [] { frmMantContactos::mostrar(); });

    QMenu* herramientas = menu(barra, u"mnuHerramientas", QStringLiteral("Herramientas"));
    connect(accion(herramientas, u"mnuHerramientasMantCategorias",
                   QStringLiteral("Mantenimiento de Categorías")),
            &QAction::triggered, this, [] { frmMantCategorias::mostrar(); });
    connect(accion(herramientas, u"mnuHerramientasMantProductos",
                   QStringLiteral("Mantenimiento de Productos")),
            &QAction::triggered, this, [] { frmMantProductos::mostrar(); });
    // Both administrator items are decided once, when the window loads.
    const bool administrador = esAdministrador(usuarioActual());
    QAction* usuarios = accion(herramientas, u"mnuHerramientasMantUsuarios",
                               QStringLiteral("Mantenimiento de Usuarios"));
    usuarios->setEnabled(administrador);
    connect(usuarios, &QAction::triggered, this, [] { frmMantUsuarios::mostrar(); });
    connect(accion(herramientas, u"mnuHerramientasExportar", QStringLiteral("Exportar")),
            &QAction::triggered, this, [this] {
                frmExportar exportar(this);
                exportar.exec();
            });
    QAction* opciones =
        accion(herramientas, u"mnuHerramientasOpciones", QStringLiteral("Opciones"));
    opciones->setEnabled(administrador);
    connect(opciones, &QAction::triggered, this, [] {
        frmOpciones& f = ventanaUnica<frmOpciones>();
        f.setAttribute(Qt::WA_DeleteOnClose);
        f.reiniciar = true;
        f.show();
        f.raise();
        f.activateWindow();
    });

    QMenu* ayuda = menu(barra, u"mnuAyuda", QStringLiteral("Ayuda"));
    connect(accion(ayuda, u"mnuAyudaSitioWeb", QStringLiteral("Sitio web")), &QAction::triggered,
            this, [] { QDesktopServices::openUrl(QUrl(informacion::sitioWeb())); });
    connect(accion(ayuda, u"mnuAyudaVideos", QStringLiteral("Videos Tutoriales en línea")),
            &QAction::triggered, this,
            [] { QDesktopServices::openUrl(QUrl(informacion::videosTutoriales())); });
    connect(accion(ayuda, u"mnuAyudaAcercaDe", QStringLiteral("Acerca De...")), &QAction::triggered,
            this, [this] {
                frmAcercaDe acerca(this);
                acerca.exec();
            });
}

void frmPrincipal::crearMenuPresupuesto(QMenu* archivo) {
    mnuPresupuesto_ = menu(archivo, u"mnuArchivoPresupuesto", QStringLiteral("Presupuesto"));
    nuevaVersion_ =
        accion(mnuPresupuesto_, u"mnuPresupuestoNuevaVersion", QStringLiteral("Nueva versión"));
    connect(nuevaVersion_, &QAction::triggered, this, &frmPrincipal::nuevaVersion);
    QMenu* marcar = menu(mnuPresupuesto_, u"mnuPresupuestoMarcar", QStringLiteral("Marcar como"));
    for (int i = 0; i <= int(EstadoPresupuesto::Reemplazado); ++i) {
        const auto estado = EstadoPresupuesto(i);
        const QString nombre = estados::nombre(estado);
        QAction* a = accion(marcar, QStringLiteral("mnuMarcar") + nombre, nombre);
        // Only a new version's save marks a quote replaced; a draft is where
        // every quote starts.
        a->setVisible(estado != EstadoPresupuesto::Reemplazado &&
                      estado != EstadoPresupuesto::Borrador);
        connect(a, &QAction::triggered, this,
                [this, estado] { lista_->marcar(filaActual(), estado); });
        marcas_ << a;
    }
    connect(mnuPresupuesto_, &QMenu::aboutToShow, this, &frmPrincipal::prepararMarcas);
}

void frmPrincipal::prepararMarcas() {
    const std::optional<EstadoPresupuesto> estado = lista_->estadoDeFila(filaActual());
    const QList<EstadoPresupuesto> destinos =
        estado ? estados::destinos(*estado) : QList<EstadoPresupuesto>{};
    for (int i = 0; i < marcas_.size(); ++i)
        marcas_[i]->setEnabled(destinos.contains(EstadoPresupuesto(i)));
    nuevaVersion_->setEnabled(estado && estados::admiteNuevaVersion(*estado));
}

void frmPrincipal::nuevaVersion() {
    qint32 preId = 0;
    if (lista_->nuevaVersion(filaActual(), preId) != ListaPresupuestos::Edicion::Permitida)
        return;
    frmDetallePresupuesto& editor = ventanaUnica<frmDetallePresupuesto>();
    editor.Actualizar();
    if (editor.NuevaVersion(preId))
        mostrarEditor(editor);
}

void frmPrincipal::crearLista() {
    auto* central = new QWidget(this);
    auto* marco = new QGroupBox(QStringLiteral("LISTA DE PRESUPUESTOS"), central);
    marco->setObjectName(QStringLiteral("marcoLista"));
    dtgLista_ = new QTableView(marco);
    dtgLista_->setObjectName(QStringLiteral("dtgLista"));
    // No label names the grid: its frame's caption does.
    dtgLista_->setAccessibleName(QStringLiteral("Lista de presupuestos"));
    modelo_ = &lista_->modelo();
    modelo_->establecerColumnas({QStringLiteral("PreNumero"), QStringLiteral("PreFecha"),
                                 QStringLiteral("EmpNombreFantasia"), QStringLiteral("UsuLogin"),
                                 QStringLiteral("Estado")});
    const char16_t* const encabezados[] = {u"Nro. Ppto.", u"Fecha", u"Cliente", u"Ingresó",
                                           u"Estado"};
    for (int c = 0; c < 5; ++c)
        modelo_->setHeaderData(c, Qt::Horizontal, QString::fromUtf16(encabezados[c]));
    dtgLista_->setModel(modelo_);
    // What was current before the list changes, to find it again after.
    connect(modelo_, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { preIdAnterior_ = preIdActual(); });
    connect(modelo_, &ModeloVentana::conteoCompleto, this, &frmPrincipal::volverALaFilaAnterior);
    dtgLista_->setSelectionBehavior(QAbstractItemView::SelectRows);
    dtgLista_->setSelectionMode(QAbstractItemView::SingleSelection);
    dtgLista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dtgLista_->setAlternatingRowColors(true);
    dtgLista_->verticalHeader()->setDefaultSectionSize(22);
    dtgLista_->horizontalHeader()->setSectionsClickable(true);
    const int anchos[] = {975, 1140, 5265, 1470, 1300};
    for (int c = 0; c < 5; ++c)
        dtgLista_->setColumnWidth(c, pixeles(anchos[c]));
    // The commands on the selected quote, also on a right click.
    dtgLista_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(dtgLista_, &QWidget::customContextMenuRequested, this, [this](const QPoint& punto) {
        const QModelIndex indice = dtgLista_->indexAt(punto);
        if (indice.isValid())
            dtgLista_->setCurrentIndex(indice);
        mnuPresupuesto_->popup(dtgLista_->viewport()->mapToGlobal(punto));
    });
    connect(dtgLista_->horizontalHeader(), &QHeaderView::sectionClicked, lista_,
            &ListaPresupuestos::ordenarPorColumna);
    connect(dtgLista_, &QTableView::doubleClicked, this, [this] {
        if (cmdMenu_[1]->isEnabled())
            cmdMenu_Click(1);
    });
    auto* enMarco = new QVBoxLayout(marco);
    auto* filtro = new QHBoxLayout;
    cboEstado_ = new QComboBox(marco);
    cboEstado_->setObjectName(QStringLiteral("cboEstado"));
    cboEstado_->addItems(ListaPresupuestos::textosFiltro());
    filtro->addWidget(etiqueta(marco, u"lblEstado", QStringLiteral("&Mostrar:"), cboEstado_));
    filtro->addWidget(cboEstado_);
    filtro->addStretch();
    connect(cboEstado_, &QComboBox::activated, this,
            [this](int i) { lista_->filtrar(ListaPresupuestos::Filtro(i)); });
    enMarco->addLayout(filtro);
    enMarco->addWidget(dtgLista_);

    static const struct {
        const char16_t* texto;
        const char16_t* ayuda;
    } botones[] = {
        {u"Nuevo", u"Ingresar un nuevo Presupuesto"},
        {u"Editar", u"Modificar el Presupuesto seleccionado"},
        {u"Imprimir", u"Imprimir la lista de Presupuestos"},
        {u"Buscar", u"Buscar por la descripción"},
        {u"Actualizar", u"Muestra todos los datos"},
        {u"Eliminar", u"Elimina el Presupuesto seleccionado"},
        {u"Salir", u"Salir"},
    };
    auto* barra = new QVBoxLayout;
    for (int i = 0; i < 7; ++i) {
        auto* b = boton(central, QStringLiteral("cmdMenu(%1)").arg(i),
                        QString::fromUtf16(botones[i].texto), QString::fromUtf16(botones[i].ayuda));
        b->setMinimumWidth(96);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdMenu_Click(i); });
        cmdMenu_[size_t(i)] = b;
        barra->addWidget(b);
    }
    barra->addStretch();

    auto* todo = new QHBoxLayout(central);
    todo->addWidget(marco, 1);
    todo->addLayout(barra);
    setCentralWidget(central);
}

void frmPrincipal::enlazarGrilla() {
    // The quote that was current stays current when it is still listed (a
    // re-sort), so a command never lands on another quote than the one shown;
    // otherwise (a deletion) the first row is.
    const QVariant anterior = std::exchange(preIdAnterior_, {});
    preIdBuscado_ = {};
    if (modelo_->rowCount() == 0)
        return;
    const int fila = anterior.isValid() ? modelo_->filaDeClave(anterior) : -1;
    dtgLista_->setCurrentIndex(modelo_->index(qMax(fila, 0), 0));
    // Not among the rows of a first page shown before its count: it is
    // looked for once the count arrives.
    if (fila < 0 && modelo_->conteoPendiente())
        preIdBuscado_ = anterior;
}

void frmPrincipal::volverALaFilaAnterior() {
    const QVariant buscado = std::exchange(preIdBuscado_, {});
    // Only while the user has not moved from the first row.
    if (!buscado.isValid() || filaActual() != 1)
        return;
    if (const int fila = modelo_->filaDeClave(buscado); fila > 0)
        dtgLista_->setCurrentIndex(modelo_->index(fila, 0));
}

QVariant frmPrincipal::preIdActual() const {
    const int fila = filaActual();
    if (fila < 1 || fila > modelo_->rowCount())
        return {};
    return modelo_->valor(fila - 1, QStringLiteral("PreId"));
}

int frmPrincipal::filaActual() const {
    const QModelIndex actual = dtgLista_->currentIndex();
    return actual.isValid() ? actual.row() + 1 : 0;
}

void frmPrincipal::cmdMenu_Click(int indice) {
    switch (indice) {
    case 0: {
        frmDetallePresupuesto& editor = ventanaUnica<frmDetallePresupuesto>();
        editor.setAgregando(true);
        editor.CargarPre(0);
        mostrarEditor(editor);
        break;
    }
    case 1: {
        qint32 preId = 0;
        if (lista_->editar(filaActual(), preId) != ListaPresupuestos::Edicion::Permitida)
            break;
        frmDetallePresupuesto& editor = ventanaUnica<frmDetallePresupuesto>();
        editor.setAgregando(false);
        editor.Actualizar();
        editor.CargarPre(preId);
        mostrarEditor(editor);
        break;
    }
    case 2:
        // Every stored quote, whatever the list shows.
        mostrarReportePresupuestos();
        break;
    case 3:
        lista_->buscar();
        break;
    case 4:
        lista_->mostrarTodo();
        break;
    case 5:
        lista_->eliminar(filaActual(), [this] {
            frmVerificaUsuario verificacion(this);
            verificacion.exec();
            return verificacion.LoginSucceeded;
        });
        break;
    case 6:
        close();
        break;
    default:
        break;
    }
}

void frmPrincipal::mostrarEditor(QWidget& editor) {
    // Modeless: the list stays usable while a quote is open.
    editor.show();
    editor.raise();
    editor.activateWindow();
}

void frmPrincipal::actualizarAvisos() {
    // The count runs at every activation, and an error box reactivates the
    // window: a failure is shown once, until a count succeeds again.
    ErroresRetenidos retenidos;
    const QString texto = ListaPresupuestos::textoAvisos(opciones().aviso_dias);
    if (!retenidos.hubo()) {
        avisoFallido_ = false;
        avisos_->setText(texto);
        return;
    }
    avisos_->setText(QStringLiteral("No hay avisos."));
    if (!std::exchange(avisoFallido_, true))
        retenidos.informar();
}

void frmPrincipal::sbAvisos_PanelClick() {
    lista_->listarAvisos(opciones().aviso_dias);
}

void frmPrincipal::showEvent(QShowEvent* evento) {
    // Without a window manager the window may never become active: the
    // notice is computed when it is first shown as well.
    if (!evento->spontaneous() && !avisosMostrados_) {
        avisosMostrados_ = true;
        actualizarAvisos();
    }
    QMainWindow::showEvent(evento);
}

void frmPrincipal::changeEvent(QEvent* evento) {
    if (evento->type() == QEvent::ActivationChange && isActiveWindow())
        actualizarAvisos();
    QMainWindow::changeEvent(evento);
}

bool frmPrincipal::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == avisos_ && evento->type() == QEvent::MouseButtonRelease) {
        sbAvisos_PanelClick();
        return true;
    }
    return QMainWindow::eventFilter(objeto, evento);
}

void frmPrincipal::cerrarConexiones(bool cerrarLista) {
    if (dteBodex().conexionAbierta())
        dteBodex().cerrarConexion();
    if (cerrarLista)
        lista_->cerrar();
    if (conexion())
        CerrarConexion();
}

void frmPrincipal::salir() {
    cerrarConexiones(false);
    terminarPrograma(0);
}

void frmPrincipal::closeEvent(QCloseEvent* evento) {
    cerrarConexiones(true);
    // The other windows cannot work without the connection: they close too.
    for (QWidget* ventana : QApplication::topLevelWidgets())
        if (ventana != this && ventana->isVisible())
            ventana->close();
    evento->accept();
}
