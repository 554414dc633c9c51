// The quote template built from its parts: a valid package that carries every bookmark the
// document generator fills, laid out so that the generator's edits leave a valid document.
#include <QByteArray>
#include <QStringList>
#include <QTest>

#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// The bookmarks the generator fills, in the order it fills them.
std::vector<std::string> marcadoresEsperados() {
    std::vector<std::string> nombres = {"txtLugar",   "txtFecha",    "txtNumero",   "txtSaludo",
                                        "txtCliente", "txtParrafo1", "txtParrafo2", "txtParrafo3"};
    for (int n = 1; n <= 15; ++n) {
        for (const char* prefijo : {"txtCantidad", "txtProducto", "txtPrecio", "txtSubTotal"}) {
            nombres.push_back(prefijo + std::to_string(n));
        }
    }
    nombres.push_back("txtTotalProductos");
    for (const char* prefijo : {"txtConcepto", "txtImporte", "txtMoneda"}) {
        for (int n = 1; n <= 3; ++n) {
            nombres.push_back(prefijo + std::to_string(n));
        }
    }
    for (const char* nombre : {"txtTotalManoDeObra", "txtTextoVigencia", "txtVigencia", "txtDias",
                               "txtDespedida", "txtFirma"}) {
        nombres.emplace_back(nombre);
    }
    return nombres;
}

QByteArray q(const std::string& texto) {
    return QByteArray::fromStdString(texto);
}

pugi::xml_node ancestro(pugi::xml_node nodo, const char* nombre) {
    for (pugi::xml_node p = nodo.parent(); p; p = p.parent()) {
        if (std::string(p.name()) == nombre) {
            return p;
        }
    }
    return {};
}

// Every node of a document, in document order.
struct Recorrido : pugi::xml_tree_walker {
    std::vector<pugi::xml_node> nodos;
    bool for_each(pugi::xml_node& nodo) override {
        nodos.push_back(nodo);
        return true;
    }
};

} // namespace

class PruebaPlantilla : public QObject {
    Q_OBJECT

    std::vector<std::string> nombresPartes; // in the package's order
    std::map<std::string, std::string> partes;
    std::map<std::string, zip_uint16_t> metodos;
    pugi::xml_document documento;
    pugi::xml_document estilos;
    std::vector<pugi::xml_node> orden;
    std::map<pugi::xml_node, std::size_t> posicion; // node → index in document order

