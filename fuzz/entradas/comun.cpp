#include "comun.h"
#include "entradas.h"

#include "platform/mensajes.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace entradas {

namespace {

// Answers every box with its default button and shows nothing.
class MensajesMudos final : public ServicioMensajes {
public:
    Respuesta mostrar(const QString&, Botones botones, Icono, const QString&) override {
        return botones == Botones::SiNo ? Respuesta::No : Respuesta::Aceptar;
    }
    QString pedirTexto(const QString&, const QString&, const QString&) override { return {}; }
};

} // namespace

void preparar() {
    static int argc = 1;
    static char nombre[] = "tarvo-fuzz";
    static char* argv[] = {nombre, nullptr};
    static QCoreApplication aplicacion(argc, argv);
    static MensajesMudos mudos;
    instalarMensajes(&mudos);
}

namespace comun {

QString rutaTemporal(const QString& nombre) {
    static QTemporaryDir carpeta;
    if (!carpeta.isValid())
        fallo("no hay carpeta temporal");
    return carpeta.filePath(nombre);
}

QString escribirTemporal(const QString& nombre, const QByteArray& bytes) {
    const QString ruta = rutaTemporal(nombre);
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        archivo.write(bytes) != bytes.size())
        fallo("no se puede escribir el archivo temporal");
    return ruta;
}

void fallo(const char* que) {
    std::fprintf(stderr, "Fallo: %s\n", que);
    std::abort();
}

} // namespace comun

} // namespace entradas
