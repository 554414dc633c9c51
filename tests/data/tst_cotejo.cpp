// The Spanish collation of the text columns, on real rows of a fresh database:
// order, equality, duplicates, the type-ahead's forward search, and files of
// the earlier schema (NOCASE columns), which keep working as they did.
#include "comun/entornoprueba.h"
#include "data/conexionsqlite.h"
#include "data/cotejo.h"
#include "data/registros.h"

#include <QFile>
#include <QTest>

#include <sqlite3.h>

#include <memory>

namespace {

QStringList lista(std::initializer_list<const char*> textos) {
    QStringList r;
    for (const char* t : textos)
        r << QString::fromUtf8(t);
    return r;
}

int comparar(const char* a, const char* b) {
    const int r = cotejo::comparar(a, b);
    return (r > 0) - (r < 0);
}

// Runs statements on a file with the raw engine, as another program would;
// the collation only when asked for.
class OtraConexion {
public:
    OtraConexion(const QString& ruta, bool conCotejo) {
        sqlite3_open_v2(QFile::encodeName(ruta).constData(), &bd_, SQLITE_OPEN_READWRITE, nullptr);
        if (conCotejo)
            cotejo::registrar(bd_);
    }
    ~OtraConexion() { sqlite3_close(bd_); }
    OtraConexion(const OtraConexion&) = delete;
    OtraConexion& operator=(const OtraConexion&) = delete;
    int ejecutar(const char* sql) { return sqlite3_exec(bd_, sql, nullptr, nullptr, nullptr); }
    QString error() const { return QString::fromUtf8(sqlite3_errmsg(bd_)); }

private:
    sqlite3* bd_ = nullptr;
};

} // namespace

