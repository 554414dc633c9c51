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
// (the editor closing) closes that instance's documents without saving and
// ends it.
class DocumentosPresupuesto {
public:
    DocumentosPresupuesto();
    ~DocumentosPresupuesto();
    DocumentosPresupuesto(const DocumentosPresupuesto&) = delete;
    DocumentosPresupuesto& operator=(const DocumentosPresupuesto&) = delete;

    // Fills the template with the quote as the editor shows it and its stored
    // lines and saves it as
    // the quote's document, replacing an earlier one. Every failure is told
    // to the user; true when the document was written.
    bool GenerarDocumento(const CamposPresupuesto& campos);
    bool GenerarDocumento(const CamposPresupuesto& campos, const RutasDocumento& rutas);

    // Closes the instance's documents without saving and ends it (also done
    // on destruction).
    void cerrar();

    // The instance, once an operation has started one.
    ProcesadorTextos* instancia() const { return instancia_.get(); }

private:
    ProcesadorTextos& prepararInstancia(bool visible);
    std::unique_ptr<ProcesadorTextos> instancia_;
};

// The saved document of a quote (its number, the text of txtFields(1), and
// its key, txtFields(0); see ubicarDocumento), worked
// with the user's own programs: opened in the word processor for editing;
// converted to PDF by LibreOffice and sent to the default printer; attached to
// a new message of the mail program. Each tells the user clearly what went
// wrong (no document yet, a program or the printer missing); true on success.
// Programs they leave running for the user (the word processor, the mail
// program) belong to the user and are never ended by the editor.
bool AbrirDocumentoDe(const QString& numero, const QString& id);
bool ImprimirDocumentoDe(const QString& numero, const QString& id);
bool EnviarDocumentoDe(const QString& numero, const QString& id);
// The same for a number alone, as for a quote never saved.
bool AbrirDocumento(const QString& numero);
bool ImprimirDocumento(const QString& numero);
bool EnviarDocumento(const QString& numero);
