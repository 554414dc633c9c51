// The quantity dialog and the contact picker.
#include "comun/mundopresupuestos.h"
#include "quotes/ventanas/frmAgregarProductoPresupuesto.h"
#include "quotes/ventanas/frmGrillaContactos.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <memory>

class PruebaDialogosPresupuesto : public QObject {
    Q_OBJECT
    std::unique_ptr<MundoPresupuestos> mundo;
    int acme = 0, beta = 0, obrien = 0, hierro = 0;

    MensajesGuion& mensajes() { return mundo->mensajes(); }
    static QStringList nombres(const BuscadorContactos& b) {
        Registros r = b.registros();
        QStringList n;
        for (r.moverPrimero(); !r.alFinal(); r.moverSiguiente())
            n << r.texto(QStringLiteral("EmpNombreFantasia"));
        n.sort();
        return n;
    }
    QStringList buscar(const QString& texto) {
        BuscadorContactos b;
        b.nombrefantasia = texto;
        b.buscar();
        return nombres(b);
    }

private slots:
    void init() {
        mundo = std::make_unique<MundoPresupuestos>();
        acme = mundo->datos().contacto(QStringLiteral("Acme"), QStringLiteral("Industrias Acme"));
        beta = mundo->datos().contacto(QStringLiteral("Beta"), QStringLiteral("Zeta Legal SRL"));
        obrien = mundo->datos().contacto(QStringLiteral("O'Brien"), QStringLiteral(""));
        hierro = mundo->datos().contacto(QStringLiteral("100% Hierro"));
        mundo->datos().ejecutar(QStringLiteral("UPDATE CONTACTOS SET EmpRuc='80012345-6', "
                                               "EmpDireccion='Av. Italia 1234' WHERE EmpId=?"),
                                {beta});
    }
    void cleanup() { mundo.reset(); }

    void cantidadPropuestaSeleccionada() {
        frmAgregarProductoPresupuesto d;
        QCOMPARE(d.windowTitle(), QStringLiteral("Agregar Producto"));
        auto* caja = d.findChild<QLineEdit*>(QStringLiteral("txtCantidad"));
        QCOMPARE(caja->text(), QStringLiteral("1"));
        QCOMPARE(caja->selectedText(), QStringLiteral("1"));
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        // Enter moves on rather than accepting.
        caja->setFocus();
        QTest::keyClick(caja, Qt::Key_Return);
        QVERIFY(d.isVisible());
        QTRY_COMPARE(d.focusWidget(), d.findChild<QWidget*>(QStringLiteral("cmdAceptar")));
    }

    void cantidadRechazadaYAceptada() {
        frmAgregarProductoPresupuesto d;
        d.show();
        auto* caja = d.findChild<QLineEdit*>(QStringLiteral("txtCantidad"));
        caja->setText(QStringLiteral("0"));
        d.findChild<QPushButton*>(QStringLiteral("cmdAceptar"))->click();
        QVERIFY(d.isVisible());
        QCOMPARE(mensajes().textos(),
                 QStringList{QStringLiteral("\r\nLa Cantidad debe ser mayor que 0.")});
        QCOMPARE(mensajes().mostrados().first().titulo, QStringLiteral("Verifique"));
        QCOMPARE(mensajes().mostrados().first().icono, Icono::Informacion);
        caja->setText(QStringLiteral("1.5"));
        d.findChild<QPushButton*>(QStringLiteral("cmdAceptar"))->click();
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(!d.cancelado);
        QCOMPARE(d.cantidad(), QStringLiteral("1.5"));
    }

    void cantidadCancelada() {
        for (int forma = 0; forma < 3; ++forma) {
            frmAgregarProductoPresupuesto d;
            d.show();
            if (forma == 0)
                d.findChild<QPushButton*>(QStringLiteral("cmdCancelar"))->click();
            else if (forma == 1)
                d.close(); // the window frame's close button
            else
                QTest::keyClick(&d, Qt::Key_Escape);
            QVERIFY(!d.isVisible());
            QVERIFY(d.cancelado);
        }
        QVERIFY(mensajes().mostrados().isEmpty());
    }

