#pragma once

#include "data/modconexion.h"

#include <QObject>
#include <QStringList>
#include <QVariantList>

class ModeloRegistros;

// The two states of a maintenance window.
enum class EstadoMantenimiento { Navegando, Editando };

// A statement with the values bound to its ? placeholders.
struct Consulta {
    QString sql;
    QVariantList valores;
};

// The maintenance pattern shared by the catalogue windows: one command of the
// data environment edited in place, a grid and editing controls over the one
// model of its rows, and the browsing and editing states driven by the
// command bar. Each window subclasses it with its table's specifics; the
// window itself only wires controls to these commands and follows the
// signals.
class Mantenimiento : public QObject {
    Q_OBJECT
public:
    // `campos`: the fields the model shows, in order (the grid's first).
    Mantenimiento(const QString& comando, const QString& consultaCompleta,
                  const QStringList& campos, QObject* padre = nullptr);
    ~Mantenimiento() override;

    // Binds to the command's set, opening it with its query in force when it
    // is closed (the query last given to it when it outlived a window).
    void cargar();
    // Reloads the set from `sql` and rebinds; the current row is the first.
    void Actualizar(const QString& sql, const QVariantList& valores = {});

    ModeloRegistros* modelo() const { return modelo_; }
    const RegistrosPtr& registros() const { return rs_; }
    const QString& comando() const { return comando_; }
    // The model column of a field; -1 when not shown.
    int columna(const QString& campo) const;
    EstadoMantenimiento estado() const { return estado_; }

    // The current row, 1-based; 0 when there is none.
    int posicionActual() const;
    // Makes the row at `posicion` current (the grid's selection).
    void moverA(int posicion);

    // The command bar.
    void nuevo();
    void editar();
    // Validation, write, reload; true when the row was written.
    bool guardar();
    void cancelar();
    void buscar();
    void buscarTexto(const QString& texto);
    void mostrarTodo();
    // Closing the window: pending changes discarded, the set reloaded.
    void cerrar();

signals:
    void estadoCambiado(EstadoMantenimiento estado);
    // The model holds new rows: views rebind.
    void listaRecargada();
    // The current row moved (by a command or a reload).
    void filaCambiada(int posicion);

protected:
    // What each window adds to the pattern.
    virtual bool validar() { return true; }
    virtual void valoresIniciales() {}
    virtual Consulta consultaBusqueda(const QString& texto) const = 0;
    virtual QString tituloBusqueda() const = 0;
    // The "ya existe" message of a window that traps duplicates; empty for
    // one that does not.
    virtual QString mensajeDuplicado() const { return {}; }
    // The query that follows a save; the full list by default.
    virtual QString consultaTrasGuardar() const { return consultaCompleta_; }
    // Whether closing reloads the full list (true) or the query in force.
    virtual bool cerrarConListaCompleta() const = 0;

    void establecerEstado(EstadoMantenimiento estado);
    // Changes a field of the current row through the model, so the editing
    // controls show it.
    bool establecerCampo(const QString& campo, const QVariant& valor);
    const QString& consultaCompleta() const { return consultaCompleta_; }
    // The query in force and its values.
    Consulta consultaActual() const;

private:
    void enlazar();

    QString comando_;
    QString consultaCompleta_;
    QStringList campos_;
    RegistrosPtr rs_;
    ModeloRegistros* modelo_;
    EstadoMantenimiento estado_ = EstadoMantenimiento::Navegando;
};
