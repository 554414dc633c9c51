#include "data/entornodatos.h"

#include "data/forma.h"
#include "data/origenes.h"
#include "platform/mensajes.h"

namespace {

// The quote report's three levels: one row per quote, the quote with its
// contact, its lines with their products. Text is joined with || (the
// engine's operator), so a Null greeting or name leaves Saludo Null.
const QString kTotalPresupuestos = QStringLiteral(
    "SHAPE {SELECT PREID FROM PRESUPUESTOS GROUP BY PREID}  AS TotalPresupuestos APPEND "
    "((SHAPE {SELECT p.*,p.PreSaludo || ' ' || c.EmpNombreFantasia as "
    "Saludo,p.PreOtroPrecio1+p.PreOtroPrecio2+p.PreOtroPrecio3 as "
    "TotalOtrosCostos,c.EmpNombreFantasia,c.EmpRuc,c.EmpDireccion FROM presupuestos p inner join "
    "contactos c on p.EmpId=c.EmpId ORDER BY p.PreFecha ASC}  AS Presupuestos APPEND "
    "({SELECT RP.*,RP.PREPROPRECIO*RP.PREPROCANTIDAD AS SUBTOTAL,P.* FROM presupuestos_productos "
    "RP, PRODUCTOS P WHERE RP.PROID=P.PROID}  AS Presupuestos_Productos RELATE 'PreId' TO "
    "'PreId') AS Presupuestos_Productos) AS Presupuestos RELATE 'PREID' TO 'PreId') AS "
    "Presupuestos");

} // namespace

QString atributoConexion(const QString& cadena, const QString& nombre) {
    qsizetype p = 0;
    const qsizetype n = cadena.size();
    while (p < n) {
        const qsizetype igual = cadena.indexOf(u'=', p);
        const qsizetype puntoYComa = cadena.indexOf(u';', p);
        if (igual < 0 || (puntoYComa >= 0 && puntoYComa < igual)) {
            if (puntoYComa < 0)
                break;
            p = puntoYComa + 1; // a piece without "=" says nothing
            continue;
        }
        const QString clave = cadena.mid(p, igual - p).trimmed();
        qsizetype q = igual + 1;
        while (q < n && cadena[q].isSpace())
            ++q;
        QString valor;
        if (q < n && (cadena[q] == u'"' || cadena[q] == u'\'')) {
            // A quoted value may hold semicolons; a doubled quote stands for one.
            const QChar comilla = cadena[q++];
            while (q < n) {
                if (cadena[q] == comilla) {
                    if (q + 1 < n && cadena[q + 1] == comilla) {
                        valor += comilla;
                        q += 2;
                        continue;
                    }
                    ++q;
                    break;
                }
                valor += cadena[q++];
            }
            const qsizetype fin = cadena.indexOf(u';', q);
            p = fin < 0 ? n : fin + 1;
        } else {
            const qsizetype fin = cadena.indexOf(u';', q);
            valor = cadena.mid(q, (fin < 0 ? n : fin) - q).trimmed();
            p = fin < 0 ? n : fin + 1;
        }
        if (clave.compare(nombre, Qt::CaseInsensitive) == 0)
            return valor;
    }
    return {};
}

EntornoDatos::EntornoDatos()
    : rsCategorias(agregar(QStringLiteral("Categorias"),
                           QStringLiteral("SELECT * FROM CATEGORIAS ORDER BY CATDESCRIPCION ASC"))
                       .rs),
      rsCProductos(agregar(QStringLiteral("CProductos"),
                           QStringLiteral("SELECT * FROM PRODUCTOS ORDER BY PRODESCRIPCION ASC"))
                       .rs),
      rsCCategoriasActivas(agregar(QStringLiteral("CCategoriasActivas"),
                                   QStringLiteral("SELECT * FROM CATEGORIAS WHERE "
                                                  "CATDESACTIVADA=FALSE ORDER BY CATDESCRIPCION "
                                                  "ASC"))
                               .rs),
      rsUnidadesDeMedida(agregar(QStringLiteral("UnidadesDeMedida"),
                                 QStringLiteral("SELECT DISTINCT ProUnidadMedida FROM PRODUCTOS "
                                                "ORDER BY ProUnidadMedida ASC"))
                             .rs),
      rsMonedas(
          agregar(QStringLiteral("Monedas"),
                  QStringLiteral("SELECT DISTINCT ProMoneda FROM PRODUCTOS ORDER BY ProMoneda ASC"))
              .rs),
      rsProveedores(
          agregar(QStringLiteral("Proveedores"),
                  QStringLiteral("SELECT * FROM CONTACTOS ORDER BY EMPNOMBREFANTASIA ASC"))
              .rs),
      rsCVinculosActivos(agregar(QStringLiteral("CVinculosActivos"),
                                 QStringLiteral("SELECT * FROM vinculos WHERE VinDesactivado=False "
                                                "ORDER BY VinDescripcion ASC"))
                             .rs),
      rsListadoProductos(agregar(QStringLiteral("ListadoProductos"),
                                 QStringLiteral("SELECT * FROM PRODUCTOS WHERE "
                                                "PRODESACTIVADO=FALSE ORDER BY PRODESCRIPCION ASC"))
                             .rs),
      rsProductos_Categorias(
          agregar(QStringLiteral("Productos_Categorias"),
                  QStringLiteral(
                      "SHAPE {SELECT * FROM CATEGORIAS ORDER BY CATDESCRIPCION ASC}  AS "
                      "Productos_Categorias APPEND ({SELECT * FROM PRODUCTOS WHERE "
                      "PRODESACTIVADO=FALSE ORDER BY PRODESCRIPCION ASC}  AS Productos RELATE "
                      "'CatId' TO 'CatId') AS Productos"))
              .rs),
      rsTotalPresupuestos(agregar(QStringLiteral("TotalPresupuestos"), kTotalPresupuestos).rs),
      rsUsuarios(agregar(QStringLiteral("Usuarios"), QStringLiteral("SELECT * FROM USUARIOS")).rs) {
    buscar(QStringLiteral("Categorias"))->edicion = {QStringLiteral("CATEGORIAS"),
                                                     QStringLiteral("CatId")};
    buscar(QStringLiteral("CProductos"))->edicion = {QStringLiteral("PRODUCTOS"),
                                                     QStringLiteral("ProId")};
    buscar(QStringLiteral("Proveedores"))->edicion = {QStringLiteral("CONTACTOS"),
                                                      QStringLiteral("EmpId")};
}

