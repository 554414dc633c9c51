// Builds the pristine database file from the schema script.
// Usage: tarvo_construir_bd <esquema.sql> <salida.mdb>
// The file is written under a temporary name and renamed, so a failed build
// never leaves a half-built database behind. The text columns declare the
// Spanish collation, which the engine needs to create them and their indexes.
#include "data/cotejo.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "uso: tarvo_construir_bd <esquema.sql> <salida.mdb>\n";
        return 2;
    }
    std::ifstream entrada(argv[1]);
    if (!entrada) {
        std::cerr << "no se puede leer " << argv[1] << '\n';
        return 1;
    }
    std::stringstream guion;
    guion << entrada.rdbuf();

    const std::filesystem::path salida = argv[2];
    const std::filesystem::path temporal = salida.string() + ".tmp";
    std::error_code ec;
    std::filesystem::remove(temporal, ec);

    sqlite3* bd = nullptr;
    if (sqlite3_open(temporal.c_str(), &bd) != SQLITE_OK) {
        std::cerr << "no se puede crear " << temporal << '\n';
        sqlite3_close(bd);
        return 1;
    }
    if (!cotejo::registrar(bd)) {
        std::cerr << "no se puede registrar el cotejo " << cotejo::kNombre << '\n';
        sqlite3_close(bd);
        std::filesystem::remove(temporal, ec);
        return 1;
    }
    char* error = nullptr;
    const int rc = sqlite3_exec(bd, guion.str().c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::cerr << "error en el esquema: " << (error ? error : "?") << '\n';
        sqlite3_free(error);
        sqlite3_close(bd);
        std::filesystem::remove(temporal, ec);
        return 1;
    }
    sqlite3_exec(bd, "VACUUM", nullptr, nullptr, nullptr);
    sqlite3_close(bd);
    std::filesystem::rename(temporal, salida, ec);
    if (ec) {
        std::cerr << "no se puede escribir " << salida << ": " << ec.message() << '\n';
        return 1;
    }
    return 0;
}
