#include "quotes/numeros.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace numeros {

QString texto(double valor) {
    if (!std::isfinite(valor))
        return QStringLiteral("0");
    // Rounded to 15 significant digits first, then written out without an
    // exponent and without trailing zeros.
    const double redondeado = QString::number(valor, 'g', 15).toDouble();
    if (redondeado == 0.0)
        return QStringLiteral("0");
    const int magnitud = int(std::floor(std::log10(std::abs(redondeado))));
    const int decimales = std::max(0, 14 - magnitud);
    QString t = QString::number(redondeado, 'f', decimales);
    if (t.contains(u'.')) {
        while (t.endsWith(u'0'))
            t.chop(1);
        if (t.endsWith(u'.'))
            t.chop(1);
    }
    return t;
}

std::optional<double> leer(const QString& texto) {
    static const QRegularExpression forma(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    const QString t = texto.trimmed();
    if (!forma.match(t).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace numeros
