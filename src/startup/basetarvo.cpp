#include "startup/basetarvo.h"

#include <QFile>
#include <QSet>

#include <sqlite3.h>

const QStringList& tablasNecesarias() {
    static const QStringList tablas{
        QStringLiteral("PRESUPUESTOS"), QStringLiteral("PRESUPUESTOS_PRODUCTOS"),
        QStringLiteral("PRODUCTOS"),    QStringLiteral("CATEGORIAS"),
        QStringLiteral("CONTACTOS"),    QStringLiteral("USUARIOS"),
        QStringLiteral("OPCIONES"),     QStringLiteral("CONSULTAS_GUARDADAS"),
    };
    return tablas;
}

QString tablaQueFalta(const QString& ruta) {
    sqlite3* bd = nullptr;
    const QByteArray r = QFile::encodeName(ruta);
    // Read only: checking must never create or change the file.
    if (sqlite3_open_v2(r.constData(), &bd, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(bd);
        return {};
    }
    sqlite3_busy_timeout(bd, 2000);
    sqlite3_stmt* st = nullptr;
    QSet<QString> presentes;
    bool leido = sqlite3_prepare_v2(bd, "SELECT name FROM sqlite_master WHERE type='table'", -1,
                                    &st, nullptr) == SQLITE_OK;
    int paso = SQLITE_DONE;
    while (leido && (paso = sqlite3_step(st)) == SQLITE_ROW)
        presentes.insert(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))).toUpper());
    leido = leido && paso == SQLITE_DONE;
    sqlite3_finalize(st);
    sqlite3_close(bd);
    if (!leido)
        return {};
    for (const QString& tabla : tablasNecesarias())
        if (!presentes.contains(tabla))
            return tabla;
    return {};
}
