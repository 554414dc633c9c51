#include "platform/odbc.h"

#include <odbcinst.h>

#include <QByteArray>

namespace odbc {

namespace {

QString leerClave(const QByteArray& seccion, const char* clave, const char* archivo) {
    char buffer[4096] = {};
    const int n = SQLGetPrivateProfileString(seccion.constData(), clave, "", buffer,
                                             int(sizeof buffer), archivo);
    return n > 0 ? QString::fromUtf8(buffer, n) : QString();
}

} // namespace

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
    return origen;
}

bool esDriverSqlite(const QString& driver) {
    return driver.compare(driverSqlite(), Qt::CaseInsensitive) == 0 ||
           driver.contains(QStringLiteral("sqlite3odbc"), Qt::CaseInsensitive);
}

} // namespace odbc
