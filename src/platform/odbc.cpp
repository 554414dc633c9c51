#include "platform/odbc.h"

#include <odbcinst.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

namespace odbc {

namespace {

QString leerClave(const QByteArray& seccion, const char* clave, const char* archivo) {
    char buffer[4096] = {};
    const int n = SQLGetPrivateProfileString(seccion.constData(), clave, "", buffer,
                                             int(sizeof buffer), archivo);
    return n > 0 ? QString::fromUtf8(buffer, n) : QString();
}

} // namespace

QString archivoOrigenesUsuario() {
    const QString nombrado = qEnvironmentVariable("ODBCINI");
    return nombrado.isEmpty() ? QDir::homePath() + QStringLiteral("/.odbc.ini") : nombrado;
}

QString problemaArchivoOrigenes() {
    const QFileInfo info(archivoOrigenesUsuario());
    if (info.isDir())
        return QStringLiteral("en su lugar hay una carpeta.");
    if (!info.exists()) {
        const QFileInfo carpeta(info.absolutePath());
        if (!carpeta.isDir())
            return QStringLiteral("la carpeta que debe contenerlo no existe.");
        if (!carpeta.isWritable())
            return QStringLiteral("no tiene permiso para crearlo en su carpeta.");
        return {};
    }
    if (!info.isFile())
        return QStringLiteral("no es un archivo normal.");
    QFile archivo(info.filePath());
    if (!archivo.open(QIODevice::ReadOnly))
        return QStringLiteral("no tiene permiso para leerlo.");
    if (!info.isWritable())
        return QStringLiteral("es de solo lectura.");
    const QByteArray bytes = archivo.readAll();
    for (const char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            return QStringLiteral("está dañado: no es un archivo de texto.");
    }
    return {};
}

QString driverSqlite() {
    return QStringLiteral("SQLite3");
}

bool escribirOrigenUsuario(const QString& nombre, const QString& driver, const QString& baseDatos) {
    if (nombre.isEmpty() || nombre.contains(u'[') || nombre.contains(u']'))
        return false;
    const QByteArray n = nombre.toUtf8();
    const QByteArray d = driver.toUtf8();
    const QByteArray b = baseDatos.toUtf8();
    SQLSetConfigMode(ODBC_USER_DSN);
    bool ok = SQLWriteDSNToIni(n.constData(), d.constData()) &&
              SQLWritePrivateProfileString(n.constData(), "Database", b.constData(), "odbc.ini");
    SQLSetConfigMode(ODBC_BOTH_DSN);
    // Read it back: the installer reports success even where it wrote nothing.
    if (ok) {
        const auto origen = leerOrigen(nombre);
        ok = origen && origen->baseDatos == baseDatos;
    }
    return ok;
}

std::optional<Origen> leerOrigen(const QString& nombre) {
    if (nombre.isEmpty())
        return std::nullopt;
    const QByteArray n = nombre.toUtf8();
    SQLSetConfigMode(ODBC_BOTH_DSN);
    Origen origen;
    origen.driver = leerClave(n, "Driver", "odbc.ini");
    if (origen.driver.isEmpty())
        return std::nullopt;
    origen.baseDatos = leerClave(n, "Database", "odbc.ini");
    origen.servidor = leerClave(n, "Servername", "odbc.ini");
    origen.puerto = leerClave(n, "Port", "odbc.ini");
    origen.usuario = leerClave(n, "Username", "odbc.ini");
    origen.ssl = leerClave(n, "SSLmode", "odbc.ini");
    return origen;
}

QString driverPostgres() {
    return QStringLiteral("PostgreSQL Unicode");
}

bool esDriverPostgres(const QString& driver) {
    return driver.startsWith(QStringLiteral("PostgreSQL"), Qt::CaseInsensitive) ||
           driver.contains(QStringLiteral("psqlodbc"), Qt::CaseInsensitive);
}

bool escribirOrigenServidor(const QString& nombre, const Origen& origen) {
    if (nombre.isEmpty() || nombre.contains(u'[') || nombre.contains(u']'))
        return false;
    const QByteArray n = nombre.toUtf8();
    const QByteArray d = driverPostgres().toUtf8();
    SQLSetConfigMode(ODBC_USER_DSN);
    bool ok = SQLWriteDSNToIni(n.constData(), d.constData());
    const std::pair<const char*, QString> atributos[] = {
        {"Servername", origen.servidor},
        {"Port", origen.puerto},
        {"Database", origen.baseDatos},
        {"Username", origen.usuario},
        {"SSLmode", origen.ssl.isEmpty() ? QStringLiteral("prefer") : origen.ssl}};
    for (const auto& [clave, valor] : atributos)
        ok = ok && SQLWritePrivateProfileString(n.constData(), clave, valor.toUtf8().constData(),
                                                "odbc.ini");
    SQLSetConfigMode(ODBC_BOTH_DSN);
    if (ok) {
        const auto leido = leerOrigen(nombre);
        ok = leido && leido->baseDatos == origen.baseDatos && leido->servidor == origen.servidor;
    }
    return ok;
}

bool esDriverSqlite(const QString& driver) {
    return driver.compare(driverSqlite(), Qt::CaseInsensitive) == 0 ||
           driver.contains(QStringLiteral("sqlite3odbc"), Qt::CaseInsensitive);
}

} // namespace odbc