    pugi::xml_node inicio(const std::string& nombre) const {
        const std::string consulta = "//w:bookmarkStart[@w:name='" + nombre + "']";
        return documento.select_node(consulta.c_str()).node();
    }
    pugi::xml_node fin(pugi::xml_node marcaInicio) const {
        const std::string consulta =
            std::string("//w:bookmarkEnd[@w:id='") + marcaInicio.attribute("w:id").value() + "']";
        return documento.select_node(consulta.c_str()).node();
    }
    // The text of the runs that lie between a bookmark's start and its end.
    std::string textoEncerrado(const std::string& nombre) const {
        const pugi::xml_node a = inicio(nombre);
        const pugi::xml_node b = fin(a);
        std::string texto;
        for (std::size_t i = posicion.at(a); i < posicion.at(b); ++i) {
            if (std::string(orden[i].name()) == "w:t") {
                texto += orden[i].text().get();
            }
        }
        return texto;
    }
    // The paragraph alignment a paragraph gets from its style (following basedOn).
    std::string alineacion(pugi::xml_node parrafo) const {
        std::string estilo = parrafo.child("w:pPr").child("w:pStyle").attribute("w:val").value();
        for (int vuelta = 0; vuelta < 10 && !estilo.empty(); ++vuelta) {
            const std::string consulta = "//w:style[@w:styleId='" + estilo + "']";
            const pugi::xml_node s = estilos.select_node(consulta.c_str()).node();
            if (!s) {
                return "?";
            }
            if (const pugi::xml_node jc = s.child("w:pPr").child("w:jc")) {
                return jc.attribute("w:val").value();
            }
            estilo = s.child("w:basedOn").attribute("w:val").value();
        }
        return "";
    }

private slots:
    void initTestCase() {
        int error = 0;
        zip_t* zip = zip_open(TARVO_PLANTILLA, ZIP_RDONLY, &error);
        QVERIFY2(zip != nullptr, "no se puede abrir la plantilla " TARVO_PLANTILLA);
        const zip_int64_t cuantas = zip_get_num_entries(zip, 0);
        for (zip_int64_t i = 0; i < cuantas; ++i) {
            const auto indice = static_cast<zip_uint64_t>(i);
            zip_stat_t estado;
            zip_stat_init(&estado);
            QCOMPARE(zip_stat_index(zip, indice, 0, &estado), 0);
            std::string contenido(static_cast<std::size_t>(estado.size), '\0');
            zip_file_t* archivo = zip_fopen_index(zip, indice, 0);
            QVERIFY(archivo != nullptr);
            const zip_int64_t leidos = zip_fread(archivo, contenido.data(), estado.size);
            zip_fclose(archivo);
            QCOMPARE(leidos, static_cast<zip_int64_t>(estado.size));
            nombresPartes.emplace_back(estado.name);
            partes[estado.name] = contenido;
            metodos[estado.name] = estado.comp_method;
        }
        zip_close(zip);

        QVERIFY(partes.count("word/document.xml") == 1);
        QVERIFY(partes.count("word/styles.xml") == 1);
        // Parsed the way the document engine parses it.
        const std::string& xml = partes["word/document.xml"];
        QVERIFY(documento.load_buffer(xml.data(), xml.size(),
                                      pugi::parse_default | pugi::parse_ws_pcdata_single));
        const std::string& xmlEstilos = partes["word/styles.xml"];
        QVERIFY(estilos.load_buffer(xmlEstilos.data(), xmlEstilos.size()));
        Recorrido recorrido;
        documento.traverse(recorrido);
        orden = recorrido.nodos;
        for (std::size_t i = 0; i < orden.size(); ++i) {
            posicion[orden[i]] = i;
        }
    }

    void paqueteEmpiezaPorTiposDeContenido() {
        QVERIFY(!nombresPartes.empty());
        QCOMPARE(q(nombresPartes.front()), QByteArray("[Content_Types].xml"));
        for (const auto& [nombre, metodo] : metodos) {
            QVERIFY2(metodo == ZIP_CM_DEFLATE, q(nombre + " no está comprimida").constData());
        }
    }

    void partesBienFormadasYDeclaradas() {
        pugi::xml_document tipos;
        const std::string& xml = partes["[Content_Types].xml"];
        QVERIFY(tipos.load_buffer(xml.data(), xml.size()));
        std::set<std::string> declaradas;
        for (const pugi::xml_node o : tipos.child("Types").children("Override")) {
            const std::string parte = std::string(o.attribute("PartName").value()).substr(1);
            QVERIFY2(partes.count(parte) == 1, q("falta la parte declarada " + parte).constData());
            declaradas.insert(parte);
        }
        QCOMPARE(q(tipos.select_node("//Override[@PartName='/word/document.xml']")
                       .node()
                       .attribute("ContentType")
                       .value()),
                 QByteArray("application/vnd.openxmlformats-officedocument.wordprocessingml."
                            "document.main+xml"));
        for (const auto& [nombre, contenido] : partes) {
            pugi::xml_document d;
            QVERIFY2(d.load_buffer(contenido.data(), contenido.size()),
                     q(nombre + " no es XML bien formado").constData());
            const bool esXml = nombre.size() > 4 && nombre.substr(nombre.size() - 4) == ".xml";
            if (esXml && nombre != "[Content_Types].xml") {
                QVERIFY2(declaradas.count(nombre) == 1,
                         q(nombre + " no tiene tipo de contenido").constData());
            }
        }
        // Every relationship points at a part of the package.
        const std::vector<std::pair<std::string, std::string>> relaciones = {
            {"_rels/.rels", ""}, {"word/_rels/document.xml.rels", "word/"}};
        for (const auto& [rels, base] : relaciones) {
            QVERIFY2(partes.count(rels) == 1, q("falta " + rels).constData());
            pugi::xml_document d;
            QVERIFY(d.load_buffer(partes[rels].data(), partes[rels].size()));
            int cuantas = 0;
            for (const pugi::xml_node r : d.child("Relationships").children("Relationship")) {
                const std::string destino = base + r.attribute("Target").value();
                QVERIFY2(partes.count(destino) == 1, q("destino ausente " + destino).constData());
                ++cuantas;
            }
            QVERIFY(cuantas > 0);
        }
    }

