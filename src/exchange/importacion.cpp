#include "exchange/importacion.h"

#include "data/modconexion.h"
#include "data/transaccion.h"
#include "exchange/valoresbodex.h"
#include "platform/mensajes.h"

#include <QHash>

namespace {

using namespace bodex;

// Rows written between two calls of the progress display.
constexpr int kLote = 250;
// Characters of a refused value that its message shows.
constexpr int kMuestraValor = 60;

const QString kNadaImportado =
    QStringLiteral("No se importó ningún dato: la base de datos quedó como estaba.");

void informarFallo(const QString& texto) {
    mensaje(texto + QStringLiteral("\r\n") + kNadaImportado, Botones::Aceptar, Icono::Exclamacion,
            QStringLiteral("Importación"));
}

// A source id as a key; false when the value is not a number.
bool clave(const QVariant& valor, qint64& k) {
    bool ok = false;
    k = valor.isNull() ? 0 : valor.toLongLong(&ok);
    return ok;
}

class Importador {
public:
    explicit Importador(const ProgresoImportacion& progreso) : progreso_(progreso) {}
    ResultadoImportacion ejecutar(const QString& dsn, const QString& password);

private:
    enum class Paso { Hecho, Fallo, Cancelado };

    bool avisar(const QString& texto, int hechas, int total) const {
        return !progreso_ || progreso_({texto, hechas, total});
    }
    Paso leer(Tabla tabla, Registros& filas);
    // Every number and yes/no value as the source stores it fits its column.
    Paso comprobar(Tabla tabla, const Registros& filas);
    Paso escribir(Tabla tabla, Registros& filas);
    QVariant referencia(Tabla destino, const QVariant& fuente, const QVariant& sinPareja) const;
    ResultadoImportacion terminar(FinImportacion fin) {
        resultado_.fin = fin;
        return resultado_;
    }

