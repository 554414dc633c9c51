#include "catalog/numeros.h"

#include <QRegularExpression>

bool leeComoNumero(const QString& texto) {
    static const QRegularExpression numero(QStringLiteral("^[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)$"));
    return numero.match(texto).hasMatch();
}

bool leeComoEntero(const QString& texto) {
    static const QRegularExpression entero(QStringLiteral("^[+-]?[0-9]+$"));
    return entero.match(texto).hasMatch();
}