    void prefijosIgnorablesDeclarados() {
        int conIgnorable = 0;
        for (const auto& [nombre, contenido] : partes) {
            pugi::xml_document d;
            QVERIFY(d.load_buffer(contenido.data(), contenido.size()));
            const pugi::xml_node raiz = d.document_element();
            const pugi::xml_attribute ignorable = raiz.attribute("mc:Ignorable");
            if (!ignorable) {
                continue;
            }
            ++conIgnorable;
            QVERIFY2(raiz.attribute("xmlns:mc"), q(nombre + ": falta xmlns:mc").constData());
            const QStringList prefijos =
                QString::fromUtf8(ignorable.value()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            QVERIFY(!prefijos.isEmpty());
            for (const QString& prefijo : prefijos) {
                const std::string atributo = "xmlns:" + prefijo.toStdString();
                QVERIFY2(raiz.attribute(atributo.c_str()),
                         q(nombre + ": " + atributo + " sin declarar").constData());
            }
        }
        QVERIFY(conIgnorable >= 1);

        // Every prefix the document uses is declared on its root.
        const pugi::xml_node raiz = documento.document_element();
        QVERIFY(raiz.attribute("mc:Ignorable"));
        std::set<std::string> usados;
        auto prefijoDe = [](const std::string& nombre) {
            const auto dos = nombre.find(':');
            return dos == std::string::npos ? std::string() : nombre.substr(0, dos);
        };
        for (const pugi::xml_node& n : orden) {
            if (n.type() != pugi::node_element) {
                continue;
            }
            usados.insert(prefijoDe(n.name()));
            for (const pugi::xml_attribute a : n.attributes()) {
                if (prefijoDe(a.name()) != "xmlns") {
                    usados.insert(prefijoDe(a.name()));
                }
            }
        }
        usados.erase("");
        usados.erase("xml");
        for (const std::string& prefijo : usados) {
            const std::string atributo = "xmlns:" + prefijo;
            QVERIFY2(raiz.attribute(atributo.c_str()),
                     q("prefijo sin declarar: " + prefijo).constData());
        }
    }

    void cadaMarcadorUnaVezConSuCierre() {
        const std::vector<std::string> esperados = marcadoresEsperados();
        QCOMPARE(esperados.size(), std::size_t(84));
        std::set<std::string> ids;
        for (const std::string& nombre : esperados) {
            const std::string consulta = "//w:bookmarkStart[@w:name='" + nombre + "']";
            const pugi::xpath_node_set inicios = documento.select_nodes(consulta.c_str());
            QVERIFY2(
                inicios.size() == 1,
                q(nombre + " aparece " + std::to_string(inicios.size()) + " veces").constData());
            const std::string id = inicios.first().node().attribute("w:id").value();
            QVERIFY2(!id.empty(), q(nombre + " sin w:id").constData());
            QVERIFY2(ids.insert(id).second, q(nombre + " repite el w:id " + id).constData());
            const std::string consultaFin = "//w:bookmarkEnd[@w:id='" + id + "']";
            const pugi::xpath_node_set fines = documento.select_nodes(consultaFin.c_str());
            QVERIFY2(fines.size() == 1, q(nombre + " sin un único w:bookmarkEnd").constData());
            QVERIFY2(posicion.at(fines.first().node()) > posicion.at(inicios.first().node()),
                     q(nombre + " cierra antes de abrir").constData());
        }
        // No other bookmark, and no end without its start.
        QCOMPARE(documento.select_nodes("//w:bookmarkStart").size(), esperados.size());
        QCOMPARE(documento.select_nodes("//w:bookmarkEnd").size(), esperados.size());
    }

    void quinceFilasDeLineas() {
        const char* prefijos[] = {"txtCantidad", "txtProducto", "txtPrecio", "txtSubTotal"};
        pugi::xml_node tabla;
        std::vector<pugi::xml_node> filas;
        for (int n = 1; n <= 15; ++n) {
            pugi::xml_node fila;
            for (int c = 0; c < 4; ++c) {
                const std::string nombre = prefijos[c] + std::to_string(n);
                const pugi::xml_node marca = inicio(nombre);
                QVERIFY2(marca, q("falta " + nombre).constData());
                const pugi::xml_node celda = ancestro(marca, "w:tc");
                QVERIFY2(celda, q(nombre + " no está en una celda").constData());
                if (c == 0) {
                    fila = celda.parent();
                }
                // Column c of the row, and the end in the same cell.
                std::vector<pugi::xml_node> celdas;
                for (const pugi::xml_node tc : fila.children("w:tc")) {
                    celdas.push_back(tc);
                }
                QCOMPARE(celdas.size(), std::size_t(4));
                QVERIFY2(celdas[static_cast<std::size_t>(c)] == celda,
                         q(nombre + " no está en su columna").constData());
                QVERIFY(ancestro(fin(marca), "w:tc") == celda);
                // Rows a quote does not use keep what the template holds: nothing.
                QVERIFY2(textoEncerrado(nombre).empty(), q(nombre + " encierra texto").constData());
                const std::string esperada = c == 1 ? "" : "right";
                QVERIFY2(alineacion(ancestro(marca, "w:p")) == esperada,
                         q(nombre + " mal alineado").constData());
            }
            if (n == 1) {
                tabla = fila.parent();
            }
            QVERIFY(fila.parent() == tabla);
            filas.push_back(fila);
        }
        // Fifteen rows in a row, after a heading row.
        std::vector<pugi::xml_node> todas;
        for (const pugi::xml_node tr : tabla.children("w:tr")) {
            todas.push_back(tr);
        }
        QCOMPARE(todas.size(), std::size_t(16));
        QVERIFY(std::equal(filas.begin(), filas.end(), todas.begin() + 1));
        QStringList encabezado;
        for (const pugi::xml_node tc : todas.front().children("w:tc")) {
            QString texto;
            for (const pugi::xpath_node t : tc.select_nodes(".//w:t")) {
                texto += QString::fromUtf8(t.node().text().get());
            }
            encabezado << texto;
        }
        QCOMPARE(encabezado,
                 QStringList({QStringLiteral("Cantidad"), QStringLiteral("Descripción"),
                              QStringLiteral("Precio unitario"), QStringLiteral("Subtotal")}));
        QVERIFY(todas.front().child("w:trPr").child("w:tblHeader"));
    }

    void totalProductosDentroDeLaTablaDeOtrosCostos() {
        const pugi::xml_node marca = inicio("txtTotalProductos");
        QVERIFY(marca);
        const pugi::xml_node tabla = ancestro(marca, "w:tbl");
        QVERIFY2(tabla, "txtTotalProductos no está en una tabla");
        // After typing, the insertion point is at the bookmark's end: in the same table.
        QVERIFY(ancestro(fin(marca), "w:p") == ancestro(marca, "w:p"));
        QVERIFY2(tabla != ancestro(inicio("txtCantidad1"), "w:tbl"),
                 "el total está en la tabla de productos");
        QVERIFY2(!ancestro(tabla, "w:tbl"), "la tabla de otros costos está anidada");
        QCOMPARE(q(tabla.parent().name()), QByteArray("w:body"));

        // The table holds the cost bookmarks and no other.
        std::set<std::string> dentro;
        for (const pugi::xpath_node m : tabla.select_nodes(".//w:bookmarkStart")) {
            dentro.insert(m.node().attribute("w:name").value());
            QVERIFY(ancestro(fin(m.node()), "w:tbl") == tabla);
        }
        std::set<std::string> esperados = {"txtTotalProductos"};
        for (const char* prefijo : {"txtConcepto", "txtImporte", "txtMoneda"}) {
            for (int n = 1; n <= 3; ++n) {
                esperados.insert(prefijo + std::to_string(n));
            }
        }
        QVERIFY(dentro == esperados);

        // Deleting it leaves a valid body: paragraphs on both sides (no two tables join), every
        // other bookmark whole, and the total of further costs still there to receive 0.
        QCOMPARE(q(tabla.previous_sibling().name()), QByteArray("w:p"));
        QCOMPARE(q(tabla.next_sibling().name()), QByteArray("w:p"));
        pugi::xml_document copia;
        copia.reset(documento);
        const pugi::xml_node marcaCopia =
            copia.select_node("//w:bookmarkStart[@w:name='txtTotalProductos']").node();
        const pugi::xml_node tablaCopia = ancestro(marcaCopia, "w:tbl");
        pugi::xml_node cuerpo = tablaCopia.parent();
        QVERIFY(cuerpo.remove_child(tablaCopia));
        QCOMPARE(copia.select_nodes("//w:bookmarkStart").size(),
                 marcadoresEsperados().size() - esperados.size());
        for (const pugi::xpath_node m : copia.select_nodes("//w:bookmarkStart")) {
            const std::string consulta =
                std::string("//w:bookmarkEnd[@w:id='") + m.node().attribute("w:id").value() + "']";
            QVERIFY(copia.select_node(consulta.c_str()));
        }
        QVERIFY(copia.select_node("//w:bookmarkStart[@w:name='txtTotalManoDeObra']"));
        QCOMPARE(q(cuerpo.last_child().name()), QByteArray("w:sectPr"));
        for (pugi::xml_node n = cuerpo.first_child(); n.next_sibling(); n = n.next_sibling()) {
            QVERIFY(!(std::string(n.name()) == "w:tbl" &&
                      std::string(n.next_sibling().name()) == "w:tbl"));
        }
    }

    void vigenciaYDias() {
        // Without a validity period the two stay as the template has them: empty.
        QCOMPARE(q(textoEncerrado("txtTextoVigencia")), QByteArray());
        QCOMPARE(q(textoEncerrado("txtVigencia")), QByteArray());
        // The word that typing the empty text at txtDias removes.
        QCOMPARE(QString::fromStdString(textoEncerrado("txtDias")), QStringLiteral(" días"));
        const pugi::xml_node parrafo = ancestro(inicio("txtDias"), "w:p");
        QVERIFY(ancestro(inicio("txtTextoVigencia"), "w:p") == parrafo);
        QVERIFY(ancestro(inicio("txtVigencia"), "w:p") == parrafo);
        QVERIFY(ancestro(fin(inicio("txtDias")), "w:p") == parrafo);
        QVERIFY(posicion.at(inicio("txtTextoVigencia")) < posicion.at(inicio("txtVigencia")));
        QVERIFY(posicion.at(fin(inicio("txtVigencia"))) < posicion.at(inicio("txtDias")));
    }

    void espaciosConservados() {
        // Word drops leading and trailing spaces of a text without xml:space="preserve".
        int revisados = 0;
        for (const auto& [nombre, contenido] : partes) {
            if (nombre.rfind("word/", 0) != 0) {
                continue;
            }
            pugi::xml_document d;
            QVERIFY(d.load_buffer(contenido.data(), contenido.size(),
                                  pugi::parse_default | pugi::parse_ws_pcdata_single));
            for (const pugi::xpath_node t : d.select_nodes("//w:t | //w:instrText")) {
                const std::string texto = t.node().text().get();
                if (texto.empty()) {
                    continue;
                }
                ++revisados;
                const bool bordes = texto.front() == ' ' || texto.back() == ' ';
                if (bordes) {
                    QVERIFY2(std::string(t.node().attribute("xml:space").value()) == "preserve",
                             q(nombre + ": \"" + texto + "\" sin xml:space").constData());
                }
            }
        }
        QVERIFY(revisados > 20);
    }

    void paginaA4() {
        const pugi::xml_node seccion = documento.select_node("/w:document/w:body/w:sectPr").node();
        QVERIFY(seccion);
        QCOMPARE(seccion.child("w:pgSz").attribute("w:w").as_int(), 11906);
        QCOMPARE(seccion.child("w:pgSz").attribute("w:h").as_int(), 16838);
        for (const char* lado : {"w:left", "w:right", "w:bottom"}) {
            const int margen = seccion.child("w:pgMar").attribute(lado).as_int();
            QVERIFY2(margen >= 1000 && margen <= 1300, lado);
        }
    }
};

QTEST_GUILESS_MAIN(PruebaPlantilla)
#include "tst_plantilla.moc"
