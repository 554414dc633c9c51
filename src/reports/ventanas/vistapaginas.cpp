#include "reports/ventanas/vistapaginas.h"

#include "reports/pintor.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr int kSeparacion = 12; // pixels around and between pages

} // namespace

VistaPaginas::VistaPaginas(QWidget* padre) : QAbstractScrollArea(padre) {
    setObjectName(QStringLiteral("vistaPaginas"));
    setAccessibleName(QStringLiteral("Páginas del reporte"));
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    verticalScrollBar()->setSingleStep(24);
    horizontalScrollBar()->setSingleStep(24);
}

void VistaPaginas::establecerMaquetado(std::shared_ptr<const Maquetado> maquetado) {
    maquetado_ = std::move(maquetado);
    paginas_ = 0;
    verticalScrollBar()->setValue(0);
    actualizarPaginas();
}

void VistaPaginas::actualizarPaginas() {
    const int antes = paginas_;
    paginas_ = maquetado_ ? maquetado_->paginasListas() : 0;
    ajustarBarras();
    // The pages already shown change only in their footer's page count.
    if (paginas_ != antes || (maquetado_ && maquetado_->completo))
        viewport()->update();
}

double VistaPaginas::escala() const {
    if (!maquetado_)
        return 1.0;
    const double porPunto = logicalDpiX() / 72.0;
    if (zoom_ > 0)
        return zoom_ * porPunto;
    const double ancho = maquetado_->definicion->pagina.tamano.width();
    const double disponible = std::max(100, viewport()->width() - 2 * kSeparacion);
    return disponible / ancho;
}

QSizeF VistaPaginas::tamanoPagina() const {
    if (!maquetado_)
        return {};
    return maquetado_->definicion->pagina.tamano * escala();
}

void VistaPaginas::establecerZoom(double zoom) {
    const int pagina = paginaActual();
    zoom_ = zoom;
    ajustarBarras();
    irAPagina(pagina);
    viewport()->update();
}

void VistaPaginas::ajustarBarras() {
    const QSizeF pagina = tamanoPagina();
    const int alto = int(kSeparacion + paginas_ * (pagina.height() + kSeparacion));
    const int ancho = int(pagina.width()) + 2 * kSeparacion;
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setRange(0, std::max(0, alto - viewport()->height()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setRange(0, std::max(0, ancho - viewport()->width()));
}

int VistaPaginas::paginaActual() const {
    const double paso = tamanoPagina().height() + kSeparacion;
    if (paso <= 0 || paginas_ == 0)
        return 0;
    // The page that fills the top of the view.
    const int pagina = int((verticalScrollBar()->value() + paso / 3) / paso);
    return std::clamp(pagina, 0, paginas_ - 1);
}

void VistaPaginas::irAPagina(int pagina) {
    const double paso = tamanoPagina().height() + kSeparacion;
    verticalScrollBar()->setValue(int(std::clamp(pagina, 0, std::max(0, paginas_ - 1)) * paso));
}

void VistaPaginas::resizeEvent(QResizeEvent* evento) {
    const int pagina = paginaActual();
    QAbstractScrollArea::resizeEvent(evento);
    ajustarBarras();
    if (zoom_ == kAjustarAncho)
        irAPagina(pagina);
}

void VistaPaginas::scrollContentsBy(int, int) {
    viewport()->update();
    emit paginaCambiada(paginaActual());
}

void VistaPaginas::paintEvent(QPaintEvent* evento) {
    QPainter p(viewport());
    p.fillRect(evento->rect(), palette().color(QPalette::Dark));
    if (!maquetado_ || paginas_ == 0)
        return;
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSizeF pagina = tamanoPagina();
    const double paso = pagina.height() + kSeparacion;
    const double x0 = std::max<double>(kSeparacion, (viewport()->width() - pagina.width()) / 2) -
                      horizontalScrollBar()->value();
    const int desplazado = verticalScrollBar()->value();
    const int primera = std::max(0, int((desplazado + evento->rect().top()) / paso));
    const int ultima = std::min(paginas_ - 1, int((desplazado + evento->rect().bottom()) / paso));
    // The page count is written only once it is known.
    const int total = maquetado_->completo ? int(maquetado_->paginas.size()) : 0;
    for (int i = primera; i <= ultima; ++i) {
        const QPointF origen(x0, kSeparacion + i * paso - desplazado);
        const QRectF hoja(origen, pagina);
        p.fillRect(hoja.translated(3, 3), QColor(0, 0, 0, 60));
        p.fillRect(hoja, Qt::white);
        pintarPagina(p, *maquetado_, i, total, origen, escala());
        emit paginaPintada(i);
    }
}