    void busquedaDeContactos() {
        // A fragment of the legal name finds the contact.
        QCOMPARE(buscar(QStringLiteral("LEGAL")), QStringList{QStringLiteral("Beta")});
        QCOMPARE(buscar(QString()).size(), 4);
        // Quote characters and wildcards stand for themselves.
        QCOMPARE(buscar(QStringLiteral("o'b")), QStringList{QStringLiteral("O'Brien")});
        QCOMPARE(buscar(QStringLiteral("%")), QStringList{QStringLiteral("100% Hierro")});
        QCOMPARE(buscar(QStringLiteral("_")), QStringList{});
        QCOMPARE(buscar(QStringLiteral("nada")), QStringList{});
        QVERIFY(mensajes().mostrados().isEmpty());
    }

    void selectorElige() {
        frmGrillaContactos s;
        QCOMPARE(s.windowTitle(), QStringLiteral("Coincidencias - Tarvo"));
        s.buscador().nombrefantasia = QStringLiteral("e");
        s.show();
        auto* grilla = s.findChild<QTableView*>(QStringLiteral("dtgContactos"));
        QStringList encabezados;
        for (int c = 0; c < grilla->model()->columnCount(); ++c)
            encabezados << grilla->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(encabezados,
                 (QStringList{QStringLiteral("Nombre"), QStringLiteral("Razón Social"),
                              QStringLiteral("Dirección"), QStringLiteral("Teléfono 1"),
                              QStringLiteral("Teléfono 2")}));
        // Acme, Beta, O'Brien and Hierro all contain an e.
        QCOMPARE(grilla->model()->rowCount(), 4);
        int filaBeta = -1;
        for (int r = 0; r < 4; ++r)
            if (grilla->model()->index(r, 0).data().toString() == u"Beta")
                filaBeta = r;
        grilla->setCurrentIndex(grilla->model()->index(filaBeta, 1));
        // The outputs follow the current row.
        QCOMPARE(s.buscador().empid, beta);
        QCOMPARE(s.buscador().ruc, QStringLiteral("80012345-6"));
        QTest::keyClick(grilla, Qt::Key_Return);
        QVERIFY(!s.isVisible());
        QVERIFY(!s.buscador().cancelado);
        QCOMPARE(s.buscador().nombrefantasia, QStringLiteral("Beta"));
        QCOMPARE(s.buscador().direccion, QStringLiteral("Av. Italia 1234"));
    }

    // Enter selects wherever the focus is, on either button too.
    void enterEnLosBotonesSelecciona() {
        for (const char* nombre : {"cmdSeleccionar", "cmdCancelar"}) {
            frmGrillaContactos s;
            s.buscador().nombrefantasia = QStringLiteral("Beta");
            s.show();
            auto* b = s.findChild<QPushButton*>(QString::fromLatin1(nombre));
            b->setFocus();
            QTest::keyClick(b, Qt::Key_Return);
            QVERIFY2(!s.isVisible(), nombre);
            QVERIFY(!s.buscador().cancelado);
            QCOMPARE(s.buscador().empid, beta);
        }
    }

    void selectorSinCoincidencias() {
        frmGrillaContactos s;
        s.buscador().nombrefantasia = QStringLiteral("nadie");
        s.show();
        s.findChild<QPushButton*>(QStringLiteral("cmdSeleccionar"))->click();
        QVERIFY(s.isVisible());
        QCOMPARE(mensajes().textos(),
                 QStringList{QStringLiteral("No ha seleccionado ningún Contacto de la lista.")});
        QCOMPARE(mensajes().mostrados().first().titulo, QStringLiteral("Seleccionar"));
        s.findChild<QPushButton*>(QStringLiteral("cmdCancelar"))->click();
        QVERIFY(!s.isVisible());
        QVERIFY(s.buscador().cancelado);
    }
};

QTEST_MAIN(PruebaDialogosPresupuesto)
#include "tst_dialogospresupuesto.moc"
