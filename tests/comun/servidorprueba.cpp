#include "servidorprueba.h"

#include "data/copiaservidor.h"
#include "data/versionservidor.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace {

constexpr int kPuerto = 5432;

QString comillas(const QString& s) {
    QString t = s;
    t.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + t + u'\'';
}

class Cluster {
public:
    Cluster() {
        const QStringList versiones = QDir(QStringLiteral("/usr/lib/postgresql"))
                                          .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        if (versiones.isEmpty())
            qFatal("no está instalado el servidor PostgreSQL (paquete postgresql)");
        int mayor = 0;
        for (const QString& v : versiones)
            mayor = std::max(mayor, v.toInt());
        bin_ = QStringLiteral("/usr/lib/postgresql/%1/bin/").arg(mayor);
        limpiarAbandonados();
        QByteArray plantilla = "/tmp/tarvo-pg-XXXXXX";
        if (!mkdtemp(plantilla.data()))
            qFatal("no se puede crear la carpeta del servidor de prueba");
        dir_ = QString::fromLocal8Bit(plantilla);
        // The server refuses root: it runs as an account without privileges,
        // which must own its folder.
        if (geteuid() == 0) {
            const passwd* cuenta = getpwnam("nobody");
            if (!cuenta || chown(plantilla.constData(), cuenta->pw_uid, cuenta->pw_gid) != 0)
                qFatal("no se puede ceder la carpeta del servidor de prueba a nobody");
            como_ = QStringLiteral("runuser -u nobody -- ");
        }
        const QString datos = dir_ + QStringLiteral("/datos");
        correr(bin_ + QStringLiteral("initdb -D %1 -U postgres --auth=trust -E UTF8 "
                                     "--locale=C.UTF-8 --no-sync >%2/initdb.log 2>&1")
                          .arg(comillas(datos), dir_));
        correr(bin_ + QStringLiteral("pg_ctl -D %1 -w -l %2/servidor.log -o %3 start >/dev/null")
                          .arg(comillas(datos), dir_,
                               comillas(QStringLiteral("-k %1 -p %2 -c listen_addresses='' -c "
                                                       "fsync=off -c synchronous_commit=off -c "
                                                       "full_page_writes=off")
                                            .arg(dir_)
                                            .arg(kPuerto))));
        activo_ = true;
        QFile dueno(dir_ + QStringLiteral("/dueno"));
        if (dueno.open(QIODevice::WriteOnly))
            dueno.write(QByteArray::number(qint64(getpid())));
        dueno.close();
        sql(QStringLiteral("CREATE DATABASE plantilla"));
        const ResultadoActualizacion r = prepararServidor(datosDe(QStringLiteral("plantilla")));
        if (!r.alDia())
            qFatal("no se puede preparar la base de plantilla: %s", qPrintable(r.texto()));
    }
    ~Cluster() {
        if (activo_)
            std::system(
                (como_ + bin_ +
                 QStringLiteral("pg_ctl -D %1/datos -m immediate stop >/dev/null").arg(dir_))
                    .toLocal8Bit()
                    .constData());
        QDir(dir_).removeRecursively();
    }

    DatosServidor datosDe(const QString& base) const {
        return {dir_, kPuerto, base, QStringLiteral("postgres"), {}};
    }

    // Runs a statement on the maintenance database through psql.
    void sql(const QString& sentencia) const {
        correr(QStringLiteral("psql -X -q -h %1 -p %2 -U postgres -d postgres -c %3 >/dev/null")
                   .arg(comillas(dir_))
                   .arg(kPuerto)
                   .arg(comillas(sentencia)),
               false);
    }

    void psqlAparte(QProcess& proceso, const QString& base) const {
        proceso.start(QStringLiteral("psql"),
                      {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                       QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"), dir_,
                       QStringLiteral("-p"), QString::number(kPuerto), QStringLiteral("-U"),
                       QStringLiteral("postgres"), QStringLiteral("-d"), base});
    }

    QString nombreNuevo() { return QStringLiteral("prueba_%1").arg(++contador_); }

    QHash<QString, QString> porArchivo;

private:
    // A test that ended abruptly (a fatal failure, a timeout) left its
    // cluster running: the next one stops it and removes its folder.
    void limpiarAbandonados() const {
        const QDir tmp(QStringLiteral("/tmp"));
        for (const QString& nombre :
             tmp.entryList({QStringLiteral("tarvo-pg-*")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString dir = tmp.filePath(nombre);
            QFile dueno(dir + QStringLiteral("/dueno"));
            if (!dueno.open(QIODevice::ReadOnly))
                continue;
            const qint64 pid = dueno.readAll().toLongLong();
            if (pid <= 0 || kill(pid_t(pid), 0) == 0 || errno != ESRCH)
                continue;
            std::system((como() + bin_ +
                         QStringLiteral("pg_ctl -D %1/datos -m immediate stop >/dev/null 2>&1")
                             .arg(comillas(dir)))
                            .toLocal8Bit()
                            .constData());
            QDir(dir).removeRecursively();
        }
    }
    static QString como() {
        return geteuid() == 0 ? QStringLiteral("runuser -u nobody -- ") : QString();
    }

    void correr(const QString& orden, bool comoServidor = true) const {
        const QString completa = (comoServidor ? como_ : QString()) + orden;
        if (std::system(completa.toLocal8Bit().constData()) != 0)
            qFatal("falló: %s (registro en %s)", qPrintable(completa), qPrintable(dir_));
    }

    QString bin_;
    QString dir_;
    QString como_;
    bool activo_ = false;
    int contador_ = 0;
};

Cluster& cluster() {
    static Cluster c;
    return c;
}

} // namespace

namespace servidorprueba {

bool motorServidor() {
    return qEnvironmentVariable("TARVO_PRUEBA_MOTOR") == u"postgresql";
}

DatosServidor datos(const QString& baseDatos) {
    return cluster().datosDe(baseDatos);
}

QString baseNueva() {
    const QString nombre = cluster().nombreNuevo();
    cluster().sql(QStringLiteral("CREATE DATABASE %1 TEMPLATE plantilla").arg(nombre));
    return nombre;
}

QString baseVacia() {
    const QString nombre = cluster().nombreNuevo();
    cluster().sql(QStringLiteral("CREATE DATABASE %1").arg(nombre));
    return nombre;
}

void psqlAparte(QProcess& proceso, const QString& baseDatos, const QString& sql) {
    cluster().psqlAparte(proceso, baseDatos);
    if (!proceso.waitForStarted())
        qFatal("no arranca psql");
    proceso.write(sql.toUtf8() + '\n');
    proceso.closeWriteChannel();
}

DatosServidor baseDeArchivo(const QString& ruta) {
    Cluster& c = cluster();
    if (const auto it = c.porArchivo.constFind(ruta); it != c.porArchivo.constEnd())
        return c.datosDe(*it);
    const QString nombre = baseNueva();
    const ResultadoCopia r = copiarAServidor(ruta, c.datosDe(nombre));
    if (!r.ok)
        qFatal("no se puede copiar %s al servidor de prueba: %s", qPrintable(ruta),
               qPrintable(r.error));
    c.porArchivo.insert(ruta, nombre);
    return c.datosDe(nombre);
}

} // namespace servidorprueba
