#pragma once

#include <QString>
#include <QTemporaryDir>

// A private world for one test: a temporary HOME with its XDG folders and
// ODBC user configuration, so that settings, documents and data sources never
// touch the real account.
class EntornoPrueba {
public:
    EntornoPrueba();
    ~EntornoPrueba();
    EntornoPrueba(const EntornoPrueba&) = delete;
    EntornoPrueba& operator=(const EntornoPrueba&) = delete;

    QString home() const { return dir_.path(); }
    QString ruta(const QString& relativa) const { return dir_.filePath(relativa); }
    // A fresh copy of the pristine database under HOME; returns its path.
    QString copiarBase(const QString& nombre = QStringLiteral("bd2000.mdb")) const;

private:
    QTemporaryDir dir_;
    QByteArray homeAnterior_;
};

// Path of the pristine database built from the schema script.
QString rutaBasePristina();
