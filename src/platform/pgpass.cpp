#include "platform/pgpass.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pgpass {

namespace {

// The first four fields of a line, still escaped; empty for a comment or a
// line that has fewer.
QStringList clave(const QString& linea) {
    if (linea.startsWith(u'#'))
        return {};
    QStringList campos;
    QString actual;
    for (qsizetype i = 0; i < linea.size() && campos.size() < 4; ++i) {
        const QChar c = linea[i];
        if (c == u'\\' && i + 1 < linea.size()) {
            actual += c;
            actual += linea[++i];
        } else if (c == u':') {
            campos << actual;
            actual.clear();
        } else {
            actual += c;
        }
    }
    return campos.size() == 4 ? campos : QStringList();
}

bool tieneSalto(const Entrada& e) {
    for (const QString* s : {&e.servidor, &e.puerto, &e.baseDatos, &e.usuario, &e.contrasena})
        if (s->contains(u'\n') || s->contains(u'\r'))
            return true;
    return false;
}

QString sistema() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

QString archivo() {
    const QByteArray variable = qgetenv("PGPASSFILE");
    if (!variable.isEmpty())
        return QString::fromLocal8Bit(variable);
    return QDir::homePath() + QStringLiteral("/.pgpass");
}

QString escapar(const QString& campo) {
    QString texto;
    for (const QChar c : campo) {
        if (c == u'\\' || c == u':')
            texto += u'\\';
        texto += c;
    }
    return texto;
}

bool guardar(const Entrada& e, QString& error) {
    const QString ruta = archivo();
    if (tieneSalto(e)) {
        error = QStringLiteral("Los datos del servidor no pueden contener saltos de línea.");
        return false;
    }
    const QStringList propia = {
        escapar(e.servidor.isEmpty() ? QStringLiteral("localhost") : e.servidor),
        escapar(e.puerto.isEmpty() ? QStringLiteral("5432") : e.puerto), escapar(e.baseDatos),
        escapar(e.usuario)};
    const QString nueva = propia.join(u':') + u':' + escapar(e.contrasena);

    QStringList lineas;
    QFile anterior(ruta);
    if (anterior.exists()) {
        if (!anterior.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("No se puede leer «%1»: %2").arg(ruta, anterior.errorString());
            return false;
        }
        const QString texto = QString::fromUtf8(anterior.readAll());
        lineas = texto.split(u'\n');
        if (!lineas.isEmpty() && lineas.last().isEmpty())
            lineas.removeLast();
    }
    bool reemplazada = false;
    for (QString& linea : lineas)
        if (clave(linea) == propia) {
            linea = reemplazada ? QString() : nueva;
            reemplazada = true;
        }
    lineas.removeAll(QString());
    if (!reemplazada)
        lineas << nueva;
    const QByteArray bytes = (lineas.join(u'\n') + u'\n').toUtf8();

    // mkstemp creates the file with mode 0600: the password is never
    // readable by others, not even for a moment.
    QByteArray plantilla = QFile::encodeName(ruta + QStringLiteral(".XXXXXX"));
    const int fd = mkstemp(plantilla.data());
    if (fd < 0) {
        error =
            QStringLiteral("No se puede escribir en la carpeta de «%1»: %2").arg(ruta, sistema());
        return false;
    }
    qsizetype escrito = 0;
    while (escrito < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + escrito, size_t(bytes.size() - escrito));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        escrito += n;
    }
    const bool completo = escrito == bytes.size() && ::fsync(fd) == 0;
    const QString motivo = sistema();
    ::close(fd);
    if (!completo || ::rename(plantilla.constData(), QFile::encodeName(ruta).constData()) != 0) {
        error = QStringLiteral("No se pudo guardar la contraseña en «%1»: %2")
                    .arg(ruta, completo ? sistema() : motivo);
        ::unlink(plantilla.constData());
        return false;
    }
    return true;
}

} // namespace pgpass
