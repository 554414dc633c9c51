#include "data/versionsqlite.h"

#include "data/cotejo.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>

namespace {

QString texto(const unsigned char* t) {
    return t ? QString::fromUtf8(reinterpret_cast<const char*>(t)) : QString();
}

// The version of an open file. `error` receives the reason when it cannot be told.
int leerVersion(sqlite3* bd, QString& error) {
    sqlite3_stmt* st = nullptr;
    int version = versionesquema::kDesconocida;
    if (sqlite3_prepare_v2(bd, "PRAGMA user_version", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        version = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    if (version == versionesquema::kDesconocida) {
        error = QString::fromUtf8(sqlite3_errmsg(bd));
        return version;
    }
    if (version > 0)
        return version;
    // Written before the version was kept: the collation of its text columns
    // tells the schema.
    QString sql;
    bool leido = false;
    if (sqlite3_prepare_v2(bd,
                           "SELECT sql FROM sqlite_master WHERE type = 'table' AND "
                           "name = 'CATEGORIAS' COLLATE NOCASE",
                           -1, &st, nullptr) == SQLITE_OK) {
        const int paso = sqlite3_step(st);
        leido = paso == SQLITE_ROW || paso == SQLITE_DONE;
        if (paso == SQLITE_ROW)
            sql = texto(sqlite3_column_text(st, 0)).toUpper();
    }
    sqlite3_finalize(st);
    if (!leido) {
        error = QString::fromUtf8(sqlite3_errmsg(bd));
        return versionesquema::kDesconocida;
    }
    if (sql.contains(QStringLiteral("COLLATE ESPANOL")))
        return 2;
    if (sql.contains(QStringLiteral("COLLATE NOCASE")))
        return 1;
    error = QStringLiteral("el archivo no es una base de datos del programa.");
    return versionesquema::kDesconocida;
}

} // namespace

BaseVersionadaSqlite::BaseVersionadaSqlite(const QString& ruta) : ruta_(ruta) {}

BaseVersionadaSqlite::~BaseVersionadaSqlite() {
    deshacer();
    sqlite3_close(bd_);
}

bool BaseVersionadaSqlite::fallo(int codigo) {
    codigo_ = codigo;
    error_ =
        bd_ ? QString::fromUtf8(sqlite3_errmsg(bd_)) : QString::fromUtf8(sqlite3_errstr(codigo));
    return false;
}

bool BaseVersionadaSqlite::exec(const char* sql) {
    const int rc = sqlite3_exec(bd_, sql, nullptr, nullptr, nullptr);
    return rc == SQLITE_OK || fallo(rc);
}

bool BaseVersionadaSqlite::abrir() {
    if (bd_)
        return true;
    if (!QFileInfo(ruta_).isFile()) {
        error_ = QStringLiteral("no se encuentra el archivo «%1».").arg(ruta_);
        return false;
    }
    const QByteArray r = QFile::encodeName(ruta_);
    const int rc = sqlite3_open_v2(r.constData(), &bd_, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK)
        return fallo(rc);
    // A lock of a moment is waited for; one that stays means the file is in use.
    sqlite3_busy_timeout(bd_, 1000);
    if (!cotejo::registrar(bd_)) {
        error_ = QStringLiteral("no se puede registrar el cotejo %1.")
                     .arg(QString::fromLatin1(cotejo::kNombre));
        return false;
    }
    // Tables are rebuilt under their own names: references to them must not
    // be followed while a table is briefly missing.
    return exec("PRAGMA foreign_keys = OFF");
}

bool BaseVersionadaSqlite::comenzar() {
    if (!abrir())
        return false;
    // Is another program writing, or holding the file? Asked at once, so no
    // copy is made for an upgrade that could not go on.
    if (!exec("BEGIN IMMEDIATE") || !exec("ROLLBACK"))
        return false;
    // A read transaction: nobody else can commit while it lasts, and the copy
    // reads the file through it (a copy cannot read through a write
    // transaction). The first write of a step takes the write lock.
    return exec("BEGIN") && exec("SELECT COUNT(*) FROM sqlite_master");
}

bool BaseVersionadaSqlite::confirmar() {
    return exec("COMMIT");
}

void BaseVersionadaSqlite::deshacer() {
    if (bd_ && !sqlite3_get_autocommit(bd_))
        sqlite3_exec(bd_, "ROLLBACK", nullptr, nullptr, nullptr);
}

int BaseVersionadaSqlite::version() {
    return leerVersion(bd_, error_);
}

bool BaseVersionadaSqlite::fijarVersion(int version) {
    return exec(QByteArray("PRAGMA user_version = " + QByteArray::number(version)).constData());
}

bool BaseVersionadaSqlite::ejecutarGuion(const QString& sql) {
    return exec(sql.toUtf8().constData());
}

bool BaseVersionadaSqlite::colisiones(const ColumnaUnica& c, QList<QStringList>& grupos) {
    // Values the collation takes for one fall into one group; the separator
    // is a control character no typed value holds.
    const QString sql =
        QStringLiteral("SELECT group_concat(%2, char(31)) FROM %1 WHERE %2 IS NOT NULL%3 "
                       "GROUP BY %2 COLLATE %4 HAVING COUNT(*) > 1")
            .arg(c.tabla, c.columna,
                 c.condicion.isEmpty() ? QString() : QStringLiteral(" AND (%1)").arg(c.condicion),
                 QString::fromLatin1(cotejo::kNombre));
    sqlite3_stmt* st = nullptr;
    const QByteArray u = sql.toUtf8();
    int rc = sqlite3_prepare_v2(bd_, u.constData(), -1, &st, nullptr);
    if (rc == SQLITE_OK)
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            QStringList grupo = texto(sqlite3_column_text(st, 0)).split(QChar(31));
            std::sort(grupo.begin(), grupo.end());
            grupos << grupo;
        }
    sqlite3_finalize(st);
    return rc == SQLITE_DONE || fallo(rc);
}

bool BaseVersionadaSqlite::comprobarReferencias() {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(bd_, "PRAGMA foreign_key_check", -1, &st, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(st);
    QString tabla;
    if (rc == SQLITE_ROW)
        tabla = texto(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    if (rc == SQLITE_ROW) {
        error_ = QStringLiteral("la tabla %1 hace referencia a filas que no existen.").arg(tabla);
        return false;
    }
    return rc == SQLITE_DONE || fallo(rc);
}

bool BaseVersionadaSqlite::guardarCopia(const QString& destino) {
    const QString temporal = destino + QStringLiteral(".parcial");
    QFile::remove(temporal);
    sqlite3* copia = nullptr;
    const QByteArray t = QFile::encodeName(temporal);
    int rc =
        sqlite3_open_v2(t.constData(), &copia, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_backup* b = sqlite3_backup_init(copia, "main", bd_, "main");
        if (!b) {
            rc = sqlite3_errcode(copia);
        } else {
            rc = sqlite3_backup_step(b, -1);
            const int fin = sqlite3_backup_finish(b);
            rc = rc == SQLITE_DONE ? fin : rc;
        }
    }
    if (rc != SQLITE_OK)
        error_ = QString::fromUtf8(copia ? sqlite3_errmsg(copia) : sqlite3_errstr(rc));
    if (sqlite3_close(copia) != SQLITE_OK && rc == SQLITE_OK) {
        rc = SQLITE_IOERR;
        error_ = QString::fromUtf8(sqlite3_errstr(rc));
    }
    std::error_code ec;
    if (rc == SQLITE_OK)
        std::filesystem::rename(t.constData(), QFile::encodeName(destino).constData(), ec);
    if (rc != SQLITE_OK || ec) {
        if (ec)
            error_ = QString::fromLocal8Bit(ec.message().c_str());
        QFile::remove(temporal);
        return false;
    }
    return true;
}

bool BaseVersionadaSqlite::enUso() const {
    return (codigo_ & 0xFF) == SQLITE_BUSY || (codigo_ & 0xFF) == SQLITE_LOCKED;
}

int versionArchivo(const QString& ruta) {
    if (!QFileInfo(ruta).isFile())
        return versionesquema::kDesconocida;
    sqlite3* bd = nullptr;
    const QByteArray r = QFile::encodeName(ruta);
    int version = versionesquema::kDesconocida;
    if (sqlite3_open_v2(r.constData(), &bd, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(bd, 1000);
        QString error;
        version = leerVersion(bd, error);
    }
    sqlite3_close(bd);
    return version;
}
