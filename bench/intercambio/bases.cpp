#include "bases.h"

#include "basebench.h"
#include "muestras/generadordatos.h"
#include "muestras/muestrabodex.h"
#include "platform/odbc.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

namespace bases {

const QString kOrigenCatalogo = QStringLiteral("TARVO_BENCH_CATALOGO");
const QString kOrigenTrabajo = QStringLiteral("TARVO_BENCH_TRABAJO");
const QString kOrigenBodex = QStringLiteral("BODEX_BENCH");

namespace {

bool generarCatalogo(const QString& ruta) {
    if (QFile::exists(ruta))
        return true;
    ParametrosGeneracion p;
    p.semilla = 2026;
    p.contactos = 500;
    p.categorias = 60;
    p.productos = kProductos;
    std::printf("Generando %s ...\n", qPrintable(ruta));
    std::fflush(stdout);
    GeneradorDatos generador(p);
    if (!generador.generarArchivo(QStringLiteral(TARVO_BD_PRISTINA), ruta)) {
        std::fprintf(stderr, "%s\n", qPrintable(generador.error()));
        return false;
    }
    return true;
}

bool generarOrigen(const QString& ruta) {
    if (QFile::exists(ruta))
        return true;
    muestrabodex::Parametros p;
    p.semilla = 2026;
    p.categorias = 60;
    p.productos = kProductos;
    p.sectores = 10;
    p.proveedores = 500;
    std::printf("Generando %s ...\n", qPrintable(ruta));
    std::fflush(stdout);
    QString error;
    if (!muestrabodex::generar(ruta, p, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    return true;
}

} // namespace

bool preparar(Rutas& rutas) {
    const QString dir = basebench::carpeta() + QStringLiteral("/intercambio");
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "No se puede crear la carpeta %s\n", qPrintable(dir));
        return false;
    }
    rutas.catalogo =
        dir + QStringLiteral("/catalogo-v%1-p%2.mdb").arg(GeneradorDatos::kVersion).arg(kProductos);
    rutas.origen = dir + QStringLiteral("/bodex-v2-p%1.db").arg(kProductos);
    rutas.trabajo = dir + QStringLiteral("/trabajo.mdb");
    rutas.salida = dir + QStringLiteral("/productos.txt");
    if (!generarCatalogo(rutas.catalogo) || !generarOrigen(rutas.origen))
        return false;

    // The ODBC configuration is a private file beside the databases.
    const QString odbcIni = dir + QStringLiteral("/odbc.ini");
    if (!QFile::exists(odbcIni)) {
        QFile f(odbcIni);
        if (!f.open(QIODevice::WriteOnly))
            return false;
    }
    qputenv("ODBCINI", QFile::encodeName(odbcIni));
    return odbc::escribirOrigenUsuario(kOrigenCatalogo, odbc::driverSqlite(), rutas.catalogo) &&
           odbc::escribirOrigenUsuario(kOrigenTrabajo, odbc::driverSqlite(), rutas.trabajo) &&
           odbc::escribirOrigenUsuario(kOrigenBodex, odbc::driverSqlite(), rutas.origen);
}

} // namespace bases
