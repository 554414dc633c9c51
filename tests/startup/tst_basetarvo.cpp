// The start-up check that a database file holds the program's tables.
#include "comun/entornoprueba.h"
#include "startup/basetarvo.h"

#include <QFile>
#include <QTest>

#include <sqlite3.h>

class PruebaBaseTarvo : public QObject {
    Q_OBJECT

    static bool ejecutar(const QString& ruta, const char* sql) {
        sqlite3* bd = nullptr;
        const QByteArray r = QFile::encodeName(ruta);
        bool ok = sqlite3_open(r.constData(), &bd) == SQLITE_OK &&
                  sqlite3_exec(bd, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(bd);
        return ok;
    }
    static QByteArray contenido(const QString& ruta) {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void baseDelProgramaPasa() {
        EntornoPrueba entorno;
        QCOMPARE(tablaQueFalta(entorno.copiarBase()), QString());
    }

    void faltaUnaTablaSeNombra() {
        EntornoPrueba entorno;
        const QString base = entorno.copiarBase();
        QVERIFY(ejecutar(base, "DROP TABLE PRESUPUESTOS_PRODUCTOS; DROP TABLE PRESUPUESTOS"));
        const QByteArray antes = contenido(base);
        QCOMPARE(tablaQueFalta(base), QStringLiteral("PRESUPUESTOS"));
        QCOMPARE(contenido(base), antes);
    }

    void baseAjenaSeNombraSinCambiarla() {
        EntornoPrueba entorno;
        const QString ajena = entorno.ruta(QStringLiteral("ajena.db"));
        QVERIFY(ejecutar(ajena, "CREATE TABLE notas(id INTEGER, texto TEXT)"));
        const QByteArray antes = contenido(ajena);
        QCOMPARE(tablaQueFalta(ajena), QStringLiteral("PRESUPUESTOS"));
        QCOMPARE(contenido(ajena), antes);
    }

    // What is no database at all is left to the connection, which says why.
    void loQueNoEsBaseSeDejaALaConexion() {
        EntornoPrueba entorno;
        const QString ruta = entorno.ruta(QStringLiteral("azar.mdb"));
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, '\x5a'));
        f.close();
        QCOMPARE(tablaQueFalta(ruta), QString());
        QCOMPARE(contenido(ruta), QByteArray(4096, '\x5a'));
    }
};

QTEST_GUILESS_MAIN(PruebaBaseTarvo)
#include "tst_basetarvo.moc"
