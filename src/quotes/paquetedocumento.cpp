#include "quotes/paquetedocumento.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <pugixml.hpp>
#include <zip.h>

namespace {

const char* const kTipoDocumentoPrincipal =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
const char* const kTipoDocumentoPrincipalEstricto =
    "http://purl.oclc.org/ooxml/officeDocument/relationships/officeDocument";

// A zip archive read from memory, closed on every path.
class Archivo {
public:
    Archivo(const QByteArray& bytes, int flags, QString& error) {
        zip_error_t detalle;
        zip_error_init(&detalle);
        fuente_ =
            zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &detalle);
        if (fuente_) {
            // On success the archive takes one reference; this object keeps its own.
            zip_ = zip_open_from_source(fuente_, flags, &detalle);
            if (zip_)
                zip_source_keep(fuente_);
        }
        if (!zip_)
            error = QString::fromUtf8(zip_error_strerror(&detalle));
        zip_error_fini(&detalle);
    }
    ~Archivo() {
        if (zip_)
            zip_discard(zip_);
        if (fuente_)
            zip_source_free(fuente_);
    }
    Archivo(const Archivo&) = delete;
    Archivo& operator=(const Archivo&) = delete;

    zip_t* zip() const { return zip_; }
    zip_source_t* fuente() const { return fuente_; }
    // Writes the changes into the memory source; the archive is then closed.
    bool cerrar() {
        const bool ok = zip_close(zip_) == 0;
        if (ok)
            zip_ = nullptr;
        return ok;
    }

private:
    zip_source_t* fuente_ = nullptr;
    zip_t* zip_ = nullptr;
};

bool leerEntrada(zip_t* zip, const std::string& nombre, std::string& contenido) {
    zip_stat_t estado;
    zip_stat_init(&estado);
    if (zip_stat(zip, nombre.c_str(), 0, &estado) != 0 || !(estado.valid & ZIP_STAT_SIZE))
        return false;
    zip_file_t* archivo = zip_fopen(zip, nombre.c_str(), 0);
    if (!archivo)
        return false;
    contenido.assign(std::size_t(estado.size), '\0');
    const zip_int64_t leidos = zip_fread(archivo, contenido.data(), estado.size);
    zip_fclose(archivo);
    return leidos == zip_int64_t(estado.size);
}

// The main document part named by the package relationships; Word and
// LibreOffice both call it word/document.xml.
std::string parteprincipal(zip_t* zip) {
    std::string rels;
    if (leerEntrada(zip, "_rels/.rels", rels)) {
        pugi::xml_document d;
        if (d.load_buffer(rels.data(), rels.size())) {
            for (const pugi::xml_node r : d.document_element().children()) {
                const std::string tipo = r.attribute("Type").value();
                if (tipo == kTipoDocumentoPrincipal || tipo == kTipoDocumentoPrincipalEstricto) {
                    std::string destino = r.attribute("Target").value();
                    while (!destino.empty() && destino.front() == '/')
                        destino.erase(0, 1);
                    if (!destino.empty())
                        return destino;
                }
            }
        }
    }
    return "word/document.xml";
}

} // namespace

std::optional<PaqueteDocumento> PaqueteDocumento::abrir(const QString& ruta, QString& error) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) {
        error = archivo.errorString();
        return std::nullopt;
    }
    PaqueteDocumento p;
    p.bytes_ = archivo.readAll();
    if (archivo.error() != QFileDevice::NoError) {
        error = archivo.errorString();
        return std::nullopt;
    }
    Archivo zip(p.bytes_, ZIP_RDONLY, error);
    if (!zip.zip())
        return std::nullopt;
    p.nombreParte_ = parteprincipal(zip.zip());
    if (!leerEntrada(zip.zip(), p.nombreParte_, p.parte_)) {
        error =
            QStringLiteral("no contiene la parte %1").arg(QString::fromStdString(p.nombreParte_));
        return std::nullopt;
    }
    return p;
}

bool PaqueteDocumento::guardarComo(const QString& ruta, const std::string& xml,
                                   QString& error) const {
    const QFileInfo destino(ruta);
    if (!destino.dir().exists()) {
        error = QStringLiteral("la carpeta «%1» no existe").arg(destino.dir().path());
        return false;
    }

    // The package is rewritten in memory: libzip copies every other entry as
    // it was stored and compresses only the new main part.
    Archivo zip(bytes_, 0, error);
    if (!zip.zip())
        return false;
    const zip_int64_t indice = zip_name_locate(zip.zip(), nombreParte_.c_str(), 0);
    zip_source_t* nueva = zip_source_buffer(zip.zip(), xml.data(), xml.size(), 0);
    if (indice < 0 || !nueva) {
        error = QString::fromUtf8(zip_strerror(zip.zip()));
        if (nueva)
            zip_source_free(nueva);
        return false;
    }
    const auto posicion = zip_uint64_t(indice);
    if (zip_file_replace(zip.zip(), posicion, nueva, 0) != 0) {
        zip_source_free(nueva);
        error = QString::fromUtf8(zip_strerror(zip.zip()));
        return false;
    }
    if (zip_set_file_compression(zip.zip(), posicion, ZIP_CM_DEFLATE, 6) != 0 || !zip.cerrar()) {
        error = QString::fromUtf8(zip_strerror(zip.zip()));
        return false;
    }

    QByteArray paquete;
    zip_source_t* fuente = zip.fuente();
    zip_stat_t estado;
    zip_stat_init(&estado);
    if (zip_source_stat(fuente, &estado) != 0 || zip_source_open(fuente) != 0) {
        error = QString::fromUtf8(zip_error_strerror(zip_source_error(fuente)));
        return false;
    }
    paquete.resize(qsizetype(estado.size));
    const zip_int64_t leidos = zip_source_read(fuente, paquete.data(), estado.size);
    zip_source_close(fuente);
    if (leidos != zip_int64_t(estado.size)) {
        error = QStringLiteral("no se pudo componer el paquete");
        return false;
    }

    // Written under a temporary name beside the destination and renamed over
    // it. Unbuffered, so that a short write (a full disk) is seen here: Qt's
    // buffered flush takes a partial write for success.
    QSaveFile salida(ruta);
    if (!salida.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = salida.errorString();
        return false;
    }
    const qint64 escritos = salida.write(paquete);
    if (escritos != paquete.size()) {
        error = escritos < 0 ? salida.errorString()
                             : QStringLiteral("solo se escribieron %1 de %2 bytes; puede que el "
                                              "disco esté lleno")
                                   .arg(escritos)
                                   .arg(paquete.size());
        salida.cancelWriting();
        return false;
    }
    if (!salida.commit()) {
        error = salida.errorString();
        return false;
    }
    return true;
}
