#include "platform/ventanas/delegadoformulario.h"

#include "platform/ventanas/combodatos.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace {

QString texto(const QVariant& valor) {
    if (!valor.isValid() || valor.isNull())
        return {};
    if (valor.typeId() == QMetaType::Double)
        return QString::number(valor.toDouble(), 'g', 15);
    return valor.toString();
}

} // namespace

void DelegadoFormulario::setEditorData(QWidget* editor, const QModelIndex& indice) const {
    const QVariant valor = indice.data(Qt::EditRole);
    if (auto* combo = qobject_cast<ComboDatos*>(editor))
        combo->establecerValor(valor);
    else if (auto* caja = qobject_cast<QLineEdit*>(editor))
        caja->setText(texto(valor));
    else if (auto* marca = qobject_cast<QCheckBox*>(editor))
        marca->setChecked(valor.toBool());
    else if (auto* lista = qobject_cast<QComboBox*>(editor))
        lista->setCurrentText(texto(valor));
    else
        QItemDelegate::setEditorData(editor, indice);
}

void DelegadoFormulario::setModelData(QWidget* editor, QAbstractItemModel* modelo,
                                      const QModelIndex& indice) const {
    if (auto* combo = qobject_cast<ComboDatos*>(editor))
        modelo->setData(indice, combo->valor());
    else if (auto* caja = qobject_cast<QLineEdit*>(editor))
        modelo->setData(indice, caja->text());
    else if (auto* marca = qobject_cast<QCheckBox*>(editor))
        modelo->setData(indice, marca->isChecked());
    else if (auto* lista = qobject_cast<QComboBox*>(editor))
        modelo->setData(indice, lista->currentText());
    else
        QItemDelegate::setModelData(editor, modelo, indice);
}

void DelegadoFormulario::limpiar(QWidget* editor) {
    if (auto* combo = qobject_cast<ComboDatos*>(editor))
        combo->establecerValor({});
    else if (auto* caja = qobject_cast<QLineEdit*>(editor))
        caja->clear();
    else if (auto* marca = qobject_cast<QCheckBox*>(editor))
        marca->setChecked(false);
    else if (auto* lista = qobject_cast<QComboBox*>(editor))
        lista->setCurrentText({});
}
