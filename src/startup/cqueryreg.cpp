#include "startup/cqueryreg.h"

#include <QFileInfo>
#include <QSettings>

#include <memory>

namespace {

// Prefixes that tag the values whose type a plain INI file cannot keep.
const QString kPrefijoDword = QStringLiteral("dword:");
const QString kPrefijoTexto = QStringLiteral("sz:");

quint32 raizPorNombre(const QString& nombre) {
    const QString n = nombre.toUpper();
    if (n == u"HKEY_CURRENT_USER")
        return cQueryReg::HKEY_CURRENT_USER;
    if (n == u"HKEY_USERS")
        return cQueryReg::HKEY_USERS;
    if (n == u"HKEY_CURRENT_CONFIG")
        return cQueryReg::HKEY_CURRENT_CONFIG;
    if (n == u"HKEY_DYN_DATA")
        return cQueryReg::HKEY_DYN_DATA;
    return cQueryReg::HKEY_CLASSES_ROOT;
}

// The settings file behind a resolved key, with the group of the key inside
// it; null for roots this platform does not have.
struct Almacen {
    std::unique_ptr<QSettings> ajustes;
    QString grupo;
    bool soloLectura = false;
};

Almacen abrir(const cQueryReg::Destino& destino) {
    Almacen a;
    QSettings::Scope alcance;
    if (destino.raiz == cQueryReg::HKEY_CURRENT_USER) {
        alcance = QSettings::UserScope;
    } else if (destino.raiz == cQueryReg::HKEY_CLASSES_ROOT) {
        alcance = QSettings::SystemScope;
        a.soloLectura = true;
    } else {
        return a;
    }
    QStringList partes = destino.ruta.split(u'\\', Qt::SkipEmptyParts);
    QString organizacion = QStringLiteral("Varnel Software");
    QString aplicacion = QStringLiteral("registro");
    if (partes.size() >= 3 && partes[0].compare(u"Software", Qt::CaseInsensitive) == 0) {
        organizacion = partes[1];
        aplicacion = partes[2];
        partes = partes.mid(3);
    }
    a.ajustes =
        std::make_unique<QSettings>(QSettings::NativeFormat, alcance, organizacion, aplicacion);
    a.ajustes->setFallbacksEnabled(false);
    a.grupo = partes.join(u'/');
    return a;
}

QString claveCompleta(const Almacen& a, const QString& nombre) {
    // The unnamed value of a key is kept as "(Predeterminado)".
    const QString n = nombre.isEmpty() ? QStringLiteral("(Predeterminado)") : nombre;
    return a.grupo.isEmpty() ? n : a.grupo + u'/' + n;
}

// Qt does not report a settings path that is not a file (a folder, say).
bool archivoEscribible(const QString& ruta) {
    const QFileInfo info(ruta);
    if (info.exists())
        return info.isFile() && info.isWritable();
    const QFileInfo carpeta(info.absolutePath());
    return !carpeta.exists() || (carpeta.isDir() && carpeta.isWritable());
}

bool claveExiste(QSettings& ajustes, const QString& grupo) {
    if (grupo.isEmpty())
        return true;
    ajustes.beginGroup(grupo);
    const bool existe = !ajustes.childKeys().isEmpty() || !ajustes.childGroups().isEmpty();
    ajustes.endGroup();
    return existe;
}

} // namespace

