#include "fixtura.h"

#include "servidorprueba.h"

#include "data/conexionpostgres.h"
#include "data/entornodatos.h"
#include "data/modconexion.h"
#include "platform/odbc.h"
#include "startup/arranque.h"

#include <QtTest>

Fixtura::Fixtura(const QString& rutaBase) : con_(rutaBase) {
    if (!con_.abierta())
        qFatal("la base de prueba no abre: %s", qPrintable(rutaBase));
    // On the server engine the rows go to the database that stands for the
    // file, the one the shared connection opens.
    if (servidorprueba::motorServidor()) {
        servidor_ = std::make_unique<ConexionPostgres>(servidorprueba::baseDeArchivo(rutaBase));
        if (!servidor_->abierta())
            qFatal("la base de prueba del servidor no abre: %s",
                   qPrintable(servidor_->errores().value(0).descripcion));
    }
}

Fixtura::~Fixtura() = default;

Conexion& Fixtura::activa() {
    return servidor_ ? *servidor_ : static_cast<Conexion&>(con_);
}

void Fixtura::ejecutar(const QString& sql, const QVariantList& valores) {
    if (!activa().ejecutar(sql, valores).ok)
        qFatal("fixtura: %s: %s", qPrintable(sql),
               qPrintable(activa().errores().value(0).descripcion));
}

int Fixtura::contacto(const QString& nombreFantasia, const QString& razonSocial) {
    ejecutar(QStringLiteral("INSERT INTO CONTACTOS (EmpNombreFantasia, EmpRazonSocial) VALUES "
                            "(?, ?)"),
             {nombreFantasia, razonSocial.isNull() ? QVariant() : QVariant(razonSocial)});
    return activa()
        .ejecutar(QStringLiteral("SELECT MAX(EmpId) FROM CONTACTOS"))
        .filas->valor(0, 0)
        .toInt();
}

int Fixtura::presupuesto(const Presupuesto& p) {
    ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS (PreNumero, PreFecha, EmpId, PreVigencia, "
                            "PreLugar, PreSaludo, UsuLogin) VALUES (?, ?, ?, ?, ?, ?, ?)"),
             {p.numero, p.fecha, p.empId, p.vigencia, p.lugar, p.saludo, p.usuLogin});
    return activa()
        .ejecutar(QStringLiteral("SELECT MAX(PreId) FROM PRESUPUESTOS"))
        .filas->valor(0, 0)
        .toInt();
}

int Fixtura::producto(const QString& descripcion, const QString& codigo) {
    ejecutar(QStringLiteral("INSERT INTO PRODUCTOS (ProDescripcion, ProCodigo, CatId) VALUES (?, "
                            "?, 1)"),
             {descripcion, codigo.isNull() ? QVariant() : QVariant(codigo)});
    return activa()
        .ejecutar(QStringLiteral("SELECT MAX(ProId) FROM PRODUCTOS"))
        .filas->valor(0, 0)
        .toInt();
}

int Fixtura::producto(const QString& descripcion, const QString& codigo, double precio,
                      const QString& moneda, bool desactivado) {
    ejecutar(QStringLiteral("INSERT INTO PRODUCTOS (ProDescripcion, ProCodigo, CatId, ProPrecio, "
                            "ProMoneda, ProDesactivado) VALUES (?, ?, 1, ?, ?, ?)"),
             {descripcion, codigo.isEmpty() ? QVariant() : QVariant(codigo), precio,
              moneda.isEmpty() ? QVariant() : QVariant(moneda), desactivado ? 1 : 0});
    return activa()
        .ejecutar(QStringLiteral("SELECT MAX(ProId) FROM PRODUCTOS"))
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
    if (servidor_)
        ejecutar(QStringLiteral("INSERT INTO USUARIOS (UsuLogin, UsuPassword, UsuNombre) VALUES "
                                "(?, ?, ?) ON CONFLICT (UsuLogin) DO UPDATE SET UsuPassword = "
                                "EXCLUDED.UsuPassword, UsuNombre = EXCLUDED.UsuNombre"),
                 {login, passwordCodificada, nombre});
    else
        ejecutar(QStringLiteral("INSERT OR REPLACE INTO USUARIOS (UsuLogin, UsuPassword, "
                                "UsuNombre) VALUES (?, ?, ?)"),
                 {login, passwordCodificada, nombre});
}

int Fixtura::contar(const QString& tabla) {
    return activa()
        .ejecutar(QStringLiteral("SELECT COUNT(*) FROM ") + tabla)
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

std::unique_ptr<Conexion> conexionDePrueba(const QString& rutaBase) {
    if (servidorprueba::motorServidor())
        return std::make_unique<ConexionPostgres>(servidorprueba::baseDeArchivo(rutaBase));
    return std::make_unique<ConexionSqlite>(rutaBase);
}

void abrirConexionDePrueba(const QString& rutaBase) {
    if (servidorprueba::motorServidor()) {
        const DatosServidor d = servidorprueba::baseDeArchivo(rutaBase);
        odbc::Origen origen;
        origen.servidor = d.servidor;
        origen.puerto = QString::number(d.puerto);
        origen.baseDatos = d.baseDatos;
        origen.usuario = d.usuario;
        origen.ssl = QStringLiteral("disable");
        if (!odbc::escribirOrigenServidor(QStringLiteral("TARVO_PRUEBA"), origen))
            qFatal("no se puede escribir el origen de datos del servidor de prueba");
    } else {
        CrearDSN(QStringLiteral("TARVO_PRUEBA"), rutaBase);
    }
    AbrirConexion(QStringLiteral("TARVO_PRUEBA"), QStringLiteral("pelmor"));
    if (!conexion())
        qFatal("no abre la conexión compartida");
}
