#include "documentos/paquetedocumento.h"

#include "platform/motivos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <pugixml.hpp>
#include <zip.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kTipoDocumentoPrincipal =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
const char* const kTipoDocumentoPrincipalEstricto =
    "http://purl.oclc.org/ooxml/officeDocument/relationships/officeDocument";

// A zip archive read, never written, from memory; closed on every path.
class Archivo {
public:
    Archivo(const QByteArray& bytes, QString& error) {
        zip_error_t detalle;
        zip_error_init(&detalle);
        zip_source_t* fuente =
            zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &detalle);
        if (fuente) {
            // On success the archive owns the source.
            zip_ = zip_open_from_source(fuente, ZIP_RDONLY, &detalle);
            if (!zip_)
                zip_source_free(fuente);
        }
        if (!zip_)
            error = QString::fromUtf8(zip_error_strerror(&detalle));
        zip_error_fini(&detalle);
    }
    ~Archivo() {
        if (zip_)
            zip_discard(zip_);
    }
    Archivo(const Archivo&) = delete;
    Archivo& operator=(const Archivo&) = delete;

    zip_t* zip() const { return zip_; }

private:
    zip_t* zip_ = nullptr;
};

// The system's reason, to follow a colon inside a sentence.
QString motivo(int codigo) {
    QString texto = motivoSistema(codigo);
    if (texto.endsWith(u'.'))
        texto.chop(1);
    return texto;
}

bool escribirTodo(int fd, const char* datos, std::size_t tamano) {
    while (tamano > 0) {
        const ssize_t escritos = ::write(fd, datos, tamano);
        if (escritos < 0 && errno == EINTR)
            continue;
        if (escritos <= 0)
            return false;
        datos += escritos;
        tamano -= std::size_t(escritos);
    }
    return true;
}

bool sincronizar(const QString& ruta, int banderas) {
    const int fd = ::open(QFile::encodeName(ruta).constData(), banderas | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// A hidden file beside the destination, removed unless it is renamed into
// place. It takes the destination's permissions, or the usual ones of a new
// file.
class Temporal {
public:
    explicit Temporal(const QFileInfo& destino) : destino_(destino.absoluteFilePath()) {
        QByteArray plantilla = QFile::encodeName(destino.absolutePath() + QStringLiteral("/.") +
                                                 destino.fileName() + QStringLiteral(".XXXXXX"));
        fd_ = ::mkostemp(plantilla.data(), O_CLOEXEC);
        if (fd_ < 0)
            return;
        ruta_ = QFile::decodeName(plantilla);
        struct stat actual;
        mode_t modo = 0666;
        if (::stat(QFile::encodeName(destino_).constData(), &actual) == 0) {
            modo = actual.st_mode & 07777;
        } else {
            const mode_t mascara = ::umask(0);
            ::umask(mascara);
            modo &= ~mascara;
        }
        ::fchmod(fd_, modo);
    }
    ~Temporal() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!ruta_.isEmpty())
            ::unlink(QFile::encodeName(ruta_).constData());
    }
    Temporal(const Temporal&) = delete;
    Temporal& operator=(const Temporal&) = delete;

    bool creado() const { return fd_ >= 0; }
    const QString& ruta() const { return ruta_; }
    bool escribir(const QByteArray& bytes) {
        const bool ok = escribirTodo(fd_, bytes.constData(), std::size_t(bytes.size()));
        const int codigo = errno;
        const bool cerrado = ::close(fd_) == 0;
        fd_ = -1;
        errno = ok ? errno : codigo;
        return ok && cerrado;
    }
    // Flushed to the disk and renamed over the destination in one step.
    bool colocar() {
        if (!sincronizar(ruta_, O_RDONLY) || ::rename(QFile::encodeName(ruta_).constData(),
                                                      QFile::encodeName(destino_).constData()) != 0)
            return false;
        ruta_.clear();
        sincronizar(QFileInfo(destino_).absolutePath(), O_RDONLY | O_DIRECTORY);
        return true;
    }

private:
    QString destino_;
    QString ruta_;
    int fd_ = -1;
};

