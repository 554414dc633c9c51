#include "basebench.h"

#include "comun/entornoprueba.h"
#include "platform/reloj.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>

#include <cstdio>

namespace basebench {

ParametrosGeneracion parametros() {
    ParametrosGeneracion p;
    p.semilla = 2026;
    p.contactos = 5000;
    p.categorias = 60;
    p.productos = 10000;
    // TARVO_BENCH_PRESUPUESTOS=1000000 measures the list at a million quotes.
    bool ok = false;
    const int pedidos = qEnvironmentVariableIntValue("TARVO_BENCH_PRESUPUESTOS", &ok);
    p.presupuestos = ok && pedidos > 0 ? pedidos : 100000;
    return p;
}

QString carpeta() {
    const QString elegida = qEnvironmentVariable("TARVO_BENCH_CACHE");
    if (!elegida.isEmpty())
        return elegida;
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/tarvo-bench");
}

namespace {

// A short fingerprint of the pristine database: a database generated from an
// earlier schema (other columns, other collations) is not used again.
QString huellaPristina() {
    QFile f(QStringLiteral(TARVO_BD_PRISTINA));
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (f.open(QIODevice::ReadOnly))
        hash.addData(&f);
    return QString::fromLatin1(hash.result().toHex().left(8));
}

} // namespace

QString preparar() {
    const ParametrosGeneracion p = parametros();
    // Expiring quotes are placed relative to today, so the day is part of the name.
    const QString nombre = QStringLiteral("bench-v%1-s%2-c%3-k%4-p%5-q%6-%7-%8.mdb")
                               .arg(GeneradorDatos::kVersion)
                               .arg(p.semilla)
                               .arg(p.contactos)
                               .arg(p.categorias)
                               .arg(p.productos)
                               .arg(p.presupuestos)
                               .arg(Reloj::hoy().toString(QStringLiteral("yyyyMMdd")))
                               .arg(huellaPristina());
    const QString dir = carpeta();
    const QString ruta = dir + u'/' + nombre;
    if (QFile::exists(ruta))
        return ruta;
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "No se puede crear la carpeta %s\n", qPrintable(dir));
        return {};
    }
    std::printf("Generando %s ...\n", qPrintable(ruta));
    std::fflush(stdout);
    QElapsedTimer reloj;
    reloj.start();
    GeneradorDatos generador(p);
    if (!generador.generarArchivo(rutaBasePristina(), ruta)) {
        std::fprintf(stderr, "%s\n", qPrintable(generador.error()));
        return {};
    }
    std::printf("Generada en %.1f s: %lld líneas.\n", double(reloj.elapsed()) / 1000.0,
                static_cast<long long>(generador.lineas()));
    // Databases of other days or generators with as many quotes are not used
    // again; one of another size stays for the runs at that size.
    const QString tamano = QStringLiteral("-q%1-").arg(p.presupuestos);
    for (const QString& vieja : QDir(dir).entryList({QStringLiteral("bench-*.mdb")}, QDir::Files))
        if (vieja != nombre && vieja.contains(tamano))
            QFile::remove(dir + u'/' + vieja);
    return ruta;
}

QString copiarA(const QString& destino) {
    const QString generada = preparar();
    if (generada.isEmpty())
        return {};
    if (!QFile::copy(generada, destino) ||
        !QFile::setPermissions(destino, QFile::ReadOwner | QFile::WriteOwner)) {
        std::fprintf(stderr, "No se puede copiar %s\n", qPrintable(generada));
        return {};
    }
    return destino;
}

} // namespace basebench
