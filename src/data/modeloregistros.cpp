#include "data/modeloregistros.h"

#include "data/fechas.h"

ModeloRegistros::ModeloRegistros(QObject* padre) : QAbstractTableModel(padre) {}

ModeloRegistros::ModeloRegistros(const Registros& registros, QObject* padre)
    : QAbstractTableModel(padre), registros_(registros) {}

void ModeloRegistros::establecerRegistros(const Registros& registros) {
    beginResetModel();
    registros_ = registros;
    indexarColumnas();
    endResetModel();
}

void ModeloRegistros::establecerColumnas(const QStringList& campos) {
    beginResetModel();
    columnas_ = campos;
    encabezados_.clear();
    indexarColumnas();
    endResetModel();
}

void ModeloRegistros::indexarColumnas() {
    indices_.clear();
    for (const QString& c : std::as_const(columnas_))
        indices_ << registros_.indiceCampo(c);
}

int ModeloRegistros::campoDeColumna(int columna) const {
    if (columnas_.isEmpty())
        return columna >= 0 && columna < registros_.cantidadCampos() ? columna : -1;
    return indices_.value(columna, -1);
}

int ModeloRegistros::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : std::max(registros_.cantidad(), 0);
}

int ModeloRegistros::columnCount(const QModelIndex& padre) const {
    if (padre.isValid())
        return 0;
    if (!columnas_.isEmpty())
        return int(columnas_.size());
    return registros_.abierto() ? registros_.cantidadCampos() : 0;
}

QVariant ModeloRegistros::data(const QModelIndex& indice, int rol) const {
    if (rol != Qt::DisplayRole && rol != Qt::EditRole)
        return {};
    if (!checkIndex(indice, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int campo = campoDeColumna(indice.column());
    if (campo < 0)
        return {};
    const QVariant valor = registros_.valor(indice.row() + 1, campo);
    return rol == Qt::DisplayRole ? fechas::textoCelda(valor) : valor;
}

QVariant ModeloRegistros::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (orientacion == Qt::Horizontal && rol == Qt::DisplayRole && seccion >= 0 &&
        seccion < columnCount()) {
        const auto propio = encabezados_.constFind(seccion);
        if (propio != encabezados_.constEnd())
            return *propio;
        return columnas_.isEmpty() ? registros_.nombreCampo(seccion) : columnas_.value(seccion);
    }
    return QAbstractTableModel::headerData(seccion, orientacion, rol);
}

bool ModeloRegistros::setHeaderData(int seccion, Qt::Orientation orientacion, const QVariant& valor,
                                    int rol) {
    if (orientacion != Qt::Horizontal || (rol != Qt::EditRole && rol != Qt::DisplayRole) ||
        seccion < 0 || seccion >= columnCount())
        return false;
    encabezados_.insert(seccion, valor);
    emit headerDataChanged(orientacion, seccion, seccion);
    return true;
}

Qt::ItemFlags ModeloRegistros::flags(const QModelIndex& indice) const {
    if (!indice.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags banderas =
        Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    return registros_.editable() && campoDeColumna(indice.column()) >= 0
               ? banderas | Qt::ItemIsEditable
               : banderas;
}

bool ModeloRegistros::setData(const QModelIndex& indice, const QVariant& valor, int rol) {
    if (rol != Qt::EditRole ||
        !checkIndex(indice, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    if (!registros_.establecerCampo(indice.row() + 1, campoDeColumna(indice.column()), valor))
        return false;
    emit dataChanged(indice, indice, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

bool ModeloRegistros::agregarFila() {
    if (!registros_.editable() || registros_.hayCambios())
        return false;
    const int fila = rowCount();
    beginInsertRows({}, fila, fila);
    registros_.agregarNuevo();
    endInsertRows();
    return true;
}

bool ModeloRegistros::escribir(QList<ErrorProveedor>& fallos) {
    const int fila = registros_.posicionPendiente() - 1;
    if (!registros_.escribir(fallos))
        return false;
    if (fila >= 0 && columnCount() > 0)
        emit dataChanged(index(fila, 0), index(fila, columnCount() - 1));
    return true;
}

void ModeloRegistros::descartar() {
    const int fila = registros_.posicionPendiente() - 1;
    if (fila < 0)
        return;
    if (registros_.nuevoPendiente()) {
        beginRemoveRows({}, fila, fila);
        registros_.descartar();
        endRemoveRows();
        return;
    }
    registros_.descartar();
    if (columnCount() > 0)
        emit dataChanged(index(fila, 0), index(fila, columnCount() - 1));
}
