// The windows' icon comes from the drawing the desktop's menu shows.
#include "app/arranque.h"
#include "startup/ventanas/icono.h"

#include <QApplication>
#include <QImage>
#include <QTest>

class PruebaIcono : public QObject {
    Q_OBJECT

private slots:
    // Every size the menu and the task bar ask for is there, not scaled from
    // another one, and actually drawn.
    void tieneCadaTamanoDibujado() {
        const QIcon icono = iconoTarvo();
        QVERIFY(!icono.isNull());
        const QList<QSize> tamanos = icono.availableSizes();
        for (const int lado : {16, 32, 48, 128}) {
            QVERIFY2(tamanos.contains(QSize(lado, lado)), qPrintable(QString::number(lado)));
            const QImage imagen = icono.pixmap(lado, lado).toImage();
            QCOMPARE(imagen.size(), QSize(lado, lado));
            // The drawing fills the middle; the rounded corners stay clear.
            QCOMPARE(qAlpha(imagen.pixel(lado / 2, lado / 2)), 255);
            QCOMPARE(qAlpha(imagen.pixel(0, 0)), 0);
        }
    }

    // The start-up gives every window this icon and names the desktop entry
    // (com.varnelsoftware.tarvo.desktop) the desktop matches windows with.
    void laAplicacionLoUsa() {
        prepararAplicacion(*qApp);
        QWidget ventana;
        QCOMPARE(ventana.windowIcon().availableSizes(), iconoTarvo().availableSizes());
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("com.varnelsoftware.tarvo"));
    }
};

QTEST_MAIN(PruebaIcono)
#include "tst_icono.moc"
