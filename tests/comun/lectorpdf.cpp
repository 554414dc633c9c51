#include "lectorpdf.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

QString correr(const QString& programa, const QStringList& argumentos, bool& ok) {
    QProcess proceso;
    proceso.start(programa, argumentos);
    ok = proceso.waitForFinished(60000) && proceso.exitStatus() == QProcess::NormalExit &&
         proceso.exitCode() == 0;
    return QString::fromUtf8(proceso.readAllStandardOutput());
}

} // namespace

LectorPdf::LectorPdf(const QString& ruta) {
    bool ok = false;
    const QString info = correr(QStringLiteral("pdfinfo"), {ruta}, ok);
    if (!ok)
        return;
    for (const QString& linea : info.split(u'\n')) {
        const qsizetype dos = linea.indexOf(u':');
        if (dos < 0)
            continue;
        const QString clave = linea.left(dos);
        const QString valor = linea.mid(dos + 1).trimmed();
        if (clave == QStringLiteral("Pages"))
            paginas = valor.toInt();
        else if (clave == QStringLiteral("Title"))
            titulo = valor;
        else if (clave == QStringLiteral("Page size"))
            tamano = valor;
    }
    texto = correr(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), ruta, QStringLiteral("-")}, ok);
    if (!ok)
        return;
    // pdftotext ends each page with a form feed.
    textoPorPagina = texto.split(u'\f');
    if (!textoPorPagina.isEmpty() && textoPorPagina.back().trimmed().isEmpty())
        textoPorPagina.removeLast();
    const QString lista = correr(QStringLiteral("pdfimages"), {QStringLiteral("-list"), ruta}, ok);
    if (!ok)
        return;
    // Two heading lines, then one line per picture.
    imagenes = std::max<qsizetype>(0, lista.split(u'\n', Qt::SkipEmptyParts).size() - 2);
    valido = true;
}

QStringList LectorPdf::lineas() const {
    QStringList r;
    for (const QString& l : texto.split(u'\n')) {
        const QString limpia = QString(l).remove(u'\f').trimmed();
        if (!limpia.isEmpty())
            r << limpia;
    }
    return r;
}

QStringList LectorPdf::capturas(const QString& patron) const {
    QStringList r;
    QRegularExpressionMatchIterator it = QRegularExpression(patron).globalMatch(texto);
    while (it.hasNext())
        r << it.next().captured(1);
    return r;
}
