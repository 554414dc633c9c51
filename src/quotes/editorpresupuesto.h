#pragma once

#include "quotes/campospresupuesto.h"
#include "quotes/consultasrecordadas.h"
#include "quotes/generardocumento.h"
#include "quotes/grillaproductos.h"
#include "quotes/lineaspresupuesto.h"
#include "quotes/listassugerencia.h"
#include "quotes/modos.h"
#include "quotes/presupuesto.h"

#include <QObject>

#include <array>
#include <functional>
#include <optional>

// The quote editor without its window: the quote on screen, its lines, the
// product grid and suggestion lists, the modes and every command. The window
// shows what this holds, writes the user's typing into `campos`, and calls
// the commands; every message goes through the message service.
class EditorPresupuesto : public QObject {
    Q_OBJECT
public:
    explicit EditorPresupuesto(QObject* padre = nullptr);

    // True while the quote on screen is new and not stored yet.
    bool agregando = false;
    // The controls' contents. The window keeps them current as the user types.
    CamposPresupuesto campos;

    const LineasPresupuesto& lineas() const { return lineas_; }
    GrillaProductos& grilla() { return grilla_; }
    const GrillaProductos& grilla() const { return grilla_; }
    const ListasSugerencia& listas() const { return listas_; }
    // The quote documents this editor generates, and the word-processing
    // instance that generating them started.
    const DocumentosPresupuesto& documentos() const { return documentos_; }

    ModoEditor modo() const { return modo_; }
    // The command bar's buttons that are enabled now.
    std::array<bool, modos::kBotones> botones() const;
    bool camposHabilitados() const { return modos::camposHabilitados(modo_); }
    // The quote on screen is shown for viewing only: another desk edits it.
    bool soloLectura() const { return modo_ == ModoEditor::Consulta; }
    // The validity sentence and days boxes are enabled.
    bool vigenciaHabilitada() const { return vigenciaHabilitada_; }

    // Reloads the eight suggestion lists and the product grid. It runs on
    // every activation of the window, and an error box reactivates it: a call
    // made while a reload is under way does nothing, a failure stops the
    // reload and is told in one box, and the same failure is not told again
    // until a reload succeeds.
    void Actualizar();
    // Loads quote `id` (or prepares a new one when `agregando`), then runs
    // "Editar".
    void CargarPre(qint32 id);
    // A blank new quote with the proposed number, today's date and the
    // default validity.
    void NuevoPre();
    // A new quote that is a new version of stored quote `id`: a copy of its
    // contact, texts, lines (with their prices and currencies), further
    // costs and validity, dated today and numbered after it. Saving it marks
    // the original "Reemplazado". False when the original could not be read.
    bool NuevaVersion(qint32 id);
    // The stored quote the new quote on screen replaces when saved.
    std::optional<qint32> reemplaza() const { return reemplaza_; }
    // The current user may change the quote on screen (owner, letter case
    // ignored; no exception for administrators); nothing when the owner could
    // not be read (the error has been shown).
    std::optional<bool> puedeModificar() const;

    // Saving in its two steps; false when nothing was stored (the user has
    // been told why, and the editor keeps what it showed). A stored quote's
    // document is written right after; when that fails the user is told and
    // the save still counts.
    bool ValidarPre();
    bool GuardarPre();

    // The command bar: 0 Nuevo, 1 Editar, 2 Guardar, 3 G+N, 4 Cancelar,
    // 5 Imprimir, 6 Modificar, 7 Enviar, 8 Atras (asks the window to close).
    void cmdMenu_Click(int indice);
    bool guardar();
    // "Enviar PDF": the document of the quote on screen sent as PDF to its
    // contact's address; once the mail program has it, the user may mark a
    // draft quote as sent.
    void enviarPdf();

    // Ticking or unticking the validity box.
    void establecerVigencia(bool marcada);
    // The contact picker's answer: the chosen contact, or none when cancelled.
    void establecerCliente(bool cancelado, qint32 empId, const QString& nombre);

    // Asks for the quantity of a product: the text typed, nothing when
    // cancelled.
    using PedirCantidad = std::function<std::optional<QString>(qint32 proId)>;
    // Adds units of the grid's current product.
    void agregarProductoActual(const PedirCantidad& pedirCantidad);
    // Finds the product by its code and adds units of it; a code that no
    // product has adds nothing.
    void agregarPorCodigo(const QString& codigo, const PedirCantidad& pedirCantidad);
    // Asks how many units to take off line `indice` and takes them off.
    void quitarUnidades(int indice);
    // Type-ahead in the product grid.
    void teclaGrilla(QChar caracter);
    void retrocesoGrilla();
    // The advanced product search's filter for the grid.
    void filtrarGrilla(const QString& condicion);
    // Opens the grid's current product in product maintenance.
    void editarProducto();
    // The window closes: the quote's "being edited" mark is dropped, the
    // lists and the grid are closed, and the
    // word-processing instance the documents started (if any) is ended
    // without saving. Programs started for the user (the word processor, the
    // mail program) are theirs and keep running.
    void cerrar();

signals:
    // What the window shows changed: the fields (and their enabled state),
    // the lines, the command bar, the grid's rows, the grid's current row
    // and caption, the suggestion lists.
    void camposCambiados();
    void lineasCambiadas();
    void modoCambiado();
    void productosRecargados();
    void productoActualCambiado();
    void listasRecargadas();
    // "Atras": the window closes.
    void cerrarPedido();

private:
    void cambiarModo(ModoEditor modo);
    void EditarPre();
    void editar();
    void guardarYNuevo();
    void cancelar();
    bool validar();
    // The owner test with its refusal: false after showing `rechazo` when the
    // current user does not own the quote; false without more when the owner
    // could not be read (the error has been shown).
    bool permitido(const QString& rechazo) const;
    // Takes the "being edited" mark of the stored quote on screen; when
    // another desk holds it, says who and since when. False when this desk
    // may not change the quote now.
    bool marcar();
    void soltarMarca();
    bool rechazarBajaStock(qint32 proId) const;

    ConsultasRecordadas consultas_;
    ListasSugerencia listas_;
    GrillaProductos grilla_;
    LineasPresupuesto lineas_;
    DocumentosPresupuesto documentos_;
    // The stored quote as it was loaded or last saved here: a save refuses
    // to overwrite it when it changed since. Empty for a new quote.
    std::optional<Presupuesto> cargado_;
    // The number a new quote was offered; a save recomputes it when the user
    // left it so.
    std::optional<QString> propuesto_;
    std::optional<qint32> reemplaza_;
    // The stored quote whose "being edited" mark this editor holds.
    std::optional<qint32> marcado_;
    ModoEditor modo_ = ModoEditor::Inicial;
    bool vigenciaHabilitada_ = false;
    bool recargando_ = false;
    bool recargaFallida_ = false;
};
