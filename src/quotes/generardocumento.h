#pragma once

#include "quotes/campospresupuesto.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class ProcesadorTextos;

// Where the quote documents come from and go: the template in the program's
// folder under Documents and the quote folder of the settings.
struct RutasDocumento {
    QString plantilla; // carpetaTarvo()/presupuesto.dot
    QString carpeta;   // doc_path
};
RutasDocumento rutasDocumento();

// The document of a quote number: carpeta/numero.doc. nullopt when the number
// cannot name a file of that folder (empty, ".", "..", or holding "/" or a
// NUL), so that no number writes outside the quote folder.
std::optional<QString> rutaDocumento(const QString& carpeta, const QString& numero);

// The bookmarks the generator fills, in the order it fills them.
QStringList marcadoresGenerador();

// The document of one quote editor. The editor owns one object, which holds
// the word-processing instance that generates its documents; destroying it
// (the editor closing) closes that instance's document without saving and
// ends it.
class DocumentosPresupuesto {
public:
    DocumentosPresupuesto();
    ~DocumentosPresupuesto();
    DocumentosPresupuesto(const DocumentosPresupuesto&) = delete;
    DocumentosPresupuesto& operator=(const DocumentosPresupuesto&) = delete;

    // Fills the template with the quote as the editor shows it and its stored
    // lines and saves it as the quote's document (see ubicarDocumento),
    // replacing an earlier one. Every failure is told to the user; true when
    // the document was written.
    bool GenerarDocumento(const CamposPresupuesto& campos);
    bool GenerarDocumento(const CamposPresupuesto& campos, const RutasDocumento& rutas);

    // Closes the instance's document without saving and ends it (also done
    // on destruction).
    void cerrar();

    // The instance, once an operation has started one.
    ProcesadorTextos* instancia() const { return instancia_.get(); }

private:
    ProcesadorTextos& prepararInstancia();
    std::unique_ptr<ProcesadorTextos> instancia_;
};
