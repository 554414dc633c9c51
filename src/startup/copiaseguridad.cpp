#include "startup/copiaseguridad.h"

#include "platform/archivos.h"
#include "platform/localizacion.h"
#include "platform/mensajes.h"
#include "platform/puntero.h"
#include "platform/reloj.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace {

// An exclusive hold on a database file: nobody else reads or writes while it
// lasts. Fails with SQLITE_BUSY when another connection holds a lock.
class BloqueoExclusivo {
public:
    explicit BloqueoExclusivo(const QString& ruta) {
        const QByteArray r = QFile::encodeName(ruta);
        codigo_ = sqlite3_open_v2(r.constData(), &bd_, SQLITE_OPEN_READWRITE, nullptr);
        if (codigo_ != SQLITE_OK)
            return;
        // Ride over a lock of a moment; a lock that stays means the file is in use.
        sqlite3_busy_timeout(bd_, 250);
        codigo_ = sqlite3_exec(bd_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
        if (codigo_ != SQLITE_OK)
            return;
        // Reading settles a journal left by an interrupted writer before copying.
        codigo_ =
            sqlite3_exec(bd_, "SELECT COUNT(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    ~BloqueoExclusivo() {
        if (bd_) {
            sqlite3_exec(bd_, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(bd_);
        }
    }
    bool obtenido() const { return codigo_ == SQLITE_OK; }
    // Why the hold failed, other than "in use".
    QString motivo(const QString& ruta) const {
        if (!QFileInfo(ruta).isFile())
            return QStringLiteral("no se encuentra la base de datos «%1».")
                .arg(QDir::toNativeSeparators(ruta));
        return QStringLiteral("no se puede abrir la base de datos (%1).")
            .arg(QString::fromUtf8(sqlite3_errstr(codigo_)));
    }
    bool enUso() const {
        return (codigo_ & 0xFF) == SQLITE_BUSY || (codigo_ & 0xFF) == SQLITE_LOCKED;
    }

private:
    sqlite3* bd_ = nullptr;
    int codigo_ = SQLITE_ERROR;
};

} // namespace

QString nombreCopiaSeguridad(const QDate& dia) {
    return QStringLiteral("bd2000") + localeTarvo().toString(dia, QStringLiteral("ddMMMyyyy")) +
           QStringLiteral(".mdb");
}

ResultadoCopia CopiaSeguridad(const QString& rutaBase, const QString& carpetaDestino) {
    PunteroEspera puntero;
    ResultadoCopia resultado = ResultadoCopia::Fallida;
    const QString destino = carpetaDestino + u'/' + nombreCopiaSeguridad(Reloj::hoy());
    QString motivo;
    {
        const BloqueoExclusivo bloqueo(rutaBase);
        if (bloqueo.obtenido()) {
            if (copiarArchivo(rutaBase, destino, motivo))
                resultado = ResultadoCopia::Hecha;
        } else if (bloqueo.enUso()) {
            resultado = ResultadoCopia::EnUso;
        } else {
            motivo = bloqueo.motivo(rutaBase);
        }
    }
    puntero.restaurar();
    const QString titulo = QStringLiteral("Copia de seguridad automática");
    if (resultado == ResultadoCopia::EnUso)
        mensaje(QStringLiteral("La copia de seguridad no se realizó porque la base de datos está "
                               "siendo utilizada por otro usuario."),
                Botones::Aceptar, Icono::Informacion, titulo);
    else if (resultado == ResultadoCopia::Fallida)
        mensaje(QStringLiteral("La copia de seguridad no se realizó en «%1»:\n%2")
                    .arg(QDir::toNativeSeparators(destino), motivo),
                Botones::Aceptar, Icono::Informacion, titulo);
    return resultado;
}
