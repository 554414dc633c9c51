#include "paquete.h"

#include "xmldocumento.h"

#include <QtGlobal>

#include <zip.h>

#include <sstream>

PartesPaquete leerPaquete(const QString& ruta) {
    PartesPaquete p;
    int error = 0;
    zip_t* zip = zip_open(ruta.toLocal8Bit().constData(), ZIP_RDONLY, &error);
    if (!zip)
        return p;
    const zip_int64_t cuantas = zip_get_num_entries(zip, 0);
    bool ok = true;
    for (zip_int64_t i = 0; i < cuantas && ok; ++i) {
        zip_stat_t estado;
        zip_stat_init(&estado);
        ok = zip_stat_index(zip, zip_uint64_t(i), 0, &estado) == 0;
        if (!ok)
            break;
        std::string contenido(std::size_t(estado.size), '\0');
        zip_file_t* archivo = zip_fopen_index(zip, zip_uint64_t(i), 0);
        ok = archivo &&
             zip_fread(archivo, contenido.data(), estado.size) == zip_int64_t(estado.size);
        if (archivo)
            zip_fclose(archivo);
        p.nombres.emplace_back(estado.name);
        p.contenido[estado.name] = std::move(contenido);
    }
    zip_discard(zip);
    p.ok = ok;
    return p;
}

bool escribirPaquete(const QString& ruta,
                     const std::vector<std::pair<std::string, std::string>>& partes) {
    int error = 0;
    zip_t* zip = zip_open(ruta.toLocal8Bit().constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip)
        return false;
    for (const auto& [nombre, contenido] : partes) {
        zip_source_t* fuente = zip_source_buffer(zip, contenido.data(), contenido.size(), 0);
        if (!fuente || zip_file_add(zip, nombre.c_str(), fuente, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(fuente);
            zip_discard(zip);
            return false;
        }
    }
    return zip_close(zip) == 0;
}

bool reemplazarDocumento(const QString& origen, const QString& destino, const std::string& xml) {
    const PartesPaquete p = leerPaquete(origen);
    if (!p.ok)
        return false;
    std::vector<std::pair<std::string, std::string>> partes;
    for (const std::string& n : p.nombres)
        partes.emplace_back(n, n == "word/document.xml" ? xml : p.contenido.at(n));
    return escribirPaquete(destino, partes);
}

void plantillaCambiada(const QString& destino,
                       const std::function<void(pugi::xml_document&)>& cambio) {
    const PartesPaquete p = leerPaquete(QStringLiteral(TARVO_PLANTILLA));
    pugi::xml_document xml;
    if (!p.ok || !xmldoc::cargar(xml, p.documento()))
        qFatal("no se lee la plantilla");
    cambio(xml);
    std::ostringstream salida;
    xml.save(salida, "", pugi::format_raw);
    if (!reemplazarDocumento(QStringLiteral(TARVO_PLANTILLA), destino, salida.str()))
        qFatal("no se escribe la plantilla cambiada");
}
