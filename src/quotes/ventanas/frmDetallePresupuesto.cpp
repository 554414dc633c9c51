#include "quotes/ventanas/frmDetallePresupuesto.h"

#include "data/modeloregistros.h"
#include "platform/ventanas/entertab.h"
#include "quotes/enlaces.h"
#include "quotes/ventanas/frmAgregarProductoPresupuesto.h"
#include "quotes/ventanas/frmGrillaContactos.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include <utility>

namespace {

void ponerTexto(QLineEdit* e, const QString& t) {
    if (e->text() != t)
        e->setText(t);
}

void ponerTexto(QComboBox* c, const QString& t) {
    if (c->currentText() != t)
        c->setEditText(t);
}

void ponerTexto(QTextEdit* e, const QString& t) {
    if (e->toPlainText() != t)
        e->setPlainText(t);
}

} // namespace

frmDetallePresupuesto::frmDetallePresupuesto(QWidget* padre) : QWidget(padre) {
    setObjectName(QStringLiteral("frmDetallePresupuesto"));
    setWindowTitle(QStringLiteral("Detalle del Presupuesto - Tarvo"));
    setAttribute(Qt::WA_DeleteOnClose);
    c_ = construirControles(this);

    const auto combos = c_.combos();
    for (int i = 0; i < ListasSugerencia::kCantidad; ++i) {
        auto* modelo = new ModeloRegistros(this);
        modelo->establecerColumnas({ListasSugerencia::campo(i)});
        combos[size_t(i)]->setModel(modelo);
        modelosListas_[size_t(i)] = modelo;
    }
    modeloProductos_ = new ModeloRegistros(this);
    modeloProductos_->establecerColumnas({QStringLiteral("ProCodigo"),
                                          QStringLiteral("ProDescripcion"),
                                          QStringLiteral("ProPrecio"), QStringLiteral("ProCosto")});
    const char16_t* const encabezados[] = {u"Código", u"Descripción", u"Precio", u"Costo"};
    for (int i = 0; i < 4; ++i)
        modeloProductos_->setHeaderData(i, Qt::Horizontal, QString::fromUtf16(encabezados[i]));
    c_.dtgProductos->setModel(modeloProductos_);
    c_.dtgProductos->setColumnWidth(1, 260);

    connect(&editor_, &EditorPresupuesto::camposCambiados, this,
            &frmDetallePresupuesto::mostrarCampos);
    connect(&editor_, &EditorPresupuesto::modoCambiado, this, &frmDetallePresupuesto::mostrarModo);
    connect(&editor_, &EditorPresupuesto::lineasCambiadas, this,
            &frmDetallePresupuesto::mostrarLineas);
    connect(&editor_, &EditorPresupuesto::listasRecargadas, this,
            &frmDetallePresupuesto::mostrarListas);
    connect(&editor_, &EditorPresupuesto::productosRecargados, this,
            &frmDetallePresupuesto::mostrarProductos);
    connect(&editor_, &EditorPresupuesto::productoActualCambiado, this,
            &frmDetallePresupuesto::mostrarProductoActual);
    connect(&editor_, &EditorPresupuesto::cerrarPedido, this, &QWidget::close);
    conectarCampos();
    conectarComandos();

    // Enter moves on everywhere; the controls that act on Enter act first.
    enter_ = new FiltroEnterTab(this);
    enter_->alPulsarEnter(c_.dtgProductos, [this] { agregarProducto(); });
    enter_->alPulsarEnter(c_.txtCodigoBarraAgregar, [this] { agregarPorCodigo(); });
    enter_->alPulsarEnter(c_.lvPrePro, [this] { quitarProducto(); });
    enter_->alPulsarEnter(c_.txtCliente, [this] { buscarCliente(); });
    // Typing in the grid searches it (installed last, so it sees keys first).
    c_.dtgProductos->installEventFilter(this);

    mostrarCampos();
    mostrarModo();
    mostrarProductoActual();
    resize(900, 620);
}

frmDetallePresupuesto::~frmDetallePresupuesto() = default;

