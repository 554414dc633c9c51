#include "fixtura.h"

#include "servidorprueba.h"

#include "data/conexionpostgres.h"
#include "data/entornodatos.h"
#include "data/modconexion.h"
#include "platform/odbc.h"
#include "startup/arranque.h"

#include <QtTest>

#include <sqlite3.h>

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

void Fixtura::rechazar(const QString& nombre, const QString& evento, const QString& tabla,
                       const QString& mensaje, const QString& condicion) {
    QString texto = mensaje;
    texto.replace(u'\'', QStringLiteral("''"));
    const QString cuando =
        condicion.isEmpty() ? QString() : QStringLiteral("WHEN (%1)").arg(condicion);
    if (servidor_) {
        // The function's body is itself a quoted literal: its quotes double again.
        texto.replace(u'\'', QStringLiteral("''"));
        ejecutar(QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS "
                                "'BEGIN RAISE EXCEPTION ''%2''; END'")
                     .arg(nombre, texto));
        ejecutar(QStringLiteral("CREATE TRIGGER %1 %2 ON %3 FOR EACH ROW %4 EXECUTE FUNCTION %1()")
                     .arg(nombre, evento, tabla, cuando));
    } else {
        ejecutar(
            QStringLiteral("CREATE TRIGGER %1 %2 ON %3 %4 BEGIN SELECT RAISE(ABORT, '%5'); END")
                .arg(nombre, evento, tabla, cuando, texto));
    }
}

void Fixtura::quitarRechazo(const QString& nombre, const QString& tabla) {
    if (servidor_) {
        ejecutar(QStringLiteral("DROP TRIGGER %1 ON %2").arg(nombre, tabla));
        ejecutar(QStringLiteral("DROP FUNCTION %1()").arg(nombre));
    } else {
        ejecutar(QStringLiteral("DROP TRIGGER %1").arg(nombre));
    }
}

void Fixtura::acaparar(Conexion& otra) {
    if (!servidor_) {
        // The file's write lock, and the other connection gives up waiting at once.
        if (auto* sqlite = dynamic_cast<ConexionSqlite*>(&otra))
            sqlite3_busy_timeout(sqlite->manejador(), 10);
        if (sqlite3_exec(con_.manejador(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) !=
            SQLITE_OK)
            qFatal("fixtura: no se puede acaparar el archivo");
        return;
    }
    // On the server readers wait only for a lock that excludes them.
    if (!otra.ejecutar(QStringLiteral("SET lock_timeout = '10ms'")).ok ||
        !servidor_->iniciarTransaccion())
        qFatal("fixtura: no se puede acaparar la base del servidor");
    ejecutar(
        QStringLiteral("LOCK TABLE PRESUPUESTOS, PRESUPUESTOS_PRODUCTOS, PRESUPUESTOS_ESTADOS, "
                       "CONTACTOS, PRODUCTOS, CATEGORIAS, USUARIOS, OPCIONES IN ACCESS "
                       "EXCLUSIVE MODE"));
}

void Fixtura::soltar() {
    if (servidor_)
        servidor_->deshacerTransaccion();
    else
        sqlite3_exec(con_.manejador(), "ROLLBACK", nullptr, nullptr, nullptr);
}

QString Fixtura::tipoDe(const QString& expresion) const {
    if (!servidor_)
        return QStringLiteral("typeof(%1)").arg(expresion);
    return QStringLiteral("(CASE WHEN (%1) IS NULL THEN 'null' ELSE CASE pg_typeof(%1)::text "
                          "WHEN 'integer' THEN 'integer' WHEN 'bigint' THEN 'integer' WHEN "
                          "'smallint' THEN 'integer' WHEN 'double precision' THEN 'real' WHEN "
                          "'numeric' THEN 'real' WHEN 'texto' THEN 'text' WHEN 'text' THEN 'text' "
                          "ELSE pg_typeof(%1)::text END END)")
        .arg(expresion);
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

void crearOrigenDePrueba(const QString& nombre, const QString& rutaBase) {
    if (servidorprueba::motorServidor()) {
        const DatosServidor d = servidorprueba::baseDeArchivo(rutaBase);
        odbc::Origen origen;
        origen.servidor = d.servidor;
        origen.puerto = QString::number(d.puerto);
        origen.baseDatos = d.baseDatos;
        origen.usuario = d.usuario;
        origen.ssl = QStringLiteral("disable");
        if (!odbc::escribirOrigenServidor(nombre, origen))
            qFatal("no se puede escribir el origen de datos del servidor de prueba");
    } else {
        CrearDSN(nombre, rutaBase);
    }
}

void abrirConexionDePrueba(const QString& rutaBase) {
    crearOrigenDePrueba(QStringLiteral("TARVO_PRUEBA"), rutaBase);
    AbrirConexion(QStringLiteral("TARVO_PRUEBA"), QStringLiteral("pelmor"));
    if (!conexion())
        qFatal("no abre la conexión compartida");
}
