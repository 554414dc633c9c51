#include "data/servidor.h"

#include "data/versionesquema.h"
#include "data/versionservidor.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>

QString DatosServidor::descripcion() const {
    QString texto = QStringLiteral("servidor «%1»")
                        .arg(servidor.isEmpty() ? QStringLiteral("local") : servidor);
    if (puerto > 0)
        texto += QStringLiteral(" (puerto %1)").arg(puerto);
    return texto + QStringLiteral(", base de datos «%1»").arg(baseDatos);
}

namespace servidor {

std::optional<DatosServidor> leerCadena(const QString& cadena, QString& error) {
    DatosServidor datos;
    qsizetype i = 0;
    const qsizetype n = cadena.size();
    const auto saltarBlancos = [&] {
        while (i < n && cadena[i].isSpace())
            ++i;
    };
    while (true) {
        saltarBlancos();
        if (i >= n)
            break;
        const qsizetype igual = cadena.indexOf(u'=', i);
        if (igual < 0) {
            error = QStringLiteral("falta «=» después de «%1».").arg(cadena.mid(i));
            return std::nullopt;
        }
        const QString clave = cadena.mid(i, igual - i).trimmed().toLower();
        i = igual + 1;
        saltarBlancos();
        QString valor;
        if (i < n && cadena[i] == u'\'') {
            ++i;
            bool cerrada = false;
            for (; i < n; ++i) {
                if (cadena[i] == u'\\' && i + 1 < n) {
                    valor += cadena[++i];
                } else if (cadena[i] == u'\'') {
                    cerrada = true;
                    ++i;
                    break;
                } else {
                    valor += cadena[i];
                }
            }
            if (!cerrada) {
                error = QStringLiteral("falta la comilla que cierra el valor de «%1».").arg(clave);
                return std::nullopt;
            }
        } else {
            while (i < n && !cadena[i].isSpace()) {
                if (cadena[i] == u'\\' && i + 1 < n)
                    ++i;
                valor += cadena[i++];
            }
        }
        if (clave == u"host" || clave == u"hostaddr") {
            datos.servidor = valor;
        } else if (clave == u"port") {
            bool ok = false;
            datos.puerto = valor.toInt(&ok);
            if (!ok || datos.puerto <= 0 || datos.puerto > 65535) {
                error = QStringLiteral("el puerto «%1» no es válido.").arg(valor);
                return std::nullopt;
            }
        } else if (clave == u"dbname") {
            datos.baseDatos = valor;
        } else if (clave == u"user") {
            datos.usuario = valor;
        } else if (clave == u"sslmode") {
            datos.ssl = valor;
        } else if (clave == u"password") {
            error = QStringLiteral("la contraseña no va en la cadena de conexión: escríbala en "
                                   "~/.pgpass (modo 0600).");
            return std::nullopt;
        } else {
            error = QStringLiteral("no se conoce la clave «%1».").arg(clave);
            return std::nullopt;
        }
    }
    if (datos.baseDatos.isEmpty()) {
        error = QStringLiteral("falta el nombre de la base de datos (dbname=…).");
        return std::nullopt;
    }
    return datos;
}

QString escribirCadena(const DatosServidor& datos) {
    QStringList partes;
    const auto poner = [&partes](const char* clave, QString valor) {
        if (valor.isEmpty())
            return;
        valor.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
        partes << QString::fromLatin1(clave) + QStringLiteral("='") + valor + u'\'';
    };
    poner("host", datos.servidor);
    poner("port", datos.puerto > 0 ? QString::number(datos.puerto) : QString());
    poner("dbname", datos.baseDatos);
    poner("user", datos.usuario);
    poner("sslmode", datos.ssl);
    return partes.join(u' ');
}

QString nombreNuevo() {
    static std::atomic<int> contador{0};
    return QStringLiteral("tarvo_pg_%1").arg(++contador);
}

bool ejecutarTodo(QSqlQuery& q, const QString& sql) {
    if (!q.exec(sql))
        return false;
    while (q.nextResult()) {
    }
    return q.lastError().type() == QSqlError::NoError;
}

void cerrar(const QString& nombreQt) {
    if (nombreQt.isEmpty())
        return;
    {
        QSqlDatabase bd = QSqlDatabase::database(nombreQt, false);
        bd.close();
    }
    QSqlDatabase::removeDatabase(nombreQt);
}

namespace {

// libpq's reason, put in words a user can act on.
QString motivoConexion(const DatosServidor& datos, const QString& texto) {
    const QString detalle = QStringLiteral("\n(") + texto.trimmed() + u')';
    if (texto.contains(u"password authentication failed") ||
        texto.contains(u"no password supplied") || texto.contains(u"autentificación password") ||
        texto.contains(u"autenticación password"))
        return QStringLiteral("El servidor rechazó la contraseña del usuario «%1» (%2). Revise la "
                              "contraseña guardada en ~/.pgpass.")
                   .arg(datos.usuario, datos.descripcion()) +
               detalle;
    if (texto.contains(u"does not exist") && texto.contains(u"database"))
        return QStringLiteral("No existe la base de datos en el %1.").arg(datos.descripcion()) +
               detalle;
    if (texto.contains(u"role") && texto.contains(u"does not exist"))
        return QStringLiteral("El servidor no conoce al usuario «%1» (%2).")
                   .arg(datos.usuario, datos.descripcion()) +
               detalle;
    if (texto.contains(u"could not connect") || texto.contains(u"Connection refused") ||
        texto.contains(u"could not translate host name") || texto.contains(u"timeout") ||
        texto.contains(u"No such file or directory") || texto.contains(u"No route to host"))
        return QStringLiteral("No se puede conectar con el %1: el servidor no responde o no "
                              "acepta conexiones. Compruebe el nombre del servidor, el puerto y "
                              "la red.")
                   .arg(datos.descripcion()) +
               detalle;
    return QStringLiteral("No se puede abrir la base de datos del %1.").arg(datos.descripcion()) +
           detalle;
}

} // namespace

std::optional<QSqlDatabase> abrir(const DatosServidor& datos, const QString& nombreQt,
                                  QString& error) {
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        error = QStringLiteral("Falta el controlador de PostgreSQL de Qt (paquete "
                               "libqt6sql6-psql).");
        return std::nullopt;
    }
    QSqlDatabase bd = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nombreQt);
    bd.setHostName(datos.servidor);
    if (datos.puerto > 0)
        bd.setPort(datos.puerto);
    bd.setDatabaseName(datos.baseDatos);
    bd.setUserName(datos.usuario);
    QString opciones = QStringLiteral("connect_timeout=10;application_name=tarvo");
    if (!datos.ssl.isEmpty())
        opciones += QStringLiteral(";sslmode=") + datos.ssl;
    bd.setConnectOptions(opciones);
    if (!bd.open()) {
        error = motivoConexion(datos, bd.lastError().text());
        bd = QSqlDatabase();
        cerrar(nombreQt);
        return std::nullopt;
    }
    return bd;
}

