// The sample-data generator: determinism from the seed, counts, referential
// integrity, column sizes and the variety the benchmarks and windows rely on.
#include "data/conexionsqlite.h"
#include "muestras/generadordatos.h"
#include "platform/reloj.h"

#include "comun/entornoprueba.h"

#include <QFile>
#include <QTest>

#include <memory>

namespace {

const QDate kHoy(2026, 3, 15);

ParametrosGeneracion parametros(quint32 semilla) {
    ParametrosGeneracion p;
    p.semilla = semilla;
    p.contactos = 40;
    p.categorias = 8;
    p.productos = 150;
    p.presupuestos = 300;
    return p;
}

// Every row of the generated tables, in key order, one text per row; Null is
// told apart from empty text.
QStringList contenido(ConexionSqlite& bd, const QString& tabla, const QString& orden) {
    const ResultadoSentencia r = bd.ejecutar(QStringLiteral("SELECT * FROM ") + tabla +
                                             QStringLiteral(" ORDER BY ") + orden);
    if (!r.ok || !r.filas)
        return {QStringLiteral("error")};
    QStringList filas;
    for (int f = 0; f < r.filas->filas(); ++f) {
        QString fila;
        for (int c = 0; c < r.filas->columnas(); ++c)
            fila +=
                (r.filas->esNulo(f, c) ? QStringLiteral("<nulo>") : r.filas->texto(f, c)) + u'|';
        filas << fila;
    }
    return filas;
}

struct Tabla {
    const char16_t* nombre;
    const char16_t* orden;
};
constexpr Tabla kTablas[] = {
    {u"CONTACTOS", u"EmpId"},
    {u"CATEGORIAS", u"CatId"},
    {u"PRODUCTOS", u"ProId"},
    {u"PRESUPUESTOS", u"PreId"},
    {u"PRESUPUESTOS_PRODUCTOS", u"PreId, ProId"},
};

} // namespace

class PruebaGeneradorDatos : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPrueba> entorno_;
    QString rutaA_, rutaB_, rutaOtra_;
    qint64 lineasA_ = 0;

    // One value of a single-value query; -1 when the query fails.
    static qint64 valor(ConexionSqlite& bd, const QString& sql) {
        const ResultadoSentencia r = bd.ejecutar(sql);
        if (!r.ok || !r.filas || r.filas->filas() != 1) {
            qWarning() << sql << (bd.errores().isEmpty() ? QString() : bd.errores()[0].descripcion);
            return -1;
        }
        return r.filas->valor(0, 0).toLongLong();
    }

    QString generar(const QString& nombre, quint32 semilla, qint64* lineas = nullptr) {
        GeneradorDatos g(parametros(semilla));
        const QString ruta = entorno_->ruta(nombre);
        if (!g.generarArchivo(rutaBasePristina(), ruta)) {
            qWarning() << g.error();
            return {};
        }
        if (lineas)
            *lineas = g.lineas();
        return ruta;
    }

