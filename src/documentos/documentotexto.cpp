#include "documentos/documentotexto.h"

#include "documentos/paquetedocumento.h"
#include "documentos/rangoxml.h"

#include <pugixml.hpp>

#include <algorithm>
#include <set>
#include <sstream>
#include <unordered_map>

using rangoxml::es;

namespace {

// pugixml keeps a run's lone space only with this option; the declaration is
// kept so that the saved part starts as the original did.
constexpr unsigned kOpcionesLectura =
    pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single;

// Characters XML 1.0 cannot carry; a typed control character is dropped
// rather than written into a part that no word processor would open.
bool admitidoEnXml(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

struct DocumentoTexto::Datos {
    PaqueteDocumento paquete;
    pugi::xml_document xml;
    rangoxml::Nombres w;
    // Bookmark starts by name (the first of a repeated name) and ends by id.
    std::unordered_map<std::string, pugi::xml_node> inicios;
    std::unordered_map<std::string, pugi::xml_node> finales;

    // The selection: a bookmark's range, or an insertion point (new content
    // goes into `contenedor` after `despuesDe`, or at its start when null).
    bool esRango = false;
    pugi::xml_node inicio, fin;
    pugi::xml_node contenedor, despuesDe;

    explicit Datos(PaqueteDocumento p) : paquete(std::move(p)), w("w:") {}

    void indexar();
    void ponerPunto(pugi::xml_node enContenedor, pugi::xml_node tras);
    pugi::xml_node crear(pugi::xml_node padre, pugi::xml_node tras, const std::string& nombre);
    pugi::xml_node insertarRun(pugi::xml_node padre, pugi::xml_node tras, const QString& texto,
                               pugi::xml_node formato);
    pugi::xml_node runAnterior(pugi::xml_node punto) const;
    pugi::xml_node primerRun(const std::vector<pugi::xml_node>& nodos) const;
    void asegurarParrafoFinal(pugi::xml_node celda);
    void llevarAParrafo(pugi::xml_node marca, pugi::xml_node finMarca);
    void escribirEnRango(const QString& texto);
    void escribirEnPunto(const QString& texto);
    bool esMarca(pugi::xml_node n) const { return es(n, w.bookmarkStart) || es(n, w.bookmarkEnd); }
    bool completo(pugi::xml_node inicio) const {
        return finales.count(inicio.attribute(w.id.c_str()).value()) > 0;
    }
};

// LibreOffice writes some empty bookmarks twice, the first start without an
// end: a name's bookmark is its first complete one, else its first start.
void DocumentoTexto::Datos::indexar() {
    inicios.clear();
    finales.clear();
    for (const pugi::xml_node e : rangoxml::elementos(xml, w.bookmarkEnd))
        finales.emplace(e.attribute(w.id.c_str()).value(), e);
    for (const pugi::xml_node s : rangoxml::elementos(xml, w.bookmarkStart)) {
        const auto [it, nuevo] = inicios.emplace(s.attribute(w.name.c_str()).value(), s);
        if (!nuevo && !completo(it->second) && completo(s))
            it->second = s;
    }
}

void DocumentoTexto::Datos::ponerPunto(pugi::xml_node enContenedor, pugi::xml_node tras) {
    esRango = false;
    inicio = fin = {};
    contenedor = enContenedor;
    despuesDe = tras;
}

// A new element in `padre` after `tras`; at the start (after the paragraph's
// or run's properties) when `tras` is null.
pugi::xml_node DocumentoTexto::Datos::crear(pugi::xml_node padre, pugi::xml_node tras,
                                            const std::string& nombre) {
    if (tras)
        return padre.insert_child_after(nombre.c_str(), tras);
    const pugi::xml_node propiedades = padre.first_child();
    if (es(propiedades, w.pPr) || es(propiedades, w.rPr))
        return padre.insert_child_after(nombre.c_str(), propiedades);
    return padre.prepend_child(nombre.c_str());
}

pugi::xml_node DocumentoTexto::Datos::insertarRun(pugi::xml_node padre, pugi::xml_node tras,
                                                  const QString& texto, pugi::xml_node formato) {
    pugi::xml_node run = crear(padre, tras, w.r);
    if (const pugi::xml_node rPr = formato.child(w.rPr.c_str())) {
        pugi::xml_node copia = run.append_copy(rPr);
        copia.remove_child(w.rPrChange.c_str());
    }
    std::u32string trozo;
    auto cerrarTrozo = [&] {
        if (trozo.empty())
            return;
        pugi::xml_node t = run.append_child(w.t.c_str());
        t.append_attribute("xml:space") = "preserve";
        t.text().set(QString::fromStdU32String(trozo).toUtf8().constData());
        trozo.clear();
    };
    const std::u32string letras = texto.toStdU32String();
    for (std::size_t i = 0; i < letras.size(); ++i) {
        const char32_t c = letras[i];
        if (c == U'\r' || c == U'\n' || c == U'\v' || c == 0x2028 || c == 0x2029) {
            if (c == U'\r' && i + 1 < letras.size() && letras[i + 1] == U'\n')
                ++i;
            cerrarTrozo();
            run.append_child(w.br.c_str());
        } else if (c == U'\t') {
            cerrarTrozo();
            run.append_child(w.tab.c_str());
        } else if (admitidoEnXml(c)) {
            trozo.push_back(c);
        }
    }
    cerrarTrozo();
    return run;
}

// The last run of the paragraph before the insertion point: its formatting
// is what text typed at an empty place takes.
pugi::xml_node DocumentoTexto::Datos::runAnterior(pugi::xml_node punto) const {
    const pugi::xml_node parrafo = es(punto, w.p) ? punto : rangoxml::ancestro(punto, w.p);
    pugi::xml_node ultimo;
    for (const pugi::xml_node run : rangoxml::elementos(parrafo, w.r)) {
        if (run == punto || !rangoxml::antes(run, punto))
            break;
        if (!rangoxml::ancestro(run, w.del))
            ultimo = run;
    }
    return ultimo;
}

pugi::xml_node DocumentoTexto::Datos::primerRun(const std::vector<pugi::xml_node>& nodos) const {
    for (const pugi::xml_node n : nodos)
        for (const pugi::xml_node run : rangoxml::elementos(n, w.r))
            if (!rangoxml::ancestro(run, w.del))
                return run;
    return {};
}

// A table cell must end with a paragraph.
void DocumentoTexto::Datos::asegurarParrafoFinal(pugi::xml_node celda) {
    pugi::xml_node ultimo;
    for (const pugi::xml_node hijo : celda.children())
        if (es(hijo, w.p) || es(hijo, w.tbl))
            ultimo = hijo;
    if (!es(ultimo, w.p))
        celda.append_child(w.p.c_str());
}

// A bookmark start placed between paragraphs moves into the first paragraph
// that its range covers, or into a new empty paragraph where it stands.
void DocumentoTexto::Datos::llevarAParrafo(pugi::xml_node marca, pugi::xml_node finMarca) {
    pugi::xml_node destino;
    for (const pugi::xml_node p : rangoxml::elementos(xml.document_element(), w.p)) {
        if (rangoxml::antes(marca, p)) {
            destino = p;
            break;
        }
    }
    const bool cubierto = destino && (rangoxml::antes(destino, finMarca) ||
                                      rangoxml::ancestro(finMarca, w.p) == destino);
    if (!cubierto) {
        // Not inside a table's structure, where a paragraph may not stand.
        pugi::xml_node lugar = marca;
        while (es(lugar.parent(), w.tbl) || es(lugar.parent(), w.tr))
            lugar = lugar.parent();
        destino = lugar.parent().insert_child_before(w.p.c_str(), lugar);
    }
    const pugi::xml_node propiedades = destino.child(w.pPr.c_str());
    if (propiedades)
        destino.insert_move_after(marca, propiedades);
    else
        destino.prepend_move(marca);
}

void DocumentoTexto::Datos::escribirEnRango(const QString& texto) {
    pugi::xml_node s = inicio;
    pugi::xml_node e = fin;
    // A range without an end, or ending before it starts, encloses nothing.
    if (!e) {
        e = s.parent().insert_child_after(w.bookmarkEnd.c_str(), s);
        e.append_attribute(w.id.c_str()) = s.attribute(w.id.c_str()).value();
        finales[s.attribute(w.id.c_str()).value()] = e;
    } else if (rangoxml::antes(e, s)) {
        s.parent().insert_move_after(e, s);
    }
    if (!rangoxml::ancestro(s, w.p))
        llevarAParrafo(s, e);

    const std::vector<pugi::xml_node> rango = rangoxml::entre(s, e);
    const pugi::xml_node comun = rangoxml::ancestroComun(s, e);
    std::vector<pugi::xml_node> celdas;
    for (const pugi::xml_node extremo : {s, e})
        for (const pugi::xml_node a : rangoxml::ancestrosHasta(extremo, comun))
            if (es(a, w.tc))
                celdas.push_back(a);
    pugi::xml_node parrafoInicio = rangoxml::ancestro(s, w.p);
    pugi::xml_node parrafoFin = rangoxml::ancestro(e, w.p);

    // Other bookmarks' marks leave the range: an end whose start lies before
    // the range goes before the new text, every other mark after it.
    std::vector<pugi::xml_node> marcas;
    for (const pugi::xml_node n : rango) {
        if (esMarca(n)) {
            marcas.push_back(n);
            continue;
        }
        for (const pugi::xml_node m : rangoxml::elementos(n, w.bookmarkStart))
            marcas.push_back(m);
        for (const pugi::xml_node m : rangoxml::elementos(n, w.bookmarkEnd))
            marcas.push_back(m);
    }
    std::set<std::string> iniciadasDentro;
    for (const pugi::xml_node m : marcas)
        if (es(m, w.bookmarkStart))
            iniciadasDentro.insert(m.attribute(w.id.c_str()).value());
    std::vector<pugi::xml_node> antesDelTexto, despuesDelTexto;
    for (const pugi::xml_node m : marcas) {
        const bool finDeFuera =
            es(m, w.bookmarkEnd) && !iniciadasDentro.count(m.attribute(w.id.c_str()).value());
        (finDeFuera ? antesDelTexto : despuesDelTexto).push_back(m);
    }
    // Document order inside each group.
    auto enOrden = [](std::vector<pugi::xml_node>& v) {
        std::stable_sort(v.begin(), v.end(),
                         [](pugi::xml_node a, pugi::xml_node b) { return rangoxml::antes(a, b); });
    };
    enOrden(antesDelTexto);
    enOrden(despuesDelTexto);

    pugi::xml_node ancla = s;
    for (const pugi::xml_node m : antesDelTexto) {
        s.parent().insert_move_after(m, ancla);
        ancla = m;
    }
    pugi::xml_node formato = primerRun(rango);
    if (!formato)
        formato = runAnterior(s);
    pugi::xml_node run;
    if (!texto.isEmpty())
        run = insertarRun(s.parent(), ancla, texto, formato);
    for (const pugi::xml_node n : rango)
        if (!esMarca(n))
            n.parent().remove_child(n);

    // Removing what lay between two paragraphs joins them, as typing does.
    if (parrafoInicio && parrafoFin && parrafoInicio != parrafoFin &&
        parrafoInicio.next_sibling() == parrafoFin) {
        const pugi::xml_node seccion = parrafoFin.child(w.pPr.c_str()).child(w.sectPr.c_str());
        if (seccion && !parrafoInicio.child(w.pPr.c_str()).child(w.sectPr.c_str())) {
            pugi::xml_node propiedades = parrafoInicio.child(w.pPr.c_str());
            if (!propiedades)
                propiedades = parrafoInicio.prepend_child(w.pPr.c_str());
            propiedades.append_move(seccion);
        }
        std::vector<pugi::xml_node> resto;
        for (const pugi::xml_node hijo : parrafoFin.children())
            if (!es(hijo, w.pPr))
                resto.push_back(hijo);
        for (const pugi::xml_node hijo : resto)
            parrafoInicio.append_move(hijo);
        parrafoFin.parent().remove_child(parrafoFin);
    }
    for (const pugi::xml_node celda : celdas)
        asegurarParrafoFinal(celda);

    const pugi::xml_node ultimo = run ? run : ancla;
    s.parent().insert_move_after(e, ultimo);
    pugi::xml_node tras = e;
    for (const pugi::xml_node m : despuesDelTexto) {
        s.parent().insert_move_after(m, tras);
        tras = m;
    }
    ponerPunto(s.parent(), ultimo);
    // A damaged part may hold marks where the joined paragraph's properties
    // were, now gone: the index must not keep them.
    indexar();
}

void DocumentoTexto::Datos::escribirEnPunto(const QString& texto) {
    if (!contenedor) {
        // A new document's insertion point: the start of its first paragraph.
        const auto parrafos = rangoxml::elementos(xml.document_element(), w.p);
        if (parrafos.empty())
            return;
        contenedor = parrafos.front();
        despuesDe = {};
    }
    if (texto.isEmpty())
        return;
    const pugi::xml_node formato =
        es(despuesDe, w.r) ? despuesDe : runAnterior(despuesDe ? despuesDe : contenedor);
    const pugi::xml_node run = insertarRun(contenedor, despuesDe, texto, formato);
    ponerPunto(contenedor, run);
}

DocumentoTexto::DocumentoTexto(std::unique_ptr<Datos> datos) : d_(std::move(datos)) {}
DocumentoTexto::~DocumentoTexto() = default;

std::unique_ptr<DocumentoTexto> DocumentoTexto::desdeArchivo(const QString& ruta, QString& error) {
    std::optional<PaqueteDocumento> paquete = PaqueteDocumento::abrir(ruta, error);
    if (!paquete)
        return nullptr;
    auto datos = std::make_unique<Datos>(std::move(*paquete));
    const std::string& parte = datos->paquete.parte();
    const pugi::xml_parse_result leido =
        datos->xml.load_buffer(parte.data(), parte.size(), kOpcionesLectura, pugi::encoding_utf8);
    if (!leido) {
        error = QStringLiteral("su documento no es XML válido (%1)")
                    .arg(QString::fromUtf8(leido.description()));
        return nullptr;
    }
    const std::string prefijo = rangoxml::prefijoRaiz(datos->xml);
    const pugi::xml_node raiz = datos->xml.document_element();
    if (!es(raiz, prefijo + "document") || !raiz.child((prefijo + "body").c_str())) {
        error = QStringLiteral("no es un documento de texto");
        return nullptr;
    }
    datos->w = rangoxml::Nombres(prefijo);
    datos->indexar();
    return std::unique_ptr<DocumentoTexto>(new DocumentoTexto(std::move(datos)));
}

bool DocumentoTexto::irAMarcador(const QString& nombre) {
    const auto s = d_->inicios.find(nombre.toStdString());
    if (s == d_->inicios.end())
        return false;
    const auto e = d_->finales.find(s->second.attribute(d_->w.id.c_str()).value());
    d_->esRango = true;
    d_->inicio = s->second;
    d_->fin = e == d_->finales.end() ? pugi::xml_node() : e->second;
    d_->contenedor = d_->despuesDe = {};
    return true;
}

void DocumentoTexto::escribir(const QString& texto) {
    if (d_->esRango)
        d_->escribirEnRango(texto);
    else
        d_->escribirEnPunto(texto);
}

bool DocumentoTexto::borrarTablaSeleccion() {
    const pugi::xml_node referencia =
        d_->esRango ? d_->inicio : (d_->despuesDe ? d_->despuesDe : d_->contenedor);
    if (!referencia)
        return false;
    const rangoxml::Nombres& w = d_->w;
    const pugi::xml_node tabla = rangoxml::ancestro(referencia, w.tbl);
    if (!tabla)
        return false;
    // Marks whose partner lies outside the table stay, where the table was;
    // bookmarks wholly inside go with it.
    std::set<std::string> inicios, finales;
    for (const pugi::xml_node m : rangoxml::elementos(tabla, w.bookmarkStart))
        inicios.insert(m.attribute(w.id.c_str()).value());
    for (const pugi::xml_node m : rangoxml::elementos(tabla, w.bookmarkEnd))
        finales.insert(m.attribute(w.id.c_str()).value());
    pugi::xml_node padre = tabla.parent();
    for (const pugi::xml_node m : rangoxml::elementos(tabla, w.bookmarkStart))
        if (!finales.count(m.attribute(w.id.c_str()).value()))
            padre.insert_move_before(m, tabla);
    for (const pugi::xml_node m : rangoxml::elementos(tabla, w.bookmarkEnd))
        if (!inicios.count(m.attribute(w.id.c_str()).value()))
            padre.insert_move_before(m, tabla);

    // The insertion point moves to the paragraph that follows the table, or
    // to the end of the one before it.
    auto vecino = [&](pugi::xml_node n, bool adelante) {
        while (n && d_->esMarca(n))
            n = adelante ? n.next_sibling() : n.previous_sibling();
        return n;
    };
    const pugi::xml_node siguiente = vecino(tabla.next_sibling(), true);
    const pugi::xml_node anterior = vecino(tabla.previous_sibling(), false);
    padre.remove_child(tabla);
    if (es(padre, w.tc))
        d_->asegurarParrafoFinal(padre);
    if (es(siguiente, w.p)) {
        d_->ponerPunto(siguiente, {});
    } else if (es(anterior, w.p)) {
        d_->ponerPunto(anterior, anterior.last_child());
    } else if (es(padre, w.tc)) {
        d_->ponerPunto(padre.last_child(), {});
    } else {
        d_->ponerPunto(siguiente ? padre.insert_child_before(w.p.c_str(), siguiente)
                                 : padre.append_child(w.p.c_str()),
                       {});
    }
    d_->indexar();
    return true;
}
bool DocumentoTexto::guardarComo(const QString& ruta, QString& error) const {
    return d_->paquete.guardarComo(ruta, xml(), error);
}

std::string DocumentoTexto::xml() const {
    std::ostringstream salida;
    d_->xml.save(salida, "", pugi::format_raw, pugi::encoding_utf8);
    return salida.str();
}

QStringList DocumentoTexto::marcadores() const {
    QStringList nombres;
    for (const pugi::xml_node s : rangoxml::elementos(d_->xml, d_->w.bookmarkStart)) {
        const char* nombre = s.attribute(d_->w.name.c_str()).value();
        // A start without its end counts only where the name has nothing better.
        if (d_->completo(s) || d_->inicios.at(nombre) == s)
            nombres << QString::fromUtf8(nombre);
    }
    return nombres;
}

int DocumentoTexto::tablaDeMarcador(const QString& nombre) const {
    const auto s = d_->inicios.find(nombre.toStdString());
    if (s == d_->inicios.end())
        return -1;
    const pugi::xml_node tabla = rangoxml::ancestro(s->second, d_->w.tbl);
    if (!tabla)
        return 0;
    const auto tablas = rangoxml::elementos(d_->xml, d_->w.tbl);
    return int(std::find(tablas.begin(), tablas.end(), tabla) - tablas.begin()) + 1;
}
