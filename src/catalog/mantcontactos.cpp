#include "catalog/mantcontactos.h"

#include "data/entornodatos.h"
#include "data/modeloregistros.h"
#include "platform/mensajes.h"

QString MantContactos::consultaCompleta() {
    return QStringLiteral("SELECT * FROM contactos ORDER BY EMPNOMBREFANTASIA ASC");
}

MantContactos::MantContactos(QObject* padre)
    : Mantenimiento(QStringLiteral("Proveedores"), consultaCompleta(),
                    {QStringLiteral("EmpNombreFantasia"), QStringLiteral("EmpRazonSocial"),
                     QStringLiteral("EmpRuc"), QStringLiteral("EmpDireccion"),
                     QStringLiteral("EmpCodigoPostal"), QStringLiteral("EmpTelefono1"),
                     QStringLiteral("EmpTelefono2"), QStringLiteral("EmpFax"),
                     QStringLiteral("EmpEmail"), QStringLiteral("EmpURL"),
                     QStringLiteral("EmpZona"), QStringLiteral("EmpCiudad"),
                     QStringLiteral("EmpProvinciaEstado"), QStringLiteral("EmpPais"),
                     QStringLiteral("EmpId"), QStringLiteral("VinId")},
                    padre),
      vinculos_(new ModeloRegistros(this)) {}

void MantContactos::ActualizarVinculos() {
    dteBodex().abrir(QStringLiteral("CVinculosActivos"));
    vinculos_->establecerRegistros(*dteBodex().rsCVinculosActivos);
}

bool MantContactos::validar() {
    if (registros()->campo(QStringLiteral("EmpNombreFantasia")).isNull()) {
        mensaje(QStringLiteral("Debe ingresar el Nombre del Proveedor"));
        return false;
    }
    return true;
}

void MantContactos::valoresIniciales() {
    establecerCampo(QStringLiteral("VinId"), 1);
}

Consulta MantContactos::consultaBusqueda(const QString& texto) const {
    return {QStringLiteral("SELECT * FROM contactos WHERE INSTR(EMPNOMBREFANTASIA,?)"), {texto}};
}

QString MantContactos::consultaTrasGuardar() const {
    return QStringLiteral("SELECT * FROM CONTACTOS ORDER BY EMPNOMBREFANTASIA ASC");
}
