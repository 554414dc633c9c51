// The package as a whole: saving rewrites the main part and copies every
// other part unchanged, whatever order the parts have in the archive.
#include "comun/paquete.h"
#include "quotes/paquetedocumento.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

const std::string kPrincipal = "word/document.xml";

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
};

QTEST_GUILESS_MAIN(PruebaPaqueteDocumento)
#include "tst_paquetedocumento.moc"
