#include "origenprueba.h"

#include "muestras/muestrabodex.h"
#include "platform/odbc.h"

#include <QFile>
#include <QtTest>

#include <sqlite3.h>

OrigenPrueba::OrigenPrueba(const QString& ruta) : ruta_(ruta) {
    QFile::remove(ruta_);
    if (sqlite3_open(QFile::encodeName(ruta_).constData(), &bd_) != SQLITE_OK)
        qFatal("no se puede crear %s", qPrintable(ruta_));
    QString error;
    if (!muestrabodex::crearTablas(bd_, error))
        qFatal("tablas de origen: %s", qPrintable(error));
}

OrigenPrueba::~OrigenPrueba() {
    sqlite3_close(bd_);
}

void OrigenPrueba::ejecutar(const QString& sql, const QVariantList& valores) {
    sqlite3_stmt* st = nullptr;
    const QByteArray texto = sql.toUtf8();
    if (sqlite3_prepare_v2(bd_, texto.constData(), -1, &st, nullptr) != SQLITE_OK)
        qFatal("%s: %s", texto.constData(), sqlite3_errmsg(bd_));
    for (int i = 0; i < valores.size(); ++i) {
        const QVariant& v = valores[i];
        if (v.isNull())
            sqlite3_bind_null(st, i + 1);
        else if (v.typeId() == QMetaType::Double)
            sqlite3_bind_double(st, i + 1, v.toDouble());
        else if (v.typeId() == QMetaType::QString)
            sqlite3_bind_text(st, i + 1, v.toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
        else
            sqlite3_bind_int64(st, i + 1, v.toLongLong());
    }
    const int rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        qFatal("%s: %s", texto.constData(), sqlite3_errmsg(bd_));
}

void OrigenPrueba::categoria(qint64 id, const QString& descripcion, bool desactivada) {
    ejecutar(QStringLiteral("INSERT INTO categorias VALUES (?, ?, ?)"),
             {id, descripcion, int(desactivada)});
}

void OrigenPrueba::sector(qint64 id, const QString& descripcion, bool desactivado) {
    ejecutar(QStringLiteral("INSERT INTO sectores VALUES (?, ?, ?)"),
             {id, descripcion, int(desactivado)});
}

void OrigenPrueba::proveedor(qint64 id, const QString& nombre, bool desactivado) {
    QVariantList v{id, nombre, nombre + QStringLiteral(" S.L.")};
    for (const char* campo : {"ruc", "dir", "cp", "tel1", "tel2", "fax", "mail", "url", "zona",
                              "ciudad", "provincia", "país"})
        v << nombre.left(3) + u'-' + QString::fromUtf8(campo);
    v << int(desactivado);
    ejecutar(QStringLiteral("INSERT INTO proveedores VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"), v);
}

void OrigenPrueba::producto(const QVariantList& columnas) {
    ejecutar(QStringLiteral("INSERT INTO productos VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"), columnas);
}

void OrigenPrueba::registrar(const QString& nombre) const {
    QVERIFY(odbc::escribirOrigenUsuario(nombre, odbc::driverSqlite(), ruta_));
}

QString OrigenPrueba::nombreNuevo() {
    static int contador = 0;
    return QStringLiteral("BODEX_PRUEBA_%1").arg(++contador);
}
