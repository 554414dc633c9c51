#include "exchange/exportacion.h"

#include "data/modconexion.h"
#include "exchange/formatoexportacion.h"
#include "exchange/windows1252.h"
#include "platform/carpetas.h"
#include "platform/mensajes.h"
#include "platform/puntero.h"

#include <QDir>
#include <QSaveFile>

const QString kConsultaExportacion =
    QStringLiteral("SELECT P.*,C.CatDescripcion AS Categoria FROM PRODUCTOS P INNER JOIN "
                   "CATEGORIAS C ON P.CatId=C.CatId");

namespace {

// Text goes to the file in blocks of about this size.
constexpr qsizetype kBloque = qsizetype(1) << 20;

} // namespace

bool writeRecordsetToFile(Registros& rsExport, const QString& fileName, const QString& cDelimeter) {
    if (fileName.isEmpty() || !rsExport.abierto())
        return false;
    QSaveFile archivo(fileName);
    // Never fall back to writing over the file in place.
    archivo.setDirectWriteFallback(false);
    if (!archivo.open(QIODevice::WriteOnly))
        return false;
    const TablaResultado& tabla = *rsExport.tabla();
    const int columnas = tabla.columnas();

    QByteArray bloque;
    bloque.reserve(kBloque + kBloque / 4);
    for (int c = 0; c < columnas; ++c) {
        windows1252::agregar(bloque, tabla.columna(c).nombre.toStdString());
        bloque.append(c + 1 < columnas ? "\t" : "\r\n");
    }

    const QByteArray separador = windows1252::convertir(cDelimeter);
    const char decimal = formatoexportacion::separadorDecimal();
    std::vector<TipoColumna> tipos;
    for (int c = 0; c < columnas; ++c)
        tipos.push_back(tabla.columna(c).tipo);
    const int cantidad = rsExport.cantidad();
    int posicion = rsExport.posicionAbsoluta();
    if (rsExport.alPrincipio() && cantidad > 0)
        posicion = 1;
    for (; posicion >= 1 && posicion <= cantidad; ++posicion) {
        const int fila = rsExport.filaDeTabla(posicion);
        for (int c = 0; c < columnas; ++c) {
            if (c > 0)
                bloque.append(separador);
            formatoexportacion::agregar(bloque, tabla.celda(fila, c), tipos[size_t(c)], decimal);
        }
        bloque.append("\r\n");
        if (bloque.size() >= kBloque) {
            if (archivo.write(bloque) != bloque.size())
                return false;
            bloque.resize(0);
        }
    }
    rsExport.moverA(cantidad + 1);
    if (archivo.write(bloque) != bloque.size())
        return false;
    return archivo.commit();
}

void ExportarProductos(const QString& destino) {
    if (destino.isEmpty()) {
        mensaje(QStringLiteral("Debe seleccionar el archivo destino"), Botones::Aceptar,
                Icono::Informacion, QStringLiteral("Atención"));
        return;
    }
    const QString ruta = QDir(CarpetaDocumentos()).absoluteFilePath(destino);
    PunteroEspera espera;
    RegistrosPtr rs;
    AbrirConsulta(kConsultaExportacion, rs);
    const bool escrito = writeRecordsetToFile(*rs, ruta, QStringLiteral("\t"));
    espera.restaurar();
    if (!escrito)
        mensaje(QStringLiteral("Los datos no puedieron exportarse.\r\nVerifique el archivo destino "
                               "no este en uso."),
                Botones::Aceptar, Icono::Informacion, QStringLiteral("Resultado"));
    else if (rs->cantidad() == 0)
        mensaje(QStringLiteral("Datos exportados correctamente\r\nNo hay productos: el archivo "
                               "tiene solo la línea de los nombres de las columnas."),
                Botones::Aceptar, Icono::Informacion, QStringLiteral("Resultado"));
    else
        mensaje(QStringLiteral("Datos exportados correctamente"), Botones::Aceptar,
                Icono::Informacion, QStringLiteral("Resultado"));
    CerrarConsulta(rs, true);
}
