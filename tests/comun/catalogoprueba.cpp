#include "comun/catalogoprueba.h"

#include "data/modconexion.h"

#include <QtTest>

MundoCatalogo::MundoCatalogo()
    : entorno_(std::make_unique<EntornoPrueba>()), mensajes_(std::make_unique<MensajesGuion>()) {
    const QString base = entorno_->copiarBase();
    datos_ = std::make_unique<Fixtura>(base);
    abrirConexionDePrueba(base);
    prepararEntornoDatosDePrueba();
}

MundoCatalogo::~MundoCatalogo() {
    if (conexion())
        CerrarConexion();
    cerrarEntornoDatosDePrueba();
    datos_.reset();
    mensajes_.reset();
    entorno_.reset();
}

void MundoCatalogo::ejecutar(const QString& sql, const QVariantList& valores) {
    if (!datos_->conexion().ejecutar(sql, valores).ok)
        qFatal("%s: %s", qPrintable(sql),
               qPrintable(datos_->conexion().errores().value(0).descripcion));
}

QVariant MundoCatalogo::leer(const QString& sql, const QVariantList& valores) {
    const ResultadoSentencia r = datos_->conexion().ejecutar(sql, valores);
    return r.ok && r.filas && r.filas->filas() > 0 ? r.filas->valor(0, 0) : QVariant();
}

int MundoCatalogo::categoria(const QString& descripcion, bool desactivada) {
    ejecutar(
        QStringLiteral("INSERT INTO CATEGORIAS (CatDescripcion, CatDesactivada) VALUES (?, ?)"),
        {descripcion, desactivada});
    return leer(QStringLiteral("SELECT MAX(CatId) FROM CATEGORIAS")).toInt();
}

int MundoCatalogo::producto(const QString& descripcion, int catId, double precio, double costo,
                            const QVariant& unidad, const QVariant& moneda, const QVariant& codigo,
                            int minimo) {
    ejecutar(QStringLiteral("INSERT INTO PRODUCTOS (ProDescripcion, CatId, ProCodigo, ProPrecio, "
                            "ProCosto, ProMinimo, ProUnidadMedida, ProMoneda) VALUES (?, ?, ?, ?, "
                            "?, ?, ?, ?)"),
             {descripcion, catId, codigo, precio, costo, minimo, unidad, moneda});
    return leer(QStringLiteral("SELECT MAX(ProId) FROM PRODUCTOS")).toInt();
}
