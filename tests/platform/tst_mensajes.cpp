// The message service: the scripted double the tests use, and the real boxes
// with Qt's Spanish button texts.
#include "comun/dialogos.h"
#include "comun/mensajesguion.h"
#include "platform/ventanas/mensajesqt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QMessageBox>
#include <QTest>

Q_DECLARE_METATYPE(Botones)
Q_DECLARE_METATYPE(Icono)
Q_DECLARE_METATYPE(Respuesta)

namespace {

QString sinAtajo(QString texto) {
    return texto.remove(u'&');
}

QStringList textosDeBotones(const QList<QAbstractButton*>& botones) {
    QStringList textos;
    for (const auto* b : botones)
        textos << sinAtajo(b->text());
    textos.sort();
    return textos;
}

struct CajaVista {
    QString titulo;
    QString texto;
    QStringList botones;
    QMessageBox::Icon icono = QMessageBox::NoIcon;
};

} // namespace

class PruebaMensajes : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(cargarTraduccionQt()); }

    // --- The scripted double ---

    void guionRegistraCadaCaja() {
        MensajesGuion guion;
        QCOMPARE(&mensajes(), &guion);
        mensaje(QStringLiteral("Guardado."));
        mensaje(QStringLiteral("¿Borrar el presupuesto?"), Botones::SiNo, Icono::Pregunta,
                QStringLiteral("Confirme"));
        entrada(QStringLiteral("Número:"), QStringLiteral("Buscar"), QStringLiteral("12"));

        QCOMPARE(guion.textos(), (QStringList{QStringLiteral("Guardado."),
                                              QStringLiteral("¿Borrar el presupuesto?"),
                                              QStringLiteral("Número:")}));
        const auto& m = guion.mostrados();
        QCOMPARE(m[0].titulo, QStringLiteral("Tarvo"));
        QCOMPARE(m[0].botones, Botones::Aceptar);
        QCOMPARE(m[0].icono, Icono::Ninguno);
        QVERIFY(!m[0].esEntrada);
        QCOMPARE(m[1].titulo, QStringLiteral("Confirme"));
        QCOMPARE(m[1].botones, Botones::SiNo);
        QCOMPARE(m[1].icono, Icono::Pregunta);
        QCOMPARE(m[2].titulo, QStringLiteral("Buscar"));
        QVERIFY(m[2].esEntrada);
        guion.limpiar();
        QVERIFY(guion.mostrados().isEmpty());
    }

    void guionRespondeDeLaColaYDespuesPorDefecto() {
        MensajesGuion guion;
        guion.responder(Respuesta::Si);
        guion.responder(Respuesta::Cancelar);
        QCOMPARE(mensaje(QStringLiteral("a"), Botones::SiNo), Respuesta::Si);
        QCOMPARE(mensaje(QStringLiteral("b"), Botones::AceptarCancelar), Respuesta::Cancelar);
        // Queue empty: the default button.
        QCOMPARE(mensaje(QStringLiteral("c"), Botones::SiNo), Respuesta::No);
        QCOMPARE(mensaje(QStringLiteral("d")), Respuesta::Aceptar);
        QCOMPARE(mensaje(QStringLiteral("e"), Botones::AceptarCancelar), Respuesta::Aceptar);

        guion.escribir(QStringLiteral("0042"));
        guion.escribir(QString());
        QCOMPARE(entrada(QStringLiteral("Número:")), QStringLiteral("0042"));
        QCOMPARE(entrada(QStringLiteral("Número:")), QString());
        // Nothing queued: cancelled, whatever the initial value.
        QCOMPARE(entrada(QStringLiteral("Número:"), {}, QStringLiteral("7")), QString());
        QCOMPARE(guion.mostrados().size(), 8);
    }

    void guionSeRetiraAlDestruirse() {
        ServicioMensajes* porDefecto = &mensajes();
        {
            MensajesGuion guion;
            QCOMPARE(&mensajes(), &guion);
        }
        QCOMPARE(&mensajes(), porDefecto);
    }

    // --- The real boxes ---

    void cajaDeMensaje_data() {
        QTest::addColumn<Botones>("botones");
        QTest::addColumn<Icono>("icono");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("pulsar");
        QTest::addColumn<QStringList>("textosBotones");
        QTest::addColumn<int>("iconoQt");
        QTest::addColumn<QString>("tituloVisto");
        QTest::addColumn<Respuesta>("respuesta");

        const QStringList siNo{QStringLiteral("No"), QStringLiteral("Sí")};
        QTest::newRow("aceptar") << Botones::Aceptar << Icono::Informacion << "Atención"
                                 << "Aceptar" << QStringList{QStringLiteral("Aceptar")}
                                 << int(QMessageBox::Information) << "Atención"
                                 << Respuesta::Aceptar;
        QTest::newRow("sí") << Botones::SiNo << Icono::Pregunta << "Confirme"
                            << "Sí" << siNo << int(QMessageBox::Question) << "Confirme"
                            << Respuesta::Si;
        QTest::newRow("no") << Botones::SiNo << Icono::Exclamacion << ""
                            << "No" << siNo << int(QMessageBox::Warning) << "Tarvo"
                            << Respuesta::No;
        QTest::newRow("escape en sí/no")
            << Botones::SiNo << Icono::Pregunta << "Confirme"
            << "" << siNo << int(QMessageBox::Question) << "Confirme" << Respuesta::No;
        QTest::newRow("cancelar") << Botones::AceptarCancelar << Icono::Critico << ""
                                  << "Cancelar"
                                  << QStringList{QStringLiteral("Aceptar"),
                                                 QStringLiteral("Cancelar")}
                                  << int(QMessageBox::Critical) << "Tarvo" << Respuesta::Cancelar;
        QTest::newRow("sin icono") << Botones::Aceptar << Icono::Ninguno << ""
                                   << "Aceptar" << QStringList{QStringLiteral("Aceptar")}
                                   << int(QMessageBox::NoIcon) << "Tarvo" << Respuesta::Aceptar;
    }
    void cajaDeMensaje() {
        QFETCH(Botones, botones);
        QFETCH(Icono, icono);
        QFETCH(QString, titulo);
        QFETCH(QString, pulsar);
        QFETCH(QStringList, textosBotones);
        QFETCH(int, iconoQt);
        QFETCH(QString, tituloVisto);
        QFETCH(Respuesta, respuesta);

        CajaVista vista;
        bool pulsado = false;
        alAparecer<QMessageBox>([&](QMessageBox& caja) {
            vista = {caja.windowTitle(), caja.text(), textosDeBotones(caja.buttons()), caja.icon()};
            for (auto* b : caja.buttons()) {
                if (!pulsar.isEmpty() && sinAtajo(b->text()) == pulsar) {
                    b->click();
                    pulsado = true;
                    return;
                }
            }
            if (pulsar.isEmpty())
                QTest::keyClick(&caja, Qt::Key_Escape);
            if (caja.isVisible())
                caja.done(-1); // never leave the test waiting
        });
        MensajesQt servicio;
        const Respuesta r = servicio.mostrar(QStringLiteral("¿Continuar?"), botones, icono, titulo);

        QCOMPARE(vista.texto, QStringLiteral("¿Continuar?"));
        QCOMPARE(vista.titulo, tituloVisto);
        QCOMPARE(vista.botones, textosBotones);
        QCOMPARE(int(vista.icono), iconoQt);
        QCOMPARE(pulsado, !pulsar.isEmpty());
        QCOMPARE(r, respuesta);
    }

    void cajaDeEntrada_data() {
        QTest::addColumn<bool>("aceptar");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("tituloVisto");
        QTest::addColumn<QString>("resultado");
        QTest::newRow("aceptar") << true << "Buscar"
                                 << "Buscar"
                                 << "0042";
        QTest::newRow("cancelar") << false << ""
                                  << "Tarvo"
                                  << "";
    }
    void cajaDeEntrada() {
        QFETCH(bool, aceptar);
        QFETCH(QString, titulo);
        QFETCH(QString, tituloVisto);
        QFETCH(QString, resultado);

        QString tituloLeido, etiqueta, inicial;
        QStringList botones;
        alAparecer<QInputDialog>([&](QInputDialog& dialogo) {
            tituloLeido = dialogo.windowTitle();
            etiqueta = dialogo.labelText();
            inicial = dialogo.textValue();
            if (auto* caja = dialogo.findChild<QDialogButtonBox*>())
                botones = textosDeBotones(caja->buttons());
            dialogo.setTextValue(QStringLiteral("0042"));
            if (aceptar)
                dialogo.accept();
            else
                dialogo.reject();
        });
        MensajesQt servicio;
        const QString texto = servicio.pedirTexto(QStringLiteral("Número de presupuesto:"), titulo,
                                                  QStringLiteral("7"));
        QCOMPARE(tituloLeido, tituloVisto);
        QCOMPARE(etiqueta, QStringLiteral("Número de presupuesto:"));
        QCOMPARE(inicial, QStringLiteral("7"));
        QCOMPARE(botones, (QStringList{QStringLiteral("Aceptar"), QStringLiteral("Cancelar")}));
        QCOMPARE(texto, resultado);
    }
};

QTEST_MAIN(PruebaMensajes)
#include "tst_mensajes.moc"
