#include "users/verificacion.h"

#include "data/entornodatos.h"
#include "users/sesion.h"

ResultadoLogin comprobarAdministrador(const QString& login, const QString& password) {
    const QString minusculas = login.toLower();
    if (minusculas != u"admin" && minusculas != u"super")
        return ResultadoLogin::LoginIncorrecto;
    EntornoDatos& entorno = dteBodex();
    const QString comando = QStringLiteral("Usuarios");
    if (entorno.abierto(comando))
        entorno.cerrar(comando);
    entorno.abrir(comando, consultaUsuario(), {login.trimmed()});
    const ResultadoLogin resultado = compararPassword(*entorno.rsUsuarios, password);
    if (resultado == ResultadoLogin::Aceptado)
        establecerUsuarioActual(login);
    entorno.cerrar(comando);
    return resultado;
}
