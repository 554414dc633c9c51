#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

#include <map>
#include <utility>

// The family every report writes in; fonts-dejavu-core installs it, so text
// wraps and pages break alike on every machine.
QString familiaInforme();
// The report font at a size in points.
QFont fuenteInforme(double puntos, bool negrita);

// Measures text in points, independently of any screen or printer: on a
// device of high resolution, without hinting, so that the layout is the same
// whatever the report is later painted on.
class Medidor {
public:
    Medidor();

    // Height of one line of text.
    double altoLinea(double puntos, bool negrita);
    double ancho(const QString& texto, double puntos, bool negrita);
    // The text broken into lines no wider than `ancho` (between words where
    // it can, inside a word that alone is too wide). Line breaks in the text
    // are kept; an empty text is one empty line.
    QStringList envolver(const QString& texto, double puntos, bool negrita, double ancho);
    // The first line of the text, shortened with "…" to fit `ancho`.
    QString recortar(const QString& texto, double puntos, bool negrita, double ancho);

private:
    struct Metrica {
        QFont fuente;
        QFontMetricsF metricas;
        // Widths of the texts measured so far (numbers, units and
        // currencies repeat from row to row), in the device's units.
        QHash<QString, double> anchos;
    };
    double anchoEnUnidades(Metrica& m, const QString& texto);
    Metrica& metrica(double puntos, bool negrita);

    QImage dispositivo_;
    double puntosPorUnidad_;
    std::map<std::pair<double, bool>, Metrica> metricas_;
};
