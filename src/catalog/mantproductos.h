#pragma once

#include "catalog/mantenimiento.h"

// The product catalogue on the maintenance pattern: defaults of a new product,
// numeric validation, duplicates, guarded deletion, plain and advanced
// search, header sorting, type-ahead in the grid, margins of the current row
// and the lists of its three combos.
class MantProductos : public Mantenimiento {
    Q_OBJECT
public:
    static QString consultaCompleta();
    // The grid's caption while no type-ahead is in progress.
    static QString tituloInicial();

    explicit MantProductos(QObject* padre = nullptr);

    // The lists of the category, unit and currency combos.
    ModeloRegistros* categorias() const { return categorias_; }
    ModeloRegistros* unidades() const { return unidades_; }
    ModeloRegistros* monedas() const { return monedas_; }
    // Reloads the three lists (active categories and those a product uses,
    // the units and currencies already used).
    void ActualizarCombos();

    // A key typed into txtFields(indice): the decimal separator and whole
    // number notices, which do not refuse the key.
    void teclaEnCampo(int indice, const QString& texto) const;

    // Lists the products that meet the advanced search's condition.
    void busquedaAvanzada(const QString& condicion);
    // A click on the grid's header, columns 0..4.
    void ordenarPorColumna(int columna);
    // Type-ahead: a key typed in the grid (Backspace starts again).
    void teclaEnGrilla(QChar tecla);
    const QString& tituloGrilla() const { return titulo_; }

    // The margins of the current row as shown: percent and absolute.
    struct Margenes {
        QString porcentual = QStringLiteral("0");
        QString absoluto = QStringLiteral("0");
    };
    Margenes margenes() const;

    enum class Borrado { NadaQueBorrar, NoConfirmado, EnUso, Fallido, Borrado };
    // "Eliminar": the checks, the confirmation, the deletion.
    Borrado eliminar();

    // Makes the product with that key current, listing every product when the
    // list in force does not hold it; false when it does not exist or a row
    // is being edited.
    bool irAProducto(qint32 proId);

signals:
    void tituloGrillaCambiado(const QString& titulo);

protected:
    bool validar() override;
    void valoresIniciales() override;
    Consulta consultaBusqueda(const QString& texto) const override;
    QString tituloBusqueda() const override;
    QString mensajeDuplicado() const override;
    bool cerrarConListaCompleta() const override { return true; }

private:
    void establecerTitulo(const QString& titulo);

    ModeloRegistros* categorias_;
    ModeloRegistros* unidades_;
    ModeloRegistros* monedas_;
    QString prefijo_;
    QString titulo_;
    int ultimaColumna_ = 0;
    QString direccion_;
};
