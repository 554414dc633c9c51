#pragma once

#include <QString>
#include <QVariant>

// Registry access over Qt's settings files. A key path "Software\<org>\<app>\…"
// names the settings file of organisation <org> and application <app> (the
// rest of the path are groups inside it); the current user's root is the
// per-user store (~/.config), and the classes root is the machine-wide store
// (/etc/xdg), which is read only. Failures never raise: reads give the empty
// result (an invalid QVariant), writes a non-zero status.
class cQueryReg {
public:
    // Root handles, with the platform's predefined values.
    enum Raiz : quint32 {
        HKEY_CLASSES_ROOT = 0x80000000,
        HKEY_CURRENT_USER = 0x80000001,
        HKEY_LOCAL_MACHINE = 0x80000002,
        HKEY_USERS = 0x80000003,
        HKEY_PERFORMANCE_DATA = 0x80000004,
        HKEY_CURRENT_CONFIG = 0x80000005,
        HKEY_DYN_DATA = 0x80000006,
    };
    enum Tipo : int { REG_SZ = 1, REG_BINARY = 3, REG_DWORD = 4 };

    // Status codes of SetReg.
    static constexpr long kExito = 0;
    static constexpr long kNoEncontrado = 2;
    static constexpr long kAccesoDenegado = 5;
    static constexpr long kTipoInvalido = 87;

    // Text for REG_SZ; for REG_DWORD the number (quint32), or with `comoTexto`
    // "0x00000010 (16)"; for REG_BINARY the bytes, or with `comoTexto` each
    // byte as two hex digits and a space. Invalid when the key or value is
    // missing (an empty string value gives empty text, which is valid).
    QVariant GetReg(const QString& clave, const QString& nombre, quint32 raiz,
                    bool comoTexto) const;

    // Writes a value of type 1, 3 or 4; `estado` receives 0 on success.
    void SetReg(const QString& clave, const QString& nombre, const QVariant& valor, quint32 raiz,
                int tipo, bool crear, long& estado) const;

    // Where a key path and root handle lead: the root after resolution and the
    // path without any root prefix.
    struct Destino {
        quint32 raiz;
        QString ruta;
    };
    static Destino resolver(const QString& clave, quint32 raiz);
};