template <typename F> void frmDetallePresupuesto::enUso(F&& hacer) {
    ++enUso_;
    hacer();
    if (--enUso_ > 0 || !std::exchange(borrarAlTerminar_, false))
        return;
    if (isVisible()) { // opened again meanwhile
        setAttribute(Qt::WA_DeleteOnClose);
        return;
    }
    editor_.cerrar();
    deleteLater();
}

void frmDetallePresupuesto::recargar() {
    enUso([this] { editor_.Actualizar(); });
}

void frmDetallePresupuesto::conectarCampos() {
    CamposPresupuesto& f = editor_.campos;
    auto alEscribir = [this](QLineEdit* e, QString& destino) {
        connect(e, &QLineEdit::textChanged, this, [this, &destino](const QString& t) {
            if (!mostrando_)
                destino = t;
        });
    };
    auto alCambiar = [this](QComboBox* c, QString& destino) {
        connect(c, &QComboBox::editTextChanged, this, [this, &destino](const QString& t) {
            if (!mostrando_)
                destino = t;
        });
    };
    auto alRedactar = [this](QTextEdit* e, QString& destino) {
        connect(e, &QTextEdit::textChanged, this, [this, e, &destino] {
            if (!mostrando_)
                destino = e->toPlainText();
        });
    };
    alEscribir(c_.txtFields[1], f.numero);
    alEscribir(c_.txtCliente, f.cliente);
    alCambiar(c_.dtcLugar, f.lugar);
    alCambiar(c_.dtcSaludo, f.saludo);
    connect(c_.dtpFecha, &QDateEdit::dateChanged, this, [this](const QDate& fecha) {
        if (!mostrando_)
            editor_.campos.fecha = fecha;
    });
    for (size_t i = 0; i < 3; ++i) {
        alRedactar(c_.rtbDescripcion[i], f.descripcion[i]);
        alCambiar(c_.dtcConcepto[i], f.concepto[i]);
        alEscribir(c_.txtImporte[i], f.importe[i]);
        alCambiar(c_.dtcMoneda[i], f.moneda[i]);
    }
    alRedactar(c_.rtbDespedida, f.despedida);
    alRedactar(c_.rtbFirma, f.firma);
    alEscribir(c_.txtTextoVigencia, f.textoVigencia);
    alEscribir(c_.txtDiasVigencia, f.diasVigencia);
    connect(c_.chkVigencia, &QCheckBox::toggled, this, [this](bool marcada) {
        if (!mostrando_)
            editor_.establecerVigencia(marcada);
    });
}

void frmDetallePresupuesto::conectarComandos() {
    for (int i = 0; i < modos::kBotones; ++i)
        connect(c_.cmdMenu[size_t(i)], &QPushButton::clicked, this,
                [this, i] { cmdMenu_Click(i); });
    connect(c_.cmdEnviarPDF, &QPushButton::clicked, this,
            [this] { enUso([this] { editor_.enviarPdf(); }); });
    connect(c_.cmdBuscarProveedor, &QPushButton::clicked, this,
            &frmDetallePresupuesto::buscarCliente);
    connect(c_.cmdNuevoProveedor, &QPushButton::clicked, this, [] {
        if (enlacesPresupuesto().nuevoContacto)
            enlacesPresupuesto().nuevoContacto();
    });
    connect(c_.cmdEditarProducto, &QPushButton::clicked, &editor_,
            &EditorPresupuesto::editarProducto);
    connect(c_.cmdBusquedaAvanzada, &QPushButton::clicked, this,
            &frmDetallePresupuesto::busquedaAvanzada);
    connect(c_.dtgProductos, &QTableView::doubleClicked, this,
            &frmDetallePresupuesto::agregarProducto);
    connect(c_.lvPrePro, &QTreeWidget::itemDoubleClicked, this,
            &frmDetallePresupuesto::quitarProducto);
    connect(c_.dtgProductos->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& actual) {
                if (!mostrando_ && actual.isValid())
                    editor_.grilla().moverA(actual.row() + 1);
            });
}

void frmDetallePresupuesto::cmdMenu_Click(int indice) {
    enUso([this, indice] { editor_.cmdMenu_Click(indice); });
}

