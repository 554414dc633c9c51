#include "startup/opciones.h"

#include "platform/archivos.h"
#include "platform/carpetas.h"
#include "platform/mensajes.h"
#include "startup/cqueryreg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cmath>

namespace {

Configuracion configuracion;

const QString kTituloConfiguracion = QStringLiteral("Configuración");

void avisar(const QString& texto) {
    mensaje(texto, Botones::Aceptar, Icono::Exclamacion, kTituloConfiguracion);
}

bool crearCarpeta(const QString& carpeta) {
    if (QDir(carpeta).exists() || QDir().mkpath(carpeta))
        return true;
    avisar(QStringLiteral("No se pudo crear la carpeta «%1». Revise los permisos o elija otra "
                          "ubicación en Herramientas > Opciones.")
               .arg(QDir::toNativeSeparators(carpeta)));
    return false;
}

QString carpetaTarvoPorDefecto() {
    QString documentos = CarpetaDocumentos();
    if (documentos.isEmpty()) {
        documentos = QDir::homePath();
        avisar(QStringLiteral("No se pudo determinar la carpeta Documentos del usuario; se usará "
                              "«%1».")
                   .arg(documentos));
    }
    return documentos + QStringLiteral("/Tarvo");
}

// The database at its default place, copied from the program folder when
// it is not there yet.
QString prepararBasePorDefecto() {
    const QString carpeta = carpetaTarvoPorDefecto();
    const QString ruta = carpeta + QStringLiteral("/bd2000.mdb");
    if (QFileInfo::exists(ruta) || !crearCarpeta(carpeta))
        return ruta;
    const QString original = carpetaPrograma() + QStringLiteral("/bd2000.mdb");
    if (!QFileInfo::exists(original)) {
        avisar(QStringLiteral("No se encontró la base de datos inicial «%1» en la carpeta del "
                              "programa. Indique la ubicación de la base de datos en las "
                              "opciones.")
                   .arg(original));
    } else if (!copiarArchivo(original, ruta)) {
        avisar(QStringLiteral("No se pudo copiar la base de datos inicial a «%1».").arg(ruta));
    }
    return ruta;
}

class Registro {
public:
    QVariant valor(const QString& nombre) const {
        return reg_.GetReg(claveTarvo(), nombre, cQueryReg::HKEY_CURRENT_USER, true);
    }
    QString leer(const QString& nombre) const { return valor(nombre).toString(); }
    // The machine-wide default an installation may provide.
    QString leerMaquina(const QString& nombre) const {
        return reg_.GetReg(claveTarvo(), nombre, cQueryReg::HKEY_LOCAL_MACHINE, true).toString();
    }
    void escribir(const QString& nombre, const QString& valor) const {
        long estado = 0;
        reg_.SetReg(claveTarvo(), nombre, valor, cQueryReg::HKEY_CURRENT_USER, cQueryReg::REG_SZ,
                    true, estado);
    }
    // The value, or `porDefecto()` written back when it is missing.
    template <typename F> QString leerOEscribir(const QString& nombre, F porDefecto) const {
        QString valor = leer(nombre);
        if (valor.isEmpty()) {
            valor = porDefecto();
            escribir(nombre, valor);
        }
        return valor;
    }

private:
    cQueryReg reg_;
};

} // namespace

QString claveTarvo() {
    return QStringLiteral("Software\\Varnel Software\\Tarvo");
}

const Configuracion& opciones() {
    return configuracion;
}

std::optional<double> leerIva(const QString& texto) {
    QString t = texto.trimmed();
    if (t.contains(u',') && !t.contains(u'.'))
        t.replace(u',', u'.');
    bool ok = false;
    const double valor = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(valor))
        return std::nullopt;
    return valor;
}

std::optional<int> leerDiasAviso(const QString& texto) {
    bool ok = false;
    const double valor = QLocale::c().toDouble(texto.trimmed(), &ok);
    if (!ok || !std::isfinite(valor))
        return std::nullopt;
    const double redondeado = std::nearbyint(valor); // half to even
    if (redondeado < -32768 || redondeado > 32767)
        return std::nullopt;
    return int(redondeado);
}

void CargarOpciones() {
    const Registro reg;
    Configuracion c;

    c.db_path = reg.leerOEscribir(QStringLiteral("db_path"), [&] {
        const QString maquina = reg.leerMaquina(QStringLiteral("db_path"));
        return maquina.isEmpty() ? prepararBasePorDefecto() : maquina;
    });
    c.doc_path = reg.leerOEscribir(QStringLiteral("doc_path"), [&] {
        QString carpeta = reg.leerMaquina(QStringLiteral("doc_path"));
        if (carpeta.isEmpty()) {
            carpeta = carpetaTarvoPorDefecto() + QStringLiteral("/presupuestos");
            crearCarpeta(carpeta);
        }
        return carpeta;
    });
    const std::pair<const char16_t*, QString*> textos[] = {
        {u"db_backup", &c.db_backup}, {u"logo_path", &c.logo_path}, {u"empresa", &c.empresa}};
    for (const auto& [nombre, valor] : textos) {
        const QVariant guardado = reg.valor(QString::fromUtf16(nombre));
        *valor = guardado.toString();
        if (!guardado.isValid())
            reg.escribir(QString::fromUtf16(nombre), QString());
    }

    const QString iva = reg.leer(QStringLiteral("iva"));
    const auto tasa = iva.isEmpty() ? std::optional<double>(0.0) : leerIva(iva);
    if (!tasa)
        avisar(QStringLiteral("El I.V.A. guardado en la configuración («%1») no es un número; se "
                              "usará 0.")
                   .arg(iva));
    c.iva = tasa.value_or(0.0);
    if (c.iva == 0.0 && iva != u"0.0")
        reg.escribir(QStringLiteral("iva"), QStringLiteral("0.0"));

    const QString aviso = reg.leer(QStringLiteral("aviso_dias"));
    const auto dias = leerDiasAviso(aviso);
    if (!dias && leerIva(aviso))
        avisar(QStringLiteral("Los días de aviso guardados en la configuración («%1») están fuera "
                              "del rango admitido; se usará 0.")
                   .arg(aviso));
    c.aviso_dias = dias.value_or(0);
    if (!dias && aviso != u"0")
        reg.escribir(QStringLiteral("aviso_dias"), QStringLiteral("0"));

    c.ultimo_login =
        reg.leerOEscribir(QStringLiteral("ultimo_login"), [] { return QStringLiteral("admin"); });

    c.db_motor = reg.leer(QStringLiteral("db_motor"));
    c.db_servidor = reg.leer(QStringLiteral("db_servidor"));
    c.db_puerto = reg.leer(QStringLiteral("db_puerto"));
    c.db_basedatos = reg.leer(QStringLiteral("db_basedatos"));
    c.db_usuario = reg.leer(QStringLiteral("db_usuario"));

    configuracion = c;
}
