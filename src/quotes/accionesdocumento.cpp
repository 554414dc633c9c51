// The saved quote document opened, printed and sent with the user's programs.
#include "quotes/accionesdocumento.h"

#include "platform/comandos.h"
#include "platform/mensajes.h"
#include "platform/puntero.h"
#include "quotes/generardocumento.h"
#include "quotes/registrodocumentos.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
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

// What a conversion is for, in the words its failures are told with.
struct Proposito {
    const char16_t* para;         // "imprimir el presupuesto"
    const char16_t* preparar;     // "preparar la impresión de"
    const char16_t* convertir;    // "para imprimirlo"
    const char16_t* consecuencia; // "el presupuesto no se ha impreso"
};

constexpr Proposito kImprimir{u"imprimir el presupuesto", u"preparar la impresión de",
                              u"para imprimirlo", u"el presupuesto no se ha impreso"};
constexpr Proposito kEnviarPdf{u"enviar el presupuesto en PDF", u"convertir a PDF", u"a PDF",
                               u"el presupuesto no se ha enviado"};

QString t(const char16_t* texto) {
    return QString::fromUtf16(texto);
}

// Converts the document to PDF with LibreOffice, headless and with a profile
// of its own (so that it neither waits for nor disturbs a LibreOffice the user
// has open). The PDF's path, or nullopt once the user has been told why not.
std::optional<QString> convertirAPdf(const QString& documento, const QTemporaryDir& trabajo,
                                     const Proposito& proposito) {
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
        avisar(QStringLiteral("No se ha encontrado LibreOffice, que hace falta para %1. Instale "
                              "LibreOffice Writer (paquete libreoffice-writer) y vuelva a "
                              "intentarlo.")
                   .arg(t(proposito.para)));
        return std::nullopt;
    }
    if (r.agotado) {
        avisar(QStringLiteral("LibreOffice no ha terminado de %1 «%2» en %3 segundos; %4.")
                   .arg(t(proposito.preparar), documento,
                        QString::number(kPlazoConversionMs / 1000), t(proposito.consecuencia)));
        return std::nullopt;
    }
    const QString pdf =
        salida + u'/' + QFileInfo(documento).completeBaseName() + QStringLiteral(".pdf");
    // LibreOffice ends with 0 even when it could not read the document.
    if (r.codigo != 0 || !QFileInfo(pdf).isFile()) {
        avisar(QStringLiteral("LibreOffice no ha podido convertir el documento «%1» %2; %3.")
                   .arg(documento, t(proposito.convertir), t(proposito.consecuencia)) +
               detalle(r));
        return std::nullopt;
    }
    return pdf;
}

// Tells the user that no mail program took the file, where the file is, and
// opens its folder so that it can be attached by hand.
void sinCorreo(const QString& archivo) {
    avisar(QStringLiteral("No se ha podido abrir un programa de correo para enviar el "
                          "presupuesto. El documento está en «%1»; se abre su carpeta para que "
                          "pueda adjuntarlo a un mensaje.")
               .arg(QDir::toNativeSeparators(archivo)),
           Icono::Exclamacion);
    ejecutorComandos().abrir(QUrl::fromLocalFile(QFileInfo(archivo).absolutePath()));
}

// A new message of the mail program with `adjunto`; true when the program
// took it (one left open with the message counts).
bool abrirCorreo(const QString& numero, const QString& adjunto, const QString& destinatario) {
    QStringList argumentos{QStringLiteral("--subject"), QStringLiteral("Presupuesto ") + numero,
                           QStringLiteral("--attach"), adjunto};
    if (!destinatario.isEmpty())
        argumentos << destinatario;
    const ResultadoComando r = ejecutorComandos().ejecutar(QStringLiteral("xdg-email"), argumentos,
                                                           {kPlazoCorreoMs, true});
    return r.iniciado && (r.agotado || r.codigo == 0);
}

// Puts the converted PDF beside the quote's document (its name with ".pdf"),
// whole or not at all: the mail program reads it after this returns, and the
// user finds it there. The PDF's path, or nullopt once the user has been told.
std::optional<QString> dejarJuntoAlDocumento(const QString& pdf, const QString& documento) {
    const QFileInfo doc(documento);
    const QString destino =
        doc.absolutePath() + u'/' + doc.completeBaseName() + QStringLiteral(".pdf");
    QFile origen(pdf);
    QSaveFile copia(destino);
    if (origen.open(QIODevice::ReadOnly) && copia.open(QIODevice::WriteOnly)) {
        bool bien = true;
        while (bien && !origen.atEnd()) {
            const QByteArray trozo = origen.read(1 << 16);
            bien = !trozo.isEmpty() && copia.write(trozo) == trozo.size();
        }
        if (bien && copia.commit())
            return destino;
    }
    avisar(QStringLiteral("No se ha podido guardar el PDF del presupuesto en «%1»: %2.")
               .arg(QDir::toNativeSeparators(destino), copia.error() != QFileDevice::NoError
                                                           ? copia.errorString()
                                                           : origen.errorString()));
    return std::nullopt;
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
    const std::optional<QString> pdf = convertirAPdf(*ruta, trabajo, kImprimir);
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
    if (abrirCorreo(numero, *ruta, QString()))
        return true;
    sinCorreo(*ruta);
    return false;
}

bool EnviarPdfDocumentoDe(const QString& numero, const QString& id, const QString& correo) {
    const std::optional<QString> ruta = documentoGuardado(numero, id);
    if (!ruta)
        return false;
    QTemporaryDir trabajo;
    if (!trabajo.isValid()) {
        avisar(QStringLiteral("No se puede preparar el PDF: %1.").arg(trabajo.errorString()));
        return false;
    }
    PunteroEspera espera;
    const std::optional<QString> convertido = convertirAPdf(*ruta, trabajo, kEnviarPdf);
    if (!convertido)
        return false;
    const std::optional<QString> pdf = dejarJuntoAlDocumento(*convertido, *ruta);
    if (!pdf)
        return false;
    const bool abierto = abrirCorreo(numero, *pdf, direccionCorreo(correo));
    espera.restaurar();
    if (!abierto)
        sinCorreo(*pdf);
    return abierto;
}

QString direccionCorreo(const QString& texto) {
    // An address is one piece of the field (several may be written, separated
    // by commas, semicolons or spaces) made of name@domain.tld. Characters
    // that could make it an option of the mail command (a leading "-") or add
    // fields to the message ("?attach=...", "%", "&", ":") are refused.
    static const QRegularExpression separador(QStringLiteral("[\\s,;]+"));
    static const QRegularExpression valida(
        QStringLiteral("^(?!-)%1+@%1+\\.%1+$").arg(QStringLiteral("[^@\\s?&#%<>\"'/\\\\:()]")));
    for (const QString& parte : texto.split(separador, Qt::SkipEmptyParts)) {
        if (valida.match(parte).hasMatch())
            return parte;
    }
    return QString();
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
