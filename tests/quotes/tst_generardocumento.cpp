// The quote document from the shipped template: every bookmark's text, the
// lines read from the database, the table of other costs, validity, and what
// the user is told when the template or the destination fails.
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"
#include "comun/paquete.h"
#include "comun/xmldocumento.h"
#include "data/modconexion.h"
#include "documentos/procesadortextos.h"
#include "platform/carpetas.h"
#include "quotes/formatosdocumento.h"
#include "quotes/generardocumento.h"
#include "quotes/registrodocumentos.h"
#include "startup/arranque.h"
#include "startup/opciones.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <csignal>
#include <functional>
#include <memory>
#include <sys/resource.h>

namespace {

QString s(const char* texto) {
    return QString::fromUtf8(texto);
}

} // namespace

class PruebaGenerarDocumento : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;
    std::unique_ptr<Fixtura> datos;
    std::unique_ptr<DocumentosPresupuesto> documentos;
    RutasDocumento rutas;
    int preId = 0;

    CamposPresupuesto completo() const {
        CamposPresupuesto d;
        d.id = QStringLiteral(" %1 ").arg(preId);
        d.numero = QStringLiteral("2026-41");
        d.lugar = QStringLiteral("Valencia");
        d.fecha = QDate(2026, 12, 1);
        d.saludo = s("Estimados señores");
        d.cliente = s("Acme Ibérica");
        d.descripcion = {s("Les presentamos nuestra oferta."), s("Forma de pago:\n30 días"),
                         QString()};
        d.concepto = {QStringLiteral("Mano de obra"), QStringLiteral("Transporte"), QString()};
        d.importe = {QStringLiteral("1000.5"), QStringLiteral("250"), QString()};
        d.moneda = {QStringLiteral("EUR"), QStringLiteral("EUR"), QString()};
        d.vigencia = true;
        d.textoVigencia = QStringLiteral("Plazo de vigencia de la oferta:");
        d.diasVigencia = QStringLiteral("30");
        d.despedida = QStringLiteral("Atentamente,");
        d.firma = s("Ana Molina\nDepartamento Comercial");
        return d;
    }
    static CamposPresupuesto sinOtrosCostos(CamposPresupuesto d) {
        d.concepto = {};
        d.importe = {};
        d.moneda = {};
        return d;
    }
    QString destino(const QString& numero = QStringLiteral("2026-41")) const {
        return rutas.carpeta + u'/' + numero + QStringLiteral(".doc");
    }
    // Generates and reads the document back.
    bool generar(const CamposPresupuesto& d, pugi::xml_document& xml) {
        if (!documentos->GenerarDocumento(d, rutas))
            return false;
        const PartesPaquete p = leerPaquete(destino(d.numero));
        return p.ok && xmldoc::cargar(xml, p.documento());
    }
    QString marcador(const pugi::xml_document& xml, const char* nombre) {
        return xmldoc::texto(xml, QString::fromLatin1(nombre));
    }
    // The shipped template with its main part changed by `cambio`.
    QString cambiada(const std::function<void(pugi::xml_document&)>& cambio) {
        const QString ruta = entorno->ruta(QStringLiteral("cambiada.dot"));
        plantillaCambiada(ruta, cambio);
        return ruta;
    }
    static void quitarMarcador(pugi::xml_document& xml, const char* nombre) {
        const pugi::xml_node inicio = xmldoc::inicio(xml, QString::fromLatin1(nombre));
        const pugi::xml_node fin = xmldoc::fin(xml, QString::fromLatin1(nombre));
        inicio.parent().remove_child(inicio);
        fin.parent().remove_child(fin);
    }
    QStringList archivosDeLaCarpeta() const {
        return QDir(rutas.carpeta)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    void verificarAviso(const QString& contiene) {
        QCOMPARE(mensajes->mostrados().size(), 1);
        const MensajesGuion::Mostrado& m = mensajes->mostrados().first();
        QVERIFY2(m.texto.contains(contiene), qPrintable(m.texto));
        QCOMPARE(m.titulo, s("Atención"));
        QCOMPARE(m.icono, Icono::Critico);
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        const QString base = entorno->copiarBase();
        datos = std::make_unique<Fixtura>(base);
        abrirConexionDePrueba(base);
        rutas.plantilla = entorno->ruta(QStringLiteral("Documents/Tarvo/presupuesto.dot"));
        rutas.carpeta = entorno->ruta(QStringLiteral("Documents/Tarvo/presupuestos"));
        QVERIFY(QDir().mkpath(rutas.carpeta));
        QVERIFY(QFile::copy(QStringLiteral(TARVO_PLANTILLA), rutas.plantilla));
        preId = datos->presupuesto({});
        documentos = std::make_unique<DocumentosPresupuesto>();
    }
    void cleanup() {
        documentos.reset();
        CerrarConexion();
        datos.reset();
        mensajes.reset();
        entorno.reset();
    }

    void rellenaCadaMarcador() {
        datos->linea(preId, datos->producto(QStringLiteral("Tornillo M6")), 1.5, 2);
        datos->linea(preId, datos->producto(s("Tuerca <hexagonal> & arandela")), 0.1, 3);
        pugi::xml_document xml;
        QVERIFY(generar(completo(), xml));
        QVERIFY(mensajes->mostrados().isEmpty());

        QCOMPARE(marcador(xml, "txtLugar"), QStringLiteral("Valencia"));
        QCOMPARE(marcador(xml, "txtFecha"), QStringLiteral("martes, 1 de diciembre de 2026"));
        QCOMPARE(marcador(xml, "txtNumero"), QStringLiteral("2026-41"));
        QCOMPARE(marcador(xml, "txtSaludo"), s("Estimados señores"));
        QCOMPARE(marcador(xml, "txtCliente"), s("Acme Ibérica"));
        QCOMPARE(marcador(xml, "txtParrafo1"), s("Les presentamos nuestra oferta."));
        QCOMPARE(marcador(xml, "txtParrafo2"), s("Forma de pago:\n30 días"));
        QCOMPARE(marcador(xml, "txtParrafo3"), QString(QStringLiteral("")));
        // Numbers in the locale's form: decimal comma, as few decimals as needed.
        QCOMPARE(marcador(xml, "txtCantidad1"), QStringLiteral("2"));
        QCOMPARE(marcador(xml, "txtProducto1"), QStringLiteral("Tornillo M6"));
        QCOMPARE(marcador(xml, "txtPrecio1"), QStringLiteral("1,5"));
        QCOMPARE(marcador(xml, "txtSubTotal1"), QStringLiteral("3"));
        QCOMPARE(marcador(xml, "txtCantidad2"), QStringLiteral("3"));
        QCOMPARE(marcador(xml, "txtProducto2"), s("Tuerca <hexagonal> & arandela"));
        QCOMPARE(marcador(xml, "txtPrecio2"), QStringLiteral("0,1"));
        QCOMPARE(marcador(xml, "txtSubTotal2"), QStringLiteral("0,3"));
        for (const char* vacio : {"txtCantidad3", "txtProducto3", "txtSubTotal15"})
            QCOMPARE(marcador(xml, vacio), QString(QStringLiteral("")));
        QCOMPARE(marcador(xml, "txtTotalProductos"), QStringLiteral("3,3"));
        QCOMPARE(marcador(xml, "txtConcepto1"), QStringLiteral("Mano de obra"));
        QCOMPARE(marcador(xml, "txtImporte1"), QStringLiteral("1000.5")); // as typed
        QCOMPARE(marcador(xml, "txtMoneda1"), QStringLiteral("EUR"));
        QCOMPARE(marcador(xml, "txtConcepto2"), QStringLiteral("Transporte"));
        QCOMPARE(marcador(xml, "txtConcepto3"), QString(QStringLiteral("")));
        QCOMPARE(marcador(xml, "txtImporte3"), QString(QStringLiteral("")));
        QCOMPARE(marcador(xml, "txtTotalManoDeObra"), QStringLiteral("1250,5"));
        QCOMPARE(marcador(xml, "txtTextoVigencia"),
                 QStringLiteral("Plazo de vigencia de la oferta:"));
        QCOMPARE(marcador(xml, "txtVigencia"), QStringLiteral("30"));
        QCOMPARE(marcador(xml, "txtDias"), s(" días"));
        QCOMPARE(marcador(xml, "txtDespedida"), QStringLiteral("Atentamente,"));
        QCOMPARE(marcador(xml, "txtFirma"), s("Ana Molina\nDepartamento Comercial"));
        // Every bookmark is still there, each around its own text.
        QCOMPARE(xmldoc::contar(xml, "//w:bookmarkStart"), marcadoresGenerador().size());
        QVERIFY(xmldoc::todo(xml).contains(s("Plazo de vigencia de la oferta: 30 días")));
    }

    void soloLasQuinceLineasPrimeras() {
        for (int n = 1; n <= 17; ++n)
            datos->linea(preId, datos->producto(QStringLiteral("Producto %1").arg(n)), n, 1);
        pugi::xml_document xml;
        QVERIFY(generar(completo(), xml));
        QCOMPARE(marcador(xml, "txtProducto1"), QStringLiteral("Producto 1"));
        QCOMPARE(marcador(xml, "txtProducto15"), QStringLiteral("Producto 15"));
        QCOMPARE(marcador(xml, "txtSubTotal15"), QStringLiteral("15"));
        QVERIFY(!xmldoc::todo(xml).contains(QStringLiteral("Producto 16")));
        QVERIFY(!xmldoc::todo(xml).contains(QStringLiteral("Producto 17")));
        QCOMPARE(marcador(xml, "txtTotalProductos"), QStringLiteral("120")); // 1 + … + 15
    }

    void productoAusenteODescripcionVacia() {
        datos->linea(preId, datos->producto(QString(QStringLiteral(""))), 2, 1);
        datos->linea(preId, 9999, 3, 1); // no such product
        pugi::xml_document xml;
        QVERIFY(generar(completo(), xml));
        QCOMPARE(marcador(xml, "txtProducto1"), QString(QStringLiteral("")));
        QCOMPARE(marcador(xml, "txtProducto2"), QString(QStringLiteral("")));
        QCOMPARE(marcador(xml, "txtSubTotal2"), QStringLiteral("3"));
        QCOMPARE(marcador(xml, "txtTotalProductos"), QStringLiteral("5"));
    }

    void sinOtrosCostosSeBorraSuTabla() {
        datos->linea(preId, datos->producto(QStringLiteral("Tornillo")), 2, 1);
        pugi::xml_document xml;
        QVERIFY(generar(sinOtrosCostos(completo()), xml));
        QCOMPARE(xmldoc::contar(xml, "//w:tbl"), 1);
        QVERIFY(!xmldoc::todo(xml).contains(QStringLiteral("Otros costos")));
        for (const char* ido : {"txtTotalProductos", "txtConcepto1", "txtImporte2", "txtMoneda3"})
            QVERIFY2(!xmldoc::inicio(xml, QString::fromLatin1(ido)), ido);
        // The product lines stay, and the total of other costs still says 0.
        QCOMPARE(marcador(xml, "txtProducto1"), QStringLiteral("Tornillo"));
        QCOMPARE(marcador(xml, "txtTotalManoDeObra"), QStringLiteral("0"));
        // Between the two pieces that stay, a paragraph keeps the body valid.
        const pugi::xml_node tabla = xml.select_node("//w:tbl").node();
        QCOMPARE(QByteArray(tabla.next_sibling().name()), QByteArray("w:p"));
    }

    void unConceptoLlenaLasTresFilas() {
        CamposPresupuesto d = completo();
        d.concepto = {QStringLiteral("Montaje"), QString(), QString()};
        d.importe = {QStringLiteral("12,5"), QString(), QStringLiteral("abc")};
        d.moneda = {QStringLiteral("USD"), QString(), QString()};
        pugi::xml_document xml;
        QVERIFY(generar(d, xml));
        QCOMPARE(xmldoc::contar(xml, "//w:tbl"), 2);
        QCOMPARE(marcador(xml, "txtTotalProductos"), QStringLiteral("0")); // no lines
        QCOMPARE(marcador(xml, "txtCantidad1"), QString(QStringLiteral("")));
        QCOMPARE(marcador(xml, "txtConcepto1"), QStringLiteral("Montaje"));
        QCOMPARE(marcador(xml, "txtConcepto2"), QString(QStringLiteral("")));
        QCOMPARE(marcador(xml, "txtImporte2"), QString(QStringLiteral("")));
        QCOMPARE(marcador(xml, "txtMoneda2"), QString(QStringLiteral("")));
        QCOMPARE(marcador(xml, "txtImporte3"), QStringLiteral("abc")); // typed, not added
        QCOMPARE(marcador(xml, "txtTotalManoDeObra"), QStringLiteral("12,5"));
    }

    void sinVigenciaSeVaciaDias() {
        CamposPresupuesto d = completo();
        d.vigencia = false;
        d.descripcion[1] = QStringLiteral("Forma de pago: contado");
        pugi::xml_document xml;
        QVERIFY(generar(d, xml));
        QCOMPARE(marcador(xml, "txtDias"), QString(QStringLiteral("")));
        // The two validity bookmarks keep what the template holds: nothing.
        QCOMPARE(marcador(xml, "txtTextoVigencia"), QString(QStringLiteral("")));
        QCOMPARE(marcador(xml, "txtVigencia"), QString(QStringLiteral("")));
        QVERIFY(!xmldoc::todo(xml).contains(s("días")));
        QVERIFY(!xmldoc::todo(xml).contains(QStringLiteral("vigencia")));
    }

    void elSegundoGuardadoReemplazaAlPrimero() {
        CamposPresupuesto d = completo();
        d.cliente = QStringLiteral("Primer cliente");
        QVERIFY(documentos->GenerarDocumento(d, rutas));
        d.cliente = QStringLiteral("Segundo cliente");
        pugi::xml_document xml;
        QVERIFY(generar(d, xml));
        QCOMPARE(marcador(xml, "txtCliente"), QStringLiteral("Segundo cliente"));
        QVERIFY(!xmldoc::todo(xml).contains(QStringLiteral("Primer cliente")));
        QCOMPARE(archivosDeLaCarpeta(), QStringList{QStringLiteral("2026-41.doc")});
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    void unMarcadorAusenteSeOmite() {
        rutas.plantilla =
            cambiada([](pugi::xml_document& xml) { quitarMarcador(xml, "txtSaludo"); });
        CamposPresupuesto d = completo();
        d.saludo = s("Saludo que no tiene sitio");
        pugi::xml_document xml;
        QVERIFY(generar(d, xml));
        QVERIFY(!xmldoc::todo(xml).contains(d.saludo));
        QCOMPARE(marcador(xml, "txtNumero"), QStringLiteral("2026-41"));
        QCOMPARE(marcador(xml, "txtCliente"), s("Acme Ibérica"));
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    void sinTotalDeProductosNoSeBorraTablaAlguna() {
        rutas.plantilla =
            cambiada([](pugi::xml_document& xml) { quitarMarcador(xml, "txtTotalProductos"); });
        datos->linea(preId, datos->producto(QStringLiteral("Tornillo")), 2, 1);
        pugi::xml_document xml;
        QVERIFY(generar(sinOtrosCostos(completo()), xml));
        QCOMPARE(xmldoc::contar(xml, "//w:tbl"), 2);
        QCOMPARE(marcador(xml, "txtProducto1"), QStringLiteral("Tornillo"));
    }

    void elRestoDelPaqueteQuedaIntacto() {
        pugi::xml_document xml;
        QVERIFY(generar(completo(), xml));
        const PartesPaquete plantilla = leerPaquete(rutas.plantilla);
        const PartesPaquete documento = leerPaquete(destino());
        QVERIFY(plantilla.nombres == documento.nombres);
        QVERIFY(documento.documento().rfind(
                    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>", 0) == 0);
        for (const std::string& n : plantilla.nombres)
            if (n != "word/document.xml")
                QVERIFY2(plantilla.contenido.at(n) == documento.contenido.at(n), n.c_str());
        pugi::xml_document original;
        QVERIFY(xmldoc::cargar(original, plantilla.documento()));
        int atributos = 0;
        for (const pugi::xml_attribute a : original.document_element().attributes()) {
            QCOMPARE(QByteArray(xml.document_element().attribute(a.name()).value()),
                     QByteArray(a.value()));
            ++atributos;
        }
        QVERIFY(atributos >= 5);
        QVERIFY(std::distance(xml.document_element().attributes().begin(),
                              xml.document_element().attributes().end()) == atributos);
    }

    void plantillaAusente() {
        QVERIFY(QFile::remove(rutas.plantilla));
        QVERIFY(!documentos->GenerarDocumento(completo(), rutas));
        QCOMPARE(mensajes->textos(),
                 QStringList{s("No se ha encontrado la plantilla de presupuesto.")});
        verificarAviso(QStringLiteral("plantilla"));
        QVERIFY(archivosDeLaCarpeta().isEmpty());
        // The instance stays, invisible and without a document.
        QVERIFY(documentos->instancia());
        QVERIFY(!documentos->instancia()->documento());
    }

    void plantillaIlegibleDejaElDocumentoAnterior() {
        QVERIFY(documentos->GenerarDocumento(completo(), rutas));
        QFile anterior(destino());
        QVERIFY(anterior.open(QIODevice::ReadOnly));
        const QByteArray bytes = anterior.readAll();
        anterior.close();
        QFile plantilla(rutas.plantilla);
        QVERIFY(plantilla.open(QIODevice::WriteOnly | QIODevice::Truncate));
        plantilla.close();
        QVERIFY(!documentos->GenerarDocumento(completo(), rutas));
        verificarAviso(rutas.plantilla);
        QVERIFY(anterior.open(QIODevice::ReadOnly));
        QCOMPARE(anterior.readAll(), bytes);
        QVERIFY(!documentos->instancia()->documento());
    }

    void numeroQueNoSirveDeNombre() {
        const QStringList numeros = {QStringLiteral("2026/41"), QStringLiteral(".."),
                                     QStringLiteral("../fuera"), QString()};
        for (const QString& numero : numeros) {
            mensajes->limpiar();
            CamposPresupuesto d = completo();
            d.numero = numero;
            QVERIFY(!documentos->GenerarDocumento(d, rutas));
            verificarAviso(rutas.carpeta + u'/' + numero + QStringLiteral(".doc"));
        }
        QVERIFY(archivosDeLaCarpeta().isEmpty());
        QVERIFY(!QFileInfo::exists(entorno->ruta(QStringLiteral("Documents/Tarvo/fuera.doc"))));
        QVERIFY(!rutaDocumento(rutas.carpeta, QStringLiteral("a/b")));
        QCOMPARE(rutaDocumento(rutas.carpeta, QStringLiteral("A-7 bis")).value(),
                 rutas.carpeta + QStringLiteral("/A-7 bis.doc"));
    }

    void carpetaDePresupuestosAusente() {
        rutas.carpeta = entorno->ruta(QStringLiteral("no/existe"));
        QVERIFY(!documentos->GenerarDocumento(completo(), rutas));
        verificarAviso(destino());
        QVERIFY(mensajes->mostrados().first().texto.contains(s("no existe")));
        QVERIFY(!QFileInfo::exists(rutas.carpeta));
    }

    void discoLlenoDejaElDocumentoAnterior() {
        QVERIFY(documentos->GenerarDocumento(completo(), rutas));
        QFile anterior(destino());
        QVERIFY(anterior.open(QIODevice::ReadOnly));
        const QByteArray bytes = anterior.readAll();
        anterior.close();

        rlimit limite{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limite), 0);
        const rlimit original = limite;
        std::signal(SIGXFSZ, SIG_IGN);
        limite.rlim_cur = 2000; // the document takes several times that
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limite), 0);
        CamposPresupuesto d = completo();
        d.cliente = QStringLiteral("Otro cliente");
        const bool generado = documentos->GenerarDocumento(d, rutas);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &original), 0);

        QVERIFY(!generado);
        verificarAviso(destino());
        QVERIFY(anterior.open(QIODevice::ReadOnly));
        QCOMPARE(anterior.readAll(), bytes);
        QCOMPARE(archivosDeLaCarpeta(), QStringList{QStringLiteral("2026-41.doc")});
    }

    void rutasDeLaConfiguracion() {
        establecerCarpetaPrograma(QFileInfo(QStringLiteral(TARVO_PLANTILLA)).absolutePath());
        prepararCarpetaTarvo();
        CargarOpciones();
        const RutasDocumento actuales = rutasDocumento();
        QCOMPARE(actuales.plantilla,
                 CarpetaDocumentos() + QStringLiteral("/Tarvo/presupuesto.dot"));
        QCOMPARE(actuales.carpeta, CarpetaDocumentos() + QStringLiteral("/Tarvo/presupuestos"));
        mensajes->limpiar();
        QVERIFY(documentos->GenerarDocumento(completo()));
        QVERIFY(leerPaquete(actuales.carpeta + QStringLiteral("/2026-41.doc")).ok);
        establecerCarpetaPrograma(QString());
    }

    void cerrarTerminaLaInstancia() {
        DocumentosPresupuesto sinUso;
        QVERIFY(!sinUso.instancia());
        sinUso.cerrar(); // starts nothing
        QVERIFY(!sinUso.instancia());

        QVERIFY(documentos->GenerarDocumento(completo(), rutas));
        ProcesadorTextos* instancia = documentos->instancia();
        QVERIFY(instancia && instancia->activo() && !instancia->documento());
        documentos->cerrar();
        QVERIFY(!documentos->instancia());
        // The next operation starts a new one.
        QVERIFY(documentos->GenerarDocumento(completo(), rutas));
        QVERIFY(documentos->instancia() && documentos->instancia()->activo());
    }

    // "Modificar" lets the user change the stored document: the next save
    // keeps those changes beside it, says where, and writes the quote again.
    void documentoModificadoSeConserva() {
        QVERIFY(documentos->GenerarDocumento(completo(), rutas));
        QFile editado(destino());
        QVERIFY(editado.open(QIODevice::Append));
        editado.write("cambios del usuario");
        QVERIFY(editado.flush());
        QVERIFY(editado.setFileTime(QDateTime(QDate(2026, 12, 9), QTime(10, 32)),
                                    QFileDevice::FileModificationTime));
        editado.close();
        QVERIFY(editado.open(QIODevice::ReadOnly));
        const QByteArray bytes = editado.readAll();
        editado.close();

        QVERIFY(documentos->GenerarDocumento(completo(), rutas));
        const QString conservado =
            rutas.carpeta + QStringLiteral("/2026-41 (modificado 09-12-2026 10.32).doc");
        QFile copia(conservado);
        QVERIFY(copia.open(QIODevice::ReadOnly));
        QCOMPARE(copia.readAll(), bytes);
        QVERIFY(leerPaquete(destino()).ok);
        QCOMPARE(mensajes->mostrados().size(), 1);
        QVERIFY2(mensajes->mostrados().first().texto.contains(conservado),
                 qPrintable(mensajes->mostrados().first().texto));
        // What the program wrote is the program's again: no further copy.
        mensajes->limpiar();
        QVERIFY(documentos->GenerarDocumento(completo(), rutas));
        QVERIFY(mensajes->mostrados().isEmpty());
        QCOMPARE(archivosDeLaCarpeta().size(), 2);
    }

    // Older files may hold two quotes with one number: each keeps a document
    // of its own, and the actions find the one of the quote on screen.
    void unDocumentoPorPresupuesto() {
        // A document written before the program kept records is taken over
        // without a word by the first quote that saves.
        QFile antiguo(destino());
        QVERIFY(antiguo.open(QIODevice::WriteOnly));
        antiguo.write("documento antiguo");
        antiguo.close();
        CamposPresupuesto primero = completo();
        CamposPresupuesto segundo = completo();
        segundo.id = QString::number(preId + 1);
        segundo.cliente = QStringLiteral("Otro cliente");
        QVERIFY(documentos->GenerarDocumento(primero, rutas));
        QVERIFY(documentos->GenerarDocumento(segundo, rutas));
        QVERIFY(documentos->GenerarDocumento(primero, rutas));
        QVERIFY(mensajes->mostrados().isEmpty());

        const QString otro = destino(QStringLiteral("2026-41 (2)"));
        pugi::xml_document xml;
        QVERIFY(xmldoc::cargar(xml, leerPaquete(destino()).documento()));
        QCOMPARE(marcador(xml, "txtCliente"), s("Acme Ibérica"));
        QVERIFY(xmldoc::cargar(xml, leerPaquete(otro).documento()));
        QCOMPARE(marcador(xml, "txtCliente"), QStringLiteral("Otro cliente"));
        QCOMPARE(ubicarDocumento(rutas.carpeta, primero.numero, primero.id)->ruta, destino());
        QCOMPARE(ubicarDocumento(rutas.carpeta, segundo.numero, segundo.id)->ruta, otro);
        QCOMPARE(archivosDeLaCarpeta().size(), 2);
    }

    void numerosFechasEImportes() {
        QCOMPARE(numeroDocumento(1234567.25), QStringLiteral("1234567,25"));
        QCOMPARE(numeroDocumento(0.1 * 3), QStringLiteral("0,3"));
        QCOMPARE(numeroDocumento(-0.0), QStringLiteral("0"));
        QCOMPARE(numeroDocumento(-2.5), QStringLiteral("-2,5"));
        QCOMPARE(numeroDocumento(1e20), QStringLiteral("1E+20"));
        QCOMPARE(fechaLarga(QDate(2027, 1, 4)), QStringLiteral("lunes, 4 de enero de 2027"));
        QCOMPARE(leerImporte(QStringLiteral("12.5")).value_or(-1), 12.5);
        QCOMPARE(leerImporte(QStringLiteral(" 12,5 ")).value_or(-1), 12.5);
        QCOMPARE(leerImporte(QStringLiteral("1500")).value_or(-1), 1500.0);
        QVERIFY(!leerImporte(QStringLiteral("1.234,5")));
        QVERIFY(!leerImporte(QStringLiteral("abc")));
        QVERIFY(!leerImporte(QString()));
        QVERIFY(!leerImporte(QStringLiteral("inf")));
    }
};

QTEST_GUILESS_MAIN(PruebaGenerarDocumento)
#include "tst_generardocumento.moc"
