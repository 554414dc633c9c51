#include "documentos/procesadortextos.h"

ProcesadorTextos::ProcesadorTextos() = default;
ProcesadorTextos::~ProcesadorTextos() = default;

DocumentoTexto* ProcesadorTextos::abrirDocumento(const QString& ruta, QString& error) {
    documento_.reset();
    if (!activo_) {
        error = QStringLiteral("el procesador de textos ya no está en marcha");
        return nullptr;
    }
    documento_ = DocumentoTexto::desdeArchivo(ruta, error);
    return documento_.get();
}

void ProcesadorTextos::salir() {
    documento_.reset();
    activo_ = false;
}
