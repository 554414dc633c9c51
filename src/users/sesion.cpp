#include "users/sesion.h"

namespace {
QString actual;
}

QString usuarioActual() {
    return actual;
}

void establecerUsuarioActual(const QString& login) {
    actual = login;
}

bool esAdministrador(const QString& login) {
    const QString l = login.toUpper();
    return l == u"ADMIN" || l == u"SUPER";
}

bool esPropietario(const QString& usuLogin, const QString& usuario) {
    return !usuLogin.isEmpty() && usuLogin.toUpper() == usuario.toUpper();
}
