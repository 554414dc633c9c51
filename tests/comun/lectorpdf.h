#pragma once

#include <QString>
#include <QStringList>

// A PDF file read back with poppler's tools: its text (laid out as on the
// page), its page count, title and pictures.
struct LectorPdf {
    explicit LectorPdf(const QString& ruta);

    bool valido = false;
    int paginas = 0;
    QString titulo;
    QString tamano; // "595.276 x 841.89 pts (A4)"
    int imagenes = 0;
    QString texto;              // every page
    QStringList textoPorPagina; // page by page

    // The lines of the whole text, trimmed, without empty ones.
    QStringList lineas() const;
    // Each capture of the pattern's first group, in order, over the whole text.
    QStringList capturas(const QString& patron) const;
};
