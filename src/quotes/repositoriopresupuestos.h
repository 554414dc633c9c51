#pragma once

#include "data/conexion.h"
#include "quotes/presupuesto.h"

#include <QStringList>
#include <QVariantList>

#include <optional>

// Every statement about quotes, on the shared connection: loading, saving in
// one transaction, deleting, the owner, the number proposed for a new quote
// and the checks a save and a line need. Reads that fail are reported by the
// connection helpers and answered with nothing (std::nullopt or
// Leido::Fallo), never as "no rows".
class RepositorioPresupuestos {
public:
    enum class Leido { Si, No, Fallo };

    // The quote `id` with its contact's name and its lines; No when the query
    // does not return it (no such quote, or its contact is gone).
    static Leido cargar(qint32 id, Presupuesto& presupuesto);
    // The stored lines of quote `id`, as the document and a load show them.
    static std::optional<std::vector<LineaPresupuesto>> lineas(qint32 id);
    // The owner's login of quote `id`; empty when there is no such quote.
    static std::optional<QString> propietario(qint32 id);
    // Whether the contact exists.
    static std::optional<bool> contactoExiste(qint32 empId);
    // The contact's e-mail field (empty when it has none or does not exist).
    static std::optional<QString> correoContacto(qint32 empId);
    // Whether the stored line of the quote for the product is written off in
    // the stock (false when there is no such line).
    static std::optional<bool> lineaDeBaja(qint32 preId, qint32 proId);

    // The number for a new quote, from the quote entered last (the highest
    // key): "1" when there is none; its number plus one when it reads as a
    // number (0012 gives 13); its trailing digits counted on (A-7 gives A-8,
    // A-09 gives A-10); without digits, the highest number that reads as a
    // number plus one; empty for a quote without number. Never a number
    // another quote holds: a held proposal is counted on until it is free.
    static std::optional<QString> numeroPropuesto();
    // The number of a new version of quote `id`, numbered `numero`: "42"
    // gives "42-2", a version "42-2" gives "42-3", counted on past the
    // numbers other quotes hold. A quote without number gets the number
    // proposed for a new quote.
    static std::optional<QString> numeroVersion(qint32 id, const QString& numero);

    // How a save ended. Every outcome but Guardado stored nothing; the user
    // has been told why, except for Cambiado, which the caller explains.
    enum class Resultado { Guardado, Fallido, NumeroRepetido, Eliminado, Cambiado };
    struct Guardado {
        Resultado resultado = Resultado::Fallido;
        // Guardado: the quote as stored (key, number, owner, validity).
        Presupuesto presupuesto;
        // Guardado as a new version: the quote it replaces was marked so.
        bool reemplazo = false;
    };
    // Stores `p` as `usuario` in one transaction that holds the write lock
    // from its start. A new quote (no key, or `cargado` empty) is inserted;
    // when `numeroPropuesto`, its number is proposed again under the lock. A
    // stored quote is refused when it or its lines are no longer as
    // `cargado` (what the editor loaded or last saved); then its lines are
    // made to match (new ones with the product's currency of now, changed
    // ones updated, missing ones deleted, the stock mark kept). A number that
    // another quote holds is refused, unless a stored quote keeps its own.
    // A new quote that is a new version of quote `reemplaza` marks it
    // "Reemplazado" in the same transaction, unless it is gone or its status
    // no longer admits it (then the new quote is stored alone).
    static Guardado guardar(Presupuesto p, const std::optional<Presupuesto>& cargado,
                            const QString& usuario, bool numeroPropuesto,
                            std::optional<qint32> reemplaza = std::nullopt);

    // Deletes the quote and its lines together; false with the reasons in
    // `fallos` when nothing was deleted.
    static bool eliminar(qint32 id, QList<ErrorProveedor>& fallos);

    // The names of the stored queries' parameters that the 22 values of a
    // quote fill, in the order they are sent.
    static QStringList parametrosGuardado();
    // The 22 values of `p` stored as `usuario`, in that order.
    static QVariantList valoresGuardado(const Presupuesto& p, const QString& usuario);

private:
    // The quote as stored, whatever its contact (its name left empty).
    static Leido leerGuardado(qint32 id, Presupuesto& presupuesto);
};
