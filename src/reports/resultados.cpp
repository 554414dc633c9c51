#include "reports/resultados.h"

#include "data/cotejo.h"
#include "data/entornodatos.h"
#include "data/modconexion.h"
#include "platform/localizacion.h"
#include "reports/formatos.h"
#include "reports/informe.h"

#include <QHash>

#include <algorithm>
#include <map>
#include <vector>

namespace {

// Offered and accepted amount of one currency.
struct Importes {
    double ofrecido = 0;
    double aceptado = 0;
};

struct Cifras {
    QString nombre;
    qint64 presupuestos = 0;
    qint64 aceptados = 0;
    qint64 rechazados = 0;
    std::map<QString, Importes> monedas; // by currency, upper-cased
};

// Where a quote's line amounts go: its group, and the totals.
struct Destino {
    Cifras* grupo;
    bool aceptado;
};

// Reads on the data environment's connection, as every report does; a
// failure is reported and answered with nothing.
std::shared_ptr<const TablaResultado> leer(const QString& sql, const QVariantList& valores) {
    Conexion* con = dteBodex().farmacia();
    if (!con)
        return nullptr;
    const ResultadoSentencia r = con->ejecutar(sql, valores);
    if (!r.ok || !r.filas) {
        for (const ErrorProveedor& e : con->errores())
            MostrarError(e);
        return nullptr;
    }
    return r.filas;
}

QString tituloMes(int mes) {
    const QString nombre = localeTarvo().standaloneMonthName(mes % 100, QLocale::LongFormat);
    return nombre.left(1).toUpper() + nombre.mid(1) + QStringLiteral(" de ") +
           QString::number(mes / 100);
}

class Tablas {
public:
    Tablas() {
        meses_ = std::make_shared<TablaResultado>();
        meses_->agregarColumna(QStringLiteral("Mes"), TipoColumna::General);
        meses_->agregarColumna(QStringLiteral("Titulo"), TipoColumna::General);
        lineas_ = std::make_shared<TablaResultado>();
        for (const char* c : {"Mes", "Nombre", "Presupuestos", "Aceptados", "Rechazados",
                              "Porcentaje", "Moneda", "Ofrecido", "Aceptado"})
            lineas_->agregarColumna(QString::fromLatin1(c), TipoColumna::General);
    }

    void mes(int clave, const QString& titulo) {
        meses_->agregarEntero(clave);
        meses_->agregarTexto(titulo.toStdString());
    }

    void cifras(int mes, const Cifras& c) {
        bool primera = true;
        auto fila = [&](const QString& moneda, const Importes* i) {
            lineas_->agregarEntero(mes);
            if (primera) {
                lineas_->agregarTexto(c.nombre.toStdString());
                lineas_->agregarEntero(c.presupuestos);
                lineas_->agregarEntero(c.aceptados);
                lineas_->agregarEntero(c.rechazados);
                lineas_->agregarTexto(porcentajeAceptado(c.aceptados, c.rechazados).toStdString());
            } else {
                for (int k = 0; k < 5; ++k)
                    lineas_->agregarNulo();
            }
            primera = false;
            lineas_->agregarTexto(moneda.toStdString());
            if (i) {
                lineas_->agregarTexto(formatos::importe(i->ofrecido).toStdString());
                lineas_->agregarTexto(formatos::importe(i->aceptado).toStdString());
            } else {
                lineas_->agregarNulo();
                lineas_->agregarNulo();
            }
        };
        // Quotes without lines offer nothing: their counts still get a line.
        if (c.monedas.empty())
            fila(QString(), nullptr);
        for (const auto& [moneda, i] : c.monedas)
            fila(moneda, &i);
    }

    Registros registros() {
        Capitulo capitulo;
        capitulo.nombre = QStringLiteral("Lineas");
        capitulo.columnaPadre = 0;
        capitulo.columnaHija = 0;
        for (int f = 0; f < lineas_->filas(); ++f)
            capitulo.filasPorClave[lineas_->clave(f, 0)].push_back(f);
        capitulo.hija = lineas_;
        meses_->agregarCapitulo(std::move(capitulo));
        return Registros(meses_, QStringLiteral("Resultados de presupuestos"));
    }

private:
    std::shared_ptr<TablaResultado> meses_;
    std::shared_ptr<TablaResultado> lineas_;
};

bool antes(const Cifras* a, const Cifras* b) {
    return cotejo::compararUtf16({QStringView(a->nombre).utf16(), size_t(a->nombre.size())},
                                 {QStringView(b->nombre).utf16(), size_t(b->nombre.size())}) < 0;
}

} // namespace

QString porcentajeAceptado(qint64 aceptados, qint64 rechazados) {
    const qint64 decididos = aceptados + rechazados;
    if (decididos <= 0)
        return QStringLiteral("—");
    return QStringLiteral("%1 %").arg(
        qint64(formatos::redondear(100.0 * double(aceptados) / double(decididos))));
}

