#include "comun.h"
#include "entradas.h"

#include "catalog/numeros.h"
#include "data/fechas.h"
#include "data/tablaresultado.h"
#include "exchange/formatoexportacion.h"
#include "exchange/windows1252.h"
#include "quotes/cantidad.h"
#include "quotes/numeros.h"
#include "users/password.h"

#include <cmath>
#include <cstring>
#include <string_view>

namespace entradas {

namespace {

// The first eight bytes as a double and as an integer (zero-padded).
void numerosDe(const std::uint8_t* datos, std::size_t tamano, double& real, qint64& entero) {
    unsigned char ocho[8] = {};
    std::memcpy(ocho, datos, std::min<std::size_t>(tamano, 8));
    std::memcpy(&real, ocho, 8);
    std::memcpy(&entero, ocho, 8);
}

} // namespace

void valores(const std::uint8_t* datos, std::size_t tamano) {
    const std::string_view bytes(reinterpret_cast<const char*>(datos), tamano);
    const QString texto = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));

    // Typed numbers and quantities.
    leeComoNumero(texto);
    leeComoEntero(texto);
    cantidad::ValidarCantidad(texto);
    if (const std::optional<double> leido = numeros::leer(texto)) {
        // What is shown reads back as the same number.
        const std::optional<double> otraVez = numeros::leer(numeros::texto(*leido));
        if (!otraVez ||
            (std::isfinite(*leido) && std::abs(*otraVez - *leido) > std::abs(*leido) * 1e-14))
            comun::fallo("un número mostrado no se lee igual");
    }

    // Day numbers as dates, in the export and in the short text.
    double real = 0;
    qint64 entero = 0;
    numerosDe(datos, tamano, real, entero);
    fechas::valorDeDia(real);
    fechas::textoCorto(real);
    fechas::textoCorto(double(entero));
    char corto[18];
    if (unsigned(fechas::escribirTextoCorto(real, corto)) >= sizeof corto)
        comun::fallo("el texto corto de una fecha no cabe");

    // One exported row: every class of cell under every column type.
    TablaResultado tabla;
    const TipoColumna tipos[] = {TipoColumna::General, TipoColumna::Fecha, TipoColumna::SiNo};
    for (const TipoColumna tipo : tipos) {
        tabla.agregarColumna(QStringLiteral("c%1").arg(int(tipo)), tipo);
        tabla.agregarColumna(QStringLiteral("d%1").arg(int(tipo)), tipo);
        tabla.agregarColumna(QStringLiteral("e%1").arg(int(tipo)), tipo);
    }
    for (int i = 0; i < 3; ++i) {
        tabla.agregarReal(real);
        tabla.agregarEntero(entero);
        tabla.agregarTexto(bytes);
    }
    QByteArray exportado;
    for (int c = 0; c < tabla.columnas(); ++c) {
        formatoexportacion::agregar(exportado, tabla.celda(0, c), tabla.columna(c).tipo, ',');
        tabla.valor(0, c);
        tabla.texto(0, c);
    }

    // The code page: text in, one byte per character out.
    const QByteArray cp = windows1252::convertir(texto);
    if (std::size_t(cp.size()) != texto.toStdU32String().size())
        comun::fallo("la conversión a Windows-1252 no da un byte por carácter");
    QByteArray agregado;
    windows1252::agregar(agregado, bytes);

    // Passwords: same length, or empty when refused.
    const QString clave = CodificarPassword(texto);
    if (!clave.isEmpty() && clave.size() != texto.size())
        comun::fallo("la contraseña codificada cambia de longitud");
}

} // namespace entradas
