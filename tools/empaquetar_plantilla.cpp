// Packs the quote template's parts, kept as readable XML, into one word-processing
// package (a zip file).
// Usage: tarvo_empaquetar_plantilla <carpeta de partes> <salida>
//
// - Every regular file under the folder becomes a part named by its path relative to the
//   folder. "[Content_Types].xml" goes first; the others follow in byte order of their names.
// - XML parts (".xml", ".rels") are parsed, so a malformed part stops the build, and written
//   compact: comments and the whitespace that only indents elements are left out, while the
//   text of an element whose only content is whitespace (a lone space in a run) is kept.
// - Every entry is deflated and carries the same fixed time and attributes, so that the same
//   parts always give the same bytes.
// - The package is written under a temporary name and renamed, so a failed run never leaves a
//   half-written file behind.
#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <ctime>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kTiposContenido = "[Content_Types].xml";

bool esParteXml(const std::string& nombre) {
    auto terminaEn = [&](const std::string& fin) {
        return nombre.size() >= fin.size() &&
               nombre.compare(nombre.size() - fin.size(), fin.size(), fin) == 0;
    };
    return terminaEn(".xml") || terminaEn(".rels");
}

bool leerArchivo(const fs::path& ruta, std::string& contenido) {
    std::ifstream entrada(ruta, std::ios::binary);
    if (!entrada) {
        return false;
    }
    std::ostringstream texto;
    texto << entrada.rdbuf();
    contenido = texto.str();
    return true;
}

// Parses an XML part and writes it back compact. Returns false (with a message) when the
// part is not well-formed.
bool compactarXml(const std::string& nombre, std::string& contenido) {
    pugi::xml_document documento;
    const unsigned opciones =
        pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single;
    const pugi::xml_parse_result resultado =
        documento.load_buffer(contenido.data(), contenido.size(), opciones);
    if (!resultado) {
        std::cerr << nombre << ": XML mal formado en el byte " << resultado.offset << ": "
                  << resultado.description() << '\n';
        return false;
    }
    std::ostringstream salida;
    documento.save(salida, "", pugi::format_raw, pugi::encoding_utf8);
    contenido = salida.str();
    return true;
}

// The fixed time of every entry: 1 January 2000, 12:00, local time. The zip format stores
// local time, and libzip converts with the local zone, so building the value from local time
// gives the same stored fields in every zone.
std::time_t horaFija() {
    std::tm hora{};
    hora.tm_year = 2000 - 1900;
    hora.tm_mon = 0;
    hora.tm_mday = 1;
    hora.tm_hour = 12;
    hora.tm_isdst = -1;
    return std::mktime(&hora);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "uso: tarvo_empaquetar_plantilla <carpeta de partes> <salida>\n";
        return 2;
    }
    const fs::path carpeta = argv[1];
    const fs::path salida = argv[2];

    std::error_code ec;
    if (!fs::is_directory(carpeta, ec)) {
        std::cerr << "no es una carpeta: " << carpeta << '\n';
        return 1;
    }
    std::vector<std::string> nombres;
    for (const fs::directory_entry& entrada : fs::recursive_directory_iterator(carpeta, ec)) {
        if (entrada.is_regular_file()) {
            nombres.push_back(entrada.path().lexically_relative(carpeta).generic_string());
        }
    }
    if (ec) {
        std::cerr << "no se puede recorrer " << carpeta << ": " << ec.message() << '\n';
        return 1;
    }
    if (std::find(nombres.begin(), nombres.end(), kTiposContenido) == nombres.end()) {
        std::cerr << "falta " << kTiposContenido << " en " << carpeta << '\n';
        return 1;
    }
    std::sort(nombres.begin(), nombres.end(), [](const std::string& a, const std::string& b) {
        if ((a == kTiposContenido) != (b == kTiposContenido)) {
            return a == kTiposContenido;
        }
        return a < b;
    });

    // libzip reads the buffers when the archive is closed: they live until then.
    std::deque<std::string> contenidos;
    for (const std::string& nombre : nombres) {
        std::string contenido;
        if (!leerArchivo(carpeta / nombre, contenido)) {
            std::cerr << "no se puede leer " << (carpeta / nombre) << '\n';
            return 1;
        }
        if (esParteXml(nombre) && !compactarXml(nombre, contenido)) {
            return 1;
        }
        contenidos.push_back(std::move(contenido));
    }

    const fs::path temporal = salida.string() + ".tmp";
    fs::remove(temporal, ec);
    int error = 0;
    zip_t* zip = zip_open(temporal.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (zip == nullptr) {
        zip_error_t detalle;
        zip_error_init_with_code(&detalle, error);
        std::cerr << "no se puede crear " << temporal << ": " << zip_error_strerror(&detalle)
                  << '\n';
        zip_error_fini(&detalle);
        return 1;
    }
    auto fallar = [&](const std::string& que) {
        std::cerr << que << ": " << zip_strerror(zip) << '\n';
        zip_discard(zip);
        fs::remove(temporal, ec);
        return 1;
    };

    const std::time_t hora = horaFija();
    for (std::size_t i = 0; i < nombres.size(); ++i) {
        const std::string& contenido = contenidos[i];
        zip_source_t* fuente = zip_source_buffer(zip, contenido.data(), contenido.size(), 0);
        if (fuente == nullptr) {
            return fallar("no se puede preparar " + nombres[i]);
        }
        const zip_int64_t indice =
            zip_file_add(zip, nombres[i].c_str(), fuente, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (indice < 0) {
            zip_source_free(fuente);
            return fallar("no se puede añadir " + nombres[i]);
        }
        const auto posicion = static_cast<zip_uint64_t>(indice);
        if (zip_set_file_compression(zip, posicion, ZIP_CM_DEFLATE, 9) != 0 ||
            zip_file_set_mtime(zip, posicion, hora, 0) != 0 ||
            zip_file_set_external_attributes(zip, posicion, 0, ZIP_OPSYS_DOS, 0) != 0) {
            return fallar("no se pueden fijar los atributos de " + nombres[i]);
        }
    }
    if (zip_close(zip) != 0) {
        return fallar("no se puede escribir " + temporal.string());
    }
    fs::rename(temporal, salida, ec);
    if (ec) {
        std::cerr << "no se puede escribir " << salida << ": " << ec.message() << '\n';
        fs::remove(temporal, ec);
        return 1;
    }
    return 0;
}
