#pragma once

#include <QComboBox>
#include <QVariant>

class QAbstractItemModel;

// A data combo: lists one column of a model and stands for the value of
// another column of the row chosen (a category's description shown, its key
// stored). Free text may be typed; it chooses the row whose text it equals,
// ignoring case, and nothing otherwise. `valor` is the combo's user property,
// so a QDataWidgetMapper binds it to a column of another model.
class ComboDatos : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(QVariant valor READ valor WRITE establecerValor USER true)
public:
    explicit ComboDatos(QWidget* padre = nullptr);

    // Lists column `columnaLista` of the model; `columnaValor` gives the value.
    void establecerLista(QAbstractItemModel* modelo, int columnaLista, int columnaValor);

    // The value of the row whose text is shown; invalid when none is. A value
    // given that no listed row has (a deactivated relation, say) shows an
    // empty text and stays the value until the user chooses another, so a
    // form that is saved does not lose it.
    QVariant valor() const;
    // Shows the row with that value; an empty text when no row has it.
    void establecerValor(const QVariant& valor);
    // The row whose text is shown; -1 when none.
    int filaElegida() const;

private:
    int columnaValor_ = 0;
    QVariant sinFila_; // the value given that no row has
};
