#pragma once

#include "data/tablaresultado.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

// A client-side static result set: every row is read when it opens, so the row
// count and the current position are known at once. Copies share the rows and
// keep their own position. A default-constructed set is closed.
//
// Editing in place (for the catalogue windows) goes on top of this: an edit
// buffer for the current row (a new row or changed fields) that a write sends
// to the set's single base table through its connection, keyed by the table's
// integer key, and that a discard drops; the written row then replaces the
// shared one, so every copy and model sees it.
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

private:
    Registros(std::shared_ptr<const TablaResultado> tabla, QString origen,
              std::shared_ptr<const std::vector<int>> filas);
    int filaActual() const; // row of the table, -1 when off a row

    std::shared_ptr<const TablaResultado> tabla_;
    std::shared_ptr<const std::vector<int>> filas_; // subset of the table's rows; null = all
    QString origen_;
    int posicion_ = 0; // 0-based; -1 before the first, cantidad() past the last
};
