#include "reports/medidor.h"

#include <QTextLayout>

namespace {

constexpr double kPuntosPorPulgada = 72.0;
constexpr double kResolucion = 1200.0; // dots per inch of the measuring device

} // namespace

QString familiaInforme() {
    return QStringLiteral("DejaVu Sans");
}

QFont fuenteInforme(double puntos, bool negrita) {
    QFont fuente(familiaInforme());
    fuente.setPointSizeF(puntos);
    fuente.setBold(negrita);
    fuente.setHintingPreference(QFont::PreferNoHinting);
    fuente.setStyleStrategy(QFont::PreferOutline);
    return fuente;
}

Medidor::Medidor()
    : dispositivo_(1, 1, QImage::Format_RGB32), puntosPorUnidad_(kPuntosPorPulgada / kResolucion) {
    const int puntosPorMetro = qRound(kResolucion / 0.0254);
    dispositivo_.setDotsPerMeterX(puntosPorMetro);
    dispositivo_.setDotsPerMeterY(puntosPorMetro);
}

Medidor::Metrica& Medidor::metrica(double puntos, bool negrita) {
    const auto clave = std::make_pair(puntos, negrita);
    auto it = metricas_.find(clave);
    if (it == metricas_.end()) {
        const QFont fuente = fuenteInforme(puntos, negrita);
        it = metricas_.emplace(clave, Metrica{fuente, QFontMetricsF(fuente, &dispositivo_), {}})
                 .first;
    }
    return it->second;
}

double Medidor::altoLinea(double puntos, bool negrita) {
    return metrica(puntos, negrita).metricas.lineSpacing() * puntosPorUnidad_;
}

double Medidor::anchoEnUnidades(Metrica& m, const QString& texto) {
    constexpr qsizetype kMaximoGuardados = 20000;
    auto it = m.anchos.constFind(texto);
    if (it != m.anchos.constEnd())
        return *it;
    const double ancho = m.metricas.horizontalAdvance(texto);
    if (m.anchos.size() >= kMaximoGuardados)
        m.anchos.clear();
    m.anchos.insert(texto, ancho);
    return ancho;
}

double Medidor::ancho(const QString& texto, double puntos, bool negrita) {
    return anchoEnUnidades(metrica(puntos, negrita), texto) * puntosPorUnidad_;
}

QStringList Medidor::envolver(const QString& texto, double puntos, bool negrita, double ancho) {
    Metrica& m = metrica(puntos, negrita);
    const double limite = ancho / puntosPorUnidad_;
    QString normal = texto;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QStringList lineas;
    for (const QString& parrafo : normal.split(u'\n')) {
        // Most texts fit on one line: no layout needed.
        if (anchoEnUnidades(m, parrafo) <= limite) {
            lineas << parrafo;
            continue;
        }
        QTextLayout disposicion(parrafo, m.fuente, &dispositivo_);
        QTextOption opcion;
        opcion.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        disposicion.setTextOption(opcion);
        disposicion.beginLayout();
        for (QTextLine linea = disposicion.createLine(); linea.isValid();
             linea = disposicion.createLine()) {
            linea.setLineWidth(limite);
            QString parte = parrafo.mid(linea.textStart(), linea.textLength());
            // The spaces where a line breaks take no room at its end.
            while (!parte.isEmpty() && parte.back().isSpace())
                parte.chop(1);
            lineas << parte;
        }
        disposicion.endLayout();
    }
    return lineas;
}

QString Medidor::recortar(const QString& texto, double puntos, bool negrita, double ancho) {
    Metrica& m = metrica(puntos, negrita);
    QString linea = texto;
    for (qsizetype i = 0; i < linea.size(); ++i)
        if (linea[i] == u'\r' || linea[i] == u'\n') {
            linea.truncate(i);
            break;
        }
    const double limite = ancho / puntosPorUnidad_;
    if (anchoEnUnidades(m, linea) <= limite)
        return linea;
    return m.metricas.elidedText(linea, Qt::ElideRight, limite);
}
