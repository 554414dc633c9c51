#pragma once

#include "data/registros.h"

#include <QAbstractTableModel>

// A read-only table over a result set, for grids and combos: one row per
// record, one column per field. Cells are read from the result's table when a
// view asks for them, never copied. The model keeps its own copy of the set
// (sharing the rows), so reopening the source set shows nothing new until it
// is given again with establecerRegistros.
class ModeloRegistros : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModeloRegistros(QObject* padre = nullptr);
    explicit ModeloRegistros(const Registros& registros, QObject* padre = nullptr);

    // Replaces the rows shown (a closed set shows nothing).
    void establecerRegistros(const Registros& registros);
    const Registros& registros() const { return registros_; }

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    // Display and edit roles: the value as the program sees it (QDate for
    // dates, bool for yes/no); invalid for Null.
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion,
                        int rol = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& indice) const override;

private:
    Registros registros_;
};
