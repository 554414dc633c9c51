#include "data/modeloregistros.h"

ModeloRegistros::ModeloRegistros(QObject* padre) : QAbstractTableModel(padre) {}

ModeloRegistros::ModeloRegistros(const Registros& registros, QObject* padre)
    : QAbstractTableModel(padre), registros_(registros) {}

void ModeloRegistros::establecerRegistros(const Registros& registros) {
    beginResetModel();
    registros_ = registros;
    endResetModel();
}

int ModeloRegistros::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : std::max(registros_.cantidad(), 0);
}

int ModeloRegistros::columnCount(const QModelIndex& padre) const {
    return padre.isValid() || !registros_.abierto() ? 0 : registros_.cantidadCampos();
}

QVariant ModeloRegistros::data(const QModelIndex& indice, int rol) const {
    if (rol != Qt::DisplayRole && rol != Qt::EditRole)
        return {};
    if (!checkIndex(indice, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int fila = registros_.filaDeTabla(indice.row() + 1);
    return registros_.tabla()->valor(fila, indice.column());
}

QVariant ModeloRegistros::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (orientacion == Qt::Horizontal && rol == Qt::DisplayRole && seccion >= 0 &&
        seccion < columnCount())
        return registros_.nombreCampo(seccion);
    return QAbstractTableModel::headerData(seccion, orientacion, rol);
}

Qt::ItemFlags ModeloRegistros::flags(const QModelIndex& indice) const {
    if (!indice.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
