#pragma once

#include "quotes/documentotexto.h"

#include <QString>

#include <memory>
#include <vector>

// The word-processing engine's instance: the documents it holds open, its
// visibility, and its end. Documents live in memory; only "save as" writes.
class ProcesadorTextos {
public:
    ProcesadorTextos();
    ~ProcesadorTextos();
    ProcesadorTextos(const ProcesadorTextos&) = delete;
    ProcesadorTextos& operator=(const ProcesadorTextos&) = delete;

    // False once the instance has ended (salir); nothing changes then.
    bool establecerVisible(bool visible);
    bool visible() const { return visible_; }
    bool activo() const { return activo_; }

    // A new document that is a copy of the file; it becomes the newest one.
    // nullptr, with the reason in `error`, when the file is not a readable
    // word-processing document or the instance has ended.
    DocumentoTexto* agregarDocumento(const QString& ruta, QString& error);
    int cantidadDocumentos() const { return int(documentos_.size()); }
    // The document at a 1-based position (the count gives the newest); nullptr
    // out of range.
    DocumentoTexto* documento(int posicion) const;
    // Closes a document without saving it.
    void cerrarDocumento(DocumentoTexto* documento);
    // Closes every document without saving and ends the instance.
    void salir();

private:
    std::vector<std::unique_ptr<DocumentoTexto>> documentos_;
    bool visible_ = false;
    bool activo_ = true;
};