void frmDetallePresupuesto::mostrarCampos() {
    const CamposPresupuesto& f = editor_.campos;
    mostrando_ = true;
    ponerTexto(c_.txtFields[0], f.id);
    ponerTexto(c_.txtFields[1], f.numero);
    if (f.fecha.isValid() && c_.dtpFecha->date() != f.fecha)
        c_.dtpFecha->setDate(f.fecha);
    ponerTexto(c_.txtCliente, f.cliente);
    c_.txtCliente->setProperty("tag", f.clienteTag);
    ponerTexto(c_.dtcLugar, f.lugar);
    ponerTexto(c_.dtcSaludo, f.saludo);
    for (size_t i = 0; i < 3; ++i) {
        ponerTexto(c_.rtbDescripcion[i], f.descripcion[i]);
        ponerTexto(c_.dtcConcepto[i], f.concepto[i]);
        ponerTexto(c_.txtImporte[i], f.importe[i]);
        ponerTexto(c_.dtcMoneda[i], f.moneda[i]);
    }
    ponerTexto(c_.rtbDespedida, f.despedida);
    ponerTexto(c_.rtbFirma, f.firma);
    c_.chkVigencia->setChecked(f.vigencia);
    ponerTexto(c_.txtTextoVigencia, f.textoVigencia);
    ponerTexto(c_.txtDiasVigencia, f.diasVigencia);
    mostrando_ = false;

    const bool habilitados = editor_.camposHabilitados();
    for (QWidget* w : c_.campos())
        w->setEnabled(habilitados);
    // The search button does what Enter in the customer box does.
    c_.cmdBuscarProveedor->setEnabled(habilitados);
    // Viewing only: nothing that changes the quote is at hand.
    c_.chkVigencia->setEnabled(!editor_.soloLectura());
    c_.txtCodigoBarraAgregar->setEnabled(!editor_.soloLectura());
    c_.txtTextoVigencia->setEnabled(editor_.vigenciaHabilitada());
    c_.txtDiasVigencia->setEnabled(editor_.vigenciaHabilitada());
}

void frmDetallePresupuesto::mostrarModo() {
    const auto botones = editor_.botones();
    for (int i = 0; i < modos::kBotones; ++i)
        c_.cmdMenu[size_t(i)]->setEnabled(botones[size_t(i)]);
    c_.cmdEnviarPDF->setEnabled(botones[7]);
    const EnlacesPresupuesto& e = enlacesPresupuesto();
    c_.cmdNuevoProveedor->setEnabled(bool(e.nuevoContacto));
    c_.cmdBusquedaAvanzada->setVisible(bool(e.buscarProductos));
    mostrarCampos();
}

void frmDetallePresupuesto::mostrarLineas() {
    const int anterior = c_.lvPrePro->indexOfTopLevelItem(c_.lvPrePro->currentItem());
    c_.lvPrePro->clear();
    QList<QTreeWidgetItem*> items;
    for (const LineaPresupuesto& l : editor_.lineas().lineas()) {
        auto* item = new QTreeWidgetItem(l.columnas());
        item->setData(0, Qt::UserRole, l.clave());
        for (int c = 2; c < 5; ++c)
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        items << item;
    }
    c_.lvPrePro->addTopLevelItems(items);
    if (!items.isEmpty())
        c_.lvPrePro->setCurrentItem(items.value(std::clamp(anterior, 0, int(items.size()) - 1)));
}

void frmDetallePresupuesto::mostrarListas() {
    const CamposPresupuesto& f = editor_.campos;
    const std::array<QString, 8> textos = {f.lugar,       f.saludo,    f.concepto[0], f.concepto[1],
                                           f.concepto[2], f.moneda[0], f.moneda[1],   f.moneda[2]};
    const auto combos = c_.combos();
    mostrando_ = true;
    for (int i = 0; i < ListasSugerencia::kCantidad; ++i) {
        // A text typed and not yet stored survives the reload.
        modelosListas_[size_t(i)]->establecerRegistros(editor_.listas().lista(i));
        combos[size_t(i)]->setCurrentIndex(-1);
        combos[size_t(i)]->setEditText(textos[size_t(i)]);
    }
    mostrando_ = false;
}

void frmDetallePresupuesto::mostrarProductos() {
    mostrando_ = true;
    modeloProductos_->establecerRegistros(editor_.grilla().registros());
    mostrando_ = false;
}

