// Opening, printing and mailing a quote's document: the programs started,
// their argument lists, and what the user is told when something is missing.
#include "comun/ejecutorguion.h"
#include "comun/entornoprueba.h"
#include "comun/mensajesguion.h"
#include "platform/carpetas.h"
#include "quotes/accionesdocumento.h"
#include "startup/opciones.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <memory>

namespace {

QString s(const char* texto) {
    return QString::fromUtf8(texto);
}

const QString kNumero = QStringLiteral("2026-41");

} // namespace

class PruebaAccionesDocumento : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;
    std::unique_ptr<EjecutorGuion> ejecutor;
    QString documento;
    QStringList pdfs; // what the scripted LibreOffice wrote

    // The scripted LibreOffice writes the PDF where it was asked to.
    void convertirDeVerdad() {
        ejecutor->alLlamar([this](const EjecutorGuion::Llamada& l) {
            if (l.programa != u"soffice")
                return;
            const QString carpeta =
                l.argumentos.at(l.argumentos.indexOf(QStringLiteral("--outdir")) + 1);
            QDir().mkpath(carpeta);
            const QString pdf = carpeta + u'/' + QFileInfo(l.argumentos.last()).completeBaseName() +
                                QStringLiteral(".pdf");
            QFile f(pdf);
            if (f.open(QIODevice::WriteOnly))
                f.write("%PDF-1.4");
            pdfs << pdf;
        });
    }
    void verificarUnAviso(const QString& contiene, Icono icono) {
        QCOMPARE(mensajes->mostrados().size(), 1);
        const MensajesGuion::Mostrado& m = mensajes->mostrados().first();
        QVERIFY2(m.texto.contains(contiene), qPrintable(m.texto));
        QCOMPARE(m.titulo, s("Atención"));
        QCOMPARE(m.icono, icono);
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        ejecutor = std::make_unique<EjecutorGuion>();
        establecerCarpetaPrograma(QFileInfo(QStringLiteral(TARVO_PLANTILLA)).absolutePath());
        CargarOpciones();
        mensajes->limpiar();
        documento = opciones().doc_path + u'/' + kNumero + QStringLiteral(".doc");
        QVERIFY(QFile::copy(QStringLiteral(TARVO_PLANTILLA), documento));
        pdfs.clear();
    }
    void cleanup() {
        ejecutor.reset();
        mensajes.reset();
        entorno.reset();
        establecerCarpetaPrograma(QString());
    }

    void sinDocumentoNoSeIniciaNada() {
        for (const QString& numero : {QStringLiteral("99"), QStringLiteral("a/b")}) {
            for (auto accion : {&AbrirDocumento, &ImprimirDocumento, &EnviarDocumento}) {
                mensajes->limpiar();
                QVERIFY(!accion(numero));
                verificarUnAviso(s("No existe el documento del presupuesto «%1»").arg(numero),
                                 Icono::Informacion);
                QVERIFY(mensajes->mostrados().first().texto.contains(opciones().doc_path));
            }
        }
        QVERIFY(ejecutor->llamadas().isEmpty());
        QVERIFY(ejecutor->abiertas().isEmpty());
    }

    void abrirEnElProcesadorDelUsuario() {
        QVERIFY(AbrirDocumento(kNumero));
        QCOMPARE(ejecutor->abiertas(), QList<QUrl>{QUrl::fromLocalFile(documento)});
        QVERIFY(mensajes->mostrados().isEmpty());

        ejecutor->abrirDevuelve(false);
        QVERIFY(!AbrirDocumento(kNumero));
        verificarUnAviso(QStringLiteral("LibreOffice Writer"), Icono::Critico);
        QVERIFY(mensajes->mostrados().first().texto.contains(documento));
        QVERIFY(ejecutor->llamadas().isEmpty());
    }

    void imprimirConvierteYMandaALaImpresora() {
        convertirDeVerdad();
        QVERIFY(ImprimirDocumento(kNumero));
        QVERIFY(mensajes->mostrados().isEmpty());
        QCOMPARE(ejecutor->llamadas().size(), 2);

        const EjecutorGuion::Llamada conversion = ejecutor->llamadas().at(0);
        QCOMPARE(conversion.programa, QStringLiteral("soffice"));
        const QStringList a = conversion.argumentos;
        QCOMPARE(a.size(), 8);
        QCOMPARE(a.mid(0, 2),
                 (QStringList{QStringLiteral("--headless"), QStringLiteral("--norestore")}));
        QVERIFY2(a.at(2).startsWith(QStringLiteral("-env:UserInstallation=file:///")),
                 qPrintable(a.at(2)));
        QCOMPARE(a.mid(3, 3), (QStringList{QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                                           QStringLiteral("--outdir")}));
        QCOMPARE(a.at(7), documento);
        // A private profile and output folder, both in one temporary folder.
        const QString perfil =
            QUrl(a.at(2).mid(QStringLiteral("-env:UserInstallation=").size())).toLocalFile();
        QCOMPARE(QFileInfo(perfil).path(), QFileInfo(a.at(6)).path());
        QVERIFY(!conversion.opciones.dejarSiSigue);
        QVERIFY(conversion.opciones.plazoMs >= 60000);

        const EjecutorGuion::Llamada impresion = ejecutor->llamadas().at(1);
        QCOMPARE(impresion.programa, QStringLiteral("lp"));
        QCOMPARE(impresion.argumentos,
                 (QStringList{QStringLiteral("-t"), QStringLiteral("Presupuesto 2026-41"),
                              pdfs.first()}));
        // The PDF and the profile are gone afterwards.
        QVERIFY(!QFileInfo::exists(pdfs.first()));
        QVERIFY(!QFileInfo::exists(QFileInfo(perfil).path()));

        // Each print gets a profile of its own.
        QVERIFY(ImprimirDocumento(kNumero));
        QVERIFY(ejecutor->llamadas().at(2).argumentos.at(2) != a.at(2));
    }

    void imprimirSinLibreOffice() {
        ejecutor->responder(QStringLiteral("soffice"), EjecutorGuion::ausente());
        QVERIFY(!ImprimirDocumento(kNumero));
        verificarUnAviso(QStringLiteral("libreoffice-writer"), Icono::Critico);
        QCOMPARE(ejecutor->llamadas().size(), 1);
    }

    void conversionQueFalla() {
        // Ends with 0 but writes no PDF (LibreOffice's way of failing).
        QVERIFY(!ImprimirDocumento(kNumero));
        verificarUnAviso(s("no ha podido convertir el documento «%1»").arg(documento),
                         Icono::Critico);
        // Ends with an error and says why.
        mensajes->limpiar();
        ejecutor->responder(QStringLiteral("soffice"),
                            EjecutorGuion::fallo(1, "Error: source file could not be loaded"));
        QVERIFY(!ImprimirDocumento(kNumero));
        verificarUnAviso(QStringLiteral("source file could not be loaded"), Icono::Critico);
        // Does not end in time.
        mensajes->limpiar();
        ResultadoComando colgado = EjecutorGuion::exito();
        colgado.agotado = true;
        ejecutor->responder(QStringLiteral("soffice"), colgado);
        QVERIFY(!ImprimirDocumento(kNumero));
        verificarUnAviso(QStringLiteral("segundos"), Icono::Critico);
        for (const EjecutorGuion::Llamada& l : ejecutor->llamadas())
            QCOMPARE(l.programa, QStringLiteral("soffice"));
    }

    void imprimirSinImpresora() {
        convertirDeVerdad();
        ejecutor->responder(
            QStringLiteral("lp"),
            EjecutorGuion::fallo(1, "lp: Error - no default destination available."));
        QVERIFY(!ImprimirDocumento(kNumero));
        verificarUnAviso(QStringLiteral("no hay una impresora predeterminada"), Icono::Critico);
        QVERIFY(mensajes->mostrados().first().texto.contains(
            QStringLiteral("no default destination available")));

        mensajes->limpiar();
        ejecutor->responder(QStringLiteral("lp"), EjecutorGuion::ausente());
        QVERIFY(!ImprimirDocumento(kNumero));
        verificarUnAviso(QStringLiteral("cups-client"), Icono::Critico);
    }

    void enviarPorCorreo() {
        QVERIFY(EnviarDocumento(kNumero));
        QCOMPARE(ejecutor->llamadas().size(), 1);
        const EjecutorGuion::Llamada l = ejecutor->llamadas().first();
        QCOMPARE(l.programa, QStringLiteral("xdg-email"));
        QCOMPARE(l.argumentos,
                 (QStringList{QStringLiteral("--subject"), QStringLiteral("Presupuesto 2026-41"),
                              QStringLiteral("--attach"), documento}));
        QVERIFY(l.opciones.dejarSiSigue);
        QVERIFY(mensajes->mostrados().isEmpty());
        QVERIFY(ejecutor->abiertas().isEmpty());

        // A mail program that stays open with the message counts as done.
        ResultadoComando abierto = EjecutorGuion::exito();
        abierto.agotado = true;
        ejecutor->responder(QStringLiteral("xdg-email"), abierto);
        QVERIFY(EnviarDocumento(kNumero));
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    void sinCorreoSeDiceDondeEstaYSeAbreSuCarpeta() {
        for (const ResultadoComando& r : {EjecutorGuion::fallo(3), EjecutorGuion::ausente()}) {
            mensajes->limpiar();
            ejecutor->responder(QStringLiteral("xdg-email"), r);
            QVERIFY(!EnviarDocumento(kNumero));
            verificarUnAviso(documento, Icono::Exclamacion);
            QCOMPARE(ejecutor->abiertas().last(), QUrl::fromLocalFile(opciones().doc_path));
        }
        QCOMPARE(ejecutor->abiertas().size(), 2);
    }

    // The PDF goes beside the document, whole, and stays there for the mail
    // program, which reads it after xdg-email has returned.
    void enviarPdfAdjuntaElPdfJuntoAlDocumento() {
        convertirDeVerdad();
        QVERIFY(EnviarPdfDocumentoDe(kNumero, QString(),
                                     QStringLiteral(" ventas@acme.com.uy; b@c.uy")));
        QVERIFY(mensajes->mostrados().isEmpty());
        QCOMPARE(ejecutor->llamadas().size(), 2);
        QCOMPARE(ejecutor->llamadas().at(0).programa, QStringLiteral("soffice"));
        QCOMPARE(ejecutor->llamadas().at(0).argumentos.last(), documento);
        const QString pdf = opciones().doc_path + u'/' + kNumero + QStringLiteral(".pdf");
        const EjecutorGuion::Llamada correo = ejecutor->llamadas().at(1);
        QCOMPARE(correo.programa, QStringLiteral("xdg-email"));
        QCOMPARE(
            correo.argumentos,
            (QStringList{QStringLiteral("--subject"), QStringLiteral("Presupuesto 2026-41"),
                         QStringLiteral("--attach"), pdf, QStringLiteral("ventas@acme.com.uy")}));
        QVERIFY(correo.opciones.dejarSiSigue);
        QFile escrito(pdf);
        QVERIFY(escrito.open(QIODevice::ReadOnly));
        QCOMPARE(escrito.readAll(), QByteArray("%PDF-1.4"));
        // LibreOffice's own output and profile are gone.
        QVERIFY(!QFileInfo::exists(pdfs.first()));

        // Without a usable address the message has no addressee.
        QVERIFY(EnviarPdfDocumentoDe(kNumero, QString(), QStringLiteral("-oProxy=x@y.com")));
        QCOMPARE(ejecutor->llamadas().last().argumentos.size(), 4);
    }

    void enviarPdfQueFalla() {
        // The conversion fails: no mail program, and the user is told.
        QVERIFY(!EnviarPdfDocumentoDe(kNumero, QString(), QString()));
        verificarUnAviso(s("no se ha enviado"), Icono::Critico);
        QCOMPARE(ejecutor->llamadas().size(), 1);

        // No mail program: the PDF's place is told and its folder opened.
        mensajes->limpiar();
        convertirDeVerdad();
        ejecutor->responder(QStringLiteral("xdg-email"), EjecutorGuion::fallo(3));
        QVERIFY(!EnviarPdfDocumentoDe(kNumero, QString(), QString()));
        const QString pdf = opciones().doc_path + u'/' + kNumero + QStringLiteral(".pdf");
        verificarUnAviso(pdf, Icono::Exclamacion);
        QVERIFY(QFileInfo(pdf).isFile());
        QCOMPARE(ejecutor->abiertas(), QList<QUrl>{QUrl::fromLocalFile(opciones().doc_path)});
    }

    // What a contact's e-mail field may hand to the mail program: never an
    // option of the command nor extra fields of the message.
    void direccionDeCorreo_data() {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("direccion");
        QTest::newRow("una") << "ana@acme.com.uy"
                             << "ana@acme.com.uy";
        QTest::newRow("varias") << " , ana@acme.com;luis@acme.com"
                                << "ana@acme.com";
        QTest::newRow("opcion") << "--utf8@x.com"
                                << "";
        QTest::newRow("adjunto") << "a@b.com?attach=/etc/passwd"
                                 << "";
        QTest::newRow("mailto") << "mailto:a@b.com"
                                << "";
        QTest::newRow("sigue") << "a@b?cc=x@y.com otra@c.org"
                               << "otra@c.org";
        QTest::newRow("nombre") << "Acme"
                                << "";
        QTest::newRow("vacio") << ""
                               << "";
    }
    void direccionDeCorreo() {
        QFETCH(QString, campo);
        QFETCH(QString, direccion);
        QCOMPARE(direccionCorreo(campo), direccion);
    }
};

QTEST_GUILESS_MAIN(PruebaAccionesDocumento)
#include "tst_accionesdocumento.moc"
