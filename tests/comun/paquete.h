#pragma once

#include <QString>

#include <pugixml.hpp>

#include <functional>

#include <map>
#include <string>
#include <utility>
#include <vector>

// Word-processing packages for tests: read every part of one with libzip,
// write one from parts, and the text of a document's bookmarks.
struct PartesPaquete {
    bool ok = false;
    std::vector<std::string> nombres; // in the package's order
    std::map<std::string, std::string> contenido;
    const std::string& documento() const { return contenido.at("word/document.xml"); }
};

PartesPaquete leerPaquete(const QString& ruta);
// Writes the parts in the given order, deflated; false on failure.
bool escribirPaquete(const QString& ruta,
                     const std::vector<std::pair<std::string, std::string>>& partes);
// Writes `origen`'s parts to `destino` with its main document replaced.
bool reemplazarDocumento(const QString& origen, const QString& destino, const std::string& xml);
// Writes to `destino` the shipped template with its main document changed by
// `cambio`; stops the test program when that fails.
void plantillaCambiada(const QString& destino,
                       const std::function<void(pugi::xml_document&)>& cambio);
