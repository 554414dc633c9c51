#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <variant>

// The values of a stored query, whatever engine runs it.
namespace parametros {

// Converts a value by the type a stored query declares for it ("TEXT",
// "INTEGER", "DOUBLE", "DATE", "BOOLEAN"); nullopt when the value cannot be
// that type. Empty text is Null for every type but text.
std::optional<QVariant> convertir(const QVariant& v, const QString& tipo);

// Why the values of a stored query were refused: the error's number and text.
struct Rechazo {
    qint32 numero;
    QString descripcion;
};

// Every value of stored query `nombre` converted by the type declared for it
// (`nombres` and `tipos` in the declared order); the refusal when the count
// differs or a value cannot be its type. Both engines report alike.
std::variant<QVariantList, Rechazo> convertirTodos(const QString& nombre,
                                                   const QStringList& nombres,
                                                   const QStringList& tipos,
                                                   const QVariantList& valores);

} // namespace parametros
