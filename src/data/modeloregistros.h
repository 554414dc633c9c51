#pragma once

#include "data/registros.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QStringList>

// A table over a result set, for grids, combos and edit forms: one row per
// record; by default one column per field, or the fields chosen with
// establecerColumnas, in that order. Headers are the field names unless set
// with setHeaderData. Cells are read from the result's table when a view asks
// for them, never copied. The model keeps its own copy of the set (sharing the
// rows and the edits in place), so reopening the source set shows nothing new
// until it is given again with establecerRegistros.
//
// Over an editable set (Registros::habilitarEdicion) the cells are editable:
// setData changes the edit buffer (what a QDataWidgetMapper submits), and the
// model adds, writes and discards the pending row, telling its views.
class ModeloRegistros : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModeloRegistros(QObject* padre = nullptr);
    explicit ModeloRegistros(const Registros& registros, QObject* padre = nullptr);

    // Replaces the rows shown (a closed set shows no rows).
    void establecerRegistros(const Registros& registros);
    const Registros& registros() const { return registros_; }

    // Shows only these fields, in this order (a field the set lacks shows
    // empty cells); an empty list shows every field.
    void establecerColumnas(const QStringList& campos);

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    // Edit role: the value as the program sees it (QDate for dates, bool for
    // yes/no); display role the same, but dates as the short date text.
    // Invalid for Null.
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion,
                        int rol = Qt::DisplayRole) const override;
    bool setHeaderData(int seccion, Qt::Orientation orientacion, const QVariant& valor,
                       int rol = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& indice) const override;
    bool setData(const QModelIndex& indice, const QVariant& valor, int rol = Qt::EditRole) override;

    // Editing in place: a new empty row after the last; writing and discarding
    // the pending change (see Registros).
    bool agregarFila();
    bool escribir(QList<ErrorProveedor>& fallos);
    void descartar();

    // The field of the set behind a column; -1 when the set lacks it.
    int campoDeColumna(int columna) const;

private:
    void indexarColumnas();

    Registros registros_;
    QStringList columnas_;
    QList<int> indices_; // field of each chosen column, -1 when absent
    QHash<int, QVariant> encabezados_;
};
