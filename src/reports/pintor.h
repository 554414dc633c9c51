#pragma once

#include "reports/maquetado.h"

#include <QPointF>
#include <QString>

#include <memory>

class QPagedPaintDevice;
class QPainter;

// The second pass: paints laid-out pages on any device (the preview, a
// printer, a PDF file).

// Paints page `indice` (from 0) with its footer, "page N" and "of M" written
// with `total` (0 while the count is not known yet: written "…"). `origen` is where the page's
// top-left corner lies on the device and `escala` how many device units make a point.
void pintarPagina(QPainter& pintor, const Maquetado& maquetado, int indice, int total,
                  const QPointF& origen, double escala);

// Paints the pages of a complete layout on a paged device (a PDF writer or a
// printer), one page after another, in steps: all of them, or those from
// `primera` to `ultima` (from 0, both included; they keep their numbers).
class PintorPaginas {
public:
    PintorPaginas(std::shared_ptr<const Maquetado> maquetado, QPagedPaintDevice& dispositivo,
                  int primera = 0, int ultima = -1);
    ~PintorPaginas();
    PintorPaginas(const PintorPaginas&) = delete;
    PintorPaginas& operator=(const PintorPaginas&) = delete;

    // Starts painting; false when the device refuses.
    bool comenzar();
    // Paints up to `paginas` more pages; true once every page is painted and
    // the device is finished.
    bool avanzar(int paginas);
    // Pages painted, out of how many are to be painted.
    int hechas() const { return hechas_; }
    int total() const { return ultima_ - primera_ + 1; }

private:
    std::shared_ptr<const Maquetado> maquetado_;
    QPagedPaintDevice& dispositivo_;
    std::unique_ptr<QPainter> pintor_;
    int primera_;
    int ultima_;
    int hechas_ = 0;
};

// Sets the device's page to the report's paper with no margins.
void prepararDispositivo(QPagedPaintDevice& dispositivo, const Maquetado& maquetado);

// Writes a complete layout to a PDF file whose title is the report's caption.
// The file is written under a temporary name and renamed at the end, so a
// failure never leaves half a file. False with the reason when it fails.
bool escribirPdf(const std::shared_ptr<const Maquetado>& maquetado, const QString& ruta,
                 QString& error);
