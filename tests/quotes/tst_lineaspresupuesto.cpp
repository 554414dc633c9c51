// The quote's lines, the numbers they show and the quantity check: the rules
// that need no database.
#include "quotes/cantidad.h"
#include "quotes/lineaspresupuesto.h"
#include "quotes/numeros.h"

#include <QTest>

class PruebaLineasPresupuesto : public QObject {
    Q_OBJECT

private slots:
    void textoDeNumeros_data() {
        QTest::addColumn<double>("valor");
        QTest::addColumn<QString>("texto");
        QTest::newRow("3 x 0.1") << 3 * 0.1 << "0.3";
        QTest::newRow("entero") << 25.0 << "25";
        QTest::newRow("decimales") << 43.75 << "43.75";
        QTest::newRow("negativo") << -2.5 << "-2.5";
        QTest::newRow("cero") << 0.0 << "0";
        QTest::newRow("menos cero") << -0.0 << "0";
        QTest::newRow("pequeño sin exponente") << 0.00001 << "0.00001";
        QTest::newRow("grande sin exponente") << 1e20 << "100000000000000000000";
        QTest::newRow("sin separador de miles") << 1234567.5 << "1234567.5";
        QTest::newRow("15 cifras") << 1.0 / 3.0 << "0.333333333333333";
        QTest::newRow("suma inexacta") << 0.1 + 0.2 << "0.3";
    }
    void textoDeNumeros() {
        QFETCH(double, valor);
        QFETCH(QString, texto);
        QCOMPARE(numeros::texto(valor), texto);
    }

    void lecturaDeNumeros() {
        QCOMPARE(numeros::leer(QStringLiteral("2")), 2.0);
        QCOMPARE(numeros::leer(QStringLiteral(" 1.5 ")), 1.5);
        QCOMPARE(numeros::leer(QStringLiteral("-1")), -1.0);
        QCOMPARE(numeros::leer(QStringLiteral(".5")), 0.5);
        QCOMPARE(numeros::leer(QStringLiteral("0012")), 12.0);
        for (const char* malo : {"", " ", "abc", "1,5", "1e3", "2x", "inf", "nan", "1.2.3", "--1"})
            QVERIFY2(!numeros::leer(QString::fromLatin1(malo)), malo);
    }

    // 12.5 × 2, then 1.5 more: 3.5 units and 43.75 at the first price.
    void agregarYFusionar() {
        LineasPresupuesto l;
        l.agregar(7, QStringLiteral("779"), QStringLiteral("Caño"), 12.5, QStringLiteral("2"));
        QCOMPARE(l.cantidad(), 1);
        QCOMPARE(l.linea(0).columnas(),
                 (QStringList{QStringLiteral("779"), QStringLiteral("Caño"), QStringLiteral("12.5"),
                              QStringLiteral("2"), QStringLiteral("25")}));
        QCOMPARE(l.linea(0).clave(), QStringLiteral("P7"));
        // The catalogue price has changed meanwhile: the line keeps its own.
        l.agregar(7, QStringLiteral("779"), QStringLiteral("Caño"), 99.0, QStringLiteral("1.5"));
        QCOMPARE(l.cantidad(), 1);
        QCOMPARE(l.linea(0).textoCantidad, QStringLiteral("3.5"));
        QCOMPARE(l.linea(0).columnas().at(4), QStringLiteral("43.75"));
        QCOMPARE(l.linea(0).precio, 12.5);

        l.agregar(8, {}, QStringLiteral("Codo"), 0.1, QStringLiteral("3"));
        QCOMPARE(l.cantidad(), 2);
        QCOMPARE(l.linea(1).columnas().at(0), QString());
        QCOMPARE(l.linea(1).columnas().at(4), QStringLiteral("0.3"));
        QCOMPARE(l.buscar(8), 1);
        QCOMPARE(l.buscar(9), -1);
    }

    void cantidadComoSeEscribio() {
        LineasPresupuesto l;
        l.agregar(1, {}, QStringLiteral("A"), 2.0, QStringLiteral("1.50"));
        QCOMPARE(l.linea(0).textoCantidad, QStringLiteral("1.50"));
        QCOMPARE(l.linea(0).cantidad, 1.5);
        QCOMPARE(l.linea(0).columnas().at(4), QStringLiteral("3"));
        l.cargar(2, {}, QStringLiteral("B"), 2.0, 1.50);
        QCOMPARE(l.linea(1).textoCantidad, QStringLiteral("1.5"));
    }

    // 3 − 1 leaves 2; 3 − 3 and 3 − 5 remove the line.
    void quitarUnidades() {
        LineasPresupuesto l;
        l.agregar(1, {}, QStringLiteral("A"), 4.0, QStringLiteral("3"));
        l.agregar(2, {}, QStringLiteral("B"), 1.0, QStringLiteral("3"));
        l.agregar(3, {}, QStringLiteral("C"), 1.0, QStringLiteral("3"));
        l.quitar(0, 1);
        QCOMPARE(l.linea(0).textoCantidad, QStringLiteral("2"));
        QCOMPARE(l.linea(0).columnas().at(4), QStringLiteral("8"));
        l.quitar(1, 3);
        QCOMPARE(l.cantidad(), 2);
        QCOMPARE(l.linea(1).proId, 3);
        l.quitar(1, 5);
        QCOMPARE(l.cantidad(), 1);
        l.quitar(4, 1); // no such line
        QCOMPARE(l.cantidad(), 1);
    }

    void validarCantidad_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("motivo");
        const QString mayor = QStringLiteral("\r\nLa Cantidad debe ser mayor que 0.");
        const QString numerico = QStringLiteral("\r\nLa Cantidad debe ser un valor numérico.");
        const QString coma =
            QStringLiteral("\r\nDebe utilizar el punto (.) como separador de decimales.");
        QTest::newRow("1.5") << "1.5" << QString();
        QTest::newRow("1") << "1" << QString();
        QTest::newRow("0") << "0" << mayor;
        QTest::newRow("-2") << "-2" << mayor;
        QTest::newRow("letras") << "dos" << numerico;
        QTest::newRow("vacío") << "" << numerico;
        QTest::newRow("1,5") << "1,5" << coma;
        QTest::newRow("0,0") << "0,0" << mayor + coma;
        QTest::newRow("1,000.5") << "1,000.5" << numerico + coma;
    }
    void validarCantidad() {
        QFETCH(QString, texto);
        QFETCH(QString, motivo);
        QCOMPARE(cantidad::ValidarCantidad(texto), motivo);
    }
};

QTEST_GUILESS_MAIN(PruebaLineasPresupuesto)
#include "tst_lineaspresupuesto.moc"
