#include "reports/formatos.h"

#include <cmath>
#include <limits>

namespace formatos {

namespace {

bool esNumero(const QVariant& valor) {
    switch (valor.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

bool esEntero(const QVariant& valor) {
    switch (valor.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

// The whole number's digits with the locale's digits and minus sign,
// left-padded with zeros to `minimo` digits and grouped by threes when asked.
QString digitos(double redondeado, int minimo, bool agrupar, const QLocale& locale) {
    const bool negativo = redondeado < 0;
    QString cifras = QString::number(std::fabs(redondeado), 'f', 0);
    if (cifras.size() < minimo)
        cifras = QString(minimo - cifras.size(), u'0') + cifras;
    QString resultado;
    const QString separador = locale.groupSeparator();
    const QString cero = locale.zeroDigit();
    for (qsizetype i = 0; i < cifras.size(); ++i) {
        if (agrupar && i > 0 && (cifras.size() - i) % 3 == 0)
            resultado += separador;
        if (cero == QStringLiteral("0"))
            resultado += cifras[i];
        else
            resultado += locale.toString(cifras[i].digitValue());
    }
    return negativo && redondeado != 0 ? locale.negativeSign() + resultado : resultado;
}

} // namespace

double redondear(double valor, int decimales) {
    if (!std::isfinite(valor))
        return valor;
    const double escala = std::pow(10.0, decimales);
    return std::round(valor * escala) / escala;
}

QString dosDecimales(double valor, const QLocale& locale) {
    QLocale sinGrupos = locale;
    sinGrupos.setNumberOptions(sinGrupos.numberOptions() | QLocale::OmitGroupSeparator);
    const double r = redondear(valor, 2);
    // Never "-0,00".
    return sinGrupos.toString(r == 0 ? 0.0 : r, 'f', 2);
}

QString entero(double valor, const QLocale& locale) {
    if (!std::isfinite(valor))
        return numeroGeneral(valor, locale);
    return digitos(redondear(valor), 1, false, locale);
}

QString enteroAgrupado(double valor, const QLocale& locale) {
    if (!std::isfinite(valor))
        return numeroGeneral(valor, locale);
    return digitos(redondear(valor), 3, true, locale);
}

QString importe(double valor, const QLocale& locale) {
    if (!std::isfinite(valor))
        return numeroGeneral(valor, locale);
    const double centimos = redondear(valor, 2);
    // The whole part grouped, then the two decimals of the rounded amount.
    const QString texto = QString::number(std::fabs(centimos), 'f', 2);
    const qsizetype punto = texto.indexOf(u'.');
    const double entera = std::trunc(std::fabs(centimos));
    QString resultado = digitos(entera, 1, true, locale) + locale.decimalPoint();
    for (QChar c : texto.mid(punto + 1))
        resultado += locale.zeroDigit() == QStringLiteral("0") ? QString(c)
                                                               : locale.toString(c.digitValue());
    return centimos < 0 ? locale.negativeSign() + resultado : resultado;
}

QString siNo(bool valor) {
    return valor ? QStringLiteral("Si") : QStringLiteral("No");
}

QString fechaLarga(const QDate& fecha, const QLocale& locale) {
    return fecha.isValid() ? locale.toString(fecha, QLocale::LongFormat) : QString();
}

QString fechaCorta(const QDate& fecha) {
    return fecha.isValid() ? fecha.toString(QStringLiteral("dd/MM/yy")) : QString();
}

QString numeroGeneral(double valor, const QLocale& locale) {
    QLocale sinGrupos = locale;
    sinGrupos.setNumberOptions(sinGrupos.numberOptions() | QLocale::OmitGroupSeparator);
    if (valor == 0)
        return sinGrupos.toString(0);
    // Whole numbers of up to 15 digits are written in full, never as powers of ten.
    if (std::fabs(valor) < 1e15 && valor == std::trunc(valor))
        return sinGrupos.toString(qint64(valor));
    return sinGrupos.toString(valor, 'g', 15);
}

QString aplicar(const QVariant& valor, Formato formato, const QLocale& locale) {
    if (!valor.isValid() || valor.isNull())
        return {};
    const bool numero = esNumero(valor);
    switch (formato) {
    case Formato::DosDecimales:
        if (numero)
            return dosDecimales(valor.toDouble(), locale);
        break;
    case Formato::Entero:
        if (numero)
            return entero(valor.toDouble(), locale);
        break;
    case Formato::EnteroAgrupado:
        if (numero)
            return enteroAgrupado(valor.toDouble(), locale);
        break;
    case Formato::SiNo:
        if (numero)
            return siNo(valor.toDouble() != 0);
        break;
    case Formato::FechaLarga:
        if (valor.typeId() == QMetaType::QDate || valor.typeId() == QMetaType::QDateTime)
            return fechaLarga(valor.toDate(), locale);
        break;
    case Formato::FechaCorta:
        if (valor.typeId() == QMetaType::QDate || valor.typeId() == QMetaType::QDateTime)
            return fechaCorta(valor.toDate());
        break;
    case Formato::General:
        break;
    }
    // The general format.
    switch (valor.typeId()) {
    case QMetaType::QDate:
        return fechaCorta(valor.toDate());
    case QMetaType::QDateTime: {
        const QDateTime momento = valor.toDateTime();
        return momento.time() == QTime(0, 0)
                   ? fechaCorta(momento.date())
                   : fechaCorta(momento.date()) + u' ' +
                         momento.time().toString(QStringLiteral("HH:mm:ss"));
    }
    case QMetaType::Bool:
        return valor.toBool() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    default:
        break;
    }
    if (esEntero(valor)) {
        QLocale sinGrupos = locale;
        sinGrupos.setNumberOptions(sinGrupos.numberOptions() | QLocale::OmitGroupSeparator);
        return sinGrupos.toString(valor.toLongLong());
    }
    if (numero)
        return numeroGeneral(valor.toDouble(), locale);
    return valor.toString();
}

} // namespace formatos
