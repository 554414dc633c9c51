#include "startup/copiaseguridadservidor.h"

#include "platform/comandos.h"
#include "platform/localizacion.h"
#include "platform/mensajes.h"
#include "platform/puntero.h"
#include "platform/reloj.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>

#include <cstdio>
#include <optional>

namespace {

const QString kPgDump = QStringLiteral("pg_dump");

// A dump of a large database takes a while; one that hangs must not hold
// start-up for ever.
constexpr int kPlazoCopiaMs = 10 * 60 * 1000;

// The server-session lock held while a desk makes the day's copy (the edit
// marks' class with key 0, which is no quote's).
constexpr qint32 kClaseCerrojo = 0x54617276;
constexpr qint32 kCerrojoCopia = 0;

QString primeraLinea(const QByteArray& texto) {
    return QString::fromLocal8Bit(texto).trimmed().section(u'\n', 0, 0);
}

void avisar(const QString& texto) {
    mensaje(texto, Botones::Aceptar, Icono::Informacion,
            QStringLiteral("Copia de seguridad automática"));
}

QString paqueteCliente(int version) {
    return QStringLiteral("postgresql-client-%1").arg(version);
}

// The major version of pg_dump ("pg_dump (PostgreSQL) 15.5 (Debian …)"
// gives 15); 0 when it cannot be told. Tells the user when it is missing.
int versionPgDump(bool& iniciado) {
    const ResultadoComando r =
        ejecutorComandos().ejecutar(kPgDump, {QStringLiteral("--version")}, OpcionesComando{});
    iniciado = r.iniciado;
    static const QRegularExpression numero(QStringLiteral(R"(\)\s*(\d+))"));
    const QRegularExpressionMatch m = numero.match(QString::fromLocal8Bit(r.salida));
    return r.codigo == 0 && m.hasMatch() ? m.captured(1).toInt() : 0;
}

// The server's major version (150005 gives 15); 0 when it cannot be read.
int versionServidor(Conexion& con) {
    const ResultadoSentencia r =
        con.ejecutar(QStringLiteral("SELECT current_setting('server_version_num')"));
    if (!r.ok || !r.filas || r.filas->filas() != 1)
        return 0;
    return r.filas->texto(0, 0).toInt() / 10000;
}

QString mensajeVersion(int cliente, int servidor) {
    if (cliente <= 0 || servidor <= 0)
        return QStringLiteral("La copia de seguridad de la base de datos del servidor no se "
                              "realizó: el programa pg_dump de este equipo es más antiguo que el "
                              "servidor. Instale el paquete postgresql-client de la versión del "
                              "servidor.");
    return QStringLiteral("La copia de seguridad de la base de datos del servidor no se realizó: "
                          "el programa pg_dump de este equipo es de la versión %1 de PostgreSQL "
                          "y el servidor es de la versión %2. Instale el paquete %3 (o uno más "
                          "nuevo).")
        .arg(cliente)
        .arg(servidor)
        .arg(paqueteCliente(servidor));
}

} // namespace

QString nombreCopiaServidor(const QDate& dia) {
    return QStringLiteral("bd2000") + localeTarvo().toString(dia, QStringLiteral("ddMMMyyyy")) +
           QStringLiteral(".dump");
}

