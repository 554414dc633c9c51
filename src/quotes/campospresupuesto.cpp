#include "quotes/campospresupuesto.h"

#include "quotes/numeros.h"

QString CamposPresupuesto::textoVigenciaInicial() {
    return QStringLiteral("Plazo de vigencia de la oferta:");
}

QString CamposPresupuesto::diasVigenciaInicial() {
    return QStringLiteral("30");
}

QVariantList CamposPresupuesto::valores(const QString& usuario) const {
    // A quote loaded without a date is stored again without one.
    QVariantList v{numero, lugar, fecha.isValid() ? QVariant(fecha) : QVariant(), saludo,
                   clienteTag};
    for (const QString& d : descripcion)
        v << d;
    for (size_t i = 0; i < 3; ++i)
        v << concepto[i] << importe[i] << moneda[i];
    v << despedida << firma;
    v << (vigencia ? QVariant(textoVigencia) : QVariant(QString()));
    v << (vigencia ? QVariant(diasVigencia) : QVariant(0));
    v << usuario;
    return v;
}

bool CamposPresupuesto::vigenciaVigente(const QString& texto, const QString& dias) {
    return numeros::leer(dias).value_or(0) > 0 && !texto.isEmpty();
}
