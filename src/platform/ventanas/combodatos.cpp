#include "platform/ventanas/combodatos.h"

#include <QAbstractItemModel>
#include <QLineEdit>

namespace {

// Keys read back as int or as 64-bit integers, or as doubles: compared by value.
bool mismoValor(const QVariant& a, const QVariant& b) {
    bool okA = false, okB = false;
    const double x = a.toDouble(&okA);
    const double y = b.toDouble(&okB);
    if (okA && okB)
        return x == y;
    return a.toString() == b.toString();
}

} // namespace

ComboDatos::ComboDatos(QWidget* padre) : QComboBox(padre) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // What the user types or chooses replaces a value no row had.
    connect(this, &QComboBox::textActivated, this, [this] { sinFila_ = {}; });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { sinFila_ = {}; });
}

void ComboDatos::establecerLista(QAbstractItemModel* modelo, int columnaLista, int columnaValor) {
    setModel(modelo);
    setModelColumn(columnaLista);
    columnaValor_ = columnaValor;
    setCurrentIndex(-1);
}

int ComboDatos::filaElegida() const {
    const QString texto = currentText();
    if (texto.isEmpty())
        return -1;
    const int actual = currentIndex();
    if (actual >= 0 && itemText(actual) == texto)
        return actual;
    return findText(texto, Qt::MatchFixedString);
}

QVariant ComboDatos::valor() const {
    const int fila = filaElegida();
    if (fila < 0 && currentText().isEmpty())
        return sinFila_;
    if (fila < 0 || !model())
        return {};
    return model()->data(model()->index(fila, columnaValor_, rootModelIndex()), Qt::EditRole);
}

void ComboDatos::establecerValor(const QVariant& valor) {
    sinFila_ = {};
    if (model() && valor.isValid() && !valor.isNull()) {
        for (int fila = 0; fila < count(); ++fila) {
            if (mismoValor(model()->data(model()->index(fila, columnaValor_, rootModelIndex()),
                                         Qt::EditRole),
                           valor)) {
                setCurrentIndex(fila);
                return;
            }
        }
    }
    setCurrentIndex(-1);
    if (lineEdit())
        lineEdit()->clear();
    sinFila_ = valor;
}