cQueryReg::Destino cQueryReg::resolver(const QString& clave, quint32 raiz) {
    if (clave.contains(QStringLiteral("HKEY_"), Qt::CaseInsensitive)) {
        const qsizetype barra = clave.indexOf(u'\\');
        if (barra < 0)
            return {raizPorNombre(clave), QString()};
        return {raizPorNombre(clave.left(barra)), clave.mid(barra + 1)};
    }
    static const struct {
        const char16_t* prefijo;
        quint32 raiz;
    } prefijos[] = {
        {u"HKCR\\", HKEY_CLASSES_ROOT},   {u"HKCU\\", HKEY_CURRENT_USER},
        {u"HKLM\\", HKEY_CURRENT_USER},   {u"HKU\\", HKEY_USERS},
        {u"HKCC\\", HKEY_CURRENT_CONFIG}, {u"HKDD\\", HKEY_DYN_DATA},
    };
    for (const auto& p : prefijos) {
        const QString prefijo = QString::fromUtf16(p.prefijo);
        if (clave.startsWith(prefijo, Qt::CaseInsensitive))
            return {p.raiz, clave.mid(prefijo.size())};
    }
    switch (raiz) {
    case HKEY_CLASSES_ROOT:
    case HKEY_CURRENT_USER:
    case HKEY_USERS:
    case HKEY_CURRENT_CONFIG:
    case HKEY_DYN_DATA:
        return {raiz, clave};
    default:
        return {HKEY_CLASSES_ROOT, clave};
    }
}

QVariant cQueryReg::GetReg(const QString& clave, const QString& nombre, quint32 raiz,
                           bool comoTexto) const {
    Almacen a = abrir(resolver(clave, raiz));
    if (!a.ajustes || a.ajustes->status() != QSettings::NoError)
        return {};
    const QVariant v = a.ajustes->value(claveCompleta(a, nombre));
    if (!v.isValid())
        return {};
    if (v.typeId() == QMetaType::QByteArray) {
        const QByteArray bytes = v.toByteArray();
        if (!comoTexto)
            return bytes;
        QString texto;
        for (const char b : bytes)
            texto += QStringLiteral("%1 ")
                         .arg(uint(static_cast<unsigned char>(b)), 2, 16, QChar(u'0'))
                         .toUpper();
        return texto;
    }
    if (v.typeId() != QMetaType::QString)
        return {};
    const QString texto = v.toString();
    if (texto.startsWith(kPrefijoTexto))
        return texto.mid(kPrefijoTexto.size());
    if (texto.startsWith(kPrefijoDword)) {
        bool ok = false;
        const quint32 numero = texto.mid(kPrefijoDword.size()).toUInt(&ok, 16);
        if (!ok)
            return {};
        if (!comoTexto)
            return numero;
        return QStringLiteral("0x") +
               QStringLiteral("%1").arg(numero, 8, 16, QChar(u'0')).toUpper() +
               QStringLiteral(" (%1)").arg(numero);
    }
    return texto;
}

void cQueryReg::SetReg(const QString& clave, const QString& nombre, const QVariant& valor,
                       quint32 raiz, int tipo, bool crear, long& estado) const {
    Almacen a = abrir(resolver(clave, raiz));
    if (!a.ajustes) {
        estado = kNoEncontrado;
        return;
    }
    if (a.soloLectura || !a.ajustes->isWritable() || !archivoEscribible(a.ajustes->fileName())) {
        estado = kAccesoDenegado;
        return;
    }
    if (!crear && !claveExiste(*a.ajustes, a.grupo)) {
        estado = kNoEncontrado;
        return;
    }
    const QString k = claveCompleta(a, nombre);
    switch (tipo) {
    case REG_SZ: {
        const QString texto = valor.toString();
        const bool ambiguo = texto.startsWith(kPrefijoDword) || texto.startsWith(kPrefijoTexto);
        a.ajustes->setValue(k, ambiguo ? kPrefijoTexto + texto : texto);
        break;
    }
    case REG_BINARY:
        a.ajustes->setValue(k, valor.toByteArray());
        break;
    case REG_DWORD: {
        bool ok = false;
        const qlonglong n = valor.toLongLong(&ok);
        if (!ok || n < -2147483648LL || n > 4294967295LL) {
            estado = kTipoInvalido;
            return;
        }
        a.ajustes->setValue(k, kPrefijoDword +
                                   QStringLiteral("%1").arg(quint32(n), 8, 16, QChar(u'0')));
        break;
    }
    default:
        estado = kTipoInvalido;
        return;
    }
    a.ajustes->sync();
    estado = a.ajustes->status() == QSettings::NoError ? kExito : kAccesoDenegado;
}
