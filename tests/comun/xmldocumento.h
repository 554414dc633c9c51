#pragma once

#include <QString>
#include <QStringList>

#include <pugixml.hpp>

#include <string>

// Reading a word-processing document's XML in tests, the way a reader of the
// file sees it.
namespace xmldoc {

// Parses the part as the engine does (a lone space in a run is kept).
bool cargar(pugi::xml_document& d, const std::string& xml);

pugi::xml_node inicio(const pugi::xml_document& d, const QString& marcador);
pugi::xml_node fin(const pugi::xml_document& d, const QString& marcador);

// The text between a bookmark's start and end: runs' text, "\n" for a line
// break, "\t" for a tab. A null text when the bookmark is absent.
QString texto(const pugi::xml_document& d, const QString& marcador);

// The text of each paragraph of the body, tables included, in order.
QStringList parrafos(const pugi::xml_document& d);

// Everything the document shows, paragraphs joined by "\n".
QString todo(const pugi::xml_document& d);

int contar(const pugi::xml_document& d, const char* xpath);

} // namespace xmldoc
