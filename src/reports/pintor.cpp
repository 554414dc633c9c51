#include "reports/pintor.h"

#include "platform/memoria.h"
#include "reports/medidor.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <map>

namespace {

constexpr double kHolgura = 0.01;
constexpr double kGrosorRegla = 0.75; // points

// The fonts of one painting, by size and weight, sized for the device, with
// the height of their ascent.
class Fuentes {
public:
    struct Fuente {
        QFont fuente;
        double ascenso; // device units
    };
    Fuentes(const QPaintDevice* dispositivo, double escala)
        : dispositivo_(dispositivo), factor_(escala * 72.0 / dispositivo->logicalDpiY()) {}
    const Fuente& de(const Control& c) {
        const auto clave = std::make_pair(c.puntos, c.negrita);
        auto it = fuentes_.find(clave);
        if (it == fuentes_.end()) {
            QFont f = fuenteInforme(c.puntos * factor_, c.negrita);
            const double ascenso = QFontMetricsF(f, dispositivo_).ascent();
            it = fuentes_.emplace(clave, Fuente{f, ascenso}).first;
        }
        return it->second;
    }

private:
    const QPaintDevice* dispositivo_;
    double factor_;
    std::map<std::pair<double, bool>, Fuente> fuentes_;
};

QRectF enDispositivo(const QRectF& r, double y, const QPointF& origen, double escala,
                     double margenIzquierdo) {
    return QRectF(origen.x() + (margenIzquierdo + r.left()) * escala,
                  origen.y() + (y + r.top()) * escala, r.width() * escala, r.height() * escala);
}

void pintarBanda(QPainter& p, Fuentes& fuentes, const Maquetado& m, const BandaColocada& b,
                 int pagina, int total, const QPointF& origen, double escala) {
    const double izquierda = m.definicion->pagina.margenIzquierdo;
    for (int i = b.primero; i < b.primero + b.cantidad; ++i) {
        const Elemento& e = m.elementos[size_t(i)];
        const Control& c = *e.control;
        if (e.clase == Elemento::Clase::Rectangulo) {
            // Only the part of a grey band that lies on this page.
            QRectF r = e.rect;
            r.setTop(std::max(r.top(), b.desde));
            r.setBottom(std::min(r.bottom(), b.hasta));
            if (r.height() > kHolgura)
                p.fillRect(enDispositivo(r, b.y, origen, escala, izquierda), c.color);
            continue;
        }
        if (e.rect.top() < b.desde - kHolgura || e.rect.top() >= b.hasta - kHolgura)
            continue;
        const QRectF r = enDispositivo(e.rect, b.y, origen, escala, izquierda);
        // Only a band that no page could hold is ever cut through a line.
        const bool cortado = e.rect.bottom() > b.hasta + kHolgura;
        if (cortado) {
            p.save();
            p.setClipRect(
                enDispositivo(QRectF(e.rect.left(), b.desde, e.rect.width(), b.hasta - b.desde),
                              b.y, origen, escala, izquierda));
        }
        switch (e.clase) {
        case Elemento::Clase::Regla:
            p.setPen(QPen(Qt::black, kGrosorRegla * escala));
            p.drawLine(QPointF(r.left(), r.top()), QPointF(r.right(), r.top()));
            break;
        case Elemento::Clase::Imagen: {
            const QSizeF dentro = QSizeF(c.imagen.size()).scaled(r.size(), Qt::KeepAspectRatio);
            p.drawImage(QRectF(r.topLeft(), dentro), c.imagen);
            break;
        }
        case Elemento::Clase::Texto:
        case Elemento::Clase::NumeroPagina:
        case Elemento::Clase::TotalPaginas: {
            const QString texto = e.clase == Elemento::Clase::Texto ? e.texto
                                  : e.clase == Elemento::Clase::NumeroPagina
                                      ? QString::number(pagina + 1)
                                  : total > 0 ? QString::number(total)
                                              : QStringLiteral("…");
            const Fuentes::Fuente& f = fuentes.de(c);
            p.setFont(f.fuente);
            p.setPen(c.color);
            if (e.clase == Elemento::Clase::Texto) {
                // Laid out and aligned by the first pass: drawn from its baseline.
                p.drawText(QPointF(r.left() + e.sangria * escala, r.top() + f.ascenso), texto);
            } else {
                // A page number, known only now.
                p.drawText(r,
                           int(c.alineacion & Qt::AlignHorizontal_Mask) | Qt::AlignTop |
                               Qt::TextSingleLine | Qt::TextDontClip,
                           texto);
            }
            break;
        }
        case Elemento::Clase::Rectangulo:
            break;
        }
        if (cortado)
            p.restore();
    }
}

} // namespace

