#pragma once

#include "reports/formatos.h"

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

// A report declared as data: its bands, the controls in each, the group levels
// of the hierarchy that feeds it and the command of the data environment that
// supplies the rows. Every length is in points (1/72 inch).

enum class TipoControl {
    Etiqueta,     // fixed text
    Campo,        // a field of the current rows
    Suma,         // sum of a field over the detail rows of the band's group
    Cuenta,       // number of detail rows of the band's group
    Regla,        // a horizontal line along the top of the control
    Rectangulo,   // a filled rectangle (a grey band)
    Imagen,       // a picture, scaled into the control keeping its proportions
    FechaActual,  // today's date
    NumeroPagina, // the page's number
    TotalPaginas, // the number of pages of the report
};

struct Control {
    QString nombre; // the control's name in the report
    TipoControl tipo = TipoControl::Etiqueta;
    QRectF rect;   // inside the band
    QString texto; // the caption of a label
    QString campo; // the field shown or summed
    Formato formato = Formato::General;
    Qt::Alignment alineacion = Qt::AlignLeft;
    bool crece = false; // grows downwards to show all its text, pushing what lies below
    double puntos = 9;  // font size
    bool negrita = false;
    QColor color = Qt::black; // of the text, or the fill of a rectangle
    QImage imagen;            // of a picture; a null image draws nothing
    bool visible = true;
};

struct Banda {
    QString nombre;
    double alto = 0;
    std::vector<Control> controles;
    bool visible = true;

    // The control with that name; null when none.
    Control* control(const QString& nombre);
    const Control* control(const QString& nombre) const;
};

// One level of the hierarchy: its header prints before its rows' children,
// its footer after them.
struct Grupo {
    // The chapter that leads from a row of the level above to this level's
    // rows; empty for the first level (the command's own rows).
    QString capitulo;
    Banda cabecera;
    Banda pie;
};

struct PaginaInforme {
    QSizeF tamano{595.276, 841.89}; // A4
    double margenIzquierdo = 42.5;
    double margenDerecho = 42.5;
    double margenSuperior = 36;
    double margenInferior = 36;

    double ancho() const { return tamano.width() - margenIzquierdo - margenDerecho; }
};

struct DefinicionInforme {
    QString nombre;  // "dtrCategorias"
    QString titulo;  // the window's caption
    QString comando; // the command of the data environment
    PaginaInforme pagina;
    Banda encabezadoInforme;   // first on the first page
    Banda encabezadoPagina;    // at the top of every page
    std::vector<Grupo> grupos; // up to three, outermost first
    // The chapter that leads from a row of the innermost group to the detail
    // rows; empty when the detail is the command's own rows (no groups).
    QString capituloDetalle;
    Banda detalle;
    Banda piePagina; // at the bottom of every page

    // The control with that name in any band; null when none.
    Control* control(const QString& nombre);
    const Control* control(const QString& nombre) const;
};
