#pragma once

#include "data/modconexion.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QStringList>

// A grid over a query that may grow without bound: the model knows the total
// from a count and keeps only a window of rows around what the view asks for.
// Pages are read by key: the next page continues after the last key seen in
// the order (`WHERE (keys) > (last) ORDER BY keys LIMIT n`), the previous one
// walks the order backwards from the first key, so each page is a short walk
// of an index whatever its position. A jump far from the window (dragging the
// scroll bar) finds the key of the target row by walking only the keys from
// the nearer end of the order.
//
// The order's keys end with a unique one (the row's key), so no two rows tie.
// Only the first key may be Null; Null sorts before every value, as the
// engine sorts it.
class ModeloVentana : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Consulta {
        QString columnas;        // the select list, e.g. "P.*, C.Nombre"
        QString origen;          // "FROM ..." with its joins
        QString condicion;       // without WHERE; empty: every row
        QVariantList valores;    // bound, in order, to the condition's placeholders
        QStringList claves;      // expressions of the order, the unique one last
        QStringList camposClave; // the same keys as result fields
        bool descendente = false;
        // A FROM that counts the same rows more cheaply (empty: `origen`).
        QString origenConteo;
        // A statement, without parameters, whose one value is the number of
        // rows, where that is cheaper than counting them (empty: count(*)
        // over origenConteo and the condition). Only the total uses it.
        QString conteo;
        // When the first page is full, the count runs apart (in a thread
        // of its own where the connection allows it) and the page is shown
        // at once; until the count arrives the model lists the rows read,
        // a page more each time the view reaches the last.
        bool conteoDiferido = false;
    };

    explicit ModeloVentana(QObject* padre = nullptr);

    // Shows another query (or the same one again): reads the first page, then
    // counts (no count when the first page holds every row). False when the
    // count fails (already reported); the model is then empty.
    bool establecer(const Consulta& consulta);
    // The count of a query shown with conteoDiferido has not arrived yet.
    bool conteoPendiente() const { return conteoPendiente_; }
    void vaciar();
    const Consulta& consulta() const { return consulta_; }
    // The statement that reads the first page of the current query (its
    // values are consulta().valores): what a measurement runs through the
    // raw engine, and what a test asks the engine's plan of.
    QString sentenciaPrimeraPagina() const;

    void establecerColumnas(const QStringList& campos);
    void establecerTamanoPagina(int filas) { pagina_ = filas > 0 ? filas : 1; }

    // The first page read by the last establecer (every row when they fit).
    const RegistrosPtr& primeraPagina() const { return primera_; }
    // A field of a row (0-based), reading its page when it is not held.
    QVariant valor(int fila, const QString& campo);
    // The row (0-based) of the record whose unique key is `clave`; -1 when the
    // query does not list it (or, while the count is pending, when it is not
    // among the rows read).
    int filaDeClave(const QVariant& clave);
    // Rows held now (the window), for tests and measurements.
    int filasRetenidas() const;

    // Type-ahead: one query finds the first row from `inicio` on (wrapping to
    // the top) whose column's text starts with or contains the value; the
    // rows are never walked here. Other kinds of match use the default.
    QModelIndexList match(const QModelIndex& inicio, int rol, const QVariant& valor,
                          int cantidad = 1,
                          Qt::MatchFlags banderas = Qt::MatchFlags(Qt::MatchStartsWith |
                                                                   Qt::MatchWrap)) const override;

    // Opens the counting thread's connection; by default another one to the
    // shared connection's database (tests hold the count with their own).
    void establecerAbridorConteo(Conexion::Abridor abridor) { abridorConteo_ = std::move(abridor); }

    // While the count is pending, the next page can be added below.
    bool canFetchMore(const QModelIndex& padre) const override;
    void fetchMore(const QModelIndex& padre) override;

signals:
    // The deferred count arrived: rowCount() is now the whole count.
    void conteoCompleto();

public:
    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion,
                        int rol = Qt::DisplayRole) const override;
    bool setHeaderData(int seccion, Qt::Orientation orientacion, const QVariant& valor,
                       int rol = Qt::EditRole) override;

private:
    struct Pagina {
        int inicio = 0; // row of its first record
        Registros filas;
        bool invertida = false; // read walking backwards: last row first
        QVariant valor(int fila, int campo) const;
    };
    // The conditions that, run in order, continue the walk after `desde`
    // (empty: from the edge), ascending or descending in key order.
    QStringList tramos(const QVariantList& desde, bool ascendente, QVariantList& valores) const;
    QString ordenClaves(bool ascendente) const;
    // The statement reading `n` rows from where `tramo` starts.
    QString sentencia(const QString& tramo, bool ascendente, int n) const;
    QString donde(const QString& tramo) const;
    // Up to `n` records after `desde` in display order (or before it, going
    // backwards, returned in walk order).
    QList<Registros> leer(const QVariantList& desde, bool adelante, int n);
    // The keys of the n-th row (1-based) from an edge of the order, walking
    // only the keys.
    QVariantList claveTrasSaltar(bool adelante, int n);
    QVariantList clavesDe(const Registros& filas, int posicion) const;
    bool asegurar(int fila);
    void recortar(bool alFinal);
    QString sentenciaConteo(const QString& condicionExtra) const;
    qint64 contar(const QString& condicionExtra, const QVariantList& valoresExtra);
    // Every row of the query, through `conteo` when it has one.
    qint64 contarTodo();
    static qint64 leerConteo(const QString& sql, const QVariantList& valores);
    static int filaRetenida(const QList<Pagina>& ventana, const QString& campoClave,
                            const QVariant& clave);
    // The query shown is the last one with its order reversed, over as many rows.
    bool esInversaDeLaAnterior() const;
    // Reads the window around row `fila`, whose keys are `claves`.
    void centrarEn(int fila, const QVariantList& claves);
    void completarConteo(quint64 generacion);
    // Starts the deferred count: in the counting thread, or on this
    // connection after the first paint when it cannot be opened again.
    void pedirConteo();
    void recibirConteo(quint64 generacion, qint64 filas);
    void aplicarConteo(qint64 filas);
    // A count asked and not yet answered will not be wanted.
    void olvidarConteo();
    // The first row at or after `desde` (empty: from the top) whose
    // expression passes `prueba` (bound to `valor`); its unique key, or Null.
    QVariant primeraQueCumple(const QString& prueba, const QVariant& valor,
                              const QVariantList& desde) const;
    const Pagina* paginaDe(int fila) const;

    Consulta consulta_;
    QList<Pagina> ventana_; // contiguous pages, in row order
    RegistrosPtr primera_;
    int total_ = 0;
    // Rows read at a time: a read in an order other than the key's touches
    // about one page of the table per row, so a read of 100 rows made the
    // page of the view that needed it stall for 20-40 ms; 50 is still two
    // screens ahead.
    int pagina_ = 50;
    int maxPaginas_ = 6;
    QStringList columnas_;
    QHash<int, QVariant> encabezados_;
    bool conteoPendiente_ = false;
    struct Anterior {
        Consulta consulta;
        QList<Pagina> ventana;
        int total = 0;
    };
    Anterior anterior_;      // what was shown before the last establecer
    quint64 generacion_ = 0; // one per establecer: a late count of an old query is dropped
    class ContadorEnHilo* contador_ = nullptr; // made on the first deferred count
    Conexion::Abridor abridorConteo_;
    bool reiniciando_ = false;
};
