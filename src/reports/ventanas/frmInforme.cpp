#include "reports/ventanas/frmInforme.h"

#include "platform/carpetas.h"
#include "platform/mensajes.h"
#include "platform/puntero.h"
#include "platform/ventanas/fabricas.h"
#include "platform/ventanas/selectores.h"
#include "reports/pintor.h"
#include "reports/ventanas/vistapaginas.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Each step of the background layout keeps the window this long at most.
constexpr qint64 kMsPorPaso = 20;

} // namespace

frmInforme::frmInforme(std::unique_ptr<Informe> informe, QWidget* padre)
    : QDialog(padre), informe_(std::move(informe)) {
    setObjectName(informe_->nombre());
    setWindowTitle(informe_->titulo());
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    reloj_ = new QTimer(this);
    reloj_->setInterval(0);
    connect(reloj_, &QTimer::timeout, this, &frmInforme::pasoMaquetado);
    crearControles();
    QSize tamano(860, 900);
    if (const QScreen* pantalla = QGuiApplication::primaryScreen())
        tamano = tamano.boundedTo(pantalla->availableSize() * 0.9);
    resize(tamano);
}

frmInforme::~frmInforme() = default;

void frmInforme::crearControles() {
    auto* barra = new QHBoxLayout;
    cmdImprimir_ = boton(this, QStringLiteral("cmdImprimir"), QStringLiteral("Imprimir"),
                         QStringLiteral("Imprimir el reporte"));
    cmdGuardarPdf_ =
        boton(this, QStringLiteral("cmdGuardarPdf"), QStringLiteral("Guardar como PDF"),
              QStringLiteral("Guardar el reporte en un documento PDF"));
    connect(cmdImprimir_, &QPushButton::clicked, this, &frmInforme::imprimir);
    connect(cmdGuardarPdf_, &QPushButton::clicked, this, &frmInforme::guardarComoPdf);
    barra->addWidget(cmdImprimir_);
    barra->addWidget(cmdGuardarPdf_);
    barra->addSpacing(12);

    cboZoom_ = new QComboBox(this);
    cboZoom_->setObjectName(QStringLiteral("cboZoom"));
    QLabel* lblZoom = etiqueta(this, u"lblZoom", QStringLiteral("&Zoom:"), cboZoom_);
    cboZoom_->addItem(QStringLiteral("Ancho de página"), VistaPaginas::kAjustarAncho);
    for (int porcentaje : {50, 75, 100, 125, 150, 200})
        cboZoom_->addItem(QStringLiteral("%1 %").arg(porcentaje), porcentaje / 100.0);
    barra->addWidget(lblZoom);
    barra->addWidget(cboZoom_);
    barra->addSpacing(12);

    const struct {
        const char16_t* nombre;
        const char16_t* texto;
        const char16_t* ayuda;
    } mover[] = {
        {u"cmdPrimera", u"|<", u"Primera página"},
        {u"cmdAnterior", u"<", u"Página anterior"},
        {u"cmdSiguiente", u">", u"Página siguiente"},
        {u"cmdUltima", u">|", u"Última página"},
    };
    QPushButton* botones[4];
    for (int i = 0; i < 4; ++i) {
        botones[i] = boton(this, QString::fromUtf16(mover[i].nombre),
                           QString::fromUtf16(mover[i].texto), QString::fromUtf16(mover[i].ayuda));
        botones[i]->setAccessibleName(QString::fromUtf16(mover[i].ayuda));
        botones[i]->setMaximumWidth(40);
        barra->addWidget(botones[i]);
    }
    lblPagina_ = etiqueta(this, u"lblPagina", {});
    lblPagina_->setMinimumWidth(150);
    barra->addWidget(lblPagina_);
    barra->addStretch();
    pbProgreso_ = new QProgressBar(this);
    pbProgreso_->setObjectName(QStringLiteral("pbProgreso"));
    pbProgreso_->setRange(0, 1000);
    pbProgreso_->setFormat(QStringLiteral("Preparando páginas… %p%"));
    pbProgreso_->setAccessibleName(QStringLiteral("Preparando páginas"));
    pbProgreso_->setMaximumWidth(220);
    barra->addWidget(pbProgreso_);
    auto* cmdCerrar = boton(this, QStringLiteral("cmdCerrar"), QStringLiteral("Cerrar"),
                            QStringLiteral("Cerrar la vista previa"));
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::reject);
    barra->addWidget(cmdCerrar);

    vista_ = new VistaPaginas(this);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(barra);
    todo->addWidget(vista_, 1);

    connect(cboZoom_, &QComboBox::currentIndexChanged, this,
            [this] { vista_->establecerZoom(cboZoom_->currentData().toDouble()); });
    connect(botones[0], &QPushButton::clicked, this, [this] { vista_->irAPagina(0); });
    connect(botones[1], &QPushButton::clicked, this,
            [this] { vista_->irAPagina(vista_->paginaActual() - 1); });
    connect(botones[2], &QPushButton::clicked, this,
            [this] { vista_->irAPagina(vista_->paginaActual() + 1); });
    connect(botones[3], &QPushButton::clicked, this,
            [this] { vista_->irAPagina(vista_->paginasVisibles() - 1); });
    connect(vista_, &VistaPaginas::paginaCambiada, this, &frmInforme::mostrarEstado);
}

