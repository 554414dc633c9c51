#include "quotes/comprobarplantilla.h"

#include "documentos/documentotexto.h"
#include "platform/carpetas.h"
#include "quotes/generardocumento.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTextStream>

#include <cstring>

namespace {

const char* const kOpcion = "--comprobar-plantilla";

void lista(QTextStream& salida, const QStringList& nombres) {
    for (const QString& n : nombres)
        salida << "  " << n << '\n';
}

} // namespace

int comprobarPlantilla(const QString& ruta, QTextStream& salida) {
    salida << "Plantilla: " << ruta << '\n';
    if (!QFileInfo(ruta).isFile()) {
        salida << "No existe el archivo.\n";
        return 2;
    }
    QString error;
    const std::unique_ptr<DocumentoTexto> doc = DocumentoTexto::desdeArchivo(ruta, error);
    if (!doc) {
        salida << "No es un documento que se pueda leer: " << error << ".\n";
        return 2;
    }
    const QStringList tiene = doc->marcadores();
    const QStringList usados = marcadoresGenerador();
    const QSet<QString> conjuntoUsados(usados.begin(), usados.end());

    QStringList faltan;
    for (const QString& n : usados)
        if (!tiene.contains(n))
            faltan << n;
    QStringList desconocidos, repetidos;
    for (const QString& n : tiene) {
        // Names starting with "_" are the word processors' own hidden bookmarks.
        if (!conjuntoUsados.contains(n) && !n.startsWith(u'_') && !desconocidos.contains(n))
            desconocidos << n;
        if (tiene.count(n) > 1 && !repetidos.contains(n))
            repetidos << n;
    }

    if (faltan.isEmpty()) {
        salida << "Tiene los " << usados.size() << " marcadores que el generador rellena.\n";
    } else {
        salida << "Faltan " << faltan.size() << " marcadores que el generador rellena:\n";
        lista(salida, faltan);
    }
    if (!desconocidos.isEmpty()) {
        salida << "Tiene " << desconocidos.size() << " marcadores que el generador no conoce:\n";
        lista(salida, desconocidos);
    }
    if (!repetidos.isEmpty()) {
        salida << "Marcadores repetidos (solo se rellena el primero):\n";
        lista(salida, repetidos);
    }
    // Without other costs the generator deletes the table that holds the
    // products total.
    const int tablaTotal = doc->tablaDeMarcador(QStringLiteral("txtTotalProductos"));
    if (tablaTotal == 0)
        salida << "Aviso: txtTotalProductos no está dentro de una tabla; en un presupuesto sin "
                  "otros costos no se quitará ninguna tabla.\n";
    else if (tablaTotal > 0 && tablaTotal == doc->tablaDeMarcador(QStringLiteral("txtCantidad1")))
        salida << "Aviso: txtTotalProductos está en la tabla de las líneas; en un presupuesto sin "
                  "otros costos se borraría esa tabla.\n";
    return faltan.isEmpty() ? 0 : 1;
}

QString plantillaDelUsuario() {
    QString documentos = CarpetaDocumentos();
    if (documentos.isEmpty())
        documentos = QDir::homePath();
    return documentos + QStringLiteral("/Tarvo/presupuesto.dot");
}

std::optional<int> atenderLineaDeOrdenes(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], kOpcion) != 0)
        return std::nullopt;
    QCoreApplication aplicacion(argc, argv);
    QTextStream salida(stdout);
    if (argc > 3) {
        QTextStream(stderr) << "Uso: tarvo " << kOpcion << " [FICHERO]\n";
        return 2;
    }
    const QString ruta = argc == 3 ? QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath()
                                   : plantillaDelUsuario();
    return comprobarPlantilla(ruta, salida);
}
