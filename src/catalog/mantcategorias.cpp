#include "catalog/mantcategorias.h"

#include "platform/mensajes.h"

QString MantCategorias::consultaCompleta() {
    return QStringLiteral("SELECT * FROM CATEGORIAS ORDER BY CATDESCRIPCION ASC");
}

MantCategorias::MantCategorias(QObject* padre)
    : Mantenimiento(QStringLiteral("Categorias"), consultaCompleta(),
                    {QStringLiteral("CatId"), QStringLiteral("CatDescripcion"),
                     QStringLiteral("CatDesactivada")},
                    padre) {}

bool MantCategorias::validar() {
    if (registros()->texto(QStringLiteral("CatDescripcion")).isEmpty()) {
        mensaje(QStringLiteral("Debe ingresar la descripción de la categoría"));
        return false;
    }
    return true;
}

Consulta MantCategorias::consultaBusqueda(const QString& texto) const {
    return {QStringLiteral("SELECT * FROM CATEGORIAS WHERE INSTR(CATDESCRIPCION,?)"), {texto}};
}

QString MantCategorias::mensajeDuplicado() const {
    return QStringLiteral("La Categoría ingresada ya existe.");
}

MantCategorias::Purga MantCategorias::purgar() {
    if (estado() == EstadoMantenimiento::Editando)
        return Purga::NoConfirmada;
    if (mensaje(QStringLiteral("¿Confirma que desea eliminar las Categorías desactivadas?"),
                Botones::SiNo, Icono::Pregunta, QStringLiteral("Confirme")) != Respuesta::Si)
        return Purga::NoConfirmada;
    Conexion* con = conexion();
    const bool hecha =
        con && con->ejecutar(QStringLiteral("DELETE FROM CATEGORIAS WHERE CatDesactivada=True "
                                            "AND CatId NOT IN (SELECT CatId FROM PRODUCTOS)"))
                   .ok;
    if (!hecha)
        informarErrores(
            con ? con->errores()
                : QList<ErrorProveedor>{{errores::kFalloGeneral,
                                         QStringLiteral("La conexión con la base de datos está "
                                                        "cerrada.")}});
    Actualizar(consultaCompleta());
    // "Listo" only when the purge ran.
    if (!hecha)
        return Purga::Fallida;
    mensaje(QStringLiteral("Listo. Puede que tenga que oprimir el botón Actualizar para ver "
                           "reflejados los cambios."),
            Botones::Aceptar, Icono::Informacion, QStringLiteral("Listo"));
    return Purga::Hecha;
}
