#pragma once

#include "data/conexion.h"
#include "data/tablaresultado.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

// A client-side static result set: every row is read when it opens, so the row
// count and the current position are known at once. Copies share the rows and
// keep their own position. A default-constructed set is closed.
//
// Editing in place (for the catalogue windows): a set made editable holds an
// edit buffer for one row (a new row or changed fields) that a write sends to
// the set's single base table through its connection, keyed by the table's
// integer key, and that a discard drops; the written row, read back from the
// table, then replaces the shared one. Copies share the buffer and the
// written rows, so every copy and model sees them.
class Registros {
public:
    // Values of posicionAbsoluta() when the cursor is not on a row.
    static constexpr int kPosicionDesconocida = -1;
    static constexpr int kPosicionAntesDelPrimero = -2;
    static constexpr int kPosicionDespuesDelUltimo = -3;

    Registros() = default;
    Registros(std::shared_ptr<const TablaResultado> tabla, QString origen);

    bool abierto() const { return tabla_ != nullptr; }
    void cerrar();
    // A closed set standing for a statement that failed (its errors already
    // reported): a failed read, never "no rows".
    static Registros fallo(QString origen);
    bool fallido() const { return fallido_; }
    // The SQL text (or command text) the set was opened from.
    const QString& origen() const { return origen_; }

    // Number of rows; -1 when closed.
    int cantidad() const;
    // 1-based position of the current row; not greater than 0 when there is none.
    int posicionAbsoluta() const;
    bool alFinal() const;     // past the last row (or no rows)
    bool alPrincipio() const; // before the first row (or no rows)

    void moverPrimero();
    void moverUltimo();
    void moverSiguiente();
    void moverAnterior();
    // Moves to the 1-based position; out of range leaves the cursor past the end.
    void moverA(int posicion);

    // Searches forward from the current row (included) for the first row that
    // meets a one-column criterion such as "ProCodigo='x'", "PRODESCRIPCION>='ca'"
    // or "ProId=7" (operators = <> < > <= >= LIKE; text compares in the
    // database's Spanish order, cotejo.h, and LIKE ignores case). When no
    // row meets it the cursor ends past the last row. Returns false, moving
    // nothing, when the criterion cannot be understood.
    bool buscar(const QString& criterio);

    int cantidadCampos() const;
    QString nombreCampo(int indice) const;
    int indiceCampo(const QString& nombre) const; // ignoring case; -1 when absent
    // The current row's value; invalid when closed, off a row or no such field.
    QVariant campo(const QString& nombre) const;
    QVariant campo(int indice) const;
    // The current row's value as text; empty for null or when there is no row.
    QString texto(const QString& nombre) const;

    // The rows of a child level (hierarchical results) that belong to the
    // current row; closed when there is no such level or no current row.
    Registros capitulo(const QString& nombre) const;

    // For models: the row of the table behind position `posicion` (1-based).
    int filaDeTabla(int posicion) const;
    const std::shared_ptr<const TablaResultado>& tabla() const { return tabla_; }
    // The value at a 1-based position, with the edits in place; invalid off
    // the rows.
    QVariant valor(int posicion, int campo) const;

    // Editing in place. Makes the open set editable: writes go to `tabla`
    // through `con`, each row found by its integer key column `clave`. A set
    // of a child level or without the key column cannot be made editable.
    bool habilitarEdicion(Conexion* con, const QString& tabla, const QString& clave);
    bool editable() const { return edicion_ != nullptr; }
    // Adds an empty row after the last one and makes it current; false when
    // not editable or another row has pending changes.
    bool agregarNuevo();
    // Changes a field of the row at `posicion` in the edit buffer; an empty
    // text stands for Null. The key is assigned by the database and never
    // changes. False when not editable, off the rows, or another row has
    // pending changes.
    bool establecerCampo(int posicion, int campo, const QVariant& valor);
    bool establecerCampo(const QString& nombre, const QVariant& valor); // current row
    // Pending changes: a new row, or changed fields of a row.
    bool hayCambios() const;
    bool nuevoPendiente() const;
    // 1-based position of the row with pending changes; 0 when none.
    int posicionPendiente() const;
    // Writes the pending change in one transaction and reads the row back.
    // On failure the buffer stays as it was and `fallos` says why.
    bool escribir(QList<ErrorProveedor>& fallos);
    // Drops the pending change; a new row disappears.
    void descartar();

private:
    struct Edicion;

    Registros(std::shared_ptr<const TablaResultado> tabla, QString origen,
              std::shared_ptr<const std::vector<int>> filas);
    int filaActual() const; // row of the table, -1 when off a row
    QVariant valorFila(int fila, int campo) const;

    std::shared_ptr<const TablaResultado> tabla_;
    std::shared_ptr<const std::vector<int>> filas_; // subset of the table's rows; null = all
    std::shared_ptr<Edicion> edicion_;              // null unless editable
    QString origen_;
    int posicion_ = 0; // 0-based; -1 before the first, cantidad() past the last
    bool fallido_ = false;
};
