#include "quotes/repositoriopresupuestos.h"

#include "data/modconexion.h"
#include "data/transaccion.h"
#include "quotes/estadospresupuesto.h"
#include "quotes/numeros.h"

#include <QRegularExpression>

#include <functional>

namespace {

using Leido = RepositorioPresupuestos::Leido;

// One read: Fallo when it failed (reported), No when it found no row,
// otherwise `leer` takes the open result.
Leido leer(const QString& sql, const QVariantList& valores,
           const std::function<void(const Registros&)>& leerFilas) {
    RegistrosPtr rs;
    AbrirConsulta(sql, rs, valores);
    if (rs->fallido())
        return Leido::Fallo;
    const bool hay = rs->posicionAbsoluta() > 0;
    if (hay)
        leerFilas(*rs);
    CerrarConsulta(rs, true);
    return hay ? Leido::Si : Leido::No;
}

std::optional<double> numeroONulo(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    return v.toDouble();
}

std::optional<qint32> enteroONulo(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    return v.toInt();
}

// How the 22 values of a quote are taken from the record, in the order of
// the stored queries' parameters.
struct ValorGuardado {
    const char* parametro;
    QVariant (*valor)(const Presupuesto&, const QString& usuario);
};

QVariant otroPrecio(const Presupuesto& p, size_t i) {
    const auto& v = p.otros[i].importe;
    return v ? QVariant(*v) : QVariant();
}

constexpr ValorGuardado kValoresGuardado[] = {
    {"pNumero", [](const Presupuesto& p, const QString&) { return QVariant(p.numero); }},
    {"pLugar", [](const Presupuesto& p, const QString&) { return QVariant(p.lugar); }},
    // A quote loaded without a date is stored again without one.
    {"pFecha", [](const Presupuesto& p,
                  const QString&) { return p.fecha.isValid() ? QVariant(p.fecha) : QVariant(); }},
    {"pSaludo", [](const Presupuesto& p, const QString&) { return QVariant(p.saludo); }},
    {"pEmpId", [](const Presupuesto& p, const QString&) { return QVariant(p.empId); }},
    {"pDescripcion1",
     [](const Presupuesto& p, const QString&) { return QVariant(p.descripcion[0]); }},
    {"pDescripcion2",
     [](const Presupuesto& p, const QString&) { return QVariant(p.descripcion[1]); }},
    {"pDescripcion3",
     [](const Presupuesto& p, const QString&) { return QVariant(p.descripcion[2]); }},
    {"pOtroConcepto1",
     [](const Presupuesto& p, const QString&) { return QVariant(p.otros[0].concepto); }},
    {"pOtroPrecio1", [](const Presupuesto& p, const QString&) { return otroPrecio(p, 0); }},
    {"pOtroMoneda1",
     [](const Presupuesto& p, const QString&) { return QVariant(p.otros[0].moneda); }},
    {"pOtroConcepto2",
     [](const Presupuesto& p, const QString&) { return QVariant(p.otros[1].concepto); }},
    {"pOtroPrecio2", [](const Presupuesto& p, const QString&) { return otroPrecio(p, 1); }},
    {"pOtroMoneda2",
     [](const Presupuesto& p, const QString&) { return QVariant(p.otros[1].moneda); }},
    {"pOtroConcepto3",
     [](const Presupuesto& p, const QString&) { return QVariant(p.otros[2].concepto); }},
    {"pOtroPrecio3", [](const Presupuesto& p, const QString&) { return otroPrecio(p, 2); }},
    {"pOtroMoneda3",
     [](const Presupuesto& p, const QString&) { return QVariant(p.otros[2].moneda); }},
    {"pDespedida", [](const Presupuesto& p, const QString&) { return QVariant(p.despedida); }},
    {"pFirma", [](const Presupuesto& p, const QString&) { return QVariant(p.firma); }},
    {"pTextoVigencia",
     [](const Presupuesto& p, const QString&) { return QVariant(p.textoVigencia); }},
    {"pVigencia",
     [](const Presupuesto& p, const QString&) {
         return p.diasVigencia ? QVariant(*p.diasVigencia) : QVariant();
     }},
    {"pUsuLogin", [](const Presupuesto&, const QString& usuario) { return QVariant(usuario); }},
};

// The number after `numero`: plus one when it reads as a number, its
// trailing digits counted on otherwise; empty when it has no digits.
QString siguiente(const QString& numero) {
    if (const auto valor = numeros::leer(numero))
        return numeros::texto(*valor + 1);
    qsizetype inicio = numero.size();
    while (inicio > 0 && numero[inicio - 1].isDigit() && numero[inicio - 1].unicode() < 128)
        --inicio;
    if (inicio == numero.size())
        return {};
    const QString digitos = numero.mid(inicio);
    QString mas = QString::number(digitos.toULongLong() + 1);
    if (mas.size() < digitos.size())
        mas = mas.rightJustified(digitos.size(), u'0');
    return numero.left(inicio) + mas;
}

// The highest stored number that reads as a number, plus one; "1" when none
// does.
std::optional<QString> despuesDelMayor() {
    std::optional<double> mayor;
    const Leido l = leer(
        QStringLiteral("SELECT PreNumero FROM PRESUPUESTOS"), {}, [&mayor](const Registros& r) {
            Registros rs = r;
            for (rs.moverPrimero(); !rs.alFinal(); rs.moverSiguiente())
                if (const auto v = numeros::leer(rs.texto(QStringLiteral("PreNumero"))))
                    mayor = std::max(mayor.value_or(*v), *v);
        });
    if (l == Leido::Fallo)
        return std::nullopt;
    return mayor ? numeros::texto(*mayor + 1) : QStringLiteral("1");
}

// The lines of quote `id`, in the order the engine returns them, with the
// code and description of their products (empty when a product no longer
// exists).
Leido leerLineas(qint32 id, std::vector<LineaPresupuesto>& lineas) {
    return leer(QStringLiteral("SELECT L.ProId, L.PreProPrecio, L.PreProCantidad, P.ProCodigo, "
                               "P.ProDescripcion, L.PreProMoneda FROM PRESUPUESTOS_PRODUCTOS L "
                               "LEFT JOIN PRODUCTOS P ON L.ProId=P.ProId WHERE L.PREID=?"),
                {id}, [&lineas](const Registros& r) {
                    LineasPresupuesto l;
                    Registros rs = r;
                    for (rs.moverPrimero(); !rs.alFinal(); rs.moverSiguiente())
                        l.cargar(rs.campo(0).toInt(), rs.texto(QStringLiteral("ProCodigo")),
                                 rs.texto(QStringLiteral("ProDescripcion")), rs.campo(1).toDouble(),
                                 rs.campo(2).toDouble(), rs.texto(QStringLiteral("PreProMoneda")));
                    lineas = l.lineas();
                });
}

// The quote `id` as `sql` returns it (a column NomCliente gives the
// contact's name), with its lines.
Leido leerPresupuesto(const QString& sql, qint32 id, Presupuesto& p) {
    Presupuesto leido;
    const Leido cabecera = leer(sql, {id}, [&leido, id](const Registros& r) {
        auto texto = [&r](const char16_t* campo) { return r.texto(QString::fromUtf16(campo)); };
        leido.id = id;
        leido.numero = texto(u"PreNumero");
        leido.cliente = texto(u"NomCliente");
        leido.empId = r.campo(QStringLiteral("EmpId")).toInt();
        leido.fecha = r.campo(QStringLiteral("PreFecha")).toDate();
        leido.saludo = texto(u"PreSaludo");
        leido.lugar = texto(u"PreLugar");
        for (size_t i = 0; i < 3; ++i) {
            const QString n = QString::number(i + 1);
            leido.descripcion[i] = r.texto(QStringLiteral("PreDescripcion") + n);
            leido.otros[i] = {r.texto(QStringLiteral("PreOtroConcepto") + n),
                              numeroONulo(r.campo(QStringLiteral("PreOtroPrecio") + n)),
                              r.texto(QStringLiteral("PreOtroMoneda") + n)};
        }
        leido.despedida = texto(u"PreDespedida");
        leido.firma = texto(u"PreFirma");
        leido.textoVigencia = texto(u"PreTextoVigencia");
        leido.diasVigencia = enteroONulo(r.campo(QStringLiteral("PreVigencia")));
        leido.usuario = texto(u"UsuLogin");
    });
    if (cabecera != Leido::Si)
        return cabecera;
    if (leerLineas(id, leido.lineas) == Leido::Fallo)
        return Leido::Fallo;
    p = std::move(leido);
    return Leido::Si;
}

} // namespace

