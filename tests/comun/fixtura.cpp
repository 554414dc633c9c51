#include "fixtura.h"

#include "data/entornodatos.h"
#include "data/modconexion.h"
#include "startup/arranque.h"

#include <QtTest>

Fixtura::Fixtura(const QString& rutaBase) : con_(rutaBase) {
    if (!con_.abierta())
        qFatal("la base de prueba no abre: %s", qPrintable(rutaBase));
}

void Fixtura::ejecutar(const QString& sql, const QVariantList& valores) {
    if (!con_.ejecutar(sql, valores).ok)
        qFatal("fixtura: %s: %s", qPrintable(sql), qPrintable(con_.errores().value(0).descripcion));
}

int Fixtura::contacto(const QString& nombreFantasia, const QString& razonSocial) {
    ejecutar(QStringLiteral("INSERT INTO CONTACTOS (EmpNombreFantasia, EmpRazonSocial) VALUES "
                            "(?, ?)"),
             {nombreFantasia, razonSocial.isNull() ? QVariant() : QVariant(razonSocial)});
    return con_.ejecutar(QStringLiteral("SELECT MAX(EmpId) FROM CONTACTOS"))
        .filas->valor(0, 0)
        .toInt();
}

int Fixtura::presupuesto(const Presupuesto& p) {
    ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS (PreNumero, PreFecha, EmpId, PreVigencia, "
                            "PreLugar, PreSaludo, UsuLogin) VALUES (?, ?, ?, ?, ?, ?, ?)"),
             {p.numero, p.fecha, p.empId, p.vigencia, p.lugar, p.saludo, p.usuLogin});
    return con_.ejecutar(QStringLiteral("SELECT MAX(PreId) FROM PRESUPUESTOS"))
        .filas->valor(0, 0)
        .toInt();
}

int Fixtura::producto(const QString& descripcion, const QString& codigo) {
    ejecutar(QStringLiteral("INSERT INTO PRODUCTOS (ProDescripcion, ProCodigo, CatId) VALUES (?, "
                            "?, 1)"),
             {descripcion, codigo.isNull() ? QVariant() : QVariant(codigo)});
    return con_.ejecutar(QStringLiteral("SELECT MAX(ProId) FROM PRODUCTOS"))
        .filas->valor(0, 0)
        .toInt();
}

int Fixtura::producto(const QString& descripcion, const QString& codigo, double precio,
                      const QString& moneda, bool desactivado) {
    ejecutar(QStringLiteral("INSERT INTO PRODUCTOS (ProDescripcion, ProCodigo, CatId, ProPrecio, "
                            "ProMoneda, ProDesactivado) VALUES (?, ?, 1, ?, ?, ?)"),
             {descripcion, codigo.isEmpty() ? QVariant() : QVariant(codigo), precio,
              moneda.isEmpty() ? QVariant() : QVariant(moneda), desactivado ? 1 : 0});
    return con_.ejecutar(QStringLiteral("SELECT MAX(ProId) FROM PRODUCTOS"))
        .filas->valor(0, 0)
        .toInt();
}

void Fixtura::darDeBaja(int preId, int proId) {
    ejecutar(QStringLiteral("UPDATE PRESUPUESTOS_PRODUCTOS SET RemProBajaStock=1 WHERE PreId=? "
                            "AND ProId=?"),
             {preId, proId});
}

void Fixtura::linea(int preId, int proId, double precio, double cantidad) {
    ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS_PRODUCTOS (PreId, ProId, PreProPrecio, "
                            "PreProCantidad) VALUES (?, ?, ?, ?)"),
             {preId, proId, precio, cantidad});
}

void Fixtura::usuario(const QString& login, const QVariant& passwordCodificada,
                      const QString& nombre) {
    ejecutar(QStringLiteral("INSERT OR REPLACE INTO USUARIOS (UsuLogin, UsuPassword, UsuNombre) "
                            "VALUES (?, ?, ?)"),
             {login, passwordCodificada, nombre});
}

int Fixtura::contar(const QString& tabla) {
    return con_.ejecutar(QStringLiteral("SELECT COUNT(*) FROM ") + tabla)
        .filas->valor(0, 0)
        .toInt();
}

void prepararEntornoDatosDePrueba() {
    EntornoDatos& dte = dteBodex();
    dte.cerrarConexion();
    for (const QString& comando : dte.comandos())
        dte.establecerTexto(comando, dte.textoDiseno(comando));
    dte.establecerCadenaConexion(cadenaConexionInformes(QStringLiteral("PRUEBA")));
}

void cerrarEntornoDatosDePrueba() {
    dteBodex().cerrarConexion();
}

void abrirConexionDePrueba(const QString& rutaBase) {
    CrearDSN(QStringLiteral("TARVO_PRUEBA"), rutaBase);
    AbrirConexion(QStringLiteral("TARVO_PRUEBA"), QStringLiteral("pelmor"));
    if (!conexion())
        qFatal("no abre la conexión compartida");
}
