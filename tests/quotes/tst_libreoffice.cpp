// With LibreOffice for real: a template that LibreOffice Writer re-saved (other
// ids, runs split differently, empty bookmarks written twice, marks at one
// place reordered) is filled as well as the shipped one; and printing converts
// the saved document to a PDF that shows the filled values (read back with
// pdftotext; the printer command is scripted to fail as without a printer).
#include "comun/ejecutorguion.h"
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"
#include "comun/paquete.h"
#include "comun/xmldocumento.h"
#include "data/modconexion.h"
#include "platform/carpetas.h"
#include "quotes/accionesdocumento.h"
#include "quotes/comprobarplantilla.h"
#include "quotes/generardocumento.h"
#include "startup/arranque.h"
#include "startup/opciones.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QUrl>

#include <memory>

namespace {

QString s(const char* texto) {
    return QString::fromUtf8(texto);
}

} // namespace

class PruebaLibreOffice : public QObject {
    Q_OBJECT

    QTemporaryDir trabajo;
    QString plantillaLibreOffice;
    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;
    std::unique_ptr<Fixtura> datos;
    int preId = 0;

    CamposPresupuesto presupuesto() const {
        CamposPresupuesto d;
        d.id = QString::number(preId);
        d.numero = QStringLiteral("LO-7");
        d.lugar = QStringLiteral("Sevilla");
        d.fecha = QDate(2026, 12, 1);
        d.cliente = s("Cerámicas del Sur");
        d.descripcion = {QStringLiteral("Uno"), QStringLiteral("Dos"), QStringLiteral("Tres")};
        d.concepto[0] = QStringLiteral("Montaje");
        d.importe[0] = QStringLiteral("80");
        d.moneda[0] = QStringLiteral("EUR");
        d.vigencia = true;
        d.textoVigencia = s("Oferta válida durante");
        d.diasVigencia = QStringLiteral("15");
        d.firma = QStringLiteral("Luis Pardo");
        return d;
    }
    bool generarConLibreOffice(const CamposPresupuesto& d, pugi::xml_document& xml) {
        const RutasDocumento rutas{plantillaLibreOffice, entorno->home()};
        if (!DocumentosPresupuesto().GenerarDocumento(d, rutas))
            return false;
        const PartesPaquete p = leerPaquete(entorno->ruta(d.numero + QStringLiteral(".doc")));
        return p.ok && xmldoc::cargar(xml, p.documento());
    }
    static QString marcador(const pugi::xml_document& xml, const char* nombre) {
        return xmldoc::texto(xml, QString::fromLatin1(nombre));
    }

private slots:
    void initTestCase() {
        const QString perfil = QUrl::fromLocalFile(trabajo.filePath(QStringLiteral("perfil")))
                                   .toString(QUrl::FullyEncoded);
        const ResultadoComando r = ejecutorReal().ejecutar(
            QStringLiteral("soffice"),
            {QStringLiteral("--headless"), QStringLiteral("--norestore"),
             QStringLiteral("-env:UserInstallation=") + perfil, QStringLiteral("--convert-to"),
             QStringLiteral("docx:MS Word 2007 XML"), QStringLiteral("--outdir"), trabajo.path(),
             QStringLiteral(TARVO_PLANTILLA)},
            {300000, false});
        QVERIFY2(r.iniciado, "falta LibreOffice (soffice): scripts/instalar-paquetes.sh");
        QVERIFY2(!r.agotado && r.codigo == 0, r.errores.constData());
        plantillaLibreOffice = trabajo.filePath(QStringLiteral("presupuesto.docx"));
        QVERIFY2(QFile::exists(plantillaLibreOffice), r.salida.constData());
    }
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        const QString base = entorno->copiarBase();
        datos = std::make_unique<Fixtura>(base);
        abrirConexionDePrueba(base);
        preId = datos->presupuesto({});
        datos->linea(preId, datos->producto(QStringLiteral("Azulejo 20x20")), 12.5, 4);
        datos->linea(preId, datos->producto(QStringLiteral("Cemento cola")), 9.95, 2);
    }
    void cleanup() {
        CerrarConexion();
        datos.reset();
        mensajes.reset();
        entorno.reset();
        establecerCarpetaPrograma(QString());
    }

    void plantillaReescritaConLosMismosMarcadores() {
        QVERIFY(leerPaquete(plantillaLibreOffice).documento() !=
                leerPaquete(QStringLiteral(TARVO_PLANTILLA)).documento());
        QString informe;
        QTextStream salida(&informe);
        QCOMPARE(comprobarPlantilla(plantillaLibreOffice, salida), 0);
        QVERIFY2(informe.contains(QStringLiteral("Tiene los 84 marcadores")), qPrintable(informe));
        QVERIFY2(!informe.contains(QStringLiteral("repetidos")), qPrintable(informe));
    }

    void plantillaReescritaSeRellena() {
        pugi::xml_document xml;
        QVERIFY(generarConLibreOffice(presupuesto(), xml));
        QVERIFY(mensajes->mostrados().isEmpty());
        QCOMPARE(marcador(xml, "txtFecha"), QStringLiteral("martes, 1 de diciembre de 2026"));
        QCOMPARE(marcador(xml, "txtCliente"), s("Cerámicas del Sur"));
        QCOMPARE(marcador(xml, "txtParrafo3"), QStringLiteral("Tres"));
        QCOMPARE(marcador(xml, "txtCantidad1"), QStringLiteral("4"));
        QCOMPARE(marcador(xml, "txtPrecio1"), QStringLiteral("12,5"));
        QCOMPARE(marcador(xml, "txtProducto2"), QStringLiteral("Cemento cola"));
        QCOMPARE(marcador(xml, "txtSubTotal2"), QStringLiteral("19,9"));
        QCOMPARE(marcador(xml, "txtTotalProductos"), QStringLiteral("69,9"));
        QCOMPARE(marcador(xml, "txtTotalManoDeObra"), QStringLiteral("80"));
        QVERIFY(xmldoc::todo(xml).contains(s("Oferta válida durante 15 días")));
        QVERIFY(!xmldoc::todo(xml).contains(QStringLiteral("Nombre y cargo")));

        CamposPresupuesto d = presupuesto();
        d.concepto = {};
        d.vigencia = false;
        QVERIFY(generarConLibreOffice(d, xml));
        QCOMPARE(xmldoc::contar(xml, "//w:tbl"), 1);
        QVERIFY(!xmldoc::todo(xml).contains(QStringLiteral("Otros costos")));
        QCOMPARE(marcador(xml, "txtTotalManoDeObra"), QStringLiteral("0"));
        // LibreOffice put txtVigencia inside txtDias; emptying txtDias moved it out whole.
        QVERIFY(!xmldoc::todo(xml).contains(s("días")));
        QVERIFY(xmldoc::fin(xml, QStringLiteral("txtVigencia")));
    }

    void impresionConvierteElDocumentoConSusValores() {
        establecerCarpetaPrograma(QFileInfo(QStringLiteral(TARVO_PLANTILLA)).absolutePath());
        prepararCarpetaTarvo();
        CargarOpciones();
        mensajes->limpiar();
        QVERIFY(DocumentosPresupuesto().GenerarDocumento(presupuesto()));

        EjecutorGuion ejecutor;
        ejecutor.reenviar(QStringLiteral("soffice"));
        ejecutor.responder(QStringLiteral("lp"), EjecutorGuion::fallo(1, "lp: Error - no default "
                                                                         "destination available."));
        const QString copia = entorno->ruta(QStringLiteral("impreso.pdf"));
        ejecutor.alLlamar([&](const EjecutorGuion::Llamada& l) {
            if (l.programa == u"lp")
                QFile::copy(l.argumentos.last(), copia);
        });
        QVERIFY(!ImprimirDocumento(QStringLiteral("LO-7")));
        QCOMPARE(mensajes->mostrados().size(), 1);
        QVERIFY2(mensajes->textos().first().contains(s("no hay una impresora predeterminada")),
                 qPrintable(mensajes->textos().first()));
        QVERIFY2(QFileInfo(copia).size() > 1000, "LibreOffice no dejó el PDF");

        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"),
                        {QStringLiteral("-layout"), copia, QStringLiteral("-")});
        QVERIFY(pdftotext.waitForFinished(60000) && pdftotext.exitCode() == 0);
        const QString texto = QString::fromUtf8(pdftotext.readAllStandardOutput());
        for (const char* esperado :
             {"Sevilla, martes, 1 de diciembre de 2026", "LO-7", "Cerámicas del Sur",
              "Azulejo 20x20", "12,5", "Cemento cola", "19,9", "69,9", "Montaje",
              "Oferta válida durante 15 días", "Luis Pardo"})
            QVERIFY2(texto.contains(s(esperado)), qPrintable(s(esperado) + u'\n' + texto));
        QVERIFY(!texto.contains(QStringLiteral("Nombre y cargo")));
        QVERIFY(!texto.contains(QStringLiteral("Concepto 2")));
    }
};

QTEST_GUILESS_MAIN(PruebaLibreOffice)
#include "tst_libreoffice.moc"