QStringList RepositorioPresupuestos::parametrosGuardado() {
    QStringList nombres;
    for (const ValorGuardado& v : kValoresGuardado)
        nombres << QString::fromLatin1(v.parametro);
    return nombres;
}

QVariantList RepositorioPresupuestos::valoresGuardado(const Presupuesto& p,
                                                      const QString& usuario) {
    QVariantList valores;
    for (const ValorGuardado& v : kValoresGuardado)
        valores << v.valor(p, usuario);
    return valores;
}

RepositorioPresupuestos::Leido RepositorioPresupuestos::cargar(qint32 id, Presupuesto& p) {
    return leerPresupuesto(QStringLiteral("SELECT P.*,IIF(C.EMPNOMBREFANTASIA='',C.EMPRAZONSOCIAL,"
                                          "C.EMPNOMBREFANTASIA) AS NomCliente FROM PRESUPUESTOS P "
                                          "INNER JOIN CONTACTOS C ON P.EMPID=C.EMPID WHERE "
                                          "P.PREID=?"),
                           id, p);
}

std::optional<std::vector<LineaPresupuesto>> RepositorioPresupuestos::lineas(qint32 id) {
    std::vector<LineaPresupuesto> leidas;
    if (leerLineas(id, leidas) == Leido::Fallo)
        return std::nullopt;
    return leidas;
}

