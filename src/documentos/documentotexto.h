#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <string>

// One open word-processing document of the engine: a copy of a file (the
// template), a selection, and the editing operations that filling a template needs.
// Nothing is written to disk until guardarComo.
class DocumentoTexto {
public:
    // A new document whose content is a copy of the file; nullptr, with the
    // reason in `error`, when the file is not a readable word-processing document.
    static std::unique_ptr<DocumentoTexto> desdeArchivo(const QString& ruta, QString& error);
    ~DocumentoTexto();
    DocumentoTexto(const DocumentoTexto&) = delete;
    DocumentoTexto& operator=(const DocumentoTexto&) = delete;

    // Selects the bookmark's range. False, leaving the selection where it
    // was, when the document has no bookmark of that name.
    bool irAMarcador(const QString& nombre);

    // Types text over the selection: what the selection encloses is removed
    // (other bookmarks' marks are moved out, not deleted), one run with the
    // formatting of the first removed run (or of the run before the insertion
    // point) receives the text, and a selected bookmark then encloses exactly
    // the new text. Line breaks become line breaks and tabs tabs. Afterwards
    // the insertion point follows the typed text.
    void escribir(const QString& texto);

    // Deletes the table that contains the insertion point (the innermost one)
    // with its contents; false when the insertion point is in no table.
    bool borrarTablaSeleccion();

    // Writes the document to `ruta` (see PaqueteDocumento::guardarComo).
    bool guardarComo(const QString& ruta, QString& error) const;

    // The bookmark names, in document order (a name given to several complete
    // bookmarks appears each time).
    QStringList marcadores() const;
    // Which table (1-based, counting tables in document order) is the
    // innermost around the bookmark's start: 0 when it is in no table, -1 when
    // there is no such bookmark.
    int tablaDeMarcador(const QString& nombre) const;

    // The main document part as it would be saved.
    std::string xml() const;

private:
    struct Datos;
    explicit DocumentoTexto(std::unique_ptr<Datos> datos);
    std::unique_ptr<Datos> d_;
};
