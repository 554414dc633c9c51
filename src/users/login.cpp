#include "users/login.h"

#include "data/modconexion.h"
#include "users/password.h"
#include "users/sesion.h"

ResultadoLogin compararPassword(const Registros& usuario, const QString& password) {
    if (!usuario.abierto())
        return ResultadoLogin::Fallo;
    if (usuario.posicionAbsoluta() <= 0)
        return ResultadoLogin::LoginIncorrecto;
    // A character outside the code page would encode as any other such
    // character does; no stored password can hold one.
    if (!passwordAdmisible(password))
        return ResultadoLogin::PasswordIncorrecta;
    const QString guardada = usuario.texto(QStringLiteral("UsuPassword"));
    const QString codificada = CodificarPassword(password);
    // A password that could not be encoded (already reported) never matches,
    // not even an empty stored one.
    if (codificada.isEmpty() && !password.isEmpty())
        return ResultadoLogin::PasswordIncorrecta;
    return guardada == codificada ? ResultadoLogin::Aceptado : ResultadoLogin::PasswordIncorrecta;
}

QString consultaUsuario() {
    return QStringLiteral("SELECT * FROM USUARIOS WHERE USULOGIN=?");
}

ResultadoLogin comprobarLogin(const QString& login, const QString& password) {
    RegistrosPtr rs;
    AbrirConsulta(consultaUsuario(), rs, {login.trimmed()});
    const ResultadoLogin resultado = compararPassword(*rs, password);
    if (resultado == ResultadoLogin::Aceptado)
        establecerUsuarioActual(login);
    CerrarConsulta(rs, false);
    return resultado;
}
