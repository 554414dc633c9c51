// Feeds every seed and every input that once broke the program to the entry
// of its fuzz target; a crash or an abort fails the test.
#include "entradas/tabla.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main() {
    entradas::preparar();
    int archivos = 0;
    for (const auto& objetivo : entradas::kObjetivos) {
        for (const char* carpeta : {"corpus", "regresiones"}) {
            const QDir dir(
                QStringLiteral(TARVO_FUZZ_DIR "/%1/%2")
                    .arg(QLatin1StringView(carpeta), QLatin1StringView(objetivo.nombre)));
            for (const QString& nombre : dir.entryList(QDir::Files)) {
                QFile archivo(dir.filePath(nombre));
                if (!archivo.open(QIODevice::ReadOnly)) {
                    std::fprintf(stderr, "No se puede leer %s\n", qPrintable(archivo.fileName()));
                    return 1;
                }
                const QByteArray bytes = archivo.readAll();
                std::fprintf(stderr, "%s/%s/%s\n", carpeta, objetivo.nombre, qPrintable(nombre));
                objetivo.entrada(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                 std::size_t(bytes.size()));
                ++archivos;
            }
        }
    }
    std::printf("%d entradas sin fallos\n", archivos);
    return archivos > 0 ? 0 : 1;
}
