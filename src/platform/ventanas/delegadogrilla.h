#pragma once

#include <QStyledItemDelegate>

// How a list grid writes its cells: yes/no values as the program writes them
// ("Verdadero", "Falso"), everything else as Qt does.
class DelegadoGrilla : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QString displayText(const QVariant& valor, const QLocale& locale) const override;
};
