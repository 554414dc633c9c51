// The package as a whole: saving rewrites the main part and copies every
// other part unchanged, whatever order the parts have in the archive; a part
// larger than the program reads is refused before it is read.
#include "comun/paquete.h"
#include "documentos/paquetedocumento.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <algorithm>

namespace {

const std::string kPrincipal = "word/document.xml";

// Sets the uncompressed size of `parte` in its local and central headers.
void declararTamano(QByteArray& zip, const QByteArray& parte, quint32 tamano) {
    struct Cabecera {
        QByteArray firma;
        int nombre, tamano; // offsets of the name and of the size
    };
    for (const Cabecera& c : {Cabecera{QByteArrayLiteral("PK\x03\x04"), 30, 22},
                              Cabecera{QByteArrayLiteral("PK\x01\x02"), 46, 24}})
        for (qsizetype i = zip.indexOf(c.firma); i >= 0; i = zip.indexOf(c.firma, i + 1))
            if (zip.mid(i + c.nombre, parte.size()) == parte)
                qToLittleEndian(tamano, zip.data() + i + c.tamano);
}

} // namespace

class PruebaPaqueteDocumento : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;

private slots:
    void init() { dir = std::make_unique<QTemporaryDir>(); }

    // Word and other tools store the parts in other orders than ours.
    void cualquierOrdenDeLasPartes() {
        const PartesPaquete plantilla = leerPaquete(QStringLiteral(TARVO_PLANTILLA));
        QVERIFY(plantilla.ok && plantilla.nombres.size() >= 5);
        std::vector<std::string> otras;
        std::copy_if(plantilla.nombres.begin(), plantilla.nombres.end(), std::back_inserter(otras),
                     [](const std::string& n) { return n != kPrincipal; });
        const QString origen = dir->filePath(QStringLiteral("origen.dot"));
        const QString destino = dir->filePath(QStringLiteral("4.doc"));

        // The main part first, in the middle and last.
        for (const std::size_t lugar : {std::size_t(0), otras.size() / 2, otras.size()}) {
            std::vector<std::string> orden = otras;
            orden.insert(orden.begin() + std::ptrdiff_t(lugar), kPrincipal);
            std::vector<std::pair<std::string, std::string>> partes;
            for (const std::string& n : orden)
                partes.emplace_back(n, plantilla.contenido.at(n));
            QVERIFY(escribirPaquete(origen, partes));

            QString error;
            const std::optional<PaqueteDocumento> paquete = PaqueteDocumento::abrir(origen, error);
            QVERIFY2(paquete, qPrintable(error));
            QVERIFY(paquete->parte() == plantilla.documento());
            // Saved twice: the second replaces the first.
            for (const char* texto : {"<w:document/>", "<w:document>otro</w:document>"}) {
                QVERIFY2(paquete->guardarComo(destino, texto, error), qPrintable(error));
                const PartesPaquete escrito = leerPaquete(destino);
                QVERIFY(escrito.ok);
                QVERIFY(escrito.nombres == orden);
                for (const std::string& n : orden)
                    QVERIFY2(escrito.contenido.at(n) ==
                                 (n == kPrincipal ? texto : plantilla.contenido.at(n)),
                             n.c_str());
            }
            QCOMPARE(
                QDir(dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                (QStringList{QStringLiteral("4.doc"), QStringLiteral("origen.dot")}));
        }
    }

    // A size header that lies and a part compressed a thousand to one would
    // take gigabytes: both are refused, with the reason, before reading.
    void partesDemasiadoGrandes() {
        const QString mentira = dir->filePath(QStringLiteral("mentira.dot"));
        QVERIFY(escribirPaquete(mentira, {{kPrincipal, "<w:document><w:body/></w:document>"}}));
        QFile archivo(mentira);
        QVERIFY(archivo.open(QIODevice::ReadWrite));
        QByteArray bytes = archivo.readAll();
        declararTamano(bytes, QByteArray::fromStdString(kPrincipal), 0xFFFFFF00u);
        QVERIFY(archivo.seek(0) && archivo.write(bytes) == bytes.size());
        archivo.close();

        const QString bomba = dir->filePath(QStringLiteral("bomba.dot"));
        QVERIFY(escribirPaquete(
            bomba, {{kPrincipal, "<w:document><w:body>" + std::string(std::size_t(40) << 20, ' ') +
                                     "</w:body></w:document>"}}));
        QVERIFY(QFileInfo(bomba).size() < 1 << 20);

        for (const QString& ruta : {mentira, bomba}) {
            QString error;
            QVERIFY(!PaqueteDocumento::abrir(ruta, error));
            QVERIFY2(error.contains(QStringLiteral("word/document.xml")) &&
                         error.contains(QStringLiteral("32 MiB")),
                     qPrintable(error));
        }
    }
};

QTEST_GUILESS_MAIN(PruebaPaqueteDocumento)
#include "tst_paquetedocumento.moc"
