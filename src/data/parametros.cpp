#include "data/parametros.h"

#include "data/conexion.h"

#include <QDate>
#include <QLocale>

#include <cmath>

namespace {

bool esEntero(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

} // namespace

namespace parametros {

std::optional<QVariant> convertir(const QVariant& v, const QString& tipo) {
    if (!v.isValid() || v.isNull())
        return QVariant();
    const bool esTexto = v.typeId() == QMetaType::QString;
    const QString texto = esTexto ? v.toString().trimmed() : QString();
    if (tipo == u"TEXT")
        return v.typeId() == QMetaType::QDate ? QVariant(v.toDate().toString(u"dd/MM/yyyy"))
                                              : QVariant(v.toString());
    if (esTexto && texto.isEmpty())
        return QVariant();
    const QLocale c = QLocale::c();
    if (tipo == u"INTEGER") {
        if (v.typeId() == QMetaType::Bool)
            return QVariant(qint64(v.toBool() ? 1 : 0));
        if (esEntero(v))
            return QVariant(v.toLongLong());
        bool ok = false;
        const double d = esTexto ? c.toDouble(texto, &ok) : v.toDouble(&ok);
        if (!ok || !std::isfinite(d) || std::abs(d) > 9.2e18)
            return std::nullopt;
        return QVariant(qint64(std::llround(d)));
    }
    if (tipo == u"DOUBLE") {
        bool ok = false;
        const double d = esTexto ? c.toDouble(texto, &ok) : v.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            return std::nullopt;
        return QVariant(d);
    }
    if (tipo == u"DATE") {
        switch (v.typeId()) {
        case QMetaType::QDate:
        case QMetaType::QDateTime:
            return v;
        case QMetaType::QString: {
            for (const auto* forma : {u"dd/MM/yyyy", u"d/M/yyyy", u"dd/MM/yy", u"yyyy-MM-dd"}) {
                QDate f = QDate::fromString(texto, QString::fromUtf16(forma));
                if (f.isValid()) {
                    if (f.year() < 1930 && QStringView(forma).endsWith(u"/yy"))
                        f = f.addYears(100);
                    return QVariant(f);
                }
            }
            return std::nullopt;
        }
        default: {
            bool ok = false;
            const double d = v.toDouble(&ok);
            if (!ok)
                return std::nullopt;
            return QVariant(d);
        }
        }
    }
    if (tipo == u"BOOLEAN") {
        if (esTexto) {
            const QString t = texto.toLower();
            if (t == u"true" || t == u"verdadero" || t == u"sí" || t == u"si" || t == u"-1" ||
                t == u"1")
                return QVariant(true);
            if (t == u"false" || t == u"falso" || t == u"no" || t == u"0")
                return QVariant(false);
            return std::nullopt;
        }
        bool ok = false;
        const double d = v.typeId() == QMetaType::Bool ? (v.toBool() ? 1 : 0) : v.toDouble(&ok);
        if (v.typeId() != QMetaType::Bool && !ok)
            return std::nullopt;
        return QVariant(d != 0.0);
    }
    return v;
}

std::variant<QVariantList, Rechazo> convertirTodos(const QString& nombre,
                                                   const QStringList& nombres,
                                                   const QStringList& tipos,
                                                   const QVariantList& valores) {
    if (valores.size() != tipos.size())
        return Rechazo{errores::kFaltanParametros,
                       QStringLiteral("La consulta '%1' espera %2 valores y recibió %3.")
                           .arg(nombre)
                           .arg(tipos.size())
                           .arg(valores.size())};
    QVariantList convertidos;
    convertidos.reserve(valores.size());
    for (int i = 0; i < valores.size(); ++i) {
        const auto v = convertir(valores[i], tipos[i]);
        if (!v)
            return Rechazo{errores::kTiposNoCoinciden,
                           QStringLiteral("No coinciden los tipos de datos: el valor '%1' no sirve "
                                          "para el parámetro %2 (%3) de '%4'.")
                               .arg(valores[i].toString(), nombres[i], tipos[i], nombre)};
        convertidos << *v;
    }
    return convertidos;
}

} // namespace parametros