EntornoDatos::~EntornoDatos() {
    cerrarConexion();
}

EntornoDatos::Comando& EntornoDatos::agregar(const QString& nombre, const QString& texto) {
    comandos_.push_back({nombre, texto, texto, {}, std::make_shared<Registros>(), {}});
    return comandos_.back();
}

EntornoDatos::Comando* EntornoDatos::buscar(const QString& comando) {
    for (Comando& c : comandos_)
        if (c.nombre.compare(comando, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

const EntornoDatos::Comando* EntornoDatos::buscar(const QString& comando) const {
    for (const Comando& c : comandos_)
        if (c.nombre.compare(comando, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

void EntornoDatos::establecerCadenaConexion(const QString& cadena) {
    cadena_ = cadena;
}

Conexion* EntornoDatos::farmacia() {
    if (conexion_)
        return conexion_.get();
    QList<ErrorProveedor> fallos;
    conexion_ = abrirOrigenDatos(atributoConexion(cadena_, QStringLiteral("Data Source")),
                                 atributoConexion(cadena_, QStringLiteral("Password")), fallos);
    if (!conexion_)
        informarErrores(fallos);
    return conexion_.get();
}

void EntornoDatos::cerrarConexion() {
    for (Comando& c : comandos_)
        c.rs->cerrar();
    if (conexion_)
        conexion_->cerrar();
    conexion_.reset();
}

QStringList EntornoDatos::comandos() const {
    QStringList nombres;
    for (const Comando& c : comandos_)
        nombres << c.nombre;
    return nombres;
}

bool EntornoDatos::existe(const QString& comando) const {
    return buscar(comando) != nullptr;
}

QString EntornoDatos::textoDiseno(const QString& comando) const {
    const Comando* c = buscar(comando);
    return c ? c->textoDiseno : QString();
}

QString EntornoDatos::texto(const QString& comando) const {
    const Comando* c = buscar(comando);
    return c ? c->texto : QString();
}

QVariantList EntornoDatos::valores(const QString& comando) const {
    const Comando* c = buscar(comando);
    return c ? c->valores : QVariantList();
}

EntornoDatos::DestinoEdicion EntornoDatos::destinoEdicion(const QString& comando) const {
    const Comando* c = buscar(comando);
    return c ? c->edicion : DestinoEdicion();
}

void EntornoDatos::establecerTexto(const QString& comando, const QString& texto,
                                   const QVariantList& valores) {
    if (Comando* c = buscar(comando)) {
        c->texto = texto;
        c->valores = valores;
    }
}

bool EntornoDatos::abrir(const QString& comando, const QString& texto,
                         const QVariantList& valores) {
    Comando* c = buscar(comando);
    if (!c) {
        informarErrores(
            {{errores::kObjetoNoEncontrado,
              QStringLiteral("El entorno de datos no tiene el comando '%1'.").arg(comando)}});
        return false;
    }
    if (!texto.isEmpty()) {
        c->texto = texto;
        c->valores = valores;
    } else if (!valores.isEmpty()) {
        c->valores = valores;
    }
    c->rs->cerrar();
    Conexion* con = farmacia();
    if (!con)
        return false;

    QList<ErrorProveedor> fallos;
    std::shared_ptr<TablaResultado> filas;
    if (esForma(c->texto)) {
        Forma forma;
        QString error;
        if (leerForma(c->texto, forma, error))
            filas = ejecutarForma(*con, forma, fallos);
        else
            fallos = {{errores::kErroresEnComando, error}};
    } else {
        const ResultadoSentencia r = con->ejecutar(c->texto, c->valores);
        if (r.ok)
            filas = r.filas;
        else
            fallos = con->errores();
    }
    if (!filas) {
        informarErrores(fallos);
        return false;
    }
    *c->rs = Registros(std::move(filas), c->texto);
    if (!c->edicion.tabla.isEmpty())
        c->rs->habilitarEdicion(con, c->edicion.tabla, c->edicion.clave);
    return true;
}

RegistrosPtr EntornoDatos::usar(const QString& comando) {
    const Comando* c = buscar(comando);
    if (c && !c->rs->abierto())
        abrir(comando);
    return c ? c->rs : nullptr;
}

void EntornoDatos::cerrar(const QString& comando) {
    if (Comando* c = buscar(comando))
        c->rs->cerrar();
}

bool EntornoDatos::abierto(const QString& comando) const {
    const Comando* c = buscar(comando);
    return c && c->rs->abierto();
}

RegistrosPtr EntornoDatos::registros(const QString& nombre) const {
    if (!nombre.startsWith(QStringLiteral("rs"), Qt::CaseInsensitive))
        return nullptr;
    const Comando* c = buscar(nombre.mid(2));
    return c ? c->rs : nullptr;
}

EntornoDatos& dteBodex() {
    // Never destroyed: the program closes the connection itself before it
    // ends, and a destructor running after Qt's own statics would be unsafe.
    static auto* entorno = new EntornoDatos;
    return *entorno;
}
