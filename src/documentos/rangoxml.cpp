#include "documentos/rangoxml.h"

#include <algorithm>

namespace rangoxml {

Nombres::Nombres(const std::string& w)
    : p(w + "p"), pPr(w + "pPr"), r(w + "r"), rPr(w + "rPr"), rPrChange(w + "rPrChange"),
      t(w + "t"), br(w + "br"), tab(w + "tab"), tbl(w + "tbl"), tr(w + "tr"), tc(w + "tc"),
      body(w + "body"), sectPr(w + "sectPr"), del(w + "del"), bookmarkStart(w + "bookmarkStart"),
      bookmarkEnd(w + "bookmarkEnd"), id(w + "id"), name(w + "name") {}

std::string prefijoRaiz(const pugi::xml_document& documento) {
    const std::string raiz = documento.document_element().name();
    const auto dos = raiz.find(':');
    return dos == std::string::npos ? std::string() : raiz.substr(0, dos + 1);
}

pugi::xml_node ancestro(pugi::xml_node n, const std::string& nombre) {
    for (pugi::xml_node a = n.parent(); a; a = a.parent())
        if (es(a, nombre))
            return a;
    return {};
}

namespace {

// The node and its ancestors, from the document down to the node.
std::vector<pugi::xml_node> camino(pugi::xml_node n) {
    std::vector<pugi::xml_node> c;
    for (; n; n = n.parent())
        c.push_back(n);
    std::reverse(c.begin(), c.end());
    return c;
}

// Index of the first level at which two paths part.
std::size_t separacion(const std::vector<pugi::xml_node>& a, const std::vector<pugi::xml_node>& b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    return i;
}

} // namespace

bool antes(pugi::xml_node a, pugi::xml_node b) {
    const auto ca = camino(a);
    const auto cb = camino(b);
    const std::size_t i = separacion(ca, cb);
    if (i == 0 || i >= ca.size() || i >= cb.size())
        return false;
    for (pugi::xml_node s = ca[i].next_sibling(); s; s = s.next_sibling())
        if (s == cb[i])
            return true;
    return false;
}

pugi::xml_node ancestroComun(pugi::xml_node a, pugi::xml_node b) {
    const auto ca = camino(a);
    const auto cb = camino(b);
    const std::size_t i = separacion(ca, cb);
    return i == 0 ? pugi::xml_node() : ca[i - 1];
}

std::vector<pugi::xml_node> entre(pugi::xml_node a, pugi::xml_node b) {
    std::vector<pugi::xml_node> nodos;
    const auto ca = camino(a);
    const auto cb = camino(b);
    const std::size_t i = separacion(ca, cb);
    if (i == 0 || i >= ca.size() || i >= cb.size())
        return nodos;
    // What follows `a` inside each of its ancestors below the common one.
    for (std::size_t k = ca.size() - 1; k > i; --k)
        for (pugi::xml_node s = ca[k].next_sibling(); s; s = s.next_sibling())
            nodos.push_back(s);
    // The siblings between the two branches.
    for (pugi::xml_node s = ca[i].next_sibling(); s && s != cb[i]; s = s.next_sibling())
        nodos.push_back(s);
    // What precedes `b` inside each of its ancestors below the common one.
    for (std::size_t k = i + 1; k < cb.size(); ++k)
        for (pugi::xml_node s = cb[k].parent().first_child(); s != cb[k]; s = s.next_sibling())
            nodos.push_back(s);
    return nodos;
}

std::vector<pugi::xml_node> ancestrosHasta(pugi::xml_node n, pugi::xml_node tope) {
    std::vector<pugi::xml_node> a;
    for (pugi::xml_node x = n.parent(); x && x != tope; x = x.parent())
        a.push_back(x);
    return a;
}

std::vector<pugi::xml_node> elementos(pugi::xml_node raiz, const std::string& nombre) {
    std::vector<pugi::xml_node> encontrados;
    // Iterative walk in document order.
    pugi::xml_node n = raiz;
    while (n) {
        if (es(n, nombre))
            encontrados.push_back(n);
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && n != raiz && !n.next_sibling())
            n = n.parent();
        if (!n || n == raiz)
            break;
        n = n.next_sibling();
    }
    return encontrados;
}

} // namespace rangoxml
