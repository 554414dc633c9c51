#include "startup/informacion.h"

namespace informacion {

QString titulo() {
    return QStringLiteral("Tarvo");
}

QString descripcion() {
    return QStringLiteral("Sistema de gestión de cotizaciones y presupuestos");
}

int versionMayor() {
    return TARVO_VERSION_MAYOR;
}

int versionMenor() {
    return TARVO_VERSION_MENOR;
}

int revision() {
    return TARVO_VERSION_REVISION;
}

QString version() {
    return QStringLiteral("%1.%2.%3").arg(versionMayor()).arg(versionMenor()).arg(revision());
}

QString compania() {
    return QStringLiteral("Varnel Software");
}

QString avisoLegal() {
    return QStringLiteral("© 2026 Varnel Software. Todos los derechos reservados.");
}

QString sitioWeb() {
    return QStringLiteral("https://www.varnelsoftware.com/tarvo");
}

QString videosTutoriales() {
    return QStringLiteral("https://www.varnelsoftware.com/tarvo/videos");
}

QString soporte() {
    return QStringLiteral("soporte@varnelsoftware.com");
}

} // namespace informacion
