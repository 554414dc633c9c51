#include "platform/comandos.h"

#include <QDesktopServices>
#include <QProcess>

#include <memory>

namespace {

class EjecutorProcesos final : public EjecutorComandos {
public:
    ResultadoComando ejecutar(const QString& programa, const QStringList& argumentos,
                              const OpcionesComando& opciones) override {
        ResultadoComando r;
        auto proceso = std::make_unique<QProcess>();
        if (opciones.dejarSiSigue) {
            // A program that may outlive the wait must not block on a full pipe.
            proceso->setStandardOutputFile(QProcess::nullDevice());
            proceso->setStandardErrorFile(QProcess::nullDevice());
        }
        proceso->setStandardInputFile(QProcess::nullDevice());
        proceso->start(programa, argumentos);
        if (!proceso->waitForStarted())
            return r;
        r.iniciado = true;
        if (!proceso->waitForFinished(opciones.plazoMs)) {
            r.agotado = true;
            if (opciones.dejarSiSigue) {
                QProcess* suelto = proceso.release();
                QObject::connect(suelto, &QProcess::finished, suelto, &QObject::deleteLater);
                return r;
            }
            proceso->kill();
            proceso->waitForFinished(5000);
            return r;
        }
        if (proceso->exitStatus() == QProcess::NormalExit)
            r.codigo = proceso->exitCode();
        r.salida = proceso->readAllStandardOutput();
        r.errores = proceso->readAllStandardError();
        return r;
    }

    bool abrir(const QUrl& direccion) override { return QDesktopServices::openUrl(direccion); }
};

EjecutorProcesos real;
EjecutorComandos* instalado = nullptr;

} // namespace

EjecutorComandos& ejecutorComandos() {
    return instalado ? *instalado : real;
}

void instalarEjecutor(EjecutorComandos* ejecutor) {
    instalado = ejecutor;
}

EjecutorComandos& ejecutorReal() {
    return real;
}
