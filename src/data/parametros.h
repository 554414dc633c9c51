#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// The values of a stored query, whatever engine runs it.
namespace parametros {

// Converts a value by the type a stored query declares for it ("TEXT",
// "INTEGER", "DOUBLE", "DATE", "BOOLEAN"); nullopt when the value cannot be
// that type. Empty text is Null for every type but text.
std::optional<QVariant> convertir(const QVariant& v, const QString& tipo);

} // namespace parametros
