// The document engine on small hand-made documents: typing over bookmarks in
// every shape they take, deleting tables, and refusing what is not a document.
// Saving is tested on the real template (tst_generardocumento).
#include "comun/paquete.h"
#include "comun/xmldocumento.h"
#include "documentos/documentotexto.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const std::string kInicio =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<w:document xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006" )"
    R"(xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" )"
    R"(xmlns:w14="http://schemas.microsoft.com/office/word/2010/wordml" )"
    R"(xmlns:wp14="http://schemas.microsoft.com/office/word/2010/wordprocessingDrawing" )"
    R"(mc:Ignorable="w14 wp14"><w:body>)";
const std::string kFin =
    R"(<w:sectPr><w:pgSz w:w="11906" w:h="16838"/></w:sectPr></w:body></w:document>)";

const std::string kTipos =
    "<?xml version=\"1.0\"?><Types "
    "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>";
const std::string kRelaciones =
    "<?xml version=\"1.0\"?><Relationships "
    "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
    "Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"word/document.xml\"/></Relationships>";

QString s(const char* texto) {
    return QString::fromUtf8(texto);
}

} // namespace

class PruebaDocumentoTexto : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    int paquetes = 0;

    // A package whose body is `cuerpo`.
    QString paquete(const std::string& cuerpo) {
        const QString ruta = dir->filePath(QStringLiteral("p%1.docx").arg(++paquetes));
        const bool ok = escribirPaquete(ruta, {{"[Content_Types].xml", kTipos},
                                               {"_rels/.rels", kRelaciones},
                                               {"word/document.xml", kInicio + cuerpo + kFin}});
        if (!ok)
            qFatal("no se pudo escribir el paquete de prueba");
        return ruta;
    }
    std::unique_ptr<DocumentoTexto> abrir(const std::string& cuerpo) {
        QString error;
        auto doc = DocumentoTexto::desdeArchivo(paquete(cuerpo), error);
        if (!doc)
            qFatal("no abre: %s", qPrintable(error));
        return doc;
    }
    static void leer(const DocumentoTexto& doc, pugi::xml_document& xml) {
        QVERIFY(xmldoc::cargar(xml, doc.xml()));
    }

