// The client-side result set: navigation, find and field access.
#include "data/registros.h"

#include <QTest>

namespace {

// Products as the catalogue lists them, in description order.
std::shared_ptr<TablaResultado> productos() {
    auto t = std::make_shared<TablaResultado>();
    t->agregarColumna(QStringLiteral("ProId"), TipoColumna::General);
    t->agregarColumna(QStringLiteral("ProCodigo"), TipoColumna::General);
    t->agregarColumna(QStringLiteral("ProDescripcion"), TipoColumna::General);
    t->agregarColumna(QStringLiteral("ProPrecio"), TipoColumna::General);
    t->agregarColumna(QStringLiteral("ProDesactivado"), TipoColumna::SiNo);
    t->agregarColumna(QStringLiteral("ProAlta"), TipoColumna::Fecha);
    struct Fila {
        int id;
        const char* codigo;
        const char* descripcion;
        double precio;
        bool desactivado;
        int dia;
    };
    const Fila filas[] = {
        {7, "A1", "Arandela", 1.5, false, 46000},
        {3, nullptr, "Bulón", 12.0, true, 46001},
        {9, "C3", "Canilla", 99.9, false, 46002},
        {4, "c3x", "cañería", 10.0, false, 46003},
    };
    for (const auto& f : filas) {
        t->agregarEntero(f.id);
        if (f.codigo)
            t->agregarTexto(f.codigo);
        else
            t->agregarNulo();
        t->agregarTexto(f.descripcion);
        t->agregarReal(f.precio);
        t->agregarEntero(f.desactivado ? 1 : 0);
        t->agregarEntero(f.dia);
    }
    return t;
}

} // namespace

class PruebaRegistros : public QObject {
    Q_OBJECT

private slots:
    void cerradoPorDefecto() {
        Registros rs;
        QVERIFY(!rs.abierto());
        QCOMPARE(rs.cantidad(), -1);
        QVERIFY(rs.posicionAbsoluta() <= 0);
        QVERIFY(rs.alFinal() && rs.alPrincipio());
        QVERIFY(!rs.campo(0).isValid());
        QVERIFY(!rs.buscar(QStringLiteral("ProId=1")));
    }

    void vacioNoTieneFilaActual() {
        auto t = std::make_shared<TablaResultado>();
        t->agregarColumna(QStringLiteral("x"), TipoColumna::General);
        Registros rs(t, QStringLiteral("SELECT x"));
        QVERIFY(rs.abierto());
        QCOMPARE(rs.cantidad(), 0);
        QVERIFY(rs.posicionAbsoluta() <= 0);
        QVERIFY(rs.alFinal());
        QVERIFY(rs.alPrincipio());
        rs.moverSiguiente();
        rs.moverUltimo();
        QVERIFY(rs.posicionAbsoluta() <= 0);
    }

    void navegacion() {
        Registros rs(productos(), QStringLiteral("SELECT * FROM PRODUCTOS"));
        QCOMPARE(rs.origen(), QStringLiteral("SELECT * FROM PRODUCTOS"));
        QCOMPARE(rs.cantidad(), 4);
        QCOMPARE(rs.posicionAbsoluta(), 1);
        QVERIFY(!rs.alPrincipio() && !rs.alFinal());
        rs.moverAnterior();
        QVERIFY(rs.alPrincipio());
        QCOMPARE(rs.posicionAbsoluta(), Registros::kPosicionAntesDelPrimero);
        QVERIFY(!rs.campo(0).isValid());
        rs.moverAnterior(); // stays before the first
        rs.moverSiguiente();
        QCOMPARE(rs.posicionAbsoluta(), 1);
        rs.moverUltimo();
        QCOMPARE(rs.campo(QStringLiteral("proid")).toInt(), 4);
        rs.moverSiguiente();
        QVERIFY(rs.alFinal());
        QCOMPARE(rs.posicionAbsoluta(), Registros::kPosicionDespuesDelUltimo);
        rs.moverSiguiente(); // stays past the last
        rs.moverAnterior();
        QCOMPARE(rs.posicionAbsoluta(), 4);
        rs.moverA(2);
        QCOMPARE(rs.campo(2).toString(), QStringLiteral("Bulón"));
        rs.moverA(9);
        QVERIFY(rs.alFinal());
        // Walking forward visits every row once.
        int vistas = 0;
        for (rs.moverPrimero(); !rs.alFinal(); rs.moverSiguiente())
            ++vistas;
        QCOMPARE(vistas, 4);
    }

