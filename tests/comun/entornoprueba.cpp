#include "entornoprueba.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cstdlib>

EntornoPrueba::EntornoPrueba() : homeAnterior_(qgetenv("HOME")) {
    const QString h = dir_.path();
    QDir(h).mkpath(QStringLiteral(".config"));
    QDir(h).mkpath(QStringLiteral(".local/share"));
    QDir(h).mkpath(QStringLiteral("Documents"));
    qputenv("HOME", h.toUtf8());
    qputenv("XDG_CONFIG_HOME", (h + QStringLiteral("/.config")).toUtf8());
    qputenv("XDG_DATA_HOME", (h + QStringLiteral("/.local/share")).toUtf8());
    qputenv("XDG_DOCUMENTS_DIR", (h + QStringLiteral("/Documents")).toUtf8());
    qputenv("ODBCINI", (h + QStringLiteral("/.odbc.ini")).toUtf8());
    QFile odbcIni(h + QStringLiteral("/.odbc.ini"));
    odbcIni.open(QIODevice::WriteOnly);
    QStandardPaths::setTestModeEnabled(false);
}

EntornoPrueba::~EntornoPrueba() {
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
