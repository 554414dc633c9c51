#include "entornoprueba.h"

#include "platform/carpetas.h"

#include <odbcinst.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <cstdlib>

namespace {

// unixODBC keeps every value it reads from odbc.ini in a process-wide cache
// keyed by section and entry but not by file, so after ODBCINI changes it goes
// on answering with the previous test's data sources (entries expire only
// lazily, one per call). Any write through the installer empties that cache:
// deleting a section that does not exist from our own file is such a write.
void olvidarOrigenesLeidos(const QByteArray& archivo) {
    SQLWritePrivateProfileString("TARVO_SIN_SECCION", nullptr, nullptr, archivo.constData());
}

} // namespace

EntornoPrueba::EntornoPrueba() : homeAnterior_(qgetenv("HOME")) {
    const QString h = dir_.path();
    QDir(h).mkpath(QStringLiteral(".config"));
    QDir(h).mkpath(QStringLiteral(".local/share"));
    QDir(h).mkpath(QStringLiteral("Documents"));
    qputenv("HOME", h.toUtf8());
    qputenv("XDG_CONFIG_HOME", (h + QStringLiteral("/.config")).toUtf8());
    qputenv("XDG_DATA_HOME", (h + QStringLiteral("/.local/share")).toUtf8());
    qputenv("XDG_DOCUMENTS_DIR", (h + QStringLiteral("/Documents")).toUtf8());
    const QByteArray odbcIni = (h + QStringLiteral("/.odbc.ini")).toUtf8();
    qputenv("ODBCINI", odbcIni);
    QFile archivo(QString::fromUtf8(odbcIni));
    if (archivo.open(QIODevice::WriteOnly))
        archivo.close();
    olvidarOrigenesLeidos(odbcIni);
    QStandardPaths::setTestModeEnabled(false);
    // Qt reads the settings folders once per process: point them here for
    // every test, the machine-wide store included.
    // The program folder is the build's, which holds the pristine companion files.
    establecerCarpetaPrograma(QFileInfo(rutaBasePristina()).absolutePath());
    for (const auto formato : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(formato, QSettings::UserScope, h + QStringLiteral("/.config"));
        QSettings::setPath(formato, QSettings::SystemScope, h + QStringLiteral("/xdg-sistema"));
    }
}

EntornoPrueba::~EntornoPrueba() {
    // Our file still exists here; whatever runs next must not see our sources.
    // ODBCINI keeps naming it (soon gone) rather than the real account's file.
    olvidarOrigenesLeidos(dir_.filePath(QStringLiteral(".odbc.ini")).toUtf8());
    qputenv("HOME", homeAnterior_);
}

QString EntornoPrueba::copiarBase(const QString& nombre) const {
    const QString destino = dir_.filePath(nombre);
    QFile::remove(destino);
    QFile::copy(rutaBasePristina(), destino);
    QFile::setPermissions(destino, QFile::ReadOwner | QFile::WriteOwner);
    return destino;
}

QString rutaBasePristina() {
    return QStringLiteral(TARVO_BD_PRISTINA);
}
