#pragma once

#include <QString>

// The quantity typed in the quantity dialog.
namespace cantidad {

// The message that refuses the quantity, each line preceded by a line break;
// empty when the quantity is accepted (a number greater than 0 written with
// the point as decimal separator). A number written with a decimal comma is
// refused only for the comma.
QString ValidarCantidad(const QString& texto);

} // namespace cantidad
