#pragma once

#include "data/registros.h"

#include <QAbstractTableModel>
#include <QList>

// A grid's view of a result set: chosen fields, in a chosen order, under
// their own headers; dates written as the short date. Read only; cells are
// read from the result set when the view asks for them.
class ModeloLista : public QAbstractTableModel {
    Q_OBJECT
public:
    struct ColumnaLista {
        QString campo;
        QString encabezado;
    };

    explicit ModeloLista(QList<ColumnaLista> columnas, QObject* padre = nullptr);

    void establecerRegistros(const Registros& registros);
    const Registros& registros() const { return registros_; }

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion,
                        int rol = Qt::DisplayRole) const override;

private:
    QList<ColumnaLista> columnas_;
    QList<int> indices_; // field index of each column in the set, -1 when absent
    Registros registros_;
};
