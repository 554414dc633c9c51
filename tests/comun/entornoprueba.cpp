#include "entornoprueba.h"

#include "platform/carpetas.h"
#include "startup/cqueryreg.h"
#include "startup/opciones.h"

#include <odbcinst.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

// The folders of the account under HOME, as the environment names them.
const struct {
    const char* variable;
    const char16_t* carpeta;
} kCarpetas[] = {
    {"HOME", u""},
    {"XDG_CONFIG_HOME", u"/.config"},
    {"XDG_DATA_HOME", u"/.local/share"},
    {"XDG_DOCUMENTS_DIR", u"/Documents"},
    {"ODBCINI", u"/.odbc.ini"},
};

// unixODBC keeps every value it reads from odbc.ini in a process-wide cache
// keyed by section and entry but not by file, so after ODBCINI changes it goes
// on answering with the previous account's data sources (entries expire only
// lazily, one per call). Any write through the installer empties that cache:
// deleting a section that does not exist from our own file is such a write.
void olvidarOrigenesLeidos(const QString& archivo) {
    SQLWritePrivateProfileString("TARVO_SIN_SECCION", nullptr, nullptr,
                                 QFile::encodeName(archivo).constData());
}

// Qt reads the settings folders once per process: point both stores, the
// machine-wide one included, into the account; the program folder is the
// build's.
void apuntarAjustes(const QString& home) {
    for (const auto formato : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(formato, QSettings::UserScope, home + QStringLiteral("/.config"));
        QSettings::setPath(formato, QSettings::SystemScope, home + QStringLiteral("/xdg-sistema"));
    }
    establecerCarpetaPrograma(QFileInfo(rutaBasePristina()).absolutePath());
}

} // namespace

EntornoPrueba::EntornoPrueba() : homeAnterior_(qgetenv("HOME")) {
    const QString h = dir_.path();
    for (const auto& c : kCarpetas)
        qputenv(c.variable, QFile::encodeName(h + QString::fromUtf16(c.carpeta)));
    for (const char16_t* carpeta : {u".config", u".local/share", u"Documents"})
        QDir(h).mkpath(QString::fromUtf16(carpeta));
    const QString odbcIni = ruta(QStringLiteral(".odbc.ini"));
    QFile archivo(odbcIni);
    if (archivo.open(QIODevice::WriteOnly))
        archivo.close();
    olvidarOrigenesLeidos(odbcIni);
    QStandardPaths::setTestModeEnabled(false);
    apuntarAjustes(h);
}

EntornoPrueba::~EntornoPrueba() {
    // Our file still exists here; whatever runs next must not see our sources.
    // ODBCINI keeps naming it (soon gone) rather than the real account's file.
    olvidarOrigenesLeidos(ruta(QStringLiteral(".odbc.ini")));
    qputenv("HOME", homeAnterior_);
}

QString EntornoPrueba::copiarBase(const QString& nombre) const {
    const QString destino = dir_.filePath(nombre);
    QFile::remove(destino);
    QFile::copy(rutaBasePristina(), destino);
    QFile::setPermissions(destino, QFile::ReadOwner | QFile::WriteOwner);
    return destino;
}

void EntornoPrueba::ajustar(const QString& nombre, const QString& valor) const {
    long estado = 0;
    cQueryReg().SetReg(claveTarvo(), nombre, valor, cQueryReg::HKEY_CURRENT_USER, cQueryReg::REG_SZ,
                       true, estado);
}

QProcessEnvironment EntornoPrueba::entornoHijo() const {
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    for (const auto& c : kCarpetas)
        entorno.insert(QString::fromLatin1(c.variable), home() + QString::fromUtf16(c.carpeta));
    return entorno;
}

void adoptarEntornoHeredado() {
    apuntarAjustes(QDir::homePath());
}

QString rutaBasePristina() {
    return QStringLiteral(TARVO_BD_PRISTINA);
}
