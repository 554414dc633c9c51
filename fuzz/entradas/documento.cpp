#include "comun.h"
#include "entradas.h"

#include "documentos/documentotexto.h"
#include "documentos/procesadortextos.h"

#include <QDirIterator>
#include <QFile>

#include <zip.h>

#include <utility>
#include <vector>

namespace entradas {

namespace {

// The quote template's parts as the repository keeps them, read once.
const std::vector<std::pair<QByteArray, QByteArray>>& partesPlantilla() {
    static const auto partes = [] {
        std::vector<std::pair<QByteArray, QByteArray>> leidas;
        const QString carpeta = QStringLiteral(TARVO_PARTES_PLANTILLA);
        QDirIterator it(carpeta, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString ruta = it.next();
            QFile archivo(ruta);
            if (!archivo.open(QIODevice::ReadOnly))
                comun::fallo("no se puede leer una parte de la plantilla");
            leidas.emplace_back(ruta.mid(carpeta.size() + 1).toUtf8(), archivo.readAll());
        }
        if (leidas.empty())
            comun::fallo("no se encuentran las partes de la plantilla");
        return leidas;
    }();
    return partes;
}

// The template packed with `principal` as its main document part.
QString plantillaCon(const QByteArray& principal) {
    const QString ruta = comun::rutaTemporal(QStringLiteral("plantilla.dot"));
    int codigo = 0;
    zip_t* zip = zip_open(QFile::encodeName(ruta).constData(), ZIP_CREATE | ZIP_TRUNCATE, &codigo);
    if (!zip)
        comun::fallo("no se puede crear el paquete");
    for (const auto& [nombre, contenido] : partesPlantilla()) {
        const QByteArray& bytes = nombre == "word/document.xml" ? principal : contenido;
        zip_source_t* fuente =
            zip_source_buffer(zip, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        const zip_int64_t indice =
            fuente ? zip_file_add(zip, nombre.constData(), fuente, ZIP_FL_OVERWRITE) : -1;
        // Stored, not deflated: packing is then a small part of each run.
        if (indice < 0 || zip_set_file_compression(zip, zip_uint64_t(indice), ZIP_CM_STORE, 0) != 0)
            comun::fallo("no se puede añadir una parte al paquete");
    }
    if (zip_close(zip) != 0)
        comun::fallo("no se puede escribir el paquete");
    return ruta;
}

// Opens the file as the quote generator does, fills every bookmark with text
// that has line breaks and tabs, deletes the tables around every other
// bookmark, types at the insertion point and saves. A saved document must
// open again.
void recorrer(const QString& ruta) {
    ProcesadorTextos procesador;
    QString error;
    DocumentoTexto* doc = procesador.abrirDocumento(ruta, error);
    if (!doc)
        return;
    const QStringList nombres = doc->marcadores();
    int i = 0;
    for (const QString& nombre : nombres) {
        // A deleted table takes the bookmarks inside it.
        if (!doc->irAMarcador(nombre))
            continue;
        doc->escribir(i % 3 == 2 ? QString() : QStringLiteral("Línea %1\r\n\tcon € y tab").arg(i));
        if (i % 2 == 1 && doc->tablaDeMarcador(nombre) > 0 && doc->irAMarcador(nombre))
            doc->borrarTablaSeleccion();
        doc->escribir(QStringLiteral("·"));
        ++i;
    }
    doc->borrarTablaSeleccion();
    doc->escribir(QStringLiteral("fin"));
    const QString salida = comun::rutaTemporal(QStringLiteral("guardado.doc"));
    if (!doc->guardarComo(salida, error))
        return;
    if (!DocumentoTexto::desdeArchivo(salida, error))
        comun::fallo("el documento guardado no se abre");
}

} // namespace

void paqueteDocumento(const std::uint8_t* datos, std::size_t tamano) {
    const QByteArray bytes(reinterpret_cast<const char*>(datos), qsizetype(tamano));
    recorrer(comun::escribirTemporal(QStringLiteral("paquete.dot"), bytes));
}

void parteDocumento(const std::uint8_t* datos, std::size_t tamano) {
    recorrer(plantillaCon(QByteArray(reinterpret_cast<const char*>(datos), qsizetype(tamano))));
}

} // namespace entradas
