#pragma once

#include "data/conexion.h"
#include "data/modconexion.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// The value of one attribute ("Data Source", "Password", ...) of a connection
// string of "name=value" pairs separated by semicolons; names ignore case and
// a value may be quoted. Empty when absent.
QString atributoConexion(const QString& cadena, const QString& nombre);

// The data environment: its own connection `Farmacia` and the named commands
// that feed the reports and the catalogue windows. Each command has a result
// set named "rs" + the command's name that lives as long as the environment,
// so windows may keep the pointer while the set is closed and reopened.
class EntornoDatos {
public:
    EntornoDatos();
    ~EntornoDatos();
    EntornoDatos(const EntornoDatos&) = delete;
    EntornoDatos& operator=(const EntornoDatos&) = delete;

    // The connection string of `Farmacia`: its "Data Source" names the data
    // source and its "Password" the password. Takes effect the next time the
    // connection opens.
    void establecerCadenaConexion(const QString& cadena);
    const QString& cadenaConexion() const { return cadena_; }

    // `Farmacia`, opened on first use. Null when it cannot be opened; the
    // failure has then been reported.
    Conexion* farmacia();
    bool conexionAbierta() const { return conexion_ != nullptr; }
    // Closes every result set and the connection. Harmless when closed.
    void cerrarConexion();

    // The commands, by name (ignoring case).
    QStringList comandos() const;
    bool existe(const QString& comando) const;
    QString textoDiseno(const QString& comando) const;
    QString texto(const QString& comando) const;
    // The values bound to the ? placeholders of the command's text.
    QVariantList valores(const QString& comando) const;
    // Replaces the command's text and values; the open set keeps its rows
    // until reopened.
    void establecerTexto(const QString& comando, const QString& texto,
                         const QVariantList& valores = {});

    // (Re)opens the command's result set with its text; a non-empty `texto`
    // first becomes the command's text. On failure every provider error is
    // reported and the set is left closed. The set of a command that edits in
    // place (below) opens editable.
    // `valores` bind, in order, to the text's ? placeholders; a new text keeps
    // its values, so that reopening the command later (a report binding to
    // it) reads the same rows.
    bool abrir(const QString& comando, const QString& texto = {}, const QVariantList& valores = {});

    // The commands that the catalogue windows edit in place write to one base
    // table, each row found by its integer key.
    struct DestinoEdicion {
        QString tabla;
        QString clave;
    };
    DestinoEdicion destinoEdicion(const QString& comando) const;
    // The command's result set, opened with its text when it is closed (what a
    // report or window does when it binds to the command).
    RegistrosPtr usar(const QString& comando);
    void cerrar(const QString& comando);
    bool abierto(const QString& comando) const;

    // A result set by its name ("rsCategorias"); null for an unknown name.
    RegistrosPtr registros(const QString& nombre) const;

private:
    struct Comando {
        QString nombre;
        QString textoDiseno;
        QString texto;
        QVariantList valores; // bound to the text's placeholders
        RegistrosPtr rs;
        DestinoEdicion edicion;
    };
    Comando* buscar(const QString& comando);
    const Comando* buscar(const QString& comando) const;
    Comando& agregar(const QString& nombre, const QString& texto);

    QString cadena_;
    std::unique_ptr<Conexion> conexion_;
    std::vector<Comando> comandos_;

public:
    // Result sets of the commands, by their system names.
    const RegistrosPtr rsCategorias;
    const RegistrosPtr rsCProductos;
    const RegistrosPtr rsCCategoriasActivas;
    const RegistrosPtr rsUnidadesDeMedida;
    const RegistrosPtr rsMonedas;
    const RegistrosPtr rsProveedores;
    const RegistrosPtr rsCVinculosActivos;
    const RegistrosPtr rsListadoProductos;
    const RegistrosPtr rsProductos_Categorias;
    const RegistrosPtr rsTotalPresupuestos;
    const RegistrosPtr rsUsuarios;
};

// The program's data environment.
EntornoDatos& dteBodex();
