// Writes a sample database of the stock-control program, to try the import
// without that program. Register the file as the data source "BODEX" of the
// SQLite3 ODBC driver (see the README).
// Usage: tarvo_generar_bodex [--semilla N] [--categorias N] [--productos N]
//        [--sectores N] [--proveedores N] salida.db
#include "muestras/muestrabodex.h"

#include <QString>

#include <iostream>
#include <string_view>

namespace {

void uso() {
    std::cerr << "uso: tarvo_generar_bodex [--semilla N] [--categorias N] [--productos N] "
                 "[--sectores N] [--proveedores N] salida.db\n";
}

} // namespace

int main(int argc, char** argv) {
    muestrabodex::Parametros p;
    QString salida;
    for (int i = 1; i < argc; ++i) {
        const std::string_view opcion = argv[i];
        if (!opcion.starts_with("--")) {
            if (!salida.isEmpty()) {
                uso();
                return 2;
            }
            salida = QString::fromLocal8Bit(argv[i]);
            continue;
        }
        if (i + 1 >= argc) {
            uso();
            return 2;
        }
        bool ok = false;
        const qint64 n = QString::fromLocal8Bit(argv[++i]).toLongLong(&ok);
        const qint64 maximo = opcion == "--semilla" ? 0xFFFFFFFFLL : 10000000LL;
        if (!ok || n < 0 || n > maximo) {
            std::cerr << "valor no válido para " << opcion << ": " << argv[i] << '\n';
            return 2;
        }
        if (opcion == "--semilla")
            p.semilla = quint32(n);
        else if (opcion == "--categorias")
            p.categorias = int(n);
        else if (opcion == "--productos")
            p.productos = int(n);
        else if (opcion == "--sectores")
            p.sectores = int(n);
        else if (opcion == "--proveedores")
            p.proveedores = int(n);
        else {
            uso();
            return 2;
        }
    }
    if (salida.isEmpty()) {
        uso();
        return 2;
    }
    QString error;
    if (!muestrabodex::generar(salida, p, error)) {
        std::cerr << error.toStdString() << '\n';
        return 1;
    }
    std::cout << "Escrito " << salida.toStdString() << ": " << p.categorias << " categorías, "
              << p.productos << " productos, " << p.sectores << " sectores, " << p.proveedores
              << " proveedores.\n";
    return 0;
}