private slots:
    void init() { dir = std::make_unique<QTemporaryDir>(); }
    void cleanup() { dir.reset(); }

    void marcadorEnUnParrafoConservaElFormato() {
        auto doc = abrir(R"(<w:p><w:r><w:t xml:space="preserve">Hola </w:t></w:r>)"
                         R"(<w:bookmarkStart w:id="1" w:name="a"/><w:r><w:rPr><w:b/></w:rPr>)"
                         R"(<w:t>viejo</w:t></w:r><w:bookmarkEnd w:id="1"/>)"
                         R"(<w:r><w:t xml:space="preserve"> fin</w:t></w:r></w:p>)");
        QVERIFY(doc->irAMarcador(QStringLiteral("a")));
        doc->escribir(QStringLiteral("  nuevo  "));
        pugi::xml_document xml;
        leer(*doc, xml);
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("a")), QStringLiteral("  nuevo  "));
        QCOMPARE(xmldoc::parrafos(xml), QStringList{QStringLiteral("Hola   nuevo   fin")});
        const pugi::xml_node run = xmldoc::inicio(xml, QStringLiteral("a")).next_sibling();
        QCOMPARE(QByteArray(run.name()), QByteArray("w:r"));
        QVERIFY(run.child("w:rPr").child("w:b"));
        QCOMPARE(QByteArray(run.child("w:t").attribute("xml:space").value()),
                 QByteArray("preserve"));
        QVERIFY(run.next_sibling() == xmldoc::fin(xml, QStringLiteral("a")));
        QCOMPARE(xmldoc::contar(xml, "//w:r"), 3);
    }

    void runsPartidosPorRevisionYFormato() {
        // Word splits a word into runs around proofing marks and formatting.
        auto doc = abrir(
            R"(<w:p><w:bookmarkStart w:id="7" w:name="a"/>)"
            R"(<w:r><w:rPr><w:i/><w:rPrChange w:id="9"><w:rPr/></w:rPrChange></w:rPr><w:t>Pri</w:t></w:r>)"
            R"(<w:proofErr w:type="spellStart"/><w:r><w:rPr><w:b/></w:rPr><w:t>mer</w:t></w:r>)"
            R"(<w:proofErr w:type="spellEnd"/><w:r><w:t>o</w:t></w:r>)"
            R"(<w:bookmarkEnd w:id="7"/></w:p>)");
        QVERIFY(doc->irAMarcador(QStringLiteral("a")));
        doc->escribir(QStringLiteral("Uno"));
        pugi::xml_document xml;
        leer(*doc, xml);
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("a")), QStringLiteral("Uno"));
        QCOMPARE(xmldoc::contar(xml, "//w:r"), 1);
        QCOMPARE(xmldoc::contar(xml, "//w:proofErr"), 0);
        // The first removed run's formatting, without its tracked change.
        QCOMPARE(xmldoc::contar(xml, "//w:r/w:rPr/w:i"), 1);
        QCOMPARE(xmldoc::contar(xml, "//w:rPrChange"), 0);
        QCOMPARE(xmldoc::contar(xml, "//w:b"), 0);
    }

    void rangoEntreParrafosLosUne() {
        auto doc = abrir(
            R"(<w:p><w:pPr><w:jc w:val="right"/></w:pPr><w:r><w:t xml:space="preserve">antes </w:t></w:r>)"
            R"(<w:bookmarkStart w:id="1" w:name="a"/><w:r><w:t>uno</w:t></w:r></w:p>)"
            R"(<w:p><w:r><w:t>dos</w:t></w:r></w:p>)"
            R"(<w:tbl><w:tr><w:tc><w:p><w:r><w:t>celda</w:t></w:r></w:p></w:tc></w:tr></w:tbl>)"
            R"(<w:p><w:r><w:t>tres</w:t></w:r><w:bookmarkEnd w:id="1"/>)"
            R"(<w:r><w:t xml:space="preserve"> después</w:t></w:r></w:p>)"
            R"(<w:p><w:r><w:t>otro</w:t></w:r></w:p>)");
        QVERIFY(doc->irAMarcador(QStringLiteral("a")));
        doc->escribir(QStringLiteral("X"));
        pugi::xml_document xml;
        leer(*doc, xml);
        QCOMPARE(xmldoc::parrafos(xml),
                 (QStringList{s("antes X después"), QStringLiteral("otro")}));
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("a")), QStringLiteral("X"));
        QCOMPARE(xmldoc::contar(xml, "//w:tbl"), 0);
        QCOMPARE(
            QByteArray(xml.select_node("//w:p[1]/w:pPr/w:jc").node().attribute("w:val").value()),
            QByteArray("right"));
        // The same parent holds both marks again.
        QVERIFY(xmldoc::inicio(xml, QStringLiteral("a")).parent() ==
                xmldoc::fin(xml, QStringLiteral("a")).parent());
    }

    void marcadorVacioTomaElFormatoAnterior() {
        auto doc = abrir(R"(<w:p><w:r><w:rPr><w:u w:val="single"/></w:rPr><w:t>Total:</w:t></w:r>)"
                         R"(<w:bookmarkStart w:id="3" w:name="a"/><w:bookmarkEnd w:id="3"/>)"
                         R"(<w:r><w:t xml:space="preserve"> €</w:t></w:r></w:p>)");
        QVERIFY(doc->irAMarcador(QStringLiteral("a")));
        doc->escribir(QStringLiteral("12"));
        pugi::xml_document xml;
        leer(*doc, xml);
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("a")), QStringLiteral("12"));
        QCOMPARE(xmldoc::parrafos(xml), QStringList{s("Total:12 €")});
        QCOMPARE(xmldoc::contar(xml, "//w:r[w:t='12']/w:rPr/w:u"), 1);
    }

    void textoVacioQuitaLoEncerrado() {
        auto doc = abrir(
            R"(<w:p><w:r><w:t>30</w:t></w:r><w:bookmarkStart w:id="3" w:name="dias"/>)"
            R"(<w:r><w:t xml:space="preserve"> días</w:t></w:r><w:bookmarkEnd w:id="3"/></w:p>)");
        QVERIFY(doc->irAMarcador(QStringLiteral("dias")));
        doc->escribir(QString());
        pugi::xml_document xml;
        leer(*doc, xml);
        QCOMPARE(xmldoc::parrafos(xml), QStringList{QStringLiteral("30")});
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("dias")), QString(QStringLiteral("")));
        QVERIFY(xmldoc::fin(xml, QStringLiteral("dias")));
    }

    void otrosMarcadoresSalenDelRango() {
        // c starts before a and ends inside it; b lies wholly inside; d starts
        // inside and ends after.
        auto doc = abrir(
            R"(<w:p><w:bookmarkStart w:id="3" w:name="c"/><w:r><w:t>c</w:t></w:r>)"
            R"(<w:bookmarkStart w:id="1" w:name="a"/><w:r><w:t>a1</w:t></w:r>)"
            R"(<w:bookmarkEnd w:id="3"/><w:bookmarkStart w:id="2" w:name="b"/>)"
            R"(<w:r><w:t>b</w:t></w:r><w:bookmarkEnd w:id="2"/>)"
            R"(<w:bookmarkStart w:id="4" w:name="d"/><w:r><w:t>a2</w:t></w:r>)"
            R"(<w:bookmarkEnd w:id="1"/><w:r><w:t>d</w:t></w:r><w:bookmarkEnd w:id="4"/></w:p>)");
        QVERIFY(doc->irAMarcador(QStringLiteral("a")));
        doc->escribir(QStringLiteral("A"));
        {
            pugi::xml_document xml;
            leer(*doc, xml);
            QCOMPARE(xmldoc::contar(xml, "//w:bookmarkStart"), 4);
            QCOMPARE(xmldoc::contar(xml, "//w:bookmarkEnd"), 4);
            QCOMPARE(xmldoc::texto(xml, QStringLiteral("a")), QStringLiteral("A"));
            QCOMPARE(xmldoc::texto(xml, QStringLiteral("c")), QStringLiteral("c"));
            QCOMPARE(xmldoc::texto(xml, QStringLiteral("b")), QString(QStringLiteral("")));
            QCOMPARE(xmldoc::texto(xml, QStringLiteral("d")), QStringLiteral("d"));
        }
        // The moved bookmark still receives text.
        QVERIFY(doc->irAMarcador(QStringLiteral("b")));
        doc->escribir(QStringLiteral("B"));
        pugi::xml_document xml;
        leer(*doc, xml);
        QCOMPARE(xmldoc::parrafos(xml), QStringList{QStringLiteral("cABd")});
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("b")), QStringLiteral("B"));
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("a")), QStringLiteral("A"));
    }

    void saltosTabulacionesYCaracteresNoValidos() {
        auto doc =
            abrir(R"(<w:p><w:bookmarkStart w:id="1" w:name="a"/><w:bookmarkEnd w:id="1"/></w:p>)");
        QVERIFY(doc->irAMarcador(QStringLiteral("a")));
        doc->escribir(s("uno\ndos\r\ntres\tcuatro\x01 <&>\"ñ\r"));
        pugi::xml_document xml;
        leer(*doc, xml);
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("a")), s("uno\ndos\ntres\tcuatro <&>\"ñ\n"));
        QCOMPARE(xmldoc::contar(xml, "//w:r/w:br"), 3);
        QCOMPARE(xmldoc::contar(xml, "//w:r/w:tab"), 1);
        QCOMPARE(xmldoc::contar(xml, "//w:r"), 1);
        QVERIFY(!QByteArray::fromStdString(doc->xml()).contains('\x01'));
    }

    void marcadoresEntreBloquesYSinFin() {
        // A start between paragraphs, and a bookmark whose end is lost.
        auto doc =
            abrir(R"(<w:bookmarkStart w:id="1" w:name="a"/><w:p><w:r><w:t>uno</w:t></w:r></w:p>)"
                  R"(<w:p><w:r><w:t>dos</w:t></w:r></w:p><w:bookmarkEnd w:id="1"/>)"
                  R"(<w:p><w:bookmarkStart w:id="2" w:name="b"/><w:r><w:t>tres</w:t></w:r></w:p>)");
        QVERIFY(doc->irAMarcador(QStringLiteral("a")));
        doc->escribir(QStringLiteral("A"));
        QVERIFY(doc->irAMarcador(QStringLiteral("b")));
        doc->escribir(QStringLiteral("B"));
        pugi::xml_document xml;
        leer(*doc, xml);
        QCOMPARE(xmldoc::parrafos(xml),
                 (QStringList{QStringLiteral("A"), QStringLiteral("Btres")}));
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("a")), QStringLiteral("A"));
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("b")), QStringLiteral("B"));
    }

    void marcadorRepetidoSinFin() {
        // LibreOffice writes an empty bookmark in a cell as a start without an
        // end followed by a complete one of the same name.
        auto doc = abrir(
            R"(<w:p><w:bookmarkStart w:id="8" w:name="a"/><w:bookmarkStart w:id="9" w:name="a"/>)"
            R"(<w:bookmarkEnd w:id="9"/><w:r><w:t>resto</w:t></w:r></w:p>)");
        QCOMPARE(doc->marcadores(), QStringList{QStringLiteral("a")});
        QVERIFY(doc->irAMarcador(QStringLiteral("a")));
        doc->escribir(QStringLiteral("X"));
        pugi::xml_document xml;
        leer(*doc, xml);
        QCOMPARE(xmldoc::parrafos(xml), QStringList{QStringLiteral("Xresto")});
        const pugi::xml_node run =
            xml.select_node("//w:bookmarkStart[@w:id='9']").node().next_sibling();
        QCOMPARE(QByteArray(run.child("w:t").text().get()), QByteArray("X"));
        QCOMPARE(QByteArray(run.next_sibling().name()), QByteArray("w:bookmarkEnd"));
        // A start whose end is lost still takes its text, and gets an end.
        auto huerfano = abrir(
            R"(<w:p><w:bookmarkStart w:id="4" w:name="b"/><w:r><w:t>resto</w:t></w:r></w:p>)");
        QCOMPARE(huerfano->marcadores(), QStringList{QStringLiteral("b")});
        QVERIFY(huerfano->irAMarcador(QStringLiteral("b")));
        huerfano->escribir(QStringLiteral("Y"));
        leer(*huerfano, xml);
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("b")), QStringLiteral("Y"));
        QCOMPARE(xmldoc::parrafos(xml), QStringList{QStringLiteral("Yresto")});
    }

    void borrarLaTablaDeLaSeleccion() {
        // The insertion point ends up inside a table that fills a cell of
        // another; e starts before that table and ends inside it; f lies
        // wholly inside.
        auto doc = abrir(
            R"(<w:p><w:bookmarkStart w:id="5" w:name="e"/><w:r><w:t>fuera</w:t></w:r></w:p>)"
            R"(<w:tbl><w:tr><w:tc><w:p><w:r><w:t>exterior</w:t></w:r></w:p></w:tc><w:tc>)"
            R"(<w:tbl><w:tr><w:tc><w:p><w:bookmarkStart w:id="1" w:name="a"/><w:bookmarkEnd w:id="1"/>)"
            R"(<w:bookmarkEnd w:id="5"/><w:bookmarkStart w:id="6" w:name="f"/><w:bookmarkEnd w:id="6"/>)"
            R"(</w:p></w:tc></w:tr></w:tbl></w:tc></w:tr></w:tbl><w:p><w:r><w:t>después</w:t></w:r></w:p>)");
        // Outside any table nothing is deleted.
        QVERIFY(doc->irAMarcador(QStringLiteral("e")));
        QVERIFY(!doc->borrarTablaSeleccion());
        QVERIFY(doc->irAMarcador(QStringLiteral("a")));
        doc->escribir(QStringLiteral("0"));
        QVERIFY(doc->borrarTablaSeleccion());
        pugi::xml_document xml;
        leer(*doc, xml);
        QCOMPARE(xmldoc::contar(xml, "//w:tbl"), 1);
        QCOMPARE(xmldoc::todo(xml), s("fuera\nexterior\n\ndespués"));
        // The emptied cell still ends with a paragraph.
        QCOMPARE(QByteArray(xml.select_node("//w:tc[2]").node().last_child().name()),
                 QByteArray("w:p"));
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("e")), QStringLiteral("fueraexterior"));
        QVERIFY(!xmldoc::inicio(xml, QStringLiteral("f")));
        QCOMPARE(xmldoc::contar(xml, "//w:bookmarkEnd[@w:id='6']"), 0);
        // The bookmarks of the deleted table are gone for the next go-to too.
        QVERIFY(!doc->irAMarcador(QStringLiteral("a")));
        QCOMPARE(doc->marcadores(), QStringList{QStringLiteral("e")});
        // Typing goes on where the table was.
        doc->escribir(QStringLiteral("Y"));
        leer(*doc, xml);
        QCOMPARE(xmldoc::parrafos(xml),
                 (QStringList{QStringLiteral("fuera"), QStringLiteral("exterior"),
                              QStringLiteral("Y"), s("después")}));
    }

    void loQueNoEsUnDocumento() {
        const QString vacio = dir->filePath(QStringLiteral("vacio.dot"));
        QFile(vacio).open(QIODevice::WriteOnly);
        const QString basura = dir->filePath(QStringLiteral("basura.dot"));
        QFile b(basura);
        QVERIFY(b.open(QIODevice::WriteOnly));
        b.write("PK\x03\x04 esto no es un zip");
        b.close();
        const QString sinDocumento = dir->filePath(QStringLiteral("sindoc.dot"));
        QVERIFY(escribirPaquete(sinDocumento, {{"word/styles.xml", "<a/>"}}));
        const QString xmlRoto = dir->filePath(QStringLiteral("roto.dot"));
        QVERIFY(escribirPaquete(xmlRoto, {{"word/document.xml", "<w:document><w:body>"}}));
        const QString otraCosa = dir->filePath(QStringLiteral("otra.dot"));
        QVERIFY(escribirPaquete(otraCosa, {{"word/document.xml", "<x:hoja xmlns:x=\"y\"/>"}}));

        for (const QString& ruta : {vacio, basura, sinDocumento, xmlRoto, otraCosa,
                                    dir->filePath(QStringLiteral("noexiste.dot"))}) {
            QString error;
            QVERIFY2(!DocumentoTexto::desdeArchivo(ruta, error), qPrintable(ruta));
            QVERIFY2(!error.isEmpty(), qPrintable(ruta));
        }
    }
};

QTEST_GUILESS_MAIN(PruebaDocumentoTexto)
#include "tst_documentotexto.moc"