    const ProgresoImportacion& progreso_;
    // Source id -> the id the row got here, per table.
    std::array<QHash<qint64, qint64>, kTablas> ids_;
    ResultadoImportacion resultado_;
    QString fallo_;
};

Importador::Paso Importador::leer(Tabla tabla, Registros& filas) {
    const DefinicionTabla& def = tablas()[tabla];
    if (!avisar(QStringLiteral("Leyendo ") + def.plural.toLower() + QStringLiteral(" de Bodex"), 0,
                0))
        return Paso::Cancelado;
    RegistrosPtr rs;
    AbrirConsultaOrigen(def.consulta, rs);
    if (!rs->abierto() || rs->cantidadCampos() < def.columnas) {
        fallo_ =
            QStringLiteral("No se pudo leer la tabla de %1 de Bodex.").arg(def.plural.toLower());
        CerrarConsulta(rs, true);
        return Paso::Fallo;
    }
    filas = *rs;
    CerrarConsulta(rs, false);
    return comprobar(tabla, filas);
}

Importador::Paso Importador::comprobar(Tabla tabla, const Registros& filas) {
    const QString sql = consultaComprobacion(tabla);
    Conexion* origen = conexionOrigen();
    if (sql.isEmpty() || !origen)
        return Paso::Hecho;
    const ResultadoSentencia r = origen->ejecutar(sql);
    // A source that cannot give its values as text keeps them in columns of
    // their own type: what was read is what it holds.
    if (!r.ok || !r.filas)
        return Paso::Hecho;
    const QString& clases = tablas()[tabla].clases;
    const QList<int> columnas = columnasComprobadas(tabla);
    if (r.filas->filas() != filas.cantidad() || r.filas->columnas() != columnas.size()) {
        fallo_ =
            QStringLiteral("La tabla %1 de Bodex cambió mientras se leía.").arg(nombreTabla(tabla));
        return Paso::Fallo;
    }
    for (int f = 0; f < r.filas->filas(); ++f) {
        for (int k = 0; k < columnas.size(); ++k) {
            const int c = columnas[k];
            const QVariant guardado = r.filas->valor(f, k);
            const QString problema = problemaValor(clases[c], guardado, filas.valor(f + 1, c));
            if (problema.isEmpty())
                continue;
            QString valor = guardado.toString();
            if (valor.size() > kMuestraValor)
                valor = valor.left(kMuestraValor) + u'…';
            fallo_ =
                QStringLiteral("En la tabla %1 de Bodex, fila %2, columna %3, el valor «%4» %5.")
                    .arg(nombreTabla(tabla))
                    .arg(f + 1)
                    .arg(nombreColumna(tabla, c), valor, problema);
            return Paso::Fallo;
        }
    }
    return Paso::Hecho;
}

QVariant Importador::referencia(Tabla destino, const QVariant& fuente,
                                const QVariant& sinPareja) const {
    if (fuente.isNull())
        return fuente;
    qint64 k = 0;
    if (!clave(fuente, k))
        return sinPareja;
    const auto it = ids_[destino].constFind(k);
    return it == ids_[destino].cend() ? sinPareja : QVariant(*it);
}

Importador::Paso Importador::escribir(Tabla tabla, Registros& filas) {
    const DefinicionTabla& def = tablas()[tabla];
    const QString texto = QStringLiteral("Importando ") + def.plural.toLower();
    const int total = filas.cantidad();
    if (!avisar(texto, 0, total))
        return Paso::Cancelado;
    RegistrosPtr devuelto;
    int hechas = 0;
    QVariantList fila;
    for (filas.moverPrimero(); filas.posicionAbsoluta() > 0; filas.moverSiguiente()) {
        fila.clear();
        for (int c = 0; c < def.columnas; ++c)
            fila.append(filas.campo(c));
        if (tabla == Productos) {
            // A category the source does not have becomes 0, which no category
            // has: the product stays without one rather than joining another.
            fila[kProductoCategoria] = referencia(Categorias, fila[kProductoCategoria], 0);
            fila[kProductoProveedor] = referencia(Proveedores, fila[kProductoProveedor], {});
        }
        const auto fallo = [&] {
            fallo_ = QStringLiteral("No se pudo importar %1 \"%2\".")
                         .arg(def.elemento, fila.value(def.columnaNombre).toString());
            CerrarConsulta(devuelto, true);
            return Paso::Fallo;
        };
        if (EjecutarProcedimiento(def.insertar, devuelto, valoresInsertar(tabla, fila)) != 1)
            return fallo();
        const qint64 id = conexion()->ultimoIdInsertado();
        if (qint64 k = 0; clave(fila[0], k))
            ids_[tabla].insert(k, id);
        ++resultado_.importadas[tabla];
        if (fila[def.columnas - 1].toBool() &&
            EjecutarProcedimiento(def.actualizar, devuelto, valoresActualizar(tabla, fila, id)) !=
                1)
            return fallo();
        if (++hechas % kLote == 0 && !avisar(texto, hechas, total)) {
            CerrarConsulta(devuelto, true);
            return Paso::Cancelado;
        }
    }
    CerrarConsulta(devuelto, true);
    return avisar(texto, total, total) ? Paso::Hecho : Paso::Cancelado;
}

ResultadoImportacion Importador::ejecutar(const QString& dsn, const QString& password) {
    try {
        AbrirConexionOrigen(dsn, password);
    } catch (const ExcepcionBaseDatos& e) {
        mensaje(QStringLiteral("No se puede abrir el origen de datos \"%1\" de Bodex.\r\n%2\r\n"
                               "Verifique que Bodex esté instalado, que exista su origen de datos "
                               "ODBC \"%1\" y que la contraseña sea la correcta.")
                    .arg(dsn, e.error().descripcion),
                Botones::Aceptar, Icono::Exclamacion, QStringLiteral("Importación"));
        return terminar(FinImportacion::SinOrigen);
    }
    const auto cancelada = [this] {
        mensaje(QStringLiteral("Importación cancelada.\r\n") + kNadaImportado, Botones::Aceptar,
                Icono::Informacion, QStringLiteral("Importación"));
        return terminar(FinImportacion::Cancelada);
    };

    std::array<Registros, kTablas> filas;
    for (const Tabla tabla : {Categorias, Productos, Sectores, Proveedores}) {
        const Paso paso = leer(tabla, filas[tabla]);
        if (paso == Paso::Cancelado)
            return cancelada();
        if (paso == Paso::Fallo) {
            informarFallo(fallo_);
            return terminar(FinImportacion::Fallida);
        }
    }

    Transaccion transaccion(conexion());
    if (!transaccion.iniciada()) {
        informarErrores(transaccion.errores());
        informarFallo(QStringLiteral("No se pudo comenzar la importación."));
        return terminar(FinImportacion::Fallida);
    }
    for (const Tabla tabla : {Categorias, Proveedores, Productos, Sectores}) {
        const Paso paso = escribir(tabla, filas[tabla]);
        if (paso == Paso::Cancelado) {
            transaccion.deshacer();
            return cancelada();
        }
        if (paso == Paso::Fallo) {
            transaccion.deshacer();
            informarFallo(fallo_);
            return terminar(FinImportacion::Fallida);
        }
    }
    if (!transaccion.confirmar()) {
        informarErrores(transaccion.errores());
        informarFallo(QStringLiteral("No se pudieron guardar los datos importados."));
        return terminar(FinImportacion::Fallida);
    }
    const auto& n = resultado_.importadas;
    mensaje(QStringLiteral("Importación terminada.\r\n\r\nCategorías: %1\r\nProductos: %2\r\n"
                           "Sectores: %3\r\nProveedores: %4")
                .arg(n[Categorias])
                .arg(n[Productos])
                .arg(n[Sectores])
                .arg(n[Proveedores]),
            Botones::Aceptar, Icono::Informacion, QStringLiteral("Resultado"));
    return terminar(FinImportacion::Terminada);
}

} // namespace

ResultadoImportacion importarBodex(const QString& dsn, const QString& password,
                                   const ProgresoImportacion& progreso) {
    return Importador(progreso).ejecutar(dsn, password);
}