    void camposPorNombreYPosicion() {
        Registros rs(productos(), {});
        rs.moverA(2);
        QCOMPARE(rs.cantidadCampos(), 6);
        QCOMPARE(rs.nombreCampo(1), QStringLiteral("ProCodigo"));
        QCOMPARE(rs.indiceCampo(QStringLiteral("PRODESCRIPCION")), 2);
        QVERIFY(rs.campo(QStringLiteral("ProCodigo")).isNull());
        QCOMPARE(rs.texto(QStringLiteral("ProCodigo")), QString());
        QCOMPARE(rs.campo(QStringLiteral("ProDesactivado")), QVariant(true));
        QCOMPARE(rs.campo(QStringLiteral("ProAlta")), QVariant(QDate(2025, 12, 10)));
        QCOMPARE(rs.texto(QStringLiteral("ProAlta")), QStringLiteral("10/12/25"));
        QCOMPARE(rs.campo(QStringLiteral("ProPrecio")).toDouble(), 12.0);
        QVERIFY(!rs.campo(QStringLiteral("NoExiste")).isValid());
        QVERIFY(!rs.campo(99).isValid());
    }

    void copiasCompartenFilasPeroNoPosicion() {
        Registros a(productos(), {});
        Registros b = a;
        b.moverUltimo();
        QCOMPARE(a.posicionAbsoluta(), 1);
        QCOMPARE(b.posicionAbsoluta(), 4);
        b.cerrar();
        QVERIFY(a.abierto());
    }

    void buscar_data() {
        QTest::addColumn<int>("desde");
        QTest::addColumn<QString>("criterio");
        QTest::addColumn<int>("posicion"); // 0 = not found (past the end)
        QTest::newRow("texto igual") << 1 << "ProCodigo='c3'" << 3;
        QTest::newRow("sin distinguir mayúsculas") << 1 << "PRODESCRIPCION='BULÓN'" << 2;
        QTest::newRow("mayor o igual") << 1 << "PRODESCRIPCION>='ca'" << 3;
        QTest::newRow("desde la fila actual") << 3 << "PRODESCRIPCION>='ca'" << 3;
        QTest::newRow("hacia adelante solamente") << 4 << "ProId=7" << 0;
        QTest::newRow("número") << 1 << "ProId=9" << 3;
        QTest::newRow("número con espacios") << 1 << " ProPrecio > 50 " << 3;
        QTest::newRow("distinto") << 1 << "ProCodigo<>'A1'" << 3; // null never matches
        QTest::newRow("like") << 1 << "ProDescripcion LIKE 'ca%'" << 3;
        QTest::newRow("comilla duplicada") << 1 << "ProDescripcion='O''Neil'" << 0;
        QTest::newRow("si/no") << 1 << "ProDesactivado=1" << 2;
        QTest::newRow("fecha") << 1 << "ProAlta>=#12/11/2025#" << 3;
        QTest::newRow("ninguno") << 1 << "ProCodigo='zz'" << 0;
    }
    void buscar() {
        QFETCH(int, desde);
        QFETCH(QString, criterio);
        QFETCH(int, posicion);
        Registros rs(productos(), {});
        rs.moverA(desde);
        QVERIFY(rs.buscar(criterio));
        if (posicion == 0) {
            QVERIFY(rs.alFinal());
        } else {
            QCOMPARE(rs.posicionAbsoluta(), posicion);
        }
    }

    void criterioIncomprensibleNoMueve() {
        Registros rs(productos(), {});
        rs.moverA(2);
        for (const char* c : {"", "ProId", "NoExiste=1", "ProId=='x'", "ProId=1 AND ProId=2"})
            QVERIFY2(!rs.buscar(QString::fromUtf8(c)), c);
        QCOMPARE(rs.posicionAbsoluta(), 2);
    }

    void capituloDaLasFilasHijas() {
        auto categorias = std::make_shared<TablaResultado>();
        categorias->agregarColumna(QStringLiteral("CatId"), TipoColumna::General);
        for (int id : {1, 2, 3})
            categorias->agregarEntero(id);
        auto hijos = productos(); // ProId plays the related column
        Capitulo c;
        c.nombre = QStringLiteral("Productos");
        c.hija = hijos;
        c.columnaPadre = 0;
        c.columnaHija = 0;
        c.filasPorClave.insert(QStringLiteral("3"), {1});
        categorias->agregarCapitulo(std::move(c));
        Registros rs(categorias, {});
        QVERIFY(!rs.capitulo(QStringLiteral("Productos")).cantidad());
        rs.moverUltimo();
        Registros hijo = rs.capitulo(QStringLiteral("productos"));
        QCOMPARE(hijo.cantidad(), 1);
        QCOMPARE(hijo.campo(QStringLiteral("ProDescripcion")).toString(), QStringLiteral("Bulón"));
        QVERIFY(hijo.buscar(QStringLiteral("ProId=7")));
        QVERIFY(hijo.alFinal()); // only the row of this parent is in the child
        QVERIFY(!rs.capitulo(QStringLiteral("Otro")).abierto());
    }
};

QTEST_GUILESS_MAIN(PruebaRegistros)
#include "tst_registros.moc"
