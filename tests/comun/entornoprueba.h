#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// A private account for one test or one measurement: a temporary HOME with
// its XDG folders (settings in ~/.config, Documents) and its own ODBC user
// configuration (~/.odbc.ini through ODBCINI), so that settings, documents and
// data sources never touch the real account. The program folder is the
// build's, which holds the pristine companion files.
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
    // Writes one of the program's settings, as text, to the account's store.
    void ajustar(const QString& nombre, const QString& valor) const;
    // The environment of a child process that runs in this account.
    QProcessEnvironment entornoHijo() const;

private:
    QTemporaryDir dir_;
    QByteArray homeAnterior_;
};

// In a child started with EntornoPrueba::entornoHijo(): the settings folders
// from the HOME it received, and the program folder of the build.
void adoptarEntornoHeredado();

// Path of the pristine database built from the schema script.
QString rutaBasePristina();
