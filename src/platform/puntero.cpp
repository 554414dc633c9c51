#include "platform/puntero.h"

#include <QCursor>
#include <QGuiApplication>

namespace {
bool hayInterfaz() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}
} // namespace

PunteroEspera::PunteroEspera() : activo_(hayInterfaz()) {
    if (activo_)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

PunteroEspera::~PunteroEspera() {
    restaurar();
}

void PunteroEspera::restaurar() {
    if (activo_)
        QGuiApplication::restoreOverrideCursor();
    activo_ = false;
}

void restaurarPunteroNormal() {
    if (!hayInterfaz())
        return;
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}
