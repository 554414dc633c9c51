#include "quotes/procesadortextos.h"

#include <algorithm>

ProcesadorTextos::ProcesadorTextos() = default;
ProcesadorTextos::~ProcesadorTextos() = default;

bool ProcesadorTextos::establecerVisible(bool visible) {
    if (!activo_)
        return false;
    visible_ = visible;
    return true;
}

DocumentoTexto* ProcesadorTextos::agregarDocumento(const QString& ruta, QString& error) {
    if (!activo_) {
        error = QStringLiteral("el procesador de textos ya no está en marcha");
        return nullptr;
    }
    std::unique_ptr<DocumentoTexto> nuevo = DocumentoTexto::desdeArchivo(ruta, error);
    if (!nuevo)
        return nullptr;
    documentos_.push_back(std::move(nuevo));
    return documentos_.back().get();
}

DocumentoTexto* ProcesadorTextos::documento(int posicion) const {
    if (posicion < 1 || posicion > cantidadDocumentos())
        return nullptr;
    return documentos_[std::size_t(posicion - 1)].get();
}

void ProcesadorTextos::cerrarDocumento(DocumentoTexto* documento) {
    const auto it = std::find_if(documentos_.begin(), documentos_.end(),
                                 [&](const auto& d) { return d.get() == documento; });
    if (it != documentos_.end())
        documentos_.erase(it);
}

void ProcesadorTextos::salir() {
    documentos_.clear();
    visible_ = false;
    activo_ = false;
}