bool frmInforme::abrir(bool modal) {
    reloj_->stop();
    // Asked again while open: the showing that ends first runs its end step,
    // so that this one reads the data again.
    if (isVisible())
        informe_->terminar();
    maquetador_ = informe_->iniciar();
    if (!maquetador_) {
        informe_->terminar();
        maquetado_.reset();
        vista_->establecerMaquetado(nullptr);
        return false;
    }
    maquetado_ = maquetador_->resultado();
    // The first page before the window shows; the rest in the background.
    while (!maquetador_->terminado() && maquetado_->paginasListas() < 1)
        maquetador_->avanzar(20);
    vista_->establecerMaquetado(maquetado_);
    mostrarEstado();
    if (!maquetador_->terminado())
        reloj_->start();
    if (modal) {
        setWindowModality(Qt::ApplicationModal);
        exec();
    } else {
        setWindowModality(Qt::NonModal);
        show();
        raise();
        activateWindow();
    }
    return true;
}

bool frmInforme::maquetando() const {
    return maquetador_ && !maquetador_->terminado();
}

void frmInforme::pasoMaquetado() {
    if (!maquetador_) {
        reloj_->stop();
        return;
    }
    QElapsedTimer tiempo;
    tiempo.start();
    while (!maquetador_->terminado() && tiempo.elapsed() < kMsPorPaso)
        maquetador_->avanzar(10);
    if (maquetador_->terminado())
        reloj_->stop();
    vista_->actualizarPaginas();
    mostrarEstado();
}

void frmInforme::completarMaquetado() {
    if (!maquetando())
        return;
    PunteroEspera espera;
    maquetador_->completar();
    reloj_->stop();
    vista_->actualizarPaginas();
    mostrarEstado();
}

void frmInforme::mostrarEstado() {
    const bool completo = !maquetando();
    pbProgreso_->setVisible(!completo);
    if (maquetador_)
        pbProgreso_->setValue(int(maquetador_->progreso() * 1000));
    const int paginas = maquetado_ ? int(maquetado_->paginas.size()) : 0;
    lblPagina_->setText(
        completo ? QStringLiteral("Página %1 de %2").arg(vista_->paginaActual() + 1).arg(paginas)
                 : QStringLiteral("Página %1 de %2…").arg(vista_->paginaActual() + 1).arg(paginas));
}

void frmInforme::imprimir() {
    if (!maquetado_)
        return;
    completarMaquetado();
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setDocName(informe_->titulo());
    prepararDispositivo(impresora, *maquetado_);
    QPrintDialog dialogo(&impresora, this);
    dialogo.setWindowTitle(QStringLiteral("Imprimir"));
    dialogo.setMinMax(1, int(maquetado_->paginas.size()));
    if (dialogo.exec() != QDialog::Accepted)
        return;
    if (!imprimirEn(impresora))
        mensaje(QStringLiteral("No se pudo imprimir el reporte: la impresora no lo aceptó."),
                Botones::Aceptar, Icono::Exclamacion, QStringLiteral("Imprimir"));
}

bool frmInforme::imprimirEn(QPrinter& impresora) {
    if (!maquetado_)
        return false;
    completarMaquetado();
    PunteroEspera espera;
    // The pages the user chose in the print dialog, or all.
    int primera = 0;
    int ultima = -1;
    if (impresora.printRange() == QPrinter::PageRange && impresora.fromPage() > 0) {
        primera = impresora.fromPage() - 1;
        ultima = impresora.toPage() > 0 ? impresora.toPage() - 1 : -1;
    }
    PintorPaginas pintor(maquetado_, impresora, primera, ultima);
    if (!pintor.comenzar())
        return false;
    while (!pintor.avanzar(20)) {
    }
    return true;
}

void frmInforme::guardarComoPdf() {
    if (!maquetado_)
        return;
    const QString propuesto =
        QDir(CarpetaDocumentos()).filePath(informe_->nombre() + QStringLiteral(".pdf"));
    QString ruta = selectores().elegirArchivoGuardar(this, QStringLiteral("Guardar como PDF"),
                                                     QStringLiteral("Documentos PDF (*.pdf)|*.pdf"),
                                                     propuesto);
    if (ruta.isEmpty())
        return;
    if (QFileInfo(ruta).suffix().isEmpty())
        ruta += QStringLiteral(".pdf");
    guardarPdf(ruta);
}

bool frmInforme::guardarPdf(const QString& ruta) {
    if (!maquetado_)
        return false;
    completarMaquetado();
    PunteroEspera espera;
    QString error;
    if (escribirPdf(maquetado_, ruta, error))
        return true;
    espera.restaurar();
    mensaje(QStringLiteral("No se pudo guardar el reporte en \"%1\": %2").arg(ruta, error),
            Botones::Aceptar, Icono::Exclamacion, QStringLiteral("Guardar como PDF"));
    return false;
}

void frmInforme::done(int resultado) {
    // The report's end step; the pages are let go with the window.
    reloj_->stop();
    maquetador_.reset();
    informe_->terminar();
    QDialog::done(resultado);
    maquetado_.reset();
    vista_->establecerMaquetado(nullptr);
}
