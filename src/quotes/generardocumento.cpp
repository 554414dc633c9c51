// The quote document: the template filled with the quote shown in the editor
// and its stored lines, saved under the quote number in the quote folder.
#include "quotes/generardocumento.h"

#include "documentos/procesadortextos.h"
#include "platform/mensajes.h"
#include "quotes/formatosdocumento.h"
#include "quotes/registrodocumentos.h"
#include "quotes/repositoriopresupuestos.h"
#include "startup/arranque.h"
#include "startup/opciones.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString kTitulo = QStringLiteral("Atención");
constexpr int kLineas = 15; // rows of line bookmarks in the template

void avisar(const QString& texto) {
    mensaje(texto, Botones::Aceptar, Icono::Critico, kTitulo);
}

QString conNumero(const char* prefijo, int n) {
    return QString::fromLatin1(prefijo) + QString::number(n);
}

} // namespace

RutasDocumento rutasDocumento() {
    return {carpetaTarvo() + QStringLiteral("/presupuesto.dot"), opciones().doc_path};
}

std::optional<QString> rutaDocumento(const QString& carpeta, const QString& numero) {
    if (numero.isEmpty() || numero == u"." || numero == u".." || numero.contains(u'/') ||
        numero.contains(QChar(u'\0')))
        return std::nullopt;
    return carpeta + u'/' + numero + QStringLiteral(".doc");
}

QStringList marcadoresGenerador() {
    QStringList nombres = {QStringLiteral("txtLugar"),    QStringLiteral("txtFecha"),
                           QStringLiteral("txtNumero"),   QStringLiteral("txtSaludo"),
                           QStringLiteral("txtCliente"),  QStringLiteral("txtParrafo1"),
                           QStringLiteral("txtParrafo2"), QStringLiteral("txtParrafo3")};
    for (int n = 1; n <= kLineas; ++n)
        for (const char* prefijo : {"txtCantidad", "txtProducto", "txtPrecio", "txtSubTotal"})
            nombres << conNumero(prefijo, n);
    nombres << QStringLiteral("txtTotalProductos");
    for (int n = 1; n <= 3; ++n)
        for (const char* prefijo : {"txtConcepto", "txtImporte", "txtMoneda"})
            nombres << conNumero(prefijo, n);
    nombres << QStringLiteral("txtTotalManoDeObra") << QStringLiteral("txtTextoVigencia")
            << QStringLiteral("txtVigencia") << QStringLiteral("txtDias")
            << QStringLiteral("txtDespedida") << QStringLiteral("txtFirma");
    return nombres;
}

DocumentosPresupuesto::DocumentosPresupuesto() = default;

DocumentosPresupuesto::~DocumentosPresupuesto() {
    cerrar();
}

void DocumentosPresupuesto::cerrar() {
    if (instancia_)
        instancia_->salir();
    instancia_.reset();
}

// The instance check that starts every operation: an instance that has ended
// is replaced by a new one.
ProcesadorTextos& DocumentosPresupuesto::prepararInstancia() {
    if (!instancia_ || !instancia_->activo())
        instancia_ = std::make_unique<ProcesadorTextos>();
    return *instancia_;
}

bool DocumentosPresupuesto::GenerarDocumento(const CamposPresupuesto& campos) {
    return GenerarDocumento(campos, rutasDocumento());
}