class PruebaCotejo : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<ConexionSqlite> con;

    ResultadoSentencia ok(const QString& sql, const QVariantList& valores = {}) {
        ResultadoSentencia r = con->ejecutar(sql, valores);
        if (!r.ok)
            qWarning() << sql << con->errores().value(0).descripcion;
        return r;
    }
    QStringList columna(const QString& sql) {
        QStringList r;
        const ResultadoSentencia res = ok(sql);
        for (int f = 0; res.ok && f < res.filas->filas(); ++f)
            r << res.filas->texto(f, 0);
        return r;
    }
    bool categoria(const QString& descripcion) {
        return con->ejecutarProcedimiento(QStringLiteral("categoria_insertar"), {descripcion}).ok;
    }
    void producto(const QString& descripcion, bool desactivado = false) {
        QVERIFY(ok(QStringLiteral("INSERT INTO PRODUCTOS (ProDescripcion, CatId, ProDesactivado) "
                                  "VALUES (?, 1, ?)"),
                   {descripcion, desactivado})
                    .ok);
    }

    // The product grid of the quote editor: active products by description.
    Registros grillaProductos() {
        const ResultadoSentencia r =
            ok(QStringLiteral("SELECT * FROM PRODUCTOS WHERE PRODESACTIVADO=FALSE ORDER BY "
                              "PRODESCRIPCION ASC"));
        return r.ok ? Registros(r.filas, QString()) : Registros();
    }

    // A file made with the earlier schema: the same script with NOCASE text
    // columns, its indexes built in that order.
    QString baseAnterior() {
        const QString ruta = entorno->copiarBase(QStringLiteral("anterior.mdb"));
        {
            OtraConexion bd(ruta, true);
            bd.ejecutar("PRAGMA writable_schema=ON");
            bd.ejecutar("UPDATE sqlite_master SET sql=replace(sql, 'COLLATE ESPANOL', "
                        "'COLLATE NOCASE')");
            bd.ejecutar("PRAGMA writable_schema=OFF");
        }
        OtraConexion bd(ruta, false);
        if (bd.ejecutar("REINDEX") != SQLITE_OK)
            qWarning() << bd.error();
        return ruta;
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        con = std::make_unique<ConexionSqlite>(entorno->copiarBase());
        QVERIFY(con->abierta());
    }
    void cleanup() {
        con.reset();
        entorno.reset();
    }

    void ordenEspanol() {
        for (const char* c : {"abrazaderas", "Nudos", "Zapatos", "Ábacos", "Ñandutí", "Óleos"})
            QVERIFY(categoria(QString::fromUtf8(c)));
        QCOMPARE(columna(QStringLiteral("SELECT CatDescripcion FROM CATEGORIAS ORDER BY "
                                        "CatDescripcion")),
                 lista({"Ábacos", "abrazaderas", "Nudos", "Ñandutí", "Óleos", "Zapatos"}));
        // The product grid and the customer column of the quote list.
        for (const char* p : {"Zócalo", "Ángulo de aluminio", "ángulo de hierro", "Anclaje"})
            producto(QString::fromUtf8(p));
        producto(QStringLiteral("Abrazadera vieja"), true);
        QCOMPARE(columna(QStringLiteral("SELECT ProDescripcion FROM PRODUCTOS WHERE "
                                        "PRODESACTIVADO=FALSE ORDER BY PRODESCRIPCION ASC")),
                 lista({"Anclaje", "Ángulo de aluminio", "ángulo de hierro", "Zócalo"}));
        int id = 0;
        for (const char* n : {"Óptica Sur", "obras del Este", "Ñu SA", "Nogal"}) {
            ++id;
            QVERIFY(ok(QStringLiteral("INSERT INTO CONTACTOS (EmpId, EmpNombreFantasia) VALUES "
                                      "(?, ?)"),
                       {id, QString::fromUtf8(n)})
                        .ok);
            QVERIFY(ok(QStringLiteral("INSERT INTO PRESUPUESTOS (EmpId) VALUES (?)"), {id}).ok);
        }
        QCOMPARE(columna(QStringLiteral("SELECT C.EMPNOMBREFANTASIA FROM PRESUPUESTOS P INNER "
                                        "JOIN CONTACTOS C ON P.EMPID=C.EMPID ORDER BY "
                                        "EmpNombreFantasia ASC")),
                 lista({"Nogal", "Ñu SA", "obras del Este", "Óptica Sur"}));
    }

    void igualdadSinMayusculasConAcentos() {
        for (const char* c : {"Ñandutí", "ácido", "Año"})
            QVERIFY(categoria(QString::fromUtf8(c)));
        auto cuenta = [this](const char* valor) {
            const ResultadoSentencia r =
                ok(QStringLiteral("SELECT COUNT(*) FROM CATEGORIAS WHERE CatDescripcion = ?"),
                   {QString::fromUtf8(valor)});
            return r.ok ? r.filas->valor(0, 0).toInt() : -1;
        };
        QCOMPARE(cuenta("ÑANDUTÍ"), 1);
        QCOMPARE(cuenta("ÁCIDO"), 1);
        // The accent written as a combining mark after the letter.
        QCOMPARE(cuenta("a\u0301cido"), 1);
        QCOMPARE(cuenta("acido"), 0);
        QCOMPARE(cuenta("nandutí"), 0);
        QCOMPARE(cuenta("ano"), 0);
        QCOMPARE(cuenta("año"), 1);
        // DISTINCT and the suggestion views group the same way.
        QVERIFY(ok(QStringLiteral("INSERT INTO PRESUPUESTOS (PreLugar, PreOtroConcepto1, "
                                  "PreOtroConcepto2) VALUES ('Asunción', 'Instalación', "
                                  "'INSTALACIÓN'), ('ASUNCIÓN', 'instalacion', NULL)"))
                    .ok);
        QCOMPARE(columna(QStringLiteral("SELECT DISTINCT PreLugar FROM PRESUPUESTOS")).size(), 1);
        QCOMPARE(columna(QStringLiteral("SELECT Concepto FROM V_PRESUPUESTOS_CONCEPTOS ORDER BY "
                                        "Concepto ASC"))
                     .size(),
                 2);
    }

    void duplicadosRechazados_data() {
        QTest::addColumn<QString>("primero");
        QTest::addColumn<QString>("segundo");
        QTest::addColumn<bool>("aceptado");
        QTest::newRow("Ñ mayúscula y minúscula") << "Ñandutí"
                                                 << "ñandutí" << false;
        QTest::newRow("Á mayúscula y minúscula") << "Ácido"
                                                 << "ácido" << false;
        QTest::newRow("todo en mayúsculas") << "Óleos"
                                            << "ÓLEOS" << false;
        QTest::newRow("con y sin acento") << "acido"
                                          << "ácido" << true;
        QTest::newRow("ñ no es n") << "año"
                                   << "ano" << true;
    }
    void duplicadosRechazados() {
        QFETCH(QString, primero);
        QFETCH(QString, segundo);
        QFETCH(bool, aceptado);
        QVERIFY(categoria(primero));
        QCOMPARE(categoria(segundo), aceptado);
        if (!aceptado)
            QCOMPARE(con->errores().value(0).numero, errores::kErroresEnComando);
        // Products: by description, and by code when one is given.
        const QString insertar = QStringLiteral("producto_insertar");
        auto valores = [](const QString& codigo, const QString& descripcion) {
            return QVariantList{codigo, descripcion, 1, QString(),  0.0,
                                0.0,    QString(),   0, QVariant(), false};
        };
        QVERIFY(con->ejecutarProcedimiento(insertar, valores(primero, primero)).ok);
        QCOMPARE(con->ejecutarProcedimiento(insertar, valores(QStringLiteral("x"), segundo)).ok,
                 aceptado);
        QCOMPARE(con->ejecutarProcedimiento(insertar, valores(segundo, QStringLiteral("y"))).ok,
                 aceptado);
        if (!aceptado)
            QCOMPARE(con->errores().value(0).numero, errores::kErroresEnComando);
    }

    // The type-ahead searches the grid's rows forward with ">=", so it must
    // compare as the engine ordered them.
    void busquedaAlTeclearSigueElOrden() {
        for (const char* p : {"Ábaco", "nudo", "Ñandú rojo", "ñapa", "Óleo", "Zócalo"})
            producto(QString::fromUtf8(p));
        Registros rs = grillaProductos();
        QCOMPARE(rs.cantidad(), 6);
        auto tecleado = [&rs](const char* texto) {
            rs.moverPrimero();
            rs.buscar(QStringLiteral("PRODESCRIPCION>='") + QString::fromUtf8(texto) + u'\'');
            return rs.alFinal() ? QString() : rs.campo(QStringLiteral("ProDescripcion")).toString();
        };
        QCOMPARE(tecleado("ñ"), QString::fromUtf8("Ñandú rojo"));
        QCOMPARE(tecleado("Ñ"), QString::fromUtf8("Ñandú rojo"));
        QCOMPARE(tecleado("ñap"), QString::fromUtf8("ñapa"));
        QCOMPARE(tecleado("n"), QStringLiteral("nudo"));
        QCOMPARE(tecleado("o"), QString::fromUtf8("Óleo"));
        QCOMPARE(tecleado("z"), QString::fromUtf8("Zócalo"));
        QCOMPARE(tecleado("zz"), QString());
        // Equality as the engine's: case ignored, accents kept.
        rs.moverPrimero();
        QVERIFY(rs.buscar(QStringLiteral("ProDescripcion='ÑAPA'")));
        QCOMPARE(rs.campo(QStringLiteral("ProDescripcion")).toString(), QString::fromUtf8("ñapa"));
        rs.moverPrimero();
        QVERIFY(rs.buscar(QStringLiteral("ProDescripcion='napa'")));
        QVERIFY(rs.alFinal());
    }

    // INSTR keeps its own folding: case ignored, Ñ not the same letter as N.
    void busquedaConInstrSinCambios() {
        for (const char* c : {"Ñandutí", "Nandina", "Piña"})
            QVERIFY(categoria(QString::fromUtf8(c)));
        QCOMPARE(columna(QStringLiteral("SELECT CatDescripcion FROM CATEGORIAS WHERE "
                                        "INSTR(CatDescripcion,'ÑA') ORDER BY CatDescripcion")),
                 lista({"Ñandutí", "Piña"}));
        QCOMPARE(columna(QStringLiteral("SELECT CatDescripcion FROM CATEGORIAS WHERE "
                                        "INSTR(CatDescripcion,'nan')")),
                 lista({"Nandina"}));
    }

    // Ill-formed UTF-8 (another program may write any bytes) sorts and
    // compares without failing; the order stays consistent.
    void bytesInvalidos() {
        QCOMPARE(comparar("\xff", "\xff"), 0);
        QCOMPARE(comparar("a\xc3", "a\xc3"), 0);
        QCOMPARE(comparar("\xc3", "a"), -comparar("a", "\xc3"));
        QCOMPARE(comparar("", "\xe2\x82"), -comparar("\xe2\x82", ""));
        QVERIFY(comparar("abc\xf0\x9f", "abd") < 0);
        QVERIFY(ok(QStringLiteral("INSERT INTO CONTACTOS (EmpNombreFantasia) VALUES "
                                  "(CAST(x'ff41' AS TEXT)), ('b'), (CAST(x'c3' AS TEXT)), "
                                  "('A'), (CAST(x'41c3' AS TEXT))"))
                    .ok);
        QCOMPARE(columna(QStringLiteral("SELECT DISTINCT EmpNombreFantasia FROM CONTACTOS ORDER "
                                        "BY EmpNombreFantasia"))
                     .mid(0, 2),
                 lista({"A", "A\xef\xbf\xbd"}));
    }

    // Other programs reading the file without the collation: plain reads
    // work; sorting or writing an indexed text column is refused, never done
    // in another order.
    void otrosProgramasSinElCotejo() {
        QVERIFY(categoria(QStringLiteral("Tornillos")));
        con.reset();
        const QString ruta = entorno->ruta(QStringLiteral("bd2000.mdb"));
        {
            OtraConexion otro(ruta, false);
            QCOMPARE(otro.ejecutar("SELECT * FROM CATEGORIAS"), SQLITE_OK);
            QCOMPARE(otro.ejecutar("SELECT CatDescripcion FROM CATEGORIAS ORDER BY CatDescripcion"),
                     SQLITE_ERROR);
            QVERIFY2(otro.error().contains(QStringLiteral("ESPANOL")), qPrintable(otro.error()));
            QCOMPARE(otro.ejecutar("INSERT INTO CATEGORIAS (CatDescripcion) VALUES ('tornillos')"),
                     SQLITE_ERROR);
        }
        con = std::make_unique<ConexionSqlite>(ruta);
        QCOMPARE(columna(QStringLiteral("SELECT CatDescripcion FROM CATEGORIAS")),
                 QStringList{QStringLiteral("Tornillos")});
        QCOMPARE(columna(QStringLiteral("PRAGMA integrity_check")),
                 QStringList{QStringLiteral("ok")});
    }

    // A file of the earlier schema opens and keeps its own rules; it is not
    // converted.
    void baseConEsquemaAnterior() {
        con = std::make_unique<ConexionSqlite>(baseAnterior());
        QVERIFY(con->abierta());
        for (const char* c : {"Ñandutí", "ñandutí", "Zapatos", "Ábacos", "abrazaderas"})
            QVERIFY(categoria(QString::fromUtf8(c)));
        QVERIFY(!categoria(QStringLiteral("ZAPATOS")));
        QCOMPARE(con->errores().value(0).numero, errores::kErroresEnComando);
        QCOMPARE(columna(QStringLiteral("SELECT CatDescripcion FROM CATEGORIAS ORDER BY "
                                        "CatDescripcion")),
                 lista({"abrazaderas", "Zapatos", "Ábacos", "Ñandutí", "ñandutí"}));
        QCOMPARE(columna(QStringLiteral("SELECT sql FROM sqlite_master WHERE name='CATEGORIAS'"))
                     .value(0)
                     .contains(QStringLiteral("COLLATE NOCASE")),
                 true);
        QCOMPARE(columna(QStringLiteral("PRAGMA integrity_check")),
                 QStringList{QStringLiteral("ok")});
    }
};

QTEST_GUILESS_MAIN(PruebaCotejo)
#include "tst_cotejo.moc"
