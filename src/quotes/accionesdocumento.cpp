// The saved quote document opened, printed and sent with the user's programs.
#include "quotes/accionesdocumento.h"

#include "platform/comandos.h"
#include "platform/mensajes.h"
#include "platform/puntero.h"
#include "quotes/generardocumento.h"
#include "quotes/registrodocumentos.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

namespace {

const QString kTitulo = QStringLiteral("Atención");
constexpr int kPlazoConversionMs = 120000;
constexpr int kPlazoImpresionMs = 30000;
// A mail program that keeps running with the new message is not waited for.
constexpr int kPlazoCorreoMs = 20000;

void avisar(const QString& texto, Icono icono = Icono::Critico) {
    mensaje(texto, Botones::Aceptar, icono, kTitulo);
}

// What a program wrote on its error stream, for the user to read.
QString detalle(const ResultadoComando& r) {
    const QString texto = QString::fromLocal8Bit(r.errores).trimmed();
    return texto.isEmpty() ? QString() : QStringLiteral("\n\n") + texto;
}

// The quote's document when it has been written; otherwise the user is told.
std::optional<QString> documentoGuardado(const QString& numero, const QString& id) {
    const QString carpeta = rutasDocumento().carpeta;
    // Without a key the number's own document is the one meant, as it always was.
    std::optional<QString> ruta = rutaDocumento(carpeta, numero);
    if (!id.trimmed().isEmpty()) {
        const std::optional<UbicacionDocumento> documento = ubicarDocumento(carpeta, numero, id);
        ruta = documento ? std::optional<QString>(documento->ruta) : std::nullopt;
    }
    if (ruta && QFileInfo(*ruta).isFile())
        return *ruta;
    avisar(QStringLiteral("No existe el documento del presupuesto «%1» (%2). El documento se "
                          "crea al guardar el presupuesto: guárdelo y vuelva a intentarlo.")
               .arg(numero, rutaDocumento(carpeta, numero).value_or(carpeta)),
           Icono::Informacion);
    return std::nullopt;
}

// Converts the document to PDF with LibreOffice, headless and with a profile
// of its own (so that it neither waits for nor disturbs a LibreOffice the user
// has open). The PDF's path, or nullopt once the user has been told why not.
std::optional<QString> convertirAPdf(const QString& documento, const QTemporaryDir& trabajo) {
    const QString salida = trabajo.filePath(QStringLiteral("pdf"));
    const QString perfil = QUrl::fromLocalFile(trabajo.filePath(QStringLiteral("perfil")))
                               .toString(QUrl::FullyEncoded);
    const ResultadoComando r = ejecutorComandos().ejecutar(
        QStringLiteral("soffice"),
        {QStringLiteral("--headless"), QStringLiteral("--norestore"),
         QStringLiteral("-env:UserInstallation=") + perfil, QStringLiteral("--convert-to"),
         QStringLiteral("pdf"), QStringLiteral("--outdir"), salida, documento},
        {kPlazoConversionMs, false});
    if (!r.iniciado) {
        avisar(QStringLiteral("No se ha encontrado LibreOffice, que hace falta para imprimir el "
                              "presupuesto. Instale LibreOffice Writer (paquete "
                              "libreoffice-writer) y vuelva a intentarlo."));
        return std::nullopt;
    }
    if (r.agotado) {
        avisar(QStringLiteral("LibreOffice no ha terminado de preparar la impresión de «%1» en "
                              "%2 segundos; el presupuesto no se ha impreso.")
                   .arg(documento)
                   .arg(kPlazoConversionMs / 1000));
        return std::nullopt;
    }
    const QString pdf =
        salida + u'/' + QFileInfo(documento).completeBaseName() + QStringLiteral(".pdf");
    // LibreOffice ends with 0 even when it could not read the document.
    if (r.codigo != 0 || !QFileInfo(pdf).isFile()) {
        avisar(QStringLiteral("LibreOffice no ha podido convertir el documento «%1» para "
                              "imprimirlo; el presupuesto no se ha impreso.")
                   .arg(documento) +
               detalle(r));
        return std::nullopt;
    }
    return pdf;
}

} // namespace

bool AbrirDocumentoDe(const QString& numero, const QString& id) {
    const std::optional<QString> ruta = documentoGuardado(numero, id);
    if (!ruta)
        return false;
    if (ejecutorComandos().abrir(QUrl::fromLocalFile(*ruta)))
        return true;
    avisar(QStringLiteral("No se ha podido abrir el documento «%1»: no hay un procesador de "
                          "textos que lo abra. Instale LibreOffice Writer (paquete "
                          "libreoffice-writer).")
               .arg(*ruta));
    return false;
}

bool ImprimirDocumentoDe(const QString& numero, const QString& id) {
    const std::optional<QString> ruta = documentoGuardado(numero, id);
    if (!ruta)
        return false;
    QTemporaryDir trabajo;
    if (!trabajo.isValid()) {
        avisar(QStringLiteral("No se puede preparar la impresión: %1.").arg(trabajo.errorString()));
        return false;
    }
    PunteroEspera espera;
    const std::optional<QString> pdf = convertirAPdf(*ruta, trabajo);
    if (!pdf)
        return false;
    const ResultadoComando r = ejecutorComandos().ejecutar(
        QStringLiteral("lp"), {QStringLiteral("-t"), QStringLiteral("Presupuesto ") + numero, *pdf},
        {kPlazoImpresionMs, false});
    espera.restaurar();
    if (!r.iniciado) {
        avisar(QStringLiteral("No se ha encontrado la orden de impresión «lp» (paquete "
                              "cups-client); el presupuesto no se ha impreso."));
        return false;
    }
    if (r.agotado || r.codigo != 0) {
        avisar(QStringLiteral("No se ha podido imprimir el presupuesto: no hay una impresora "
                              "predeterminada o el servicio de impresión no responde.") +
               detalle(r));
        return false;
    }
    return true;
}

bool EnviarDocumentoDe(const QString& numero, const QString& id) {
    const std::optional<QString> ruta = documentoGuardado(numero, id);
    if (!ruta)
        return false;
    const ResultadoComando r = ejecutorComandos().ejecutar(QStringLiteral("xdg-email"),
                                                           {QStringLiteral("--subject"),
                                                            QStringLiteral("Presupuesto ") + numero,
                                                            QStringLiteral("--attach"), *ruta},
                                                           {kPlazoCorreoMs, true});
    if (r.iniciado && (r.agotado || r.codigo == 0))
        return true;
    const QString carpeta = QFileInfo(*ruta).absolutePath();
    avisar(QStringLiteral("No se ha podido abrir un programa de correo para enviar el "
                          "presupuesto. El documento está en «%1»; se abre su carpeta para que "
                          "pueda adjuntarlo a un mensaje.")
               .arg(QDir::toNativeSeparators(*ruta)),
           Icono::Exclamacion);
    ejecutorComandos().abrir(QUrl::fromLocalFile(carpeta));
    return false;
}

bool AbrirDocumento(const QString& numero) {
    return AbrirDocumentoDe(numero, QString());
}

bool ImprimirDocumento(const QString& numero) {
    return ImprimirDocumentoDe(numero, QString());
}

bool EnviarDocumento(const QString& numero) {
    return EnviarDocumentoDe(numero, QString());
}