RepositorioPresupuestos::Leido RepositorioPresupuestos::leerGuardado(qint32 id, Presupuesto& p) {
    return leerPresupuesto(QStringLiteral("SELECT * FROM PRESUPUESTOS WHERE PreId=?"), id, p);
}

std::optional<QString> RepositorioPresupuestos::propietario(qint32 id) {
    QString usuario;
    if (leer(QStringLiteral("SELECT UsuLogin FROM PRESUPUESTOS WHERE PREID=?"), {id},
             [&usuario](const Registros& r) { usuario = r.texto(QStringLiteral("UsuLogin")); }) ==
        Leido::Fallo)
        return std::nullopt;
    return usuario;
}

std::optional<bool> RepositorioPresupuestos::contactoExiste(qint32 empId) {
    const Leido l = leer(QStringLiteral("SELECT EmpId FROM CONTACTOS WHERE EmpId=?"), {empId},
                         [](const Registros&) {});
    if (l == Leido::Fallo)
        return std::nullopt;
    return l == Leido::Si;
}

std::optional<QString> RepositorioPresupuestos::correoContacto(qint32 empId) {
    QString correo;
    if (leer(QStringLiteral("SELECT EmpEmail FROM CONTACTOS WHERE EmpId=?"), {empId},
             [&correo](const Registros& r) { correo = r.texto(QStringLiteral("EmpEmail")); }) ==
        Leido::Fallo)
        return std::nullopt;
    return correo;
}

std::optional<bool> RepositorioPresupuestos::lineaDeBaja(qint32 preId, qint32 proId) {
    bool deBaja = false;
    if (leer(QStringLiteral("SELECT * FROM PRESUPUESTOS_PRODUCTOS WHERE PREID=? AND PROID=?"),
             {preId, proId}, [&deBaja](const Registros& r) {
                 deBaja = r.campo(QStringLiteral("RemProBajaStock")).toBool();
             }) == Leido::Fallo)
        return std::nullopt;
    return deBaja;
}

