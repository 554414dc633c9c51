#include "exchange/exportacion.h"

#include "data/modconexion.h"
#include "exchange/formatoexportacion.h"
#include "exchange/windows1252.h"
#include "platform/carpetas.h"
#include "platform/mensajes.h"
#include "platform/motivos.h"
#include "platform/puntero.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

const QString kConsultaExportacion =
    QStringLiteral("SELECT P.*,C.CatDescripcion AS Categoria FROM PRODUCTOS P INNER JOIN "
                   "CATEGORIAS C ON P.CatId=C.CatId");

namespace {

// Text goes to the file in blocks of about this size.
constexpr qsizetype kBloque = qsizetype(1) << 20;

} // namespace

bool writeRecordsetToFile(Registros& rsExport, const QString& fileName, const QString& cDelimeter) {
    int codigo = 0;
    return writeRecordsetToFile(rsExport, fileName, cDelimeter, codigo);
}

bool writeRecordsetToFile(Registros& rsExport, const QString& fileName, const QString& cDelimeter,
                          int& codigo) {
    codigo = 0;
    if (fileName.isEmpty() || !rsExport.abierto())
        return false;
    // Refusals that Qt makes without asking the system.
    const QFileInfo info(fileName);
    if (info.isDir()) {
        codigo = EISDIR;
        return false;
    }
    if (info.exists() && !info.isWritable()) {
        codigo = EACCES;
        return false;
    }
    QSaveFile archivo(fileName);
    // Never fall back to writing over the file in place.
    archivo.setDirectWriteFallback(false);
    // The system's reason for a failure, left in errno by the call that failed.
    const auto fallo = [&codigo] {
        codigo = errno;
        return false;
    };
    errno = 0;
    if (!archivo.open(QIODevice::WriteOnly))
        return fallo();
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
            errno = 0;
            if (archivo.write(bloque) != bloque.size())
                return fallo();
            bloque.resize(0);
        }
    }
    rsExport.moverA(cantidad + 1);
    errno = 0;
    if (archivo.write(bloque) != bloque.size() || !archivo.commit())
        return fallo();
    return true;
}

QString mensajeExportacionFallida(const QString& ruta, int codigo) {
    const QString texto = QStringLiteral("Los datos no puedieron exportarse.\r\n");
    switch (codigo) {
    case ENOSPC:
    case EDQUOT:
    case EACCES:
    case EPERM:
    case EROFS:
    case ENOENT:
    case ENOTDIR:
    case EISDIR:
    case ENAMETOOLONG:
    case EIO:
        return texto + QStringLiteral("No se pudo escribir «%1»: %2")
                           .arg(QDir::toNativeSeparators(ruta), motivoSistema(codigo));
    default:
        // No reason given, or one that a program holding the file gives.
        return texto + QStringLiteral("Verifique el archivo destino no este en uso.");
    }
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
    int codigo = 0;
    const bool escrito = writeRecordsetToFile(*rs, ruta, QStringLiteral("\t"), codigo);
    espera.restaurar();
    if (!escrito)
        mensaje(mensajeExportacionFallida(ruta, codigo), Botones::Aceptar, Icono::Informacion,
                QStringLiteral("Resultado"));
    else if (rs->cantidad() == 0)
        mensaje(QStringLiteral("Datos exportados correctamente\r\nNo hay productos: el archivo "
                               "tiene solo la línea de los nombres de las columnas."),
                Botones::Aceptar, Icono::Informacion, QStringLiteral("Resultado"));
    else
        mensaje(QStringLiteral("Datos exportados correctamente"), Botones::Aceptar,
                Icono::Informacion, QStringLiteral("Resultado"));
    CerrarConsulta(rs, true);
}