bool DocumentosPresupuesto::GenerarDocumento(const CamposPresupuesto& d,
                                             const RutasDocumento& rutas) {
    ProcesadorTextos& procesador = prepararInstancia();

    if (!QFileInfo(rutas.plantilla).isFile()) {
        avisar(QStringLiteral("No se ha encontrado la plantilla de presupuesto."));
        return false;
    }
    const std::optional<UbicacionDocumento> destino =
        ubicarDocumento(rutas.carpeta, d.numero, d.id);
    if (!destino) {
        avisar(QStringLiteral("No se puede crear el documento «%1/%2.doc»: el número de "
                              "presupuesto no sirve como nombre de archivo (no puede estar vacío "
                              "ni contener «/»). El presupuesto está guardado, pero su documento "
                              "no se ha creado.")
                   .arg(rutas.carpeta, d.numero));
        return false;
    }
    QString error;
    DocumentoTexto* doc = procesador.abrirDocumento(rutas.plantilla, error);
    if (!doc) {
        avisar(QStringLiteral("La plantilla de presupuesto «%1» no es un documento que se pueda "
                              "leer (%2). El presupuesto está guardado, pero su documento no se "
                              "ha creado.")
                   .arg(rutas.plantilla, error));
        return false;
    }

    // A bookmark the template lacks is skipped: its text is never typed
    // wherever the previous one left the insertion point.
    auto rellenar = [doc](const QString& marcador, const QString& texto) {
        if (!doc->irAMarcador(marcador))
            return false;
        doc->escribir(texto);
        return true;
    };

    rellenar(QStringLiteral("txtLugar"), d.lugar);
    rellenar(QStringLiteral("txtFecha"), fechaLarga(d.fecha));
    rellenar(QStringLiteral("txtNumero"), d.numero);
    rellenar(QStringLiteral("txtSaludo"), d.saludo);
    rellenar(QStringLiteral("txtCliente"), d.cliente);
    for (int n = 1; n <= 3; ++n)
        rellenar(conNumero("txtParrafo", n), d.descripcion[std::size_t(n - 1)]);

    // The stored lines, as the database returns them; at most fifteen. A
    // failed read has been told and leaves the table empty.
    double totalProductos = 0.0;
    std::vector<LineaPresupuesto> lineas;
    if (const std::optional<qint32> id = d.clave())
        lineas = RepositorioPresupuestos::lineas(*id).value_or(lineas);
    for (std::size_t i = 0; i < lineas.size() && i < std::size_t(kLineas); ++i) {
        const LineaPresupuesto& l = lineas[i];
        const int n = int(i) + 1;
        rellenar(conNumero("txtCantidad", n), numeroDocumento(l.cantidad));
        rellenar(conNumero("txtProducto", n), l.descripcion);
        rellenar(conNumero("txtPrecio", n), numeroDocumento(l.precio));
        rellenar(conNumero("txtSubTotal", n), numeroDocumento(l.subtotal()));
        totalProductos += l.subtotal();
    }
    const bool totalEscrito =
        rellenar(QStringLiteral("txtTotalProductos"), numeroDocumento(totalProductos));

    double totalOtros = 0.0;
    const bool hayOtros = std::any_of(d.concepto.begin(), d.concepto.end(),
                                      [](const QString& c) { return !c.isEmpty(); });
    if (hayOtros) {
        for (int n = 1; n <= 3; ++n) {
            const std::size_t i = std::size_t(n - 1);
            rellenar(conNumero("txtConcepto", n), d.concepto[i]);
            rellenar(conNumero("txtImporte", n), d.importe[i]);
            rellenar(conNumero("txtMoneda", n), d.moneda[i]);
            totalOtros += leerImporte(d.importe[i]).value_or(0.0);
        }
    } else if (totalEscrito) {
        // The insertion point sits just after the products total, inside the
        // table of other costs. Without that total it would be elsewhere, and
        // no table is deleted.
        doc->borrarTablaSeleccion();
    }
    rellenar(QStringLiteral("txtTotalManoDeObra"), numeroDocumento(totalOtros));

    if (d.vigencia) {
        rellenar(QStringLiteral("txtTextoVigencia"), d.textoVigencia);
        rellenar(QStringLiteral("txtVigencia"), d.diasVigencia);
    } else {
        rellenar(QStringLiteral("txtDias"), QString());
    }
    rellenar(QStringLiteral("txtDespedida"), d.despedida);
    rellenar(QStringLiteral("txtFirma"), d.firma);

    // A document changed since the program wrote it (the user edited it
    // with "Modificar") is kept beside it before it is written again.
    const QString& ruta = destino->ruta;
    std::optional<QString> conservado;
    if (destino->existe && destino->registro &&
        registrodocumentos::huella(ruta) != destino->registro->huella) {
        conservado = conservarModificado(ruta);
        if (!conservado) {
            procesador.cerrarDocumento();
            avisar(QStringLiteral("El documento «%1» se ha modificado después de que el programa "
                                  "lo escribiera y no se ha podido guardar una copia de esos "
                                  "cambios, así que no se ha reemplazado. El presupuesto está "
                                  "guardado.")
                       .arg(ruta));
            return false;
        }
    }

    const bool guardado = doc->guardarComo(ruta, error);
    procesador.cerrarDocumento();
    if (!guardado) {
        if (conservado)
            QFile::remove(*conservado);
        avisar(QStringLiteral("No se ha podido guardar el documento del presupuesto «%1»: %2. "
                              "El presupuesto está guardado; el documento anterior, si lo "
                              "había, sigue como estaba.")
                   .arg(ruta, error));
        return false;
    }
    // Without its record the next save cannot tell the user's changes; the
    // document itself is written, so that is not a failure of this save.
    registrodocumentos::escribir(ruta, {d.id.trimmed(), registrodocumentos::huella(ruta)});
    if (conservado)
        mensaje(QStringLiteral("El documento «%1» se había modificado después de que el programa "
                               "lo escribiera. Esos cambios se han guardado en «%2», y «%1» se ha "
                               "vuelto a escribir con el presupuesto.")
                    .arg(QDir::toNativeSeparators(ruta), QDir::toNativeSeparators(*conservado)),
                Botones::Aceptar, Icono::Exclamacion, kTitulo);
    return true;
}
