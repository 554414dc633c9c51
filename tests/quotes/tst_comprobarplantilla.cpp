// The template check: what it reports for the shipped template, for one that
// lost and gained bookmarks, for what is not a template, and the program's own
// command line, which runs without a display.
#include "comun/entornoprueba.h"
#include "comun/paquete.h"
#include "comun/xmldocumento.h"
#include "quotes/comprobarplantilla.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QTextStream>

#include <memory>

namespace {

struct Informe {
    int codigo = -1;
    QString texto;
};

Informe comprobar(const QString& ruta) {
    Informe i;
    QTextStream salida(&i.texto);
    i.codigo = comprobarPlantilla(ruta, salida);
    return i;
}

// The lines that follow a heading, indented.
QStringList bajo(const QString& texto, const QString& encabezado) {
    QStringList nombres;
    const QStringList lineas = texto.split(u'\n');
    const auto i = std::find_if(lineas.begin(), lineas.end(),
                                [&](const QString& l) { return l.startsWith(encabezado); });
    for (auto l = i == lineas.end() ? i : i + 1; l != lineas.end() && l->startsWith(u"  "); ++l)
        nombres << l->trimmed();
    return nombres;
}

} // namespace

class PruebaComprobarPlantilla : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPrueba> entorno;

    QString cambiada(const std::function<void(pugi::xml_document&)>& cambio) {
        const QString ruta = entorno->ruta(QStringLiteral("editada.dot"));
        plantillaCambiada(ruta, cambio);
        return ruta;
    }
    static void renombrar(pugi::xml_document& xml, const char* de, const char* a) {
        xmldoc::inicio(xml, QString::fromLatin1(de)).attribute("w:name").set_value(a);
    }
    Informe ejecutarPrograma(const QStringList& argumentos) {
        QProcess programa;
        QProcessEnvironment entornoProceso = QProcessEnvironment::systemEnvironment();
        entornoProceso.remove(QStringLiteral("QT_QPA_PLATFORM"));
        entornoProceso.remove(QStringLiteral("DISPLAY"));
        entornoProceso.remove(QStringLiteral("WAYLAND_DISPLAY"));
        programa.setProcessEnvironment(entornoProceso);
        programa.start(QStringLiteral(TARVO_PROGRAMA), argumentos);
        Informe i;
        if (!programa.waitForFinished(60000))
            return i;
        i.codigo = programa.exitStatus() == QProcess::NormalExit ? programa.exitCode() : -2;
        i.texto =
            QString::fromUtf8(programa.readAllStandardOutput() + programa.readAllStandardError());
        return i;
    }

private slots:
    void init() { entorno = std::make_unique<EntornoPrueba>(); }
    void cleanup() { entorno.reset(); }

    void laPlantillaDelProgramaEstaCompleta() {
        const Informe i = comprobar(QStringLiteral(TARVO_PLANTILLA));
        QCOMPARE(i.codigo, 0);
        QVERIFY2(i.texto.contains(QStringLiteral("Tiene los 84 marcadores")), qPrintable(i.texto));
        QVERIFY(!i.texto.contains(QStringLiteral("Faltan")));
        QVERIFY(!i.texto.contains(QStringLiteral("no conoce")));
        QVERIFY(!i.texto.contains(QStringLiteral("Aviso")));
    }

    void marcadoresPerdidosYDesconocidos() {
        const QString ruta = cambiada([](pugi::xml_document& xml) {
            renombrar(xml, "txtFirma", "Firma");
            renombrar(xml, "txtDias", "_GoBack"); // a word processor's hidden bookmark
            renombrar(xml, "txtCantidad7", "txtCantidad1");
        });
        const Informe i = comprobar(ruta);
        QCOMPARE(i.codigo, 1);
        QCOMPARE(bajo(i.texto, QStringLiteral("Faltan 3")),
                 (QStringList{QStringLiteral("txtCantidad7"), QStringLiteral("txtDias"),
                              QStringLiteral("txtFirma")}));
        QCOMPARE(bajo(i.texto, QStringLiteral("Tiene 1 marcadores que el generador no conoce")),
                 QStringList{QStringLiteral("Firma")});
        QCOMPARE(bajo(i.texto, QStringLiteral("Marcadores repetidos")),
                 QStringList{QStringLiteral("txtCantidad1")});
    }

    void avisosSobreLaTablaDeOtrosCostos() {
        // The products total in the table of the lines.
        const QString enLineas = cambiada([](pugi::xml_document& xml) {
            renombrar(xml, "txtTotalProductos", "viejo");
            renombrar(xml, "txtProducto15", "txtTotalProductos");
        });
        const Informe i = comprobar(enLineas);
        QCOMPARE(i.codigo, 1);
        QVERIFY2(i.texto.contains(QStringLiteral("en la tabla de las líneas")),
                 qPrintable(i.texto));
    }

    void loQueNoEsUnaPlantilla() {
        Informe i = comprobar(entorno->ruta(QStringLiteral("no-existe.dot")));
        QCOMPARE(i.codigo, 2);
        QVERIFY(i.texto.contains(QStringLiteral("No existe")));
        QFile roto(entorno->ruta(QStringLiteral("roto.dot")));
        QVERIFY(roto.open(QIODevice::WriteOnly));
        roto.write("no es un paquete");
        roto.close();
        i = comprobar(roto.fileName());
        QCOMPARE(i.codigo, 2);
        QVERIFY(i.texto.contains(QStringLiteral("No es un documento")));
    }

    void lineaDeOrdenesDelPrograma() {
        // Without the option the program starts as usual.
        char programa[] = "tarvo";
        char otra[] = "--otra";
        char* sinOpcion[] = {programa, otra, nullptr};
        QVERIFY(!atenderLineaDeOrdenes(1, sinOpcion));
        QVERIFY(!atenderLineaDeOrdenes(2, sinOpcion));

        // The program itself, without a display.
        Informe i = ejecutarPrograma(
            {QStringLiteral("--comprobar-plantilla"), QStringLiteral(TARVO_PLANTILLA)});
        QCOMPARE(i.codigo, 0);
        QVERIFY2(i.texto.contains(QStringLiteral("Tiene los 84 marcadores")), qPrintable(i.texto));

        const QString editada =
            cambiada([](pugi::xml_document& xml) { renombrar(xml, "txtFecha", "Fecha"); });
        QDir::setCurrent(entorno->home());
        i = ejecutarPrograma(
            {QStringLiteral("--comprobar-plantilla"), QStringLiteral("editada.dot")});
        QCOMPARE(i.codigo, 1);
        QVERIFY2(i.texto.contains(QStringLiteral("Plantilla: ") + editada), qPrintable(i.texto));
        QCOMPARE(bajo(i.texto, QStringLiteral("Faltan 1")),
                 QStringList{QStringLiteral("txtFecha")});

        // By default, the user's template under Documents (absent here).
        i = ejecutarPrograma({QStringLiteral("--comprobar-plantilla")});
        QCOMPARE(i.codigo, 2);
        QVERIFY2(i.texto.contains(entorno->ruta(QStringLiteral("Documents/Tarvo/presupuesto.dot"))),
                 qPrintable(i.texto));

        i = ejecutarPrograma(
            {QStringLiteral("--comprobar-plantilla"), QStringLiteral("a"), QStringLiteral("b")});
        QCOMPARE(i.codigo, 2);
        QVERIFY(i.texto.contains(QStringLiteral("Uso:")));
    }
};

QTEST_GUILESS_MAIN(PruebaComprobarPlantilla)
#include "tst_comprobarplantilla.moc"