std::optional<Registros> filasResultados(const PeticionResultados& p) {
    // Dates are compared as day numbers: up to the start of the day after
    // the last one, so that a stored time of day cannot leave a quote out.
    const QVariantList periodo{p.desde, p.hasta.addDays(1)};
    const auto presupuestos =
        leer(QStringLiteral("SELECT p.PreId, p.PreFecha, p.EmpId, p.UsuLogin, c.EmpNombreFantasia "
                            "FROM PRESUPUESTOS p LEFT JOIN CONTACTOS c ON c.EmpId = p.EmpId "
                            "WHERE p.PreFecha >= ? AND p.PreFecha < ?"),
             periodo);
    if (!presupuestos)
        return std::nullopt;
    const auto estados =
        leer(QStringLiteral("SELECT e.PreId, e.EstEstado FROM PRESUPUESTOS_ESTADOS e INNER JOIN "
                            "(SELECT u.PreId, MAX(u.EstId) AS Ultimo FROM PRESUPUESTOS_ESTADOS u "
                            "INNER JOIN PRESUPUESTOS q ON q.PreId = u.PreId WHERE q.PreFecha >= ? "
                            "AND q.PreFecha < ? GROUP BY u.PreId) m ON e.EstId = m.Ultimo"),
             periodo);
    if (!estados)
        return std::nullopt;
    const auto lineas = leer(
        QStringLiteral("SELECT pp.PreId, pp.PreProMoneda, SUM(pp.PreProPrecio * "
                       "pp.PreProCantidad) AS Importe FROM PRESUPUESTOS_PRODUCTOS pp INNER JOIN "
                       "PRESUPUESTOS p ON p.PreId = pp.PreId WHERE p.PreFecha >= ? AND "
                       "p.PreFecha < ? GROUP BY pp.PreId, pp.PreProMoneda"),
        periodo);
    if (!lineas)
        return std::nullopt;

    QHash<qint64, QString> estadoDe;
    estadoDe.reserve(estados->filas());
    for (int f = 0; f < estados->filas(); ++f)
        estadoDe.insert(estados->valor(f, 0).toLongLong(), estados->texto(f, 1).trimmed());

    const bool porCliente = p.agrupacion == AgrupacionResultados::PorCliente;
    // Month (yyyymm) -> group key -> figures. Map nodes stay where they are,
    // so the quotes can point at their group.
    std::map<int, std::map<QString, Cifras>> meses;
    Cifras total;
    total.nombre = QStringLiteral("Total");
    QHash<qint64, Destino> destinos;
    destinos.reserve(presupuestos->filas());
    for (int f = 0; f < presupuestos->filas(); ++f) {
        const qint64 id = presupuestos->valor(f, 0).toLongLong();
        const QString estado = estadoDe.value(id);
        if (estado.compare(u"Reemplazado", Qt::CaseInsensitive) == 0)
            continue;
        const QDate fecha = presupuestos->valor(f, 1).toDate();
        if (!fecha.isValid())
            continue;
        QString clave, nombre;
        if (porCliente) {
            clave = presupuestos->texto(f, 2);
            nombre = presupuestos->esNulo(f, 4) ? QStringLiteral("(contacto borrado)")
                                                : presupuestos->texto(f, 4);
        } else {
            nombre = presupuestos->texto(f, 3).trimmed().toUpper();
            if (nombre.isEmpty())
                nombre = QStringLiteral("(sin usuario)");
            clave = nombre;
        }
        Cifras& grupo = meses[fecha.year() * 100 + fecha.month()][clave];
        grupo.nombre = nombre;
        const bool aceptado = estado.compare(u"Aceptado", Qt::CaseInsensitive) == 0;
        const bool rechazado = estado.compare(u"Rechazado", Qt::CaseInsensitive) == 0;
        for (Cifras* c : {&grupo, &total}) {
            ++c->presupuestos;
            c->aceptados += aceptado;
            c->rechazados += rechazado;
        }
        destinos.insert(id, {&grupo, aceptado});
    }
    for (int f = 0; f < lineas->filas(); ++f) {
        const auto d = destinos.constFind(lineas->valor(f, 0).toLongLong());
        if (d == destinos.cend())
            continue; // a replaced quote's
        const QString moneda = lineas->texto(f, 1).trimmed().toUpper();
        const double monto = lineas->valor(f, 2).toDouble();
        for (Cifras* c : {d->grupo, &total}) {
            Importes& i = c->monedas[moneda];
            i.ofrecido += monto;
            if (d->aceptado)
                i.aceptado += monto;
        }
    }

    Tablas tablas;
    for (const auto& [mes, grupos] : meses) {
        tablas.mes(mes, tituloMes(mes));
        std::vector<const Cifras*> orden;
        orden.reserve(grupos.size());
        for (const auto& [clave, c] : grupos)
            orden.push_back(&c);
        std::stable_sort(orden.begin(), orden.end(), antes);
        for (const Cifras* c : orden)
            tablas.cifras(mes, *c);
    }
    constexpr int kTotales = 999999;
    tablas.mes(kTotales, QStringLiteral("Total del período"));
    tablas.cifras(kTotales, total);
    return tablas.registros();
}

void prepararInformeResultados(Informe& informe, const PeticionResultados& peticion) {
    const bool porCliente = peticion.agrupacion == AgrupacionResultados::PorCliente;
    DefinicionInforme& d = informe.definicion();
    if (Control* periodo = d.control(QStringLiteral("lblPeriodo")))
        periodo->texto =
            QStringLiteral("Del %1 al %2, por %3")
                .arg(formatos::fechaCorta(peticion.desde), formatos::fechaCorta(peticion.hasta),
                     porCliente ? QStringLiteral("cliente") : QStringLiteral("usuario"));
    if (Control* columna = d.control(QStringLiteral("lblColumna1")))
        columna->texto = porCliente ? QStringLiteral("Cliente:") : QStringLiteral("Usuario:");
    informe.establecerOrigen([peticion] { return filasResultados(peticion); });
}
