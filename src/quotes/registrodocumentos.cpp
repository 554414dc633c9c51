#include "quotes/registrodocumentos.h"

#include "quotes/generardocumento.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <unistd.h>

namespace {

// Enough names for any number of quotes sharing one number.
constexpr int kMaximoNombres = 1000;

// The document's path with its folder resolved, so that one document has
// one record however its folder was written.
QString rutaCanonica(const QString& documento) {
    const QFileInfo info(documento);
    const QString carpeta = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (carpeta.isEmpty() ? info.absolutePath() : carpeta) + u'/' + info.fileName();
}

QString archivoRegistro(const QString& documento) {
    const QByteArray clave =
        QCryptographicHash::hash(rutaCanonica(documento).toUtf8(), QCryptographicHash::Sha1);
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/tarvo/documentos/") + QString::fromLatin1(clave.toHex()) +
           QStringLiteral(".registro");
}

} // namespace

namespace registrodocumentos {

std::optional<RegistroDocumento> leer(const QString& documento) {
    QFile archivo(archivoRegistro(documento));
    if (!archivo.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Three lines: the document's path, the quote key, the hexadecimal SHA-256.
    const QList<QByteArray> lineas = archivo.read(64 * 1024).split('\n');
    if (lineas.size() < 3 || QString::fromUtf8(lineas[0]) != rutaCanonica(documento))
        return std::nullopt;
    const QByteArray huella = QByteArray::fromHex(lineas[2]);
    if (huella.size() != 32)
        return std::nullopt;
    return RegistroDocumento{QString::fromUtf8(lineas[1]), huella};
}

bool escribir(const QString& documento, const RegistroDocumento& registro) {
    const QString ruta = archivoRegistro(documento);
    if (!QDir().mkpath(QFileInfo(ruta).absolutePath()))
        return false;
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly))
        return false;
    archivo.write(rutaCanonica(documento).toUtf8() + '\n' + registro.presupuesto.toUtf8() + '\n' +
                  registro.huella.toHex() + '\n');
    return archivo.commit();
}

QByteArray huella(const QString& archivo) {
    QFile f(archivo);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!f.open(QIODevice::ReadOnly) || !hash.addData(&f))
        return {};
    return hash.result();
}

} // namespace registrodocumentos

std::optional<QString> conservarModificado(const QString& documento) {
    const QFileInfo info(documento);
    const QString base = info.absolutePath() + u'/' + info.completeBaseName() +
                         QStringLiteral(" (modificado %1)")
                             .arg(info.lastModified().toString(QStringLiteral("dd-MM-yyyy HH.mm")));
    const QString extension = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    const QByteArray origen = QFile::encodeName(documento);
    for (int n = 1; n <= kMaximoNombres; ++n) {
        const QString nombre =
            base + (n == 1 ? QString() : QStringLiteral(" (%1)").arg(n)) + extension;
        if (QFileInfo::exists(nombre))
            continue;
        // A second link to the same file: nothing copied, and never half a file.
        if (::link(origen.constData(), QFile::encodeName(nombre).constData()) == 0)
            return nombre;
        if (errno == EEXIST)
            continue;
        if (QFile::copy(documento, nombre))
            return nombre;
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<UbicacionDocumento> ubicarDocumento(const QString& carpeta, const QString& numero,
                                                  const QString& id) {
    const std::optional<QString> propio = rutaDocumento(carpeta, numero);
    if (!propio)
        return std::nullopt;
    const QString clave = id.trimmed();
    std::optional<UbicacionDocumento> sinRegistro, libre;
    for (int n = 1; n <= kMaximoNombres; ++n) {
        UbicacionDocumento u;
        u.ruta = n == 1 ? *propio : carpeta + u'/' + numero + QStringLiteral(" (%1).doc").arg(n);
        u.registro = registrodocumentos::leer(u.ruta);
        u.existe = QFileInfo::exists(u.ruta);
        if (u.registro && !clave.isEmpty() && u.registro->presupuesto == clave)
            return u;
        if (!u.registro && u.existe && !sinRegistro)
            sinRegistro = u;
        // Names are taken in turn: the first unused one ends the search.
        if (!u.registro && !u.existe) {
            libre = u;
            break;
        }
    }
    if (sinRegistro)
        return sinRegistro;
    return libre;
}
