// A template saved by LibreOffice Writer: the shipped template re-saved by
// LibreOffice itself, whose XML differs from the shipped one (other ids, runs
// split differently, empty bookmarks written twice, marks at one place
// reordered), filled just as well.
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/paquete.h"
#include "comun/xmldocumento.h"
#include "data/modconexion.h"
#include "platform/comandos.h"
#include "platform/mensajesguion.h"
#include "quotes/comprobarplantilla.h"
#include "quotes/documentospresupuesto.h"

#include <QDir>
#include <QFile>
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

class PruebaPlantillaLibreOffice : public QObject {
    Q_OBJECT

    QTemporaryDir trabajo;
    QString plantillaLibreOffice;
    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;
    std::unique_ptr<Fixtura> datos;
    RutasDocumento rutas;
    int preId = 0;

    DatosDocumento presupuesto() const {
        DatosDocumento d;
        d.id = QString::number(preId);
        d.numero = QStringLiteral("LO-7");
        d.lugar = QStringLiteral("Sevilla");
        d.fecha = QDate(2026, 12, 1);
        d.saludo = QStringLiteral("Estimada clienta");
        d.cliente = s("Cerámicas del Sur");
        d.parrafos = {QStringLiteral("Uno"), QStringLiteral("Dos"), QStringLiteral("Tres")};
        d.otrosCostos = {DatosDocumento::OtroCosto{QStringLiteral("Montaje"), QStringLiteral("80"),
                                                   QStringLiteral("EUR")},
                         {},
                         {}};
        d.vigencia = true;
        d.textoVigencia = QStringLiteral("Oferta válida durante");
        d.diasVigencia = QStringLiteral("15");
        d.despedida = QStringLiteral("Un saludo");
        d.firma = QStringLiteral("Luis");
        return d;
    }
    bool generar(const DatosDocumento& d, pugi::xml_document& xml) {
        DocumentosPresupuesto documentos;
        if (!documentos.GenerarDocumento(d, rutas))
            return false;
        const PartesPaquete p =
            leerPaquete(rutas.carpeta + u'/' + d.numero + QStringLiteral(".doc"));
        return p.ok && xmldoc::cargar(xml, p.documento());
    }
    static QString marcador(const pugi::xml_document& xml, const char* nombre) {
        return xmldoc::texto(xml, QString::fromLatin1(nombre));
    }

private slots:
    void initTestCase() {
        QVERIFY(trabajo.isValid());
        const QString perfil = QUrl::fromLocalFile(trabajo.filePath(QStringLiteral("perfil")))
                                   .toString(QUrl::FullyEncoded);
        const ResultadoComando r = ejecutorReal().ejecutar(
            QStringLiteral("soffice"),
            {QStringLiteral("--headless"), QStringLiteral("--norestore"),
             QStringLiteral("-env:UserInstallation=") + perfil, QStringLiteral("--convert-to"),
             QStringLiteral("docx:MS Word 2007 XML"), QStringLiteral("--outdir"), trabajo.path(),
             QStringLiteral(TARVO_PLANTILLA)},
            {240000, false});
        QVERIFY2(r.iniciado,
                 "LibreOffice (soffice) no está instalado: scripts/instalar-paquetes.sh");
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
        rutas.plantilla = plantillaLibreOffice;
        rutas.carpeta = entorno->ruta(QStringLiteral("presupuestos"));
        QVERIFY(QDir().mkpath(rutas.carpeta));
        preId = datos->presupuesto({});
    }
    void cleanup() {
        CerrarConexion();
        datos.reset();
        mensajes.reset();
        entorno.reset();
    }

