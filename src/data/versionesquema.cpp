#include "data/versionesquema.h"

#include <QFile>

namespace {

QString leerGuion(const QString& ruta, QString& error) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("no se puede leer el paso «%1»").arg(ruta);
        return {};
    }
    return QString::fromUtf8(f.readAll());
}

// "tabla PRODUCTOS, columna ProDescripcion: «Ñandutí» y «ñandutí»", one line
// per group.
QString describirColisiones(const ColumnaUnica& c, const QList<QStringList>& grupos) {
    QString texto;
    for (const QStringList& grupo : grupos) {
        QStringList citados;
        for (const QString& v : grupo)
            citados << u'«' + v + u'»';
        const QString ultimo = citados.takeLast();
        texto += QStringLiteral("- tabla %1, columna %2: %3 y %4\n")
                     .arg(c.tabla, c.columna, citados.join(QStringLiteral(", ")), ultimo);
    }
    return texto;
}

} // namespace

const std::vector<PasoEsquema>& pasosEsquema() {
    // Version 2: the Spanish collation on every text column and the sort
    // indexes. The values of these columns must stay distinct under it.
    static const std::vector<PasoEsquema> pasos{
        {2,
         QStringLiteral(":/actualizaciones/version-2.sql"),
         {{QStringLiteral("CATEGORIAS"), QStringLiteral("CatDescripcion"), {}},
          {QStringLiteral("PRODUCTOS"), QStringLiteral("ProDescripcion"), {}},
          {QStringLiteral("PRODUCTOS"), QStringLiteral("ProCodigo"),
           QStringLiteral("ProCodigo IS NOT NULL AND ProCodigo <> ''")},
          {QStringLiteral("USUARIOS"), QStringLiteral("UsuLogin"), {}},
          {QStringLiteral("CONSULTAS_GUARDADAS"), QStringLiteral("Nombre"), {}}}},
        // Version 3: the history of each quote's status.
        {3, QStringLiteral(":/actualizaciones/version-3.sql"), {}},
        // Version 4: the index of the expiry day, which the expiry notice
        // counts through.
        {4, QStringLiteral(":/actualizaciones/version-4.sql"), {}},
        // Version 5: each quote's current status, kept by triggers on the
        // history, which the quote list filters and counts through.
        {5, QStringLiteral(":/actualizaciones/version-5.sql"), {}},
    };
    return pasos;
}

QString ResultadoActualizacion::texto() const {
    switch (estado) {
    case Estado::AlDia:
        return {};
    case Estado::Actualizada:
        return QStringLiteral("La base de datos se actualizó de la versión %1 a la versión %2. "
                              "La copia de la base de datos anterior quedó en «%3».")
            .arg(versionAnterior)
            .arg(versionNueva)
            .arg(copia);
    case Estado::MasNueva:
        return QStringLiteral("La base de datos es de la versión %1 y este programa solo conoce "
                              "hasta la versión %2: no se usará para no dañarla. Instale una "
                              "versión más reciente del programa.")
            .arg(versionAnterior)
            .arg(versionNueva);
    case Estado::Desconocida:
        return QStringLiteral("No se puede saber la versión de la base de datos: %1").arg(detalle);
    case Estado::EnUso:
        return QStringLiteral("La base de datos no se actualizó a la versión %1 porque otro "
                              "programa la está utilizando. Se seguirá trabajando con ella como "
                              "está y se intentará de nuevo en el próximo inicio.")
            .arg(versionNueva);
    case Estado::Colision:
        return QStringLiteral("La base de datos no se actualizó a la versión %1 porque la nueva "
                              "versión considera iguales estos valores, que deben ser únicos:\n"
                              "%2\nCambie uno de cada grupo en su ventana de mantenimiento "
                              "(por ejemplo, agregándole una letra). Mientras tanto se sigue "
                              "trabajando con la base de datos como está; la actualización se "
                              "intentará de nuevo en el próximo inicio.")
            .arg(versionNueva)
            .arg(detalle);
    case Estado::Fallida:
        return QStringLiteral("La base de datos no se actualizó a la versión %1 y quedó como "
                              "estaba: %2")
            .arg(versionNueva)
            .arg(detalle);
    }
    return {};
}

ResultadoActualizacion actualizarEsquema(BaseVersionada& base,
                                         const std::function<QString(int)>& rutaCopia,
                                         const std::vector<PasoEsquema>& pasos) {
    using Estado = ResultadoActualizacion::Estado;
    ResultadoActualizacion r;
    r.versionNueva = pasos.empty() ? 1 : pasos.back().version;
    // Everything from reading the version to the last step happens in one
    // transaction, so no other program commits a change in between.
    if (!base.comenzar()) {
        // A file that cannot be opened for writing (read only, damaged) stays
        // as it is, with the reason.
        r.estado = base.enUso() ? Estado::EnUso : Estado::Fallida;
        r.detalle = base.error();
        return r;
    }
    const auto terminar = [&](Estado estado, const QString& detalle = {}) {
        base.deshacer();
        r.estado = estado;
        r.detalle = detalle;
        return r;
    };
    r.versionAnterior = base.version();
    if (r.versionAnterior == versionesquema::kDesconocida)
        return terminar(Estado::Desconocida, base.error());
    if (r.versionAnterior > r.versionNueva)
        return terminar(Estado::MasNueva);
    if (r.versionAnterior == r.versionNueva)
        return terminar(Estado::AlDia);

    std::vector<const PasoEsquema*> pendientes;
    for (const PasoEsquema& paso : pasos)
        if (paso.version > r.versionAnterior)
            pendientes.push_back(&paso);

    QString colisiones;
    for (const PasoEsquema* paso : pendientes) {
        for (const ColumnaUnica& c : paso->unicas) {
            QList<QStringList> grupos;
            if (!base.colisiones(c, grupos))
                return terminar(Estado::Fallida, base.error());
            colisiones += describirColisiones(c, grupos);
        }
    }
    if (!colisiones.isEmpty())
        return terminar(Estado::Colision, colisiones);

    r.copia = rutaCopia(pendientes.front()->version);
    if (!base.guardarCopia(r.copia))
        return terminar(Estado::Fallida,
                        QStringLiteral("no se pudo guardar la copia previa en «%1» (%2).")
                            .arg(r.copia, base.error()));
    for (const PasoEsquema* paso : pendientes) {
        QString error;
        const QString sql = leerGuion(paso->guion, error);
        if (sql.isEmpty())
            return terminar(Estado::Fallida, error);
        if (!base.ejecutarGuion(sql) || !base.fijarVersion(paso->version))
            return terminar(Estado::Fallida, QStringLiteral("el paso a la versión %1 falló (%2).")
                                                 .arg(paso->version)
                                                 .arg(base.error()));
    }
    if (!base.comprobarReferencias() || !base.confirmar())
        return terminar(Estado::Fallida, base.error());
    r.estado = Estado::Actualizada;
    return r;
}
