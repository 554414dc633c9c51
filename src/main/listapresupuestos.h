#pragma once

#include "data/modconexion.h"
#include "data/modeloventana.h"
#include "quotes/estadospresupuesto.h"

#include <QObject>

#include <functional>

// The quote list of the main window: what fills it, how it sorts, searches,
// deletes and which quotes may be edited. The window only wires its controls
// to these commands and rebinds its grid when the list changes.
class ListaPresupuestos : public QObject {
    Q_OBJECT
public:
    // Every quote with its contact's trade name (quotes without a contact do
    // not appear).
    static QString consultaBase();

    explicit ListaPresupuestos(QObject* padre = nullptr);
    ~ListaPresupuestos() override;

    // Loading: the base query ordered by date.
    void cargar();
    // Header click on column 0..3 (number, date, contact, owner): ascending
    // first, each further click on the same column reverses. What the list
    // shows (all quotes, a search, the expiring ones) is re-sorted.
    void ordenarPorColumna(int columna);
    // Asks for a text and lists the quotes that contain it; without matches,
    // says so and lists them all. An empty answer changes nothing.
    void buscar();
    void buscarTexto(const QString& texto);
    // All quotes in the current order.
    void mostrarTodo();
    // Lists the quotes the expiry notice counts.
    void listarAvisos(int diasAviso);
    // The expiry notice's text for the given notice days.
    static QString textoAvisos(int diasAviso);

    // The quote at a 1-based position may be edited by the current user; on
    // refusal the message is shown. `preId` receives the quote's key.
    enum class Edicion { SinFila, Permitida, Rechazada };
    Edicion editar(int posicion, qint32& preId) const;

    // Deletes the quote at a 1-based position (0: none selected) after the
    // administrator check and the user's confirmation; its lines and the
    // quote go together or not at all.
    enum class Borrado { NoVerificado, NadaQueBorrar, NoConfirmado, Borrado, Fallido };
    Borrado eliminar(int posicion, const std::function<bool()>& verificarAdministrador);

    // Which statuses the list shows, whatever else selects its quotes (all,
    // a search, the expiring ones) and in any order. Abiertos: Borrador or
    // Enviado.
    enum class Filtro { Todos, Abiertos, Aceptados, Rechazados, Anulados };
    static QStringList textosFiltro(); // the choices' captions, in enum order
    void filtrar(Filtro filtro);
    Filtro filtro() const { return filtro_; }

    // The status the list shows for the quote at a 1-based position; none
    // without a row.
    std::optional<EstadoPresupuesto> estadoDeFila(int posicion);
    // Marks the quote at a 1-based position `destino`, after the owner check
    // and the user's confirmation, asking the reason where the status takes
    // one; the list is then read again.
    enum class Marcado { SinFila, Rechazada, NoPermitido, NoConfirmado, Marcado, Fallido };
    Marcado marcar(int posicion, EstadoPresupuesto destino);
    // A new version of the quote at a 1-based position may be made by the
    // current user (its owner, and a status that admits one); on refusal the
    // message is shown. `preId` receives the quote's key.
    Edicion nuevaVersion(int posicion, qint32& preId);

    // Empties the list and closes its first page (without releasing it).
    void cerrar();

    // The grid's model: the total from a count, the rows read a page at a
    // time around what the grid shows.
    ModeloVentana& modelo() { return *modelo_; }
    // The first page of what the list shows (every row when they fit).
    const RegistrosPtr& registros() const { return modelo_->primeraPagina(); }
    // The rows listed (the first page may hold fewer).
    int cantidad() const { return modelo_->rowCount(); }
    // The statement of what the list shows, with its order clause.
    QString consultaLista() const { return mostrada_ + orden_; }
    const QString& clausulaOrden() const { return orden_; }

signals:
    // The result set was replaced: views rebind.
    void listaCambiada();

private:
    // Shows the quotes meeting a condition (empty: all) in the current order;
    // a search's condition also names the contact's columns; only the open
    // ones with `soloAbiertos` (the expiry notice's list).
    void mostrar(const QString& condicion, const QVariantList& valores = {}, bool busqueda = false,
                 bool soloAbiertos = false);
    void actualizar();

    ModeloVentana* modelo_;
    QString condicion_;
    bool busqueda_ = false;
    QString mostrada_; // what the list shows, without its order clause
    QVariantList valoresMostrada_;
    QString orden_ = QStringLiteral(" ORDER BY PReFECHA ASC");
    int columnaOrden_ = 1; // the column whose keys the list walks
    bool descendente_ = false;
    int ultimaColumna_ = 0;
    QString direccion_;
    Filtro filtro_ = Filtro::Todos;
    bool soloAbiertos_ = false;
};
