#include "quotes/buscadorcontactos.h"

#include "data/modconexion.h"
#include "platform/mensajes.h"

namespace {

// A LIKE pattern for "contains `texto`", with the pattern's own characters
// escaped by a backslash.
QString patronContiene(const QString& texto) {
    QString patron;
    patron.reserve(texto.size() + 2);
    patron += u'%';
    for (QChar c : texto) {
        if (c == u'%' || c == u'_' || c == u'\\')
            patron += u'\\';
        patron += c;
    }
    patron += u'%';
    return patron;
}

} // namespace

void BuscadorContactos::buscar() {
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("select * from Contactos where EmpNombreFantasia like ?1 escape "
                                 "'\\' or EmpRazonSocial like ?1 escape '\\'"),
                  rs, {patronContiene(nombrefantasia)});
    rs_ = *rs;
    rs_.moverPrimero();
}

bool BuscadorContactos::copiarFila(int fila) {
    if (fila < 1 || fila > rs_.cantidad())
        return false;
    rs_.moverA(fila);
    empid = rs_.campo(QStringLiteral("EmpId")).toInt();
    nombrefantasia = rs_.texto(QStringLiteral("EmpNombreFantasia"));
    ruc = rs_.texto(QStringLiteral("EmpRuc"));
    direccion = rs_.texto(QStringLiteral("EmpDireccion"));
    return true;
}

bool BuscadorContactos::seleccionar(int fila) {
    if (!copiarFila(fila)) {
        mensaje(QStringLiteral("No ha seleccionado ningún Contacto de la lista."), Botones::Aceptar,
                Icono::Informacion, QStringLiteral("Seleccionar"));
        return false;
    }
    cancelado = false;
    return true;
}
