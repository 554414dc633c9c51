#pragma once

#include "reports/maquetado.h"

#include <QAbstractScrollArea>

#include <memory>

// The pages of a report one under another, at a zoom. Only the pages in
// sight are painted, so a report of thousands of pages scrolls as lightly as
// one of a few; pages appear as the layout makes them ready.
class VistaPaginas : public QAbstractScrollArea {
    Q_OBJECT
public:
    // The zoom that makes a page as wide as the view.
    static constexpr double kAjustarAncho = 0.0;

    explicit VistaPaginas(QWidget* padre = nullptr);

    // The pages to show; the layout may still be growing.
    void establecerMaquetado(std::shared_ptr<const Maquetado> maquetado);
    // More pages are ready, or the layout is complete.
    void actualizarPaginas();

    void establecerZoom(double zoom); // 1.0 is the page's real size; kAjustarAncho
    double zoom() const { return zoom_; }

    int paginasVisibles() const { return paginas_; }
    // The page at the top of the view, from 0.
    int paginaActual() const;
    void irAPagina(int pagina);

signals:
    void paginaCambiada(int pagina);
    // A page was painted on the screen (what the user sees first).
    void paginaPintada(int pagina);

protected:
    void paintEvent(QPaintEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Device pixels per point at the current zoom.
    double escala() const;
    QSizeF tamanoPagina() const; // in pixels
    void ajustarBarras();

    std::shared_ptr<const Maquetado> maquetado_;
    int paginas_ = 0;
    double zoom_ = kAjustarAncho;
};
