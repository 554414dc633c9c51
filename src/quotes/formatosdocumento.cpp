#include "quotes/formatosdocumento.h"

#include "platform/localizacion.h"

#include <cmath>

namespace {

QLocale sinGrupos() {
    QLocale l = localeTarvo();
    l.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return l;
}

} // namespace

QString numeroDocumento(double valor) {
    if (valor == 0.0)
        valor = 0.0; // no "-0"
    return sinGrupos().toString(valor, 'G', 15);
}

QString fechaLarga(const QDate& fecha) {
    return localeTarvo().toString(fecha, QLocale::LongFormat);
}

std::optional<double> leerImporte(const QString& texto) {
    const QString t = texto.trimmed();
    bool ok = false;
    QLocale punto = QLocale::c();
    punto.setNumberOptions(QLocale::RejectGroupSeparator);
    double valor = punto.toDouble(t, &ok);
    if (!ok)
        valor = sinGrupos().toDouble(t, &ok);
    if (!ok || !std::isfinite(valor))
        return std::nullopt;
    return valor;
}
