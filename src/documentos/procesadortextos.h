#pragma once

#include "documentos/documentotexto.h"

#include <QString>

#include <memory>

// The engine's instance, as a word processor's application object: it holds
// at most one document, in memory until "save as" writes it, and once ended
// (salir) opens nothing more.
class ProcesadorTextos {
public:
    ProcesadorTextos();
    ~ProcesadorTextos();
    ProcesadorTextos(const ProcesadorTextos&) = delete;
    ProcesadorTextos& operator=(const ProcesadorTextos&) = delete;

    bool activo() const { return activo_; }

    // Closes the open document, if any, without saving it, and opens a new
    // one that is a copy of the file. nullptr, with the reason in `error`,
    // when the file is not a readable word-processing document or the
    // instance has ended.
    DocumentoTexto* abrirDocumento(const QString& ruta, QString& error);
    // The open document, or nullptr.
    DocumentoTexto* documento() const { return documento_.get(); }
    // Closes the open document without saving it.
    void cerrarDocumento() { documento_.reset(); }
    // Closes the document without saving and ends the instance.
    void salir();

private:
    std::unique_ptr<DocumentoTexto> documento_;
    bool activo_ = true;
};
