// The report formats as pure functions, in Spanish and in another locale.
#include "reports/formatos.h"

#include <QTest>

namespace {

const QLocale kEspana(QLocale::Spanish, QLocale::Spain);
const QLocale kEstadosUnidos(QLocale::English, QLocale::UnitedStates);

} // namespace

class PruebaFormatos : public QObject {
    Q_OBJECT

private slots:
    // clang-format off
    void enteroAgrupado_data() {
        QTest::addColumn<double>("valor");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("texto");
        QTest::newRow("tres cifras al menos") << 5.0 << kEspana << "005";
        QTest::newRow("cero") << 0.0 << kEspana << "000";
        QTest::newRow("medio sube") << 0.5 << kEspana << "001";
        QTest::newRow("redondea sin decimales") << 12.4 << kEspana << "012";
        QTest::newRow("miles agrupados") << 1234.5 << kEspana << "1.235";
        QTest::newRow("redondeo que agrega una cifra") << 999.5 << kEspana << "1.000";
        QTest::newRow("millones") << 1234567.0 << kEspana << "1.234.567";
        QTest::newRow("negativo") << -5.0 << kEspana << "-005";
        QTest::newRow("negativo que redondea a cero") << -0.4 << kEspana << "000";
        QTest::newRow("separador del locale") << 1234.5 << kEstadosUnidos << "1,235";
    }
    // clang-format on
    void enteroAgrupado() {
        QFETCH(double, valor);
        QFETCH(QLocale, locale);
        QFETCH(QString, texto);
        QCOMPARE(formatos::enteroAgrupado(valor, locale), texto);
        QCOMPARE(formatos::aplicar(valor, Formato::EnteroAgrupado, locale), texto);
    }

    // clang-format off
    void dosDecimales_data() {
        QTest::addColumn<double>("valor");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("texto");
        QTest::newRow("entero") << 2.0 << kEspana << "2,00";
        QTest::newRow("sin agrupar miles") << 1234.5 << kEspana << "1234,50";
        QTest::newRow("redondea lejos de cero") << 0.125 << kEspana << "0,13";
        QTest::newRow("negativo") << -3.256 << kEspana << "-3,26";
        QTest::newRow("nunca menos cero") << -0.001 << kEspana << "0,00";
        QTest::newRow("punto en inglés") << 1234.5 << kEstadosUnidos << "1234.50";
    }
    // clang-format on
    void dosDecimales() {
        QFETCH(double, valor);
        QFETCH(QLocale, locale);
        QFETCH(QString, texto);
        QCOMPARE(formatos::dosDecimales(valor, locale), texto);
        QCOMPARE(formatos::aplicar(valor, Formato::DosDecimales, locale), texto);
    }

    // clang-format off
    void entero_data() {
        QTest::addColumn<double>("valor");
        QTest::addColumn<QString>("texto");
        QTest::newRow("medio sube") << 2.5 << "3";
        QTest::newRow("medio negativo baja") << -2.5 << "-3";
        QTest::newRow("sin agrupar") << 1234.4 << "1234";
        QTest::newRow("cero") << 0.4 << "0";
        QTest::newRow("importe") << 2500.0 << "2500";
    }
    // clang-format on
    void entero() {
        QFETCH(double, valor);
        QFETCH(QString, texto);
        QCOMPARE(formatos::entero(valor, kEspana), texto);
        QCOMPARE(formatos::aplicar(valor, Formato::Entero, kEspana), texto);
    }

    // clang-format off
    void aplicar_data() {
        QTest::addColumn<QVariant>("valor");
        QTest::addColumn<int>("formato");
        QTest::addColumn<QString>("texto");
        const int general = int(Formato::General);
        const int siNo = int(Formato::SiNo);
        QTest::newRow("sí") << QVariant(true) << siNo << "Si";
        QTest::newRow("no") << QVariant(false) << siNo << "No";
        QTest::newRow("sí numérico") << QVariant(-1) << siNo << "Si";
        QTest::newRow("no numérico") << QVariant(0) << siNo << "No";
        QTest::newRow("nulo en sí/no") << QVariant() << siNo << "";
        QTest::newRow("nulo de base en número")
            << QVariant(QMetaType(QMetaType::Double)) << int(Formato::EnteroAgrupado) << "";
        QTest::newRow("texto bajo formato numérico")
            << QVariant(QStringLiteral("abc")) << int(Formato::EnteroAgrupado) << "abc";
        QTest::newRow("general con decimales") << QVariant(120.5) << general << "120,5";
        QTest::newRow("general entero en real") << QVariant(1234567.0) << general << "1234567";
        QTest::newRow("general entero") << QVariant(qlonglong(70001)) << general << "70001";
        QTest::newRow("general texto") << QVariant(QStringLiteral(" Hola ")) << general << " Hola ";
        QTest::newRow("general fecha corta")
            << QVariant(QDate(2026, 12, 7)) << general << "07/12/26";
        QTest::newRow("fecha larga")
            << QVariant(QDate(2026, 12, 7)) << int(Formato::FechaLarga)
            << "lunes, 7 de diciembre de 2026";
        QTest::newRow("fecha corta") << QVariant(QDate(2024, 3, 5)) << int(Formato::FechaCorta)
                                     << "05/03/24";
        QTest::newRow("fecha larga de un texto") << QVariant(QStringLiteral("mañana"))
                                                 << int(Formato::FechaLarga) << "mañana";
    }
    // clang-format on
    void aplicar() {
        QFETCH(QVariant, valor);
        QFETCH(int, formato);
        QFETCH(QString, texto);
        QCOMPARE(formatos::aplicar(valor, Formato(formato), kEspana), texto);
    }

    void redondeoLejosDeCero() {
        QCOMPARE(formatos::redondear(2.5), 3.0);
        QCOMPARE(formatos::redondear(-2.5), -3.0);
        QCOMPARE(formatos::redondear(1.005, 1), 1.0);
        QCOMPARE(formatos::redondear(0.125, 2), 0.13);
    }
};

QTEST_GUILESS_MAIN(PruebaFormatos)
#include "tst_formatos.moc"
