#include "quotes/numeracion.h"

#include "data/modconexion.h"
#include "quotes/numeros.h"

namespace numeracion {

std::optional<QString> UsuarioPre(qint32 id) {
    RegistrosPtr rs;
    AbrirConsulta(QStringLiteral("SELECT UsuLogin FROM PRESUPUESTOS WHERE PREID=?"), rs, {id});
    if (rs->fallido())
        return std::nullopt;
    const QString usuario =
        rs->posicionAbsoluta() > 0 ? rs->texto(QStringLiteral("UsuLogin")) : QString();
    CerrarConsulta(rs, true);
    return usuario;
}

std::optional<QString> numeroPropuesto() {
    RegistrosPtr rs;
    // Only the first row is looked at: the engine need not send the others.
    AbrirConsulta(QStringLiteral("select PreNumero from presupuestos order by PreId desc limit 1"),
                  rs);
    if (rs->fallido())
        return std::nullopt;
    QString numero = QStringLiteral("1");
    if (rs->posicionAbsoluta() > 0) {
        numero = rs->texto(QStringLiteral("PreNumero"));
        if (const auto valor = numeros::leer(numero))
            numero = numeros::texto(*valor + 1);
    }
    CerrarConsulta(rs, true);
    return numero;
}

} // namespace numeracion