// What the program reads of a package. A template is a few hundred
// kilobytes and its document part well under a megabyte uncompressed; these
// bounds leave room for pictures and long texts while refusing, before any
// memory is taken, a file or a part that would take gigabytes (a size header
// that lies, or a part compressed a thousand to one).
constexpr qint64 kMaximoPaquete = qint64(64) << 20;           // the file as stored: 64 MiB
constexpr zip_uint64_t kMaximoParte = zip_uint64_t(32) << 20; // one part read, uncompressed: 32 MiB

QString enMiB(quint64 bytes) {
    return QString::number((bytes + (quint64(1) << 20) - 1) >> 20);
}

// Reads one part. False when it is missing or unreadable; `excesiva` then
// says why when the part is larger than the program reads.
bool leerEntrada(zip_t* zip, const std::string& nombre, std::string& contenido, QString& excesiva) {
    zip_stat_t estado;
    zip_stat_init(&estado);
    if (zip_stat(zip, nombre.c_str(), 0, &estado) != 0 || !(estado.valid & ZIP_STAT_SIZE))
        return false;
    if (estado.size > kMaximoParte) {
        excesiva =
            QStringLiteral("la parte %1 ocupa %2 MiB sin comprimir, y no se leen partes "
                           "de más de %3 MiB")
                .arg(QString::fromStdString(nombre), enMiB(estado.size), enMiB(kMaximoParte));
        return false;
    }
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
std::string parteprincipal(zip_t* zip, QString& excesiva) {
    std::string rels;
    if (leerEntrada(zip, "_rels/.rels", rels, excesiva)) {
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
    if (archivo.size() > kMaximoPaquete) {
        error = QStringLiteral("el archivo ocupa %1 MiB, y no se leen paquetes de más de %2 MiB")
                    .arg(enMiB(quint64(archivo.size())), enMiB(quint64(kMaximoPaquete)));
        return std::nullopt;
    }
    PaqueteDocumento p;
    p.bytes_ = archivo.readAll();
    if (archivo.error() != QFileDevice::NoError) {
        error = archivo.errorString();
        return std::nullopt;
    }
    Archivo zip(p.bytes_, error);
    if (!zip.zip())
        return std::nullopt;
    QString excesiva;
    p.nombreParte_ = parteprincipal(zip.zip(), excesiva);
    if (!excesiva.isEmpty() || !leerEntrada(zip.zip(), p.nombreParte_, p.parte_, excesiva)) {
        error = !excesiva.isEmpty() ? excesiva
                                    : QStringLiteral("no contiene la parte %1")
                                          .arg(QString::fromStdString(p.nombreParte_));
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

    // The package as read is copied to a hidden file beside the destination,
    // libzip rewrites that file (copying every other entry as it was stored and
    // compressing only the new main part), and it is renamed over the
    // destination: a failed save leaves the earlier file and nothing else.
    Temporal temporal(destino);
    if (!temporal.creado() || !temporal.escribir(bytes_)) {
        error = motivo(errno);
        return false;
    }
    int codigo = 0;
    zip_t* zip = zip_open(QFile::encodeName(temporal.ruta()).constData(), 0, &codigo);
    if (!zip) {
        zip_error_t detalle;
        zip_error_init_with_code(&detalle, codigo);
        error = QString::fromUtf8(zip_error_strerror(&detalle));
        zip_error_fini(&detalle);
        return false;
    }
    const zip_int64_t indice = zip_name_locate(zip, nombreParte_.c_str(), 0);
    zip_source_t* nueva = indice < 0 ? nullptr : zip_source_buffer(zip, xml.data(), xml.size(), 0);
    bool ok = nueva && zip_file_replace(zip, zip_uint64_t(indice), nueva, 0) == 0;
    if (!ok && nueva)
        zip_source_free(nueva);
    ok = ok && zip_set_file_compression(zip, zip_uint64_t(indice), ZIP_CM_DEFLATE, 6) == 0 &&
         zip_close(zip) == 0;
    if (!ok) {
        // A failed write names the system's reason (a full disk among them).
        const int sistema = zip_error_code_system(zip_get_error(zip));
        error = zip_error_system_type(zip_get_error(zip)) == ZIP_ET_SYS && sistema != 0
                    ? motivo(sistema)
                    : QString::fromUtf8(zip_strerror(zip));
        zip_discard(zip);
        return false;
    }
    if (!temporal.colocar()) {
        error = motivo(errno);
        return false;
    }
    return true;
}
