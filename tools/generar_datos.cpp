// Fills a copy of the pristine database with sample data, deterministically
// from a seed.
// Usage: tarvo_generar_datos --semilla N --contactos N --categorias N
//        --productos N --presupuestos N [--base pristina.mdb] [--hoy AAAA-MM-DD]
//        salida.mdb
// Expiring quotes are placed relative to today; --hoy fixes that day, so that
// the same seed gives the same file on any day.
#include "muestras/generadordatos.h"
#include "platform/reloj.h"

#include <QDate>
#include <QElapsedTimer>
#include <QString>

#include <iostream>
#include <optional>
#include <string_view>

namespace {

void uso() {
    std::cerr << "uso: tarvo_generar_datos --semilla N --contactos N --categorias N "
                 "--productos N --presupuestos N [--base pristina.mdb] [--hoy AAAA-MM-DD] "
                 "salida.mdb\n";
}

std::optional<qint64> numero(const char* texto) {
    bool ok = false;
    const qint64 n = QString::fromLocal8Bit(texto).toLongLong(&ok);
    if (!ok || n < 0)
        return std::nullopt;
    return n;
}

} // namespace

int main(int argc, char** argv) {
    ParametrosGeneracion p;
    QString base = QStringLiteral(TARVO_BD_PRISTINA);
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
        const char* valor = argv[++i];
        if (opcion == "--base") {
            base = QString::fromLocal8Bit(valor);
            continue;
        }
        if (opcion == "--hoy") {
            const QDate hoy = QDate::fromString(QString::fromLocal8Bit(valor), Qt::ISODate);
            if (!hoy.isValid()) {
                std::cerr << "fecha no válida: " << valor << '\n';
                return 2;
            }
            Reloj::fijar(hoy);
            continue;
        }
        const auto n = numero(valor);
        const qint64 maximo = opcion == "--semilla" ? 0xFFFFFFFFLL : 0x7FFFFFFFLL;
        if (!n || *n > maximo) {
            std::cerr << "valor no válido para " << opcion << ": " << valor << '\n';
            return 2;
        }
        if (opcion == "--semilla")
            p.semilla = quint32(*n);
        else if (opcion == "--contactos")
            p.contactos = int(*n);
        else if (opcion == "--categorias")
            p.categorias = int(*n);
        else if (opcion == "--productos")
            p.productos = int(*n);
        else if (opcion == "--presupuestos")
            p.presupuestos = int(*n);
        else {
            uso();
            return 2;
        }
    }
    if (salida.isEmpty()) {
        uso();
        return 2;
    }

    QElapsedTimer reloj;
    reloj.start();
    GeneradorDatos generador(p);
    if (!generador.generarArchivo(base, salida)) {
        std::cerr << generador.error().toStdString() << '\n';
        return 1;
    }
    std::cout << salida.toStdString() << ": " << p.contactos << " contactos, " << p.categorias
              << " categorías, " << p.productos << " productos, " << p.presupuestos
              << " presupuestos, " << generador.lineas() << " líneas (" << reloj.elapsed()
              << " ms)\n";
    return 0;
}