private slots:
    void initTestCase() {
        entorno_ = std::make_unique<EntornoPrueba>();
        Reloj::fijar(kHoy);
        rutaA_ = generar(QStringLiteral("a.mdb"), 7, &lineasA_);
        rutaB_ = generar(QStringLiteral("b.mdb"), 7);
        rutaOtra_ = generar(QStringLiteral("otra.mdb"), 8);
        QVERIFY(!rutaA_.isEmpty() && !rutaB_.isEmpty() && !rutaOtra_.isEmpty());
        QVERIFY(!QFile::exists(rutaA_ + QStringLiteral(".tmp")));
    }

    void cleanupTestCase() {
        Reloj::liberar();
        entorno_.reset();
    }

    void mismaSemillaMismoContenido() {
        ConexionSqlite a(rutaA_), b(rutaB_);
        QVERIFY(a.abierta() && b.abierta());
        for (const Tabla& t : kTablas) {
            const QString nombre = QString::fromUtf16(t.nombre);
            const QStringList filasA = contenido(a, nombre, QString::fromUtf16(t.orden));
            QVERIFY2(filasA.size() > 1, qPrintable(nombre));
            QCOMPARE(contenido(b, nombre, QString::fromUtf16(t.orden)), filasA);
        }
    }

    void otraSemillaOtroContenido() {
        ConexionSqlite a(rutaA_), otra(rutaOtra_);
        QVERIFY(a.abierta() && otra.abierta());
        // Category names follow their index; only the rest must change.
        for (const Tabla& t : kTablas) {
            const QString nombre = QString::fromUtf16(t.nombre);
            if (nombre == u"CATEGORIAS")
                continue;
            const QString orden = QString::fromUtf16(t.orden);
            QVERIFY2(contenido(a, nombre, orden) != contenido(otra, nombre, orden),
                     qPrintable(nombre));
        }
    }

    void cantidades() {
        ConexionSqlite bd(rutaA_);
        const ParametrosGeneracion p = parametros(7);
        QCOMPARE(valor(bd, QStringLiteral("SELECT COUNT(*) FROM CONTACTOS")), qint64(p.contactos));
        QCOMPARE(valor(bd, QStringLiteral("SELECT COUNT(*) FROM CATEGORIAS")),
                 qint64(p.categorias));
        QCOMPARE(valor(bd, QStringLiteral("SELECT COUNT(*) FROM PRODUCTOS")), qint64(p.productos));
        QCOMPARE(valor(bd, QStringLiteral("SELECT COUNT(*) FROM PRESUPUESTOS")),
                 qint64(p.presupuestos));
        QCOMPARE(valor(bd, QStringLiteral("SELECT COUNT(*) FROM PRESUPUESTOS_PRODUCTOS")),
                 lineasA_);
        // 0 to 20 lines a quote, about eight on average.
        QVERIFY(valor(bd, QStringLiteral("SELECT MAX(n) FROM (SELECT COUNT(*) AS n FROM "
                                         "PRESUPUESTOS_PRODUCTOS GROUP BY PreId)")) <= 20);
        QVERIFY(lineasA_ > 5 * p.presupuestos && lineasA_ < 12 * qint64(p.presupuestos));
        QVERIFY(valor(bd, QStringLiteral("SELECT COUNT(*) FROM PRESUPUESTOS WHERE PreId NOT IN "
                                         "(SELECT PreId FROM PRESUPUESTOS_PRODUCTOS)")) > 0);
    }

    void integridad() {
        ConexionSqlite bd(rutaA_);
        const QString consultas[] = {
            // Every line's product and quote exist, and no product twice in a quote.
            QStringLiteral("SELECT COUNT(*) FROM PRESUPUESTOS_PRODUCTOS L LEFT JOIN PRODUCTOS P "
                           "ON L.ProId=P.ProId WHERE P.ProId IS NULL"),
            QStringLiteral("SELECT COUNT(*) FROM PRESUPUESTOS_PRODUCTOS L LEFT JOIN PRESUPUESTOS "
                           "P ON L.PreId=P.PreId WHERE P.PreId IS NULL"),
            QStringLiteral("SELECT COUNT(*) FROM (SELECT PreId, ProId FROM "
                           "PRESUPUESTOS_PRODUCTOS GROUP BY PreId, ProId HAVING COUNT(*)>1)"),
            // Every quote reaches its contact, every product its category.
            QStringLiteral("SELECT COUNT(*) FROM PRESUPUESTOS P LEFT JOIN CONTACTOS C ON "
                           "P.EmpId=C.EmpId WHERE C.EmpId IS NULL"),
            QStringLiteral("SELECT COUNT(*) FROM PRODUCTOS P LEFT JOIN CATEGORIAS C ON "
                           "P.CatId=C.CatId WHERE C.CatId IS NULL"),
            // Descriptions and codes are unique, as the product maintenance needs.
            QStringLiteral("SELECT COUNT(*) - COUNT(DISTINCT ProDescripcion) FROM PRODUCTOS"),
            QStringLiteral("SELECT COUNT(ProCodigo) - COUNT(DISTINCT ProCodigo) FROM PRODUCTOS"),
            // Texts fit the sizes the forms accept.
            QStringLiteral("SELECT COUNT(*) FROM CONTACTOS WHERE LENGTH(EmpNombreFantasia)>30 OR "
                           "LENGTH(EmpRazonSocial)>30 OR LENGTH(EmpRuc)>20 OR "
                           "LENGTH(EmpDireccion)>50 OR LENGTH(EmpCodigoPostal)>10 OR "
                           "LENGTH(EmpTelefono1)>20 OR LENGTH(EmpTelefono2)>20 OR "
                           "LENGTH(EmpFax)>20 OR LENGTH(EmpEmail)>50 OR LENGTH(EmpURL)>50 OR "
                           "LENGTH(EmpCiudad)>50 OR EmpNombreFantasia=''"),
            QStringLiteral("SELECT COUNT(*) FROM PRODUCTOS WHERE LENGTH(ProCodigo)>12 OR "
                           "LENGTH(ProDescripcion)>100"),
            QStringLiteral("SELECT COUNT(*) FROM CATEGORIAS WHERE LENGTH(CatDescripcion)>50"),
        };
        for (const QString& sql : consultas)
            QVERIFY2(valor(bd, sql) == 0, qPrintable(sql));
    }

    void vencimientosProximos() {
        ConexionSqlite bd(rutaA_);
        const qint64 proximos = valor(
            bd, QStringLiteral("select count(PreId) from presupuestos where PreVigencia>0 and "
                               "(PreFecha+PreVigencia between Date() and date()+10);"));
        QVERIFY(proximos > 0);
        QVERIFY(proximos < parametros(7).presupuestos / 5);
        // Those expiries are relative to the generator's today: 100 days later
        // (beyond the longest validity) the same file has none left.
        Reloj::fijar(kHoy.addDays(100));
        const qint64 despues = valor(
            bd, QStringLiteral("select count(PreId) from presupuestos where PreVigencia>0 and "
                               "(PreFecha+PreVigencia between Date() and date()+10);"));
        Reloj::fijar(kHoy);
        QCOMPARE(despues, qint64(0));
    }

    // Even a handful of quotes gives the expiry notice something to count.
    void vencimientosEnBasePequena() {
        const ParametrosGeneracion pequena{3, 2, 1, 5, 3};
        for (quint32 semilla : {1u, 2u, 3u}) {
            ParametrosGeneracion p = pequena;
            p.semilla = semilla;
            GeneradorDatos g(p);
            const QString ruta = entorno_->ruta(QStringLiteral("pequena.mdb"));
            QVERIFY2(g.generarArchivo(rutaBasePristina(), ruta), qPrintable(g.error()));
            ConexionSqlite bd(ruta);
            QVERIFY(valor(bd, QStringLiteral("select count(PreId) from presupuestos where "
                                             "PreVigencia>0 and (PreFecha+PreVigencia between "
                                             "Date() and date()+10);")) >= 1);
        }
    }

    void variedad() {
        ConexionSqlite bd(rutaA_);
        auto hay = [&](const char16_t* condicion) {
            return valor(bd, QStringLiteral("SELECT COUNT(*) FROM PRESUPUESTOS WHERE ") +
                                 QString::fromUtf16(condicion)) > 0;
        };
        // Numbers plain and free text; owners admin and super only.
        QVERIFY(hay(u"PreNumero NOT GLOB '*[^0-9]*' AND PreNumero<>''"));
        QVERIFY(hay(u"PreNumero GLOB 'P-[0-9][0-9][0-9][0-9]/[0-9]*'"));
        QVERIFY(hay(u"UsuLogin='admin'") && hay(u"UsuLogin='super'"));
        QVERIFY(!hay(u"UsuLogin NOT IN ('admin','super') OR UsuLogin IS NULL"));
        // Further costs on some quotes only; unused items cost 0.
        QVERIFY(hay(u"PreOtroPrecio1>0") && hay(u"PreOtroPrecio1=0"));
        QVERIFY(!hay(u"PreOtroPrecio1=0 AND PreOtroConcepto1<>''"));
        // Validity with its sentence, or none.
        QVERIFY(hay(u"PreVigencia=0") && hay(u"PreVigencia>0"));
        QVERIFY(!hay(u"(PreVigencia>0) <> (PreTextoVigencia<>'')"));
        // Dates over several recent years, none in the future.
        QVERIFY(!hay(u"PreFecha > Date()"));
        QVERIFY(valor(bd, QStringLiteral("SELECT MAX(PreFecha)-MIN(PreFecha) FROM "
                                         "PRESUPUESTOS")) > 3 * 365);
        // Withdrawn contacts and products exist beside active ones.
        QVERIFY(valor(bd, QStringLiteral("SELECT COUNT(*) FROM CONTACTOS WHERE "
                                         "EmpDesactivado=True")) > 0);
        QVERIFY(valor(bd, QStringLiteral("SELECT COUNT(*) FROM PRODUCTOS WHERE "
                                         "ProDesactivado=True")) > 0);
        QVERIFY(valor(bd, QStringLiteral("SELECT COUNT(*) FROM PRODUCTOS WHERE "
                                         "ProDesactivado=False")) > 0);
    }

    void parametrosInvalidos() {
        ParametrosGeneracion sinContactos = parametros(1);
        sinContactos.contactos = 0;
        GeneradorDatos g(sinContactos);
        const QString ruta = entorno_->ruta(QStringLiteral("invalida.mdb"));
        QVERIFY(!g.generarArchivo(rutaBasePristina(), ruta));
        QVERIFY(!g.error().isEmpty());
        QVERIFY(!QFile::exists(ruta));

        GeneradorDatos sinBase(parametros(1));
        QVERIFY(!sinBase.generarArchivo(entorno_->ruta(QStringLiteral("no-existe.mdb")), ruta));
        QVERIFY(!QFile::exists(ruta));
        QVERIFY(!QFile::exists(ruta + QStringLiteral(".tmp")));
    }

    // A file that is not a database of this system fails whole: no output, no
    // temporary left.
    void falloDejaSinArchivo() {
        const QString ajena = entorno_->ruta(QStringLiteral("ajena.mdb"));
        QFile f(ajena);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("esto no es una base de datos");
        f.close();
        GeneradorDatos g(parametros(1));
        const QString ruta = entorno_->ruta(QStringLiteral("fallida.mdb"));
        QVERIFY(!g.generarArchivo(ajena, ruta));
        QVERIFY(!g.error().isEmpty());
        QVERIFY(!QFile::exists(ruta));
        QVERIFY(!QFile::exists(ruta + QStringLiteral(".tmp")));
    }

    void cantidadesCero() {
        GeneradorDatos g(ParametrosGeneracion{});
        const QString ruta = entorno_->ruta(QStringLiteral("vacia.mdb"));
        QVERIFY2(g.generarArchivo(rutaBasePristina(), ruta), qPrintable(g.error()));
        ConexionSqlite bd(ruta);
        QVERIFY(bd.abierta());
        QCOMPARE(valor(bd, QStringLiteral("SELECT COUNT(*) FROM PRESUPUESTOS")), qint64(0));
        QCOMPARE(valor(bd, QStringLiteral("SELECT COUNT(*) FROM CONTACTOS")), qint64(0));
        QCOMPARE(g.lineas(), qint64(0));
    }
};

QTEST_GUILESS_MAIN(PruebaGeneradorDatos)
#include "tst_generadordatos.moc"
