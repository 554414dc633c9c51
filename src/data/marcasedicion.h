#pragma once

#include "data/conexion.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

// Who is editing a quote, as another desk sees it.
struct MarcaEdicion {
    QString usuario;
    QString puesto; // the desk's host name
    QDateTime desde;
};

// "Being edited" marks on the quotes of a shared database: a desk takes a
// quote's mark before it changes the quote and drops it when it stops; while
// one desk holds it, another is told who has it. A database file has one desk,
// so its marks are always free.
class MarcasEdicion {
public:
    virtual ~MarcasEdicion() = default;

    enum class Toma {
        Tomada,  // this desk holds the mark now (or held it already)
        Ocupada, // another desk holds it
        Fallo,   // it could not be told; errores() says why
    };
    // Takes the mark of quote `preId` for `usuario` at desk `puesto`.
    virtual Toma tomar(qint32 preId, const QString& usuario, const QString& puesto) = 0;
    // Drops the mark this desk holds on the quote; nothing when it holds none.
    virtual void soltar(qint32 preId) = 0;
    // Who holds the mark of the quote; nothing when it cannot be told.
    // An empty MarcaEdicion when the holder left no name.
    virtual std::optional<MarcaEdicion> quien(qint32 preId) = 0;

    // The provider errors of the last failure.
    const QList<ErrorProveedor>& errores() const { return errores_; }

protected:
    QList<ErrorProveedor> errores_;
};

// The marks of the database `conexion` reaches: a server's are held in the
// connection's session, so they go when it closes or dies.
std::unique_ptr<MarcasEdicion> marcasEdicion(Conexion& conexion);

// This desk's name in the marks: the machine's host name.
QString puestoActual();
