#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What the program last wrote as a quote's document: which quote, and the
// SHA-256 of the file. One small file per document in the user's data folder
// (the quote folder holds only documents), written whole or not at all.
// Documents written before these records have none.
struct RegistroDocumento {
    QString presupuesto; // the quote key
    QByteArray huella;   // SHA-256 of the document's bytes
};

namespace registrodocumentos {

std::optional<RegistroDocumento> leer(const QString& documento);
bool escribir(const QString& documento, const RegistroDocumento& registro);
// The SHA-256 of a file's bytes; empty when it cannot be read.
QByteArray huella(const QString& archivo);

} // namespace registrodocumentos

// Keeps a document the user changed beside it, under its name followed by
// " (modificado " and the time of the change (dd-MM-yyyy HH.mm) and ")", or
// a free variant of that name. The new name, or nullopt when no copy could be
// made.
std::optional<QString> conservarModificado(const QString& documento);

// Where the document of one quote lives. Its name is the number & ".doc"
// unless another quote's document holds that name (older files may hold two
// quotes with one number): then the number & " (2).doc", " (3).doc"...
struct UbicacionDocumento {
    QString ruta;                              // the quote's document, written or to write
    std::optional<RegistroDocumento> registro; // what was written there, when known
    bool existe = false;                       // a file is there
};

// The document of quote `id` (its key; empty for a quote never saved)
// numbered `numero` in `carpeta`: the one recorded for the quote; else the
// number's own document when no record names its quote (an older file);
// else the first name no other quote holds. nullopt when the number cannot
// name a file.
std::optional<UbicacionDocumento> ubicarDocumento(const QString& carpeta, const QString& numero,
                                                  const QString& id);
