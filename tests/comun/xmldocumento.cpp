#include "xmldocumento.h"

#include <cstring>

namespace xmldoc {

namespace {

struct Recorrido : pugi::xml_tree_walker {
    pugi::xml_node desde, hasta;
    bool dentro = false;
    QString texto;
    bool for_each(pugi::xml_node& n) override {
        if (n == desde)
            dentro = true;
        if (n == hasta)
            return false;
        if (!dentro || n.type() != pugi::node_element)
            return true;
        if (std::strcmp(n.name(), "w:t") == 0)
            texto += QString::fromUtf8(n.text().get());
        else if (std::strcmp(n.name(), "w:br") == 0)
            texto += u'\n';
        else if (std::strcmp(n.name(), "w:tab") == 0 && std::strcmp(n.parent().name(), "w:r") == 0)
            texto += u'\t';
        return true;
    }
};

QString textoDe(pugi::xml_node n) {
    Recorrido r;
    r.dentro = true; // traverse() visits the descendants only
    n.traverse(r);
    return r.texto;
}

} // namespace

bool cargar(pugi::xml_document& d, const std::string& xml) {
    return bool(
        d.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata_single));
}

pugi::xml_node inicio(const pugi::xml_document& d, const QString& marcador) {
    // The first complete bookmark of the name: LibreOffice writes some empty
    // ones twice, the first start without an end.
    const std::string consulta = "//w:bookmarkStart[@w:name='" + marcador.toStdString() + "']";
    const pugi::xpath_node_set inicios = d.select_nodes(consulta.c_str());
    for (const pugi::xpath_node s : inicios) {
        const std::string fin =
            std::string("//w:bookmarkEnd[@w:id='") + s.node().attribute("w:id").value() + "']";
        if (d.select_node(fin.c_str()))
            return s.node();
    }
    return inicios.empty() ? pugi::xml_node() : inicios.first().node();
}

pugi::xml_node fin(const pugi::xml_document& d, const QString& marcador) {
    const pugi::xml_node s = inicio(d, marcador);
    if (!s)
        return {};
    const std::string consulta =
        std::string("//w:bookmarkEnd[@w:id='") + s.attribute("w:id").value() + "']";
    return d.select_node(consulta.c_str()).node();
}

QString texto(const pugi::xml_document& d, const QString& marcador) {
    const pugi::xml_node s = inicio(d, marcador);
    const pugi::xml_node e = fin(d, marcador);
    if (!s || !e)
        return {};
    Recorrido r;
    r.desde = s;
    r.hasta = e;
    const_cast<pugi::xml_document&>(d).traverse(r);
    return r.texto.isNull() ? QStringLiteral("") : r.texto;
}

QStringList parrafos(const pugi::xml_document& d) {
    QStringList lista;
    for (const pugi::xpath_node p : d.select_nodes("//w:p"))
        lista << textoDe(p.node());
    return lista;
}

QString todo(const pugi::xml_document& d) {
    return parrafos(d).join(u'\n');
}

int contar(const pugi::xml_document& d, const char* xpath) {
    return int(d.select_nodes(xpath).size());
}

} // namespace xmldoc