    void esOtraEscrituraConLosMismosMarcadores() {
        const PartesPaquete original = leerPaquete(QStringLiteral(TARVO_PLANTILLA));
        const PartesPaquete reescrita = leerPaquete(plantillaLibreOffice);
        QVERIFY(original.ok && reescrita.ok);
        QVERIFY(original.documento() != reescrita.documento());
        QString informe;
        QTextStream salida(&informe);
        QCOMPARE(comprobarPlantilla(plantillaLibreOffice, salida), 0);
        QVERIFY2(informe.contains(QStringLiteral("Tiene los 84 marcadores")), qPrintable(informe));
        QVERIFY2(!informe.contains(QStringLiteral("repetidos")), qPrintable(informe));
    }

    void rellenaComoLaPlantillaOriginal() {
        datos->linea(preId, datos->producto(QStringLiteral("Azulejo 20x20")), 12.5, 4);
        datos->linea(preId, datos->producto(QStringLiteral("Cemento cola")), 9.95, 2);
        pugi::xml_document xml;
        QVERIFY(generar(presupuesto(), xml));
        QVERIFY(mensajes->mostrados().isEmpty());
        QCOMPARE(marcador(xml, "txtLugar"), QStringLiteral("Sevilla"));
        QCOMPARE(marcador(xml, "txtFecha"), QStringLiteral("martes, 1 de diciembre de 2026"));
        QCOMPARE(marcador(xml, "txtNumero"), QStringLiteral("LO-7"));
        QCOMPARE(marcador(xml, "txtCliente"), s("Cerámicas del Sur"));
        QCOMPARE(marcador(xml, "txtParrafo3"), QStringLiteral("Tres"));
        QCOMPARE(marcador(xml, "txtCantidad1"), QStringLiteral("4"));
        QCOMPARE(marcador(xml, "txtProducto1"), QStringLiteral("Azulejo 20x20"));
        QCOMPARE(marcador(xml, "txtPrecio1"), QStringLiteral("12,5"));
        QCOMPARE(marcador(xml, "txtSubTotal1"), QStringLiteral("50"));
        QCOMPARE(marcador(xml, "txtProducto2"), QStringLiteral("Cemento cola"));
        QCOMPARE(marcador(xml, "txtSubTotal2"), QStringLiteral("19,9"));
        QCOMPARE(marcador(xml, "txtTotalProductos"), QStringLiteral("69,9"));
        QCOMPARE(marcador(xml, "txtConcepto1"), QStringLiteral("Montaje"));
        QCOMPARE(marcador(xml, "txtTotalManoDeObra"), QStringLiteral("80"));
        QCOMPARE(marcador(xml, "txtTextoVigencia"), s("Oferta válida durante"));
        QCOMPARE(marcador(xml, "txtVigencia"), QStringLiteral("15"));
        QCOMPARE(marcador(xml, "txtFirma"), QStringLiteral("Luis"));
        QVERIFY(xmldoc::todo(xml).contains(s("Oferta válida durante 15 días")));
        QVERIFY(!xmldoc::todo(xml).contains(QStringLiteral("Nombre y cargo")));
    }

    void sinOtrosCostosNiVigencia() {
        datos->linea(preId, datos->producto(QStringLiteral("Azulejo")), 10, 1);
        DatosDocumento d = presupuesto();
        d.otrosCostos = {};
        d.vigencia = false;
        pugi::xml_document xml;
        QVERIFY(generar(d, xml));
        QCOMPARE(xmldoc::contar(xml, "//w:tbl"), 1);
        QVERIFY(!xmldoc::todo(xml).contains(QStringLiteral("Otros costos")));
        QCOMPARE(marcador(xml, "txtProducto1"), QStringLiteral("Azulejo"));
        QCOMPARE(marcador(xml, "txtTotalManoDeObra"), QStringLiteral("0"));
        QVERIFY(!xmldoc::todo(xml).contains(s("días")));
        // txtVigencia, which LibreOffice put inside txtDias, moved out whole.
        QVERIFY(xmldoc::fin(xml, QStringLiteral("txtVigencia")));
        QCOMPARE(marcador(xml, "txtDias"), QString(QStringLiteral("")));
    }
};

QTEST_GUILESS_MAIN(PruebaPlantillaLibreOffice)
#include "tst_plantillalibreoffice.moc"
