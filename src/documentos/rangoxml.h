#pragma once

#include <pugixml.hpp>

#include <string>
#include <vector>

// Helpers of the document engine over the XML tree of a word-processing
// document: element names under the document's own prefix, document order, and
// the nodes that lie between two points.
namespace rangoxml {

// The element and attribute names the engine uses, with the prefix that the
// document's root gives the word-processing namespace ("w:" in practice).
struct Nombres {
    explicit Nombres(const std::string& prefijo);
    std::string p, pPr, r, rPr, rPrChange, t, br, tab, tbl, tr, tc, body, sectPr, del;
    std::string bookmarkStart, bookmarkEnd, id, name;
};

// The prefix of the root element's name, with its colon ("w:"), or "".
std::string prefijoRaiz(const pugi::xml_document& documento);

inline bool es(pugi::xml_node n, const std::string& nombre) {
    return n.type() == pugi::node_element && nombre == n.name();
}

// The nearest proper ancestor with that name; null when there is none.
pugi::xml_node ancestro(pugi::xml_node n, const std::string& nombre);

// True when `a` comes before `b` in document order (neither contains the other).
bool antes(pugi::xml_node a, pugi::xml_node b);

// The largest whole subtrees that lie strictly between `a` and `b` (a before b,
// neither containing the other), in document order.
std::vector<pugi::xml_node> entre(pugi::xml_node a, pugi::xml_node b);

// The ancestors of `n` below `tope` (tope excluded), nearest first.
std::vector<pugi::xml_node> ancestrosHasta(pugi::xml_node n, pugi::xml_node tope);

// The nearest common ancestor of two nodes of one document.
pugi::xml_node ancestroComun(pugi::xml_node a, pugi::xml_node b);

// Every element with that name in the subtree of `raiz` (itself included), in
// document order.
std::vector<pugi::xml_node> elementos(pugi::xml_node raiz, const std::string& nombre);

} // namespace rangoxml
