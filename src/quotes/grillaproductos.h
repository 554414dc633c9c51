#pragma once

#include "data/registros.h"

#include <QString>

#include <optional>

class ConsultasRecordadas;

// A product of the grid, as a new line takes it.
struct ProductoGrilla {
    qint32 proId = 0;
    QString codigo;
    QString descripcion;
    double precio = 0;
};

// The grid of active products of the quote editor: its rows in the order of
// their description, the current row, the type-ahead search and the search by
// bar code. The window shows the rows and follows the current row.
class GrillaProductos {
public:
    // The grid's caption when no search is under way.
    static QString tituloInicial();

    explicit GrillaProductos(ConsultasRecordadas& consultas);

    // Reads the products again and stands on the first one. The type-ahead
    // text and the caption stay.
    void recargar();
    const Registros& registros() const { return rs_; }
    void cerrar() { rs_.cerrar(); }

    // 1-based position of the current row; 0 when there is none (an empty
    // grid, or a search that ran past the last row).
    int filaActual() const;
    void moverA(int fila);
    std::optional<ProductoGrilla> productoActual() const;

    // Type-ahead: a character moves forward from the current row to the first
    // product whose description is not less than the text typed so far (in
    // the engine's order); Backspace starts again from the first product.
    void tecla(QChar caracter);
    void retroceso();
    const QString& textoBusqueda() const { return textoBusqueda_; }
    const QString& titulo() const { return titulo_; }

    // Stands on the product whose code equals `codigo` (blanks around
    // removed, letter case ignored), wherever it is in the grid. False, moving
    // nothing, when no product has it.
    bool buscarCodigo(const QString& codigo);

    // Lists only the active products that also meet `condicion` (a filter
    // built by the advanced product search) until Backspace.
    void filtrar(const QString& condicion);
    const QString& condicion() const { return condicion_; }

private:
    QString consulta() const;
    QString condicionesBase() const;

    ConsultasRecordadas& consultas_;
    Registros rs_;
    QString textoBusqueda_;
    QString titulo_;
    QString condicion_;
};
