#pragma once

#include <QItemDelegate>

// How an edit form's controls show and give back the values of a model's
// cells (for QDataWidgetMapper): text boxes the value as text (a number as
// the shortest text that reads back the same), check boxes a yes/no value,
// data combos (ComboDatos) the value they stand for, other combos their text.
class DelegadoFormulario : public QItemDelegate {
    Q_OBJECT
public:
    using QItemDelegate::QItemDelegate;

    void setEditorData(QWidget* editor, const QModelIndex& indice) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* modelo,
                      const QModelIndex& indice) const override;

    // Empties a control, for a form with no row to show.
    static void limpiar(QWidget* editor);
};