void pintarPagina(QPainter& pintor, const Maquetado& maquetado, int indice, int total,
                  const QPointF& origen, double escala) {
    if (indice < 0 || indice >= int(maquetado.paginas.size()))
        return;
    Fuentes fuentes(pintor.device(), escala);
    for (const BandaColocada& b : maquetado.paginas[size_t(indice)].bandas)
        pintarBanda(pintor, fuentes, maquetado, b, indice, total, origen, escala);
    if (maquetado.altoPie > 0)
        pintarBanda(pintor, fuentes, maquetado, maquetado.piePagina, indice, total, origen, escala);
}

void prepararDispositivo(QPagedPaintDevice& dispositivo, const Maquetado& maquetado) {
    const QSizeF tamano = maquetado.definicion->pagina.tamano;
    dispositivo.setPageLayout(QPageLayout(QPageSize(tamano, QPageSize::Point),
                                          tamano.width() > tamano.height() ? QPageLayout::Landscape
                                                                           : QPageLayout::Portrait,
                                          QMarginsF(0, 0, 0, 0)));
}

PintorPaginas::PintorPaginas(std::shared_ptr<const Maquetado> maquetado,
                             QPagedPaintDevice& dispositivo, int primera, int ultima)
    : maquetado_(std::move(maquetado)), dispositivo_(dispositivo) {
    const int paginas = int(maquetado_->paginas.size());
    primera_ = std::clamp(primera, 0, std::max(0, paginas - 1));
    ultima_ = ultima < 0 ? paginas - 1 : std::clamp(ultima, primera_, paginas - 1);
}

PintorPaginas::~PintorPaginas() {
    if (pintor_ && pintor_->isActive())
        pintor_->end();
}

bool PintorPaginas::comenzar() {
    conservarBloquesGrandes();
    pintor_ = std::make_unique<QPainter>();
    if (!pintor_->begin(&dispositivo_))
        return false;
    pintor_->setRenderHint(QPainter::Antialiasing);
    pintor_->setRenderHint(QPainter::TextAntialiasing);
    hechas_ = 0;
    return true;
}

bool PintorPaginas::avanzar(int paginas) {
    if (!pintor_ || !pintor_->isActive())
        return true;
    const double escala = dispositivo_.logicalDpiX() / 72.0;
    // The device's page may lie inside the paper (a printer that cannot
    // print to the edge): the report's page is placed on the paper.
    const QRectF pagina = dispositivo_.pageLayout().paintRectPixels(dispositivo_.logicalDpiX());
    const QPointF origen(-pagina.left(), -pagina.top());
    const int todas = int(maquetado_->paginas.size());
    for (int n = 0; n < paginas && hechas_ < total(); ++n) {
        if (hechas_ > 0)
            dispositivo_.newPage();
        pintarPagina(*pintor_, *maquetado_, primera_ + hechas_, todas, origen, escala);
        ++hechas_;
    }
    if (hechas_ < total())
        return false;
    pintor_->end();
    return true;
}

bool escribirPdf(const std::shared_ptr<const Maquetado>& maquetado, const QString& ruta,
                 QString& error) {
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly)) {
        error = archivo.errorString();
        return false;
    }
    {
        QPdfWriter escritor(&archivo);
        escritor.setTitle(maquetado->definicion->titulo);
        escritor.setCreator(QStringLiteral("Tarvo"));
        prepararDispositivo(escritor, *maquetado);
        PintorPaginas pintor(maquetado, escritor);
        if (!pintor.comenzar()) {
            error = QStringLiteral("No se puede escribir el documento PDF.");
            archivo.cancelWriting();
            return false;
        }
        while (!pintor.avanzar(50)) {
        }
    }
    if (!archivo.commit()) {
        error = archivo.errorString();
        return false;
    }
    return true;
}
