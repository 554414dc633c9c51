#include "data/marcasedicion.h"

#include "data/conexionpostgres.h"

#include <QSysInfo>

namespace {

// The first key of the program's advisory locks on quotes ("Tarv" read as a
// number); the second is the quote's key.
constexpr qint32 kClaveMarcas = 0x54617276;

// One desk per file: every mark is free.
class MarcasLibres final : public MarcasEdicion {
public:
    Toma tomar(qint32, const QString&, const QString&) override { return Toma::Tomada; }
    void soltar(qint32) override {}
    std::optional<MarcaEdicion> quien(qint32) override { return std::nullopt; }
};

// A session-level advisory lock per quote being edited; the server releases
// it when the session ends. TARVO_EDICIONES only names the holder.
class MarcasServidor final : public MarcasEdicion {
public:
    explicit MarcasServidor(Conexion& c) : c_(c) {}

    Toma tomar(qint32 preId, const QString& usuario, const QString& puesto) override {
        // A lock taken twice in one session must be released twice: a mark
        // this desk holds already is not taken again.
        const ResultadoSentencia r = c_.ejecutar(
            QStringLiteral("SELECT CASE WHEN EXISTS (SELECT 1 FROM pg_locks WHERE locktype = "
                           "'advisory' AND pid = pg_backend_pid() AND granted AND objsubid = 2 "
                           "AND classid = ?1 AND objid = ?2) THEN true ELSE "
                           "pg_try_advisory_lock(?1, ?2) END"),
            {kClaveMarcas, preId});
        if (!r.ok || !r.filas || r.filas->filas() != 1) {
            errores_ = c_.errores();
            return Toma::Fallo;
        }
        if (!r.filas->valor(0, 0).toBool())
            return Toma::Ocupada;
        const ResultadoSentencia fila = c_.ejecutar(
            QStringLiteral("INSERT INTO TARVO_EDICIONES (PreId, UsuLogin, Puesto, Desde) VALUES "
                           "(?, ?, ?, now()) ON CONFLICT (PreId) DO UPDATE SET UsuLogin = "
                           "EXCLUDED.UsuLogin, Puesto = EXCLUDED.Puesto, Desde = EXCLUDED.Desde"),
            {preId, usuario, puesto});
        if (fila.ok)
            return Toma::Tomada;
        // Without its row nobody could be told who holds the mark.
        errores_ = c_.errores();
        soltar(preId);
        return Toma::Fallo;
    }

    void soltar(qint32 preId) override {
        c_.ejecutar(QStringLiteral("SELECT pg_advisory_unlock(?, ?)"), {kClaveMarcas, preId});
    }

    std::optional<MarcaEdicion> quien(qint32 preId) override {
        const ResultadoSentencia r =
            c_.ejecutar(QStringLiteral("SELECT UsuLogin, Puesto, EXTRACT(EPOCH FROM Desde) FROM "
                                       "TARVO_EDICIONES WHERE PreId = ?"),
                        {preId});
        if (!r.ok || !r.filas) {
            errores_ = c_.errores();
            return std::nullopt;
        }
        if (r.filas->filas() == 0)
            return MarcaEdicion{};
        return MarcaEdicion{
            r.filas->texto(0, 0), r.filas->texto(0, 1),
            QDateTime::fromMSecsSinceEpoch(qint64(r.filas->valor(0, 2).toDouble() * 1000.0))};
    }

private:
    Conexion& c_;
};

} // namespace

std::unique_ptr<MarcasEdicion> marcasEdicion(Conexion& conexion) {
    if (dynamic_cast<ConexionPostgres*>(&conexion))
        return std::make_unique<MarcasServidor>(conexion);
    return std::make_unique<MarcasLibres>();
}

QString puestoActual() {
    return QSysInfo::machineHostName();
}
