#include "exchange/valoresbodex.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace bodex {

namespace {

// The statement's column list and table, from "select A,B from t".
QStringList columnas(Tabla tabla) {
    const QString& sql = tablas()[tabla].consulta;
    const qsizetype desde = sql.indexOf(u' ') + 1;
    const qsizetype hasta = sql.indexOf(QStringLiteral(" from "));
    return sql.mid(desde, hasta - desde).split(u',');
}

} // namespace

QString nombreTabla(Tabla tabla) {
    const QString& sql = tablas()[tabla].consulta;
    return sql.mid(sql.indexOf(QStringLiteral(" from ")) + 6).trimmed();
}

QString nombreColumna(Tabla tabla, int columna) {
    return columnas(tabla).value(columna);
}

QList<int> columnasComprobadas(Tabla tabla) {
    QList<int> lista;
    const QString& clases = tablas()[tabla].clases;
    for (int c = 0; c < clases.size(); ++c)
        if (clases[c] != u'T')
            lista << c;
    return lista;
}

QString consultaComprobacion(Tabla tabla) {
    const QStringList nombres = columnas(tabla);
    QStringList piezas;
    for (const int c : columnasComprobadas(tabla))
        piezas << QStringLiteral("CAST(%1 AS VARCHAR(255))").arg(nombres[c]);
    if (piezas.isEmpty())
        return {};
    return QStringLiteral("select ") + piezas.join(u',') + QStringLiteral(" from ") +
           nombreTabla(tabla);
}

QString problemaValor(QChar clase, const QVariant& guardado, const QVariant& leido) {
    if (guardado.isNull())
        return {};
    const QString texto = guardado.toString().trimmed();
    bool ok = false;
    if (clase == u'E') {
        const qint64 n = texto.toLongLong(&ok);
        if (ok && n >= std::numeric_limits<qint32>::min() &&
            n <= std::numeric_limits<qint32>::max() && !leido.isNull() && leido.toLongLong() == n)
            return {};
        return QStringLiteral("no es un número entero");
    }
    if (clase == u'N') {
        // The point is the only decimal separator; a comma is never skipped
        // as a thousands separator.
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        const double d = c.toDouble(texto, &ok);
        const double l = leido.toDouble();
        if (ok && std::isfinite(d) && !leido.isNull() &&
            std::abs(d - l) <= 1e-12 * std::max(1.0, std::abs(d)))
            return {};
        return QStringLiteral("no es un número (con punto decimal)");
    }
    if (clase == u'S') {
        const QString t = texto.toLower();
        const bool si = t == u"1" || t == u"-1" || t == u"true";
        if ((si || t == u"0" || t == u"false") && !leido.isNull() &&
            (leido.toLongLong() != 0) == si)
            return {};
        return QStringLiteral("no es un valor Sí/No (0 o 1)");
    }
    return {};
}

} // namespace bodex
