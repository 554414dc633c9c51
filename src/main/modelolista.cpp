#include "main/modelolista.h"

#include "data/fechas.h"

#include <QDate>

ModeloLista::ModeloLista(QList<ColumnaLista> columnas, QObject* padre)
    : QAbstractTableModel(padre), columnas_(std::move(columnas)) {}

void ModeloLista::establecerRegistros(const Registros& registros) {
    beginResetModel();
    registros_ = registros;
    indices_.clear();
    for (const auto& c : columnas_)
        indices_ << registros_.indiceCampo(c.campo);
    endResetModel();
}

int ModeloLista::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : std::max(registros_.cantidad(), 0);
}

int ModeloLista::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : int(columnas_.size());
}

QVariant ModeloLista::data(const QModelIndex& indice, int rol) const {
    if (!indice.isValid() || indice.row() >= rowCount() || indice.column() >= columnCount())
        return {};
    if (rol != Qt::DisplayRole && rol != Qt::EditRole)
        return {};
    const int campo = indices_.value(indice.column(), -1);
    if (campo < 0)
        return {};
    const auto& tabla = registros_.tabla();
    const int fila = registros_.filaDeTabla(indice.row() + 1);
    const QVariant valor = tabla->valor(fila, campo);
    if (rol == Qt::DisplayRole && valor.typeId() == QMetaType::QDate)
        return tabla->texto(fila, campo);
    return valor;
}

QVariant ModeloLista::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (rol != Qt::DisplayRole)
        return {};
    if (orientacion == Qt::Horizontal)
        return seccion >= 0 && seccion < columnas_.size() ? QVariant(columnas_[seccion].encabezado)
                                                          : QVariant();
    return seccion + 1;
}
