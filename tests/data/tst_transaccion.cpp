// The transaction guard on a real database: what it keeps and what it undoes.
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "data/conexionsqlite.h"
#include "data/transaccion.h"

#include <QTest>

#include <memory>
#include <stdexcept>

class PruebaTransaccion : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<Conexion> con;

    bool insertar(const QString& descripcion) {
        return con
            ->ejecutar(QStringLiteral("INSERT INTO CATEGORIAS (CatDescripcion) VALUES (?)"),
                       {descripcion})
            .ok;
    }
    int categorias() {
        return con->ejecutar(QStringLiteral("SELECT COUNT(*) FROM CATEGORIAS"))
            .filas->valor(0, 0)
            .toInt();
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        con = conexionDePrueba(entorno->copiarBase());
        QVERIFY(con->abierta());
    }
    void cleanup() {
        con.reset();
        entorno.reset();
    }

    void confirmadaGuardaTodo() {
        {
            Transaccion t(con.get());
            QVERIFY(t.iniciada());
            QVERIFY(con->enTransaccion());
            QVERIFY(insertar(QStringLiteral("A")) && insertar(QStringLiteral("B")));
            QVERIFY(t.confirmar());
        }
        QVERIFY(!con->enTransaccion());
        QCOMPARE(categorias(), 2);
    }

    void sentenciaFallidaNoDejaNadaAMedias() {
        {
            Transaccion t(con.get());
            QVERIFY(insertar(QStringLiteral("Tornillos")));
            QVERIFY(!insertar(QStringLiteral("TORNILLOS"))); // duplicate: refused
            QCOMPARE(con->errores().value(0).numero, errores::kErroresEnComando);
        } // leaves without confirmar()
        QVERIFY(!con->enTransaccion());
        QCOMPARE(categorias(), 0);
    }

    void excepcionDeshaceLoEscrito() {
        try {
            Transaccion t(con.get());
            QVERIFY(insertar(QStringLiteral("A")));
            throw std::runtime_error("fallo a mitad");
        } catch (const std::runtime_error&) {
        }
        QVERIFY(!con->enTransaccion());
        QCOMPARE(categorias(), 0);
    }

    void noSeAnidaNiTocaLaExterior() {
        Transaccion exterior(con.get());
        QVERIFY(insertar(QStringLiteral("A")));
        {
            Transaccion interior(con.get());
            QVERIFY(!interior.iniciada());
            QVERIFY(!interior.errores().isEmpty());
            QVERIFY(!interior.confirmar());
        }
        // The refused guard rolled nothing back.
        QVERIFY(con->enTransaccion());
        QVERIFY(exterior.confirmar());
        QCOMPARE(categorias(), 1);
    }

    void conexionCerradaSeRechaza() {
        con->cerrar();
        Transaccion t(con.get());
        QVERIFY(!t.iniciada());
        QVERIFY(!t.errores().isEmpty());
        Transaccion sinConexion(nullptr);
        QVERIFY(!sinConexion.iniciada());
    }
};

QTEST_GUILESS_MAIN(PruebaTransaccion)
#include "tst_transaccion.moc"