void frmDetallePresupuesto::mostrarProductoActual() {
    c_.lblTituloProductos->setText(editor_.grilla().titulo());
    const int fila = editor_.grilla().filaActual();
    mostrando_ = true;
    if (fila > 0) {
        const QModelIndex indice = modeloProductos_->index(fila - 1, 0);
        c_.dtgProductos->setCurrentIndex(indice);
        c_.dtgProductos->scrollTo(indice);
    } else {
        c_.dtgProductos->selectionModel()->clear();
    }
    mostrando_ = false;
}

std::optional<QString> frmDetallePresupuesto::pedirCantidad(qint32 proId) {
    frmAgregarProductoPresupuesto dialogo(this);
    dialogo.agregando = false;
    dialogo.proid = proId;
    dialogo.exec();
    if (dialogo.cancelado)
        return std::nullopt;
    return dialogo.cantidad();
}

void frmDetallePresupuesto::agregarProducto() {
    enUso([this] {
        editor_.agregarProductoActual([this](qint32 proId) { return pedirCantidad(proId); });
    });
}

void frmDetallePresupuesto::agregarPorCodigo() {
    const QString codigo = c_.txtCodigoBarraAgregar->text();
    if (codigo.isEmpty())
        return;
    enUso([this, &codigo] {
        editor_.agregarPorCodigo(codigo, [this](qint32 proId) { return pedirCantidad(proId); });
        c_.txtCodigoBarraAgregar->clear();
    });
}

void frmDetallePresupuesto::quitarProducto() {
    enUso([this] {
        editor_.quitarUnidades(c_.lvPrePro->indexOfTopLevelItem(c_.lvPrePro->currentItem()));
    });
}

void frmDetallePresupuesto::buscarCliente() {
    enUso([this] {
        frmGrillaContactos selector(this);
        selector.buscador().nombrefantasia = c_.txtCliente->text();
        selector.exec();
        const BuscadorContactos& elegido = selector.buscador();
        editor_.establecerCliente(elegido.cancelado, elegido.empid, elegido.nombrefantasia);
    });
}

void frmDetallePresupuesto::busquedaAvanzada() {
    const auto& buscar = enlacesPresupuesto().buscarProductos;
    if (!buscar)
        return;
    enUso([this, &buscar] {
        if (const std::optional<QString> condicion = buscar(this))
            editor_.filtrarGrilla(*condicion);
    });
}

void frmDetallePresupuesto::showEvent(QShowEvent* evento) {
    QWidget::showEvent(evento);
    mostrarModo();
    if (evento->spontaneous())
        return;
    // Showing reloads the lists through the activation; where the window is
    // not activated (no window manager), the reload happens all the same.
    const int antes = activaciones_;
    QTimer::singleShot(0, this, [this, antes] {
        if (activaciones_ == antes && isVisible())
            recargar();
    });
}

void frmDetallePresupuesto::changeEvent(QEvent* evento) {
    if (evento->type() == QEvent::ActivationChange && isActiveWindow()) {
        ++activaciones_;
        recargar();
    }
    QWidget::changeEvent(evento);
}

void frmDetallePresupuesto::closeEvent(QCloseEvent* evento) {
    evento->accept();
    if (enUso_ > 0 && testAttribute(Qt::WA_DeleteOnClose)) {
        // Closed from inside a box of one of its own commands: the window
        // hides now and goes once that command has returned.
        setAttribute(Qt::WA_DeleteOnClose, false);
        borrarAlTerminar_ = true;
        return;
    }
    editor_.cerrar();
}

bool frmDetallePresupuesto::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == c_.dtgProductos && evento->type() == QEvent::KeyPress) {
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        if (tecla->key() == Qt::Key_Backspace) {
            editor_.retrocesoGrilla();
            return true;
        }
        const QString texto = tecla->text();
        const bool escrito =
            !texto.isEmpty() && !(tecla->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
            std::all_of(texto.begin(), texto.end(), [](QChar ch) { return ch.isPrint(); });
        if (escrito) {
            for (QChar ch : texto)
                editor_.teclaGrilla(ch);
            return true;
        }
    }
    return QWidget::eventFilter(objeto, evento);
}