ResultadoCopia CopiaSeguridadServidor(Conexion& con, const DatosServidor& datos,
                                      const QString& carpetaDestino) {
    PunteroEspera puntero;
    const QDate hoy = Reloj::hoy();
    const QString destino = carpetaDestino + u'/' + nombreCopiaServidor(hoy);
    const auto fallida = [&](const QString& motivo) {
        puntero.restaurar();
        avisar(QStringLiteral("La copia de seguridad de la base de datos del servidor no se "
                              "realizó en «%1»:\n%2")
                   .arg(QDir::toNativeSeparators(destino), motivo));
        return ResultadoCopia::Fallida;
    };
    const auto motivoBase = [&con] { return con.errores().value(0).descripcion; };

    // Whether another desk made today's (a desk whose clock is behind finds
    // a later day); nothing when the day cannot be read.
    const auto hechaHoy = [&]() -> std::optional<bool> {
        const ResultadoSentencia dia =
            con.ejecutar(QStringLiteral("SELECT Dia FROM TARVO_COPIA_DIARIA"));
        if (!dia.ok || !dia.filas || dia.filas->filas() != 1)
            return std::nullopt;
        const QVariant anterior = dia.filas->valor(0, 0);
        return !anterior.isNull() && anterior.toDate() >= hoy;
    };
    const auto faltaDia = [&] {
        return fallida(con.errores().isEmpty()
                           ? QStringLiteral("falta el registro de la última copia.")
                           : motivoBase());
    };
    const std::optional<bool> hecha = hechaHoy();
    if (!hecha)
        return faltaDia();
    if (*hecha)
        return ResultadoCopia::YaHecha;

    // pg_dump refuses a server newer than itself: it is checked before the
    // day is claimed, so a desk that cannot make the copy leaves it to another.
    bool iniciado = false;
    const int cliente = versionPgDump(iniciado);
    if (!iniciado)
        return fallida(QStringLiteral("no se encuentra el programa pg_dump. Instale el paquete "
                                      "postgresql-client."));
    const int servidor = versionServidor(con);
    if (cliente > 0 && servidor > 0 && cliente < servidor) {
        puntero.restaurar();
        avisar(mensajeVersion(cliente, servidor));
        return ResultadoCopia::Fallida;
    }

    // The copy is made under a lock of this desk's server session: a desk
    // starting meanwhile leaves it to this one, and a desk that dies while
    // dumping lets it go with its session, so the next start makes it. The
    // day is recorded only once the copy is there.
    const ResultadoSentencia cerrojo = con.ejecutar(
        QStringLiteral("SELECT pg_try_advisory_lock(?, ?)"), {kClaseCerrojo, kCerrojoCopia});
    if (!cerrojo.ok || !cerrojo.filas || cerrojo.filas->filas() != 1)
        return fallida(motivoBase());
    if (!cerrojo.filas->valor(0, 0).toBool())
        return ResultadoCopia::YaHecha;
    const auto soltar = qScopeGuard([&con] {
        con.ejecutar(QStringLiteral("SELECT pg_advisory_unlock(?, ?)"),
                     {kClaseCerrojo, kCerrojoCopia});
    });
    // A desk that held the lock until just now may have made it.
    const std::optional<bool> hechaYa = hechaHoy();
    if (!hechaYa)
        return faltaDia();
    if (*hechaYa)
        return ResultadoCopia::YaHecha;

    const QString parcial = destino + QStringLiteral(".parcial");
    OpcionesComando opciones;
    opciones.plazoMs = kPlazoCopiaMs;
    // The password, if any, comes from ~/.pgpass: never asked, never here.
    const ResultadoComando r = ejecutorComandos().ejecutar(
        kPgDump,
        {QStringLiteral("--format=custom"), QStringLiteral("--no-password"),
         QStringLiteral("--file=") + parcial,
         QStringLiteral("--dbname=") + servidor::escribirCadena(datos)},
        opciones);
    QString motivo;
    if (!r.iniciado)
        motivo = QStringLiteral("no se pudo iniciar pg_dump.");
    else if (r.agotado)
        motivo = QStringLiteral("pg_dump no terminó en %1 minutos.").arg(kPlazoCopiaMs / 60000);
    else if (r.codigo != 0)
        motivo = QStringLiteral("pg_dump terminó con error: %1").arg(primeraLinea(r.errores));
    // rename() replaces an earlier copy of the same day in one step.
    else if (std::rename(QFile::encodeName(parcial).constData(),
                         QFile::encodeName(destino).constData()) != 0)
        motivo = QStringLiteral("no se pudo dar a la copia su nombre.");
    if (motivo.isEmpty()) {
        // Not recorded (the server went away): the next start copies again.
        con.ejecutar(QStringLiteral("UPDATE TARVO_COPIA_DIARIA SET Dia = ?1 WHERE Dia IS NULL OR "
                                    "Dia < ?1"),
                     {hoy});
        return ResultadoCopia::Hecha;
    }

    QFile::remove(parcial);
    if (r.errores.contains("server version mismatch")) {
        puntero.restaurar();
        avisar(mensajeVersion(cliente, servidor));
        return ResultadoCopia::Fallida;
    }
    return fallida(motivo);
}
