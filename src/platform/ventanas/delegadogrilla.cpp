#include "platform/ventanas/delegadogrilla.h"

QString DelegadoGrilla::displayText(const QVariant& valor, const QLocale& locale) const {
    if (valor.typeId() == QMetaType::Bool)
        return valor.toBool() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    return QStyledItemDelegate::displayText(valor, locale);
}