QString problemaObjetos(QSqlDatabase& bd, const DatosServidor& datos) {
    QSqlQuery q(bd);
    if (!q.exec(QStringLiteral(
            "SELECT to_regclass('tarvo_version') IS NOT NULL, "
            "(SELECT castcontext FROM pg_catalog.pg_cast WHERE castsource = 'integer'::regtype "
            "AND casttarget = 'boolean'::regtype)")) ||
        !q.next())
        return QStringLiteral("No se puede leer la base de datos del %1: %2")
            .arg(datos.descripcion(), q.lastError().text());
    const QString preparar =
        QStringLiteral("Un administrador debe prepararla con «tarvo --preparar-servidor» "
                       "(como superusuario del servidor).");
    if (!q.value(0).toBool())
        return QStringLiteral("La base de datos del %1 no tiene los objetos del programa. ")
                   .arg(datos.descripcion()) +
               preparar;
    const QString contexto = q.value(1).toString();
    q.finish();
    if (!q.exec(QStringLiteral("SELECT MAX(Version) FROM TARVO_VERSION")) || !q.next()) {
        // A desk's login that the administrator did not let in yet.
        if (q.lastError().nativeErrorCode() == u"42501")
            return QStringLiteral("El usuario «%2» no tiene permiso para usar la base de datos "
                                  "del %1. Un administrador debe hacerlo miembro de «%3» (GRANT "
                                  "%3 TO %2;).")
                .arg(datos.descripcion(),
                     datos.usuario.isEmpty() ? QStringLiteral("usuario") : datos.usuario,
                     QLatin1StringView(kRolPuestos));
        return QStringLiteral("No se puede leer la versión de la base de datos del %1: %2")
            .arg(datos.descripcion(), q.lastError().text());
    }
    const int version = q.value(0).isNull() ? 0 : q.value(0).toInt();
    if (version > versionesquema::kActual)
        return QStringLiteral("La base de datos del %1 es de la versión %2 y este programa solo "
                              "conoce hasta la versión %3. Instale una versión más reciente del "
                              "programa.")
            .arg(datos.descripcion())
            .arg(version)
            .arg(versionesquema::kActual);
    if (version < versionesquema::kActual)
        return QStringLiteral("La base de datos del %1 es de la versión %2 y este programa "
                              "necesita la versión %3. ")
                   .arg(datos.descripcion())
                   .arg(version)
                   .arg(versionesquema::kActual) +
               preparar;
    if (contexto != u"a")
        return QStringLiteral("A la base de datos del %1 le falta el ajuste que deja usar números "
                              "como condiciones (la conversión de integer a boolean), que una "
                              "copia restaurada no conserva. ")
                   .arg(datos.descripcion()) +
               preparar;
    return {};
}

} // namespace servidor