std::optional<QString> RepositorioPresupuestos::numeroPropuesto() {
    QString ultimo;
    // Only the first row is looked at: the engine need not send the others.
    const Leido l =
        leer(QStringLiteral("select PreNumero from presupuestos order by PreId desc limit 1"), {},
             [&ultimo](const Registros& r) { ultimo = r.texto(QStringLiteral("PreNumero")); });
    if (l == Leido::Fallo)
        return std::nullopt;
    if (l == Leido::No)
        return QStringLiteral("1");
    // A quote without number proposes none: the user writes one.
    if (ultimo.isEmpty())
        return QString();
    QString numero = siguiente(ultimo);
    if (numero.isEmpty()) {
        const std::optional<QString> mayor = despuesDelMayor();
        if (!mayor)
            return std::nullopt;
        numero = *mayor;
    }
    // Counted on past the numbers other quotes hold (older files may hold
    // any number).
    for (;;) {
        const Leido tomado =
            leer(QStringLiteral("SELECT PreId FROM PRESUPUESTOS WHERE PreNumero=?"), {numero},
                 [](const Registros&) {});
        if (tomado == Leido::Fallo)
            return std::nullopt;
        if (tomado == Leido::No)
            return numero;
        numero = siguiente(numero);
    }
}

bool RepositorioPresupuestos::eliminar(qint32 id, QList<ErrorProveedor>& fallos) {
    Conexion* con = conexion();
    if (!con) {
        fallos = {{errores::kFalloGeneral,
                   QStringLiteral("La conexión con la base de datos está cerrada.")}};
        return false;
    }
    // The lines and the quote go together or not at all.
    Transaccion transaccion(con);
    const bool hecho =
        transaccion.iniciada() &&
        con->ejecutar(QStringLiteral("DELETE * FROM PRESUPUESTOS_PRODUCTOS WHERE PreId=?"), {id})
            .ok &&
        con->ejecutar(QStringLiteral("DELETE FROM PRESUPUESTOS_ESTADOS WHERE PreId=?"), {id}).ok &&
        // A version that never was replaced nothing: the quote it replaced
        // is back in the status it had before.
        con->ejecutar(QStringLiteral("DELETE FROM PRESUPUESTOS_ESTADOS WHERE EstReemplazo=?"), {id})
            .ok &&
        con->ejecutar(QStringLiteral("DELETE * FROM PRESUPUESTOS WHERE PreId=?"), {id}).ok &&
        transaccion.confirmar();
    if (!hecho)
        fallos = transaccion.errores().isEmpty() ? con->errores() : transaccion.errores();
    return hecho;
}

std::optional<QString> RepositorioPresupuestos::numeroVersion(qint32 id, const QString& numero) {
    if (numero.trimmed().isEmpty())
        return numeroPropuesto();
    QString base = numero;
    qint64 siguiente = 2;
    // "42-2" counts on to "42-3" when it is a version itself: it replaced a
    // quote, or a quote "42" exists. Otherwise ("2024-15") it is a number
    // of its own, whose first version is "2024-15-2".
    static const QRegularExpression sufijo(QStringLiteral("^(.+)-([0-9]{1,9})$"));
    if (const QRegularExpressionMatch m = sufijo.match(numero); m.hasMatch()) {
        const Leido reemplazo =
            leer(QStringLiteral("SELECT EstId FROM PRESUPUESTOS_ESTADOS WHERE EstReemplazo=?"),
                 {id}, [](const Registros&) {});
        if (reemplazo == Leido::Fallo)
            return std::nullopt;
        Leido original = Leido::Si;
        if (reemplazo == Leido::No)
            original = leer(QStringLiteral("SELECT PreId FROM PRESUPUESTOS WHERE PreNumero=?"),
                            {m.captured(1)}, [](const Registros&) {});
        if (original == Leido::Fallo)
            return std::nullopt;
        if (original == Leido::Si) {
            base = m.captured(1);
            siguiente = m.captured(2).toLongLong() + 1;
        }
    }
    for (;; ++siguiente) {
        const QString candidato = base + u'-' + QString::number(siguiente);
        const Leido tomado =
            leer(QStringLiteral("SELECT PreId FROM PRESUPUESTOS WHERE PreNumero=?"), {candidato},
                 [](const Registros&) {});
        if (tomado == Leido::Fallo)
            return std::nullopt;
        if (tomado == Leido::No)
            return candidato;
    }
}
