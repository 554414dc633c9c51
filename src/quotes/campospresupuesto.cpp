#include "quotes/campospresupuesto.h"

#include "quotes/numeros.h"

#include <QLocale>

#include <cmath>

QString CamposPresupuesto::textoVigenciaInicial() {
    return QStringLiteral("Plazo de vigencia de la oferta:");
}

QString CamposPresupuesto::diasVigenciaInicial() {
    return QStringLiteral("30");
}

CamposPresupuesto CamposPresupuesto::desde(const Presupuesto& p) {
    CamposPresupuesto c;
    c.id = p.id ? QString::number(*p.id) : QString();
    c.numero = p.numero;
    c.fecha = p.fecha;
    c.cliente = p.cliente;
    c.clienteTag = QString::number(p.empId);
    c.lugar = p.lugar;
    c.saludo = p.saludo;
    c.descripcion = p.descripcion;
    for (size_t i = 0; i < 3; ++i) {
        c.concepto[i] = p.otros[i].concepto;
        c.importe[i] = p.otros[i].importe ? numeros::texto(*p.otros[i].importe) : QString();
        c.moneda[i] = p.otros[i].moneda;
    }
    c.despedida = p.despedida;
    c.firma = p.firma;
    c.mostrarVigencia(p);
    return c;
}

void CamposPresupuesto::mostrarVigencia(const Presupuesto& p) {
    textoVigencia = p.textoVigencia;
    diasVigencia = p.diasVigencia ? QString::number(*p.diasVigencia) : QString();
    vigencia = vigenciaVigente(textoVigencia, diasVigencia);
}

std::optional<qint32> CamposPresupuesto::clave() const {
    bool ok = false;
    const qint32 valor = id.trimmed().toInt(&ok);
    return ok ? std::optional<qint32>(valor) : std::nullopt;
}

bool CamposPresupuesto::diasGuardados(std::optional<qint32>& dias) const {
    // As the stored query reads a whole number: rounded, blanks aside.
    const QString t = diasVigencia.trimmed();
    dias.reset();
    if (t.isEmpty())
        return true;
    bool ok = false;
    const double d = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(d) || std::abs(d) > 2147483647.0)
        return false;
    dias = qint32(std::llround(d));
    return true;
}

Presupuesto CamposPresupuesto::registro(const std::vector<LineaPresupuesto>& lineas) const {
    Presupuesto p;
    p.id = clave();
    p.numero = numero;
    p.fecha = fecha;
    bool ok = false;
    const qint32 empId = clienteTag.trimmed().toInt(&ok);
    p.empId = ok && empId > 0 ? empId : 0;
    p.cliente = cliente;
    p.lugar = lugar;
    p.saludo = saludo;
    p.descripcion = descripcion;
    for (size_t i = 0; i < 3; ++i)
        p.otros[i] = {concepto[i], numeros::leer(importe[i]), moneda[i]};
    p.despedida = despedida;
    p.firma = firma;
    p.textoVigencia = vigencia ? textoVigencia : QString();
    p.diasVigencia = 0;
    if (vigencia)
        diasGuardados(p.diasVigencia);
    p.lineas = lineas;
    return p;
}

bool CamposPresupuesto::vigenciaVigente(const QString& texto, const QString& dias) {
    return numeros::leer(dias).value_or(0) > 0 && !texto.isEmpty();
}
