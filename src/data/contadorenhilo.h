#pragma once

#include "data/conexion.h"

#include <QObject>

#include <memory>

class QThread;

// Counts rows in a thread of its own, on a connection of its own to the same
// database, so that a count that reads every row never holds up the window.
// The answer comes back as a queued signal; the caller never waits for it.
class ContadorEnHilo : public QObject {
    Q_OBJECT
public:
    explicit ContadorEnHilo(QObject* padre = nullptr);
    // Interrupts the count running and waits a bounded time for its thread.
    ~ContadorEnHilo() override;

    // Runs `sql` (one row, one number) on a connection opened by `abridor` in
    // the counting thread. A count asked before and not yet answered is
    // dropped: interrupted if it runs, never started if it waits. With a
    // `conservar` key (Conexion::identidad()), the connection stays open for
    // the next count with the same key, unless its count failed or was
    // interrupted.
    void contar(quint64 generacion, Conexion::Abridor abridor, const QString& sql,
                const QVariantList& valores, const QString& conservar = {});
    // Drops the count asked last; its answer never comes.
    void descartar();

signals:
    // The count asked with `generacion`; `filas` < 0 when it failed.
    void contado(quint64 generacion, qint64 filas);

private:
    struct Compartido;
    std::shared_ptr<Compartido> compartido_;
    QThread* hilo_ = nullptr;
    QObject* enHilo_ = nullptr; // lives in the thread: the counts run through it
};
