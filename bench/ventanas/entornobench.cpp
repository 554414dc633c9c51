#include "entornobench.h"

#include "platform/carpetas.h"
#include "startup/cqueryreg.h"
#include "startup/opciones.h"

#include <odbcinst.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace {

// unixODBC keeps what it read from odbc.ini in a process-wide cache that
// ignores which file it came from; any write through the installer empties
// it. Deleting a section that does not exist from our own file is such a
// write.
void olvidarOrigenesLeidos(const QByteArray& archivo) {
    SQLWritePrivateProfileString("TARVO_SIN_SECCION", nullptr, nullptr, archivo.constData());
}

// Qt reads the settings folders once per process: point both stores, the
// machine-wide one included, into the account.
void apuntarAjustes(const QString& home) {
    for (const auto formato : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(formato, QSettings::UserScope, home + QStringLiteral("/.config"));
        QSettings::setPath(formato, QSettings::SystemScope, home + QStringLiteral("/xdg-sistema"));
    }
}

} // namespace

EntornoBench::EntornoBench(const QString& base) : homeAnterior_(qgetenv("HOME")) {
    if (!dir_.isValid())
        return;
    const QString h = dir_.path();
    QDir(h).mkpath(QStringLiteral(".config"));
    QDir(h).mkpath(QStringLiteral(".local/share"));
    QDir(h).mkpath(QStringLiteral("Documents"));
    qputenv("HOME", QFile::encodeName(h));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(h + QStringLiteral("/.config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(h + QStringLiteral("/.local/share")));
    qputenv("XDG_DOCUMENTS_DIR", QFile::encodeName(h + QStringLiteral("/Documents")));
    const QByteArray odbcIni = QFile::encodeName(h + QStringLiteral("/.odbc.ini"));
    qputenv("ODBCINI", odbcIni);
    QFile archivo(QFile::decodeName(odbcIni));
    if (archivo.open(QIODevice::WriteOnly))
        archivo.close();
    olvidarOrigenesLeidos(odbcIni);
    QStandardPaths::setTestModeEnabled(false);
    apuntarAjustes(h);
    establecerCarpetaPrograma(QStringLiteral(TARVO_CARPETA_PROGRAMA));
    long estado = 0;
    cQueryReg().SetReg(claveTarvo(), QStringLiteral("db_path"), base, cQueryReg::HKEY_CURRENT_USER,
                       cQueryReg::REG_SZ, true, estado);
}

EntornoBench::~EntornoBench() {
    // Whatever runs next must not see this account's data sources.
    olvidarOrigenesLeidos(QFile::encodeName(dir_.filePath(QStringLiteral(".odbc.ini"))));
    qputenv("HOME", homeAnterior_);
}

QProcessEnvironment EntornoBench::entornoHijo() const {
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    const QString h = dir_.path();
    entorno.insert(QStringLiteral("HOME"), h);
    entorno.insert(QStringLiteral("XDG_CONFIG_HOME"), h + QStringLiteral("/.config"));
    entorno.insert(QStringLiteral("XDG_DATA_HOME"), h + QStringLiteral("/.local/share"));
    entorno.insert(QStringLiteral("XDG_DOCUMENTS_DIR"), h + QStringLiteral("/Documents"));
    entorno.insert(QStringLiteral("ODBCINI"), h + QStringLiteral("/.odbc.ini"));
    return entorno;
}

void adoptarEntornoHeredado() {
    apuntarAjustes(QDir::homePath());
    establecerCarpetaPrograma(QStringLiteral(TARVO_CARPETA_PROGRAMA));
}
