// Printing for real up to the printer: the saved quote document converted to
// PDF by LibreOffice, and the PDF read back with pdftotext. The printer
// command is scripted to fail as on a machine without a printer.
#include "comun/ejecutorguion.h"
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "data/modconexion.h"
#include "platform/carpetas.h"
#include "platform/mensajesguion.h"
#include "quotes/documentospresupuesto.h"
#include "startup/arranque.h"
#include "startup/opciones.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <memory>

class PruebaImpresionReal : public QObject {
    Q_OBJECT

private slots:
    void documentoConvertidoConSusValores() {
        EntornoPrueba entorno;
        MensajesGuion mensajes;
        const QString base = entorno.copiarBase();
        Fixtura datos(base);
        abrirConexionDePrueba(base);
        establecerCarpetaPrograma(QFileInfo(QStringLiteral(TARVO_PLANTILLA)).absolutePath());
        prepararCarpetaTarvo();
        CargarOpciones();
        mensajes.limpiar();

        const int preId = datos.presupuesto({});
        datos.linea(preId, datos.producto(QStringLiteral("Tornillo M6")), 1.5, 2);
        datos.linea(preId, datos.producto(QStringLiteral("Arandela")), 0.25, 10);
        DatosDocumento d;
        d.id = QString::number(preId);
        d.numero = QStringLiteral("2026-41");
        d.lugar = QStringLiteral("Valencia");
        d.fecha = QDate(2026, 12, 1);
        d.saludo = QStringLiteral("Estimados");
        d.cliente = QString::fromUtf8("Acme Ibérica");
        d.otrosCostos[0] = {QStringLiteral("Transporte"), QStringLiteral("40"),
                            QStringLiteral("EUR")};
        d.firma = QStringLiteral("Ana Molina");
        DocumentosPresupuesto documentos;
        QVERIFY(documentos.GenerarDocumento(d));

        EjecutorGuion ejecutor;
        ejecutor.reenviar(QStringLiteral("soffice"));
        ejecutor.responder(
            QStringLiteral("lp"),
            EjecutorGuion::fallo(1, "lp: Error - no default destination available."));
        const QString copia = entorno.ruta(QStringLiteral("impreso.pdf"));
        ejecutor.alLlamar([&](const EjecutorGuion::Llamada& l) {
            if (l.programa == u"lp")
                QFile::copy(l.argumentos.last(), copia);
        });
        QVERIFY(!ImprimirDocumento(d.numero));
        QCOMPARE(mensajes.mostrados().size(), 1);
        QVERIFY2(mensajes.mostrados().first().texto.contains(
                     QStringLiteral("no hay una impresora predeterminada")),
                 qPrintable(mensajes.mostrados().first().texto));
        QCOMPARE(ejecutor.llamadas().size(), 2);
        QVERIFY2(QFileInfo(copia).size() > 1000, "LibreOffice no dejó el PDF");

        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"),
                        {QStringLiteral("-layout"), copia, QStringLiteral("-")});
        QVERIFY(pdftotext.waitForFinished(60000));
        QCOMPARE(pdftotext.exitCode(), 0);
        const QString texto = QString::fromUtf8(pdftotext.readAllStandardOutput());
        for (const char* esperado :
             {"Valencia, martes, 1 de diciembre de 2026", "2026-41", "Acme Ibérica", "Tornillo M6",
              "1,5", "Arandela", "0,25", "5,5", "Transporte", "40", "Ana Molina"})
            QVERIFY2(
                texto.contains(QString::fromUtf8(esperado)),
                qPrintable(QString::fromUtf8(esperado) + QStringLiteral(" no está en:\n") + texto));
        // The template's placeholders are gone.
        QVERIFY(!texto.contains(QStringLiteral("Nombre y cargo")));
        QVERIFY(!texto.contains(QStringLiteral("Concepto 2")));

        CerrarConexion();
        establecerCarpetaPrograma(QString());
    }
};

QTEST_GUILESS_MAIN(PruebaImpresionReal)
#include "tst_impresionreal.moc"
