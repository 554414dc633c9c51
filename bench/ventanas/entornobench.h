#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// A private account for one measurement: a temporary HOME with its XDG folders
// (settings in ~/.config, Documents) and its own ODBC user configuration
// (~/.odbc.ini through ODBCINI). While it lives, this process's settings and
// data sources are the account's; its settings name `base` as the database,
// and the program folder is the build's, with the pristine companion files.
class EntornoBench {
public:
    explicit EntornoBench(const QString& base);
    ~EntornoBench();
    EntornoBench(const EntornoBench&) = delete;
    EntornoBench& operator=(const EntornoBench&) = delete;

    bool valido() const { return dir_.isValid(); }
    QString home() const { return dir_.path(); }
    // The environment of a child process that runs in this account.
    QProcessEnvironment entornoHijo() const;

private:
    QTemporaryDir dir_;
    QByteArray homeAnterior_;
};

// In a child started with EntornoBench::entornoHijo(): the settings folders
// from the HOME it received, and the program folder of the build.
void adoptarEntornoHeredado();
