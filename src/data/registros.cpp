#include "data/registros.h"

#include "data/cotejo.h"
#include "data/fechas.h"
#include "data/plegado.h"

#include <QDate>
#include <QRegularExpression>

#include <optional>

Registros::Registros(std::shared_ptr<const TablaResultado> tabla, QString origen)
    : tabla_(std::move(tabla)), origen_(std::move(origen)) {}

Registros::Registros(std::shared_ptr<const TablaResultado> tabla, QString origen,
                     std::shared_ptr<const std::vector<int>> filas)
    : tabla_(std::move(tabla)), filas_(std::move(filas)), origen_(std::move(origen)) {}

void Registros::cerrar() {
    tabla_.reset();
    filas_.reset();
    posicion_ = 0;
}

int Registros::cantidad() const {
    if (!tabla_)
        return -1;
    return filas_ ? int(filas_->size()) : tabla_->filas();
}

int Registros::posicionAbsoluta() const {
    if (!tabla_)
        return kPosicionDesconocida;
    const int n = cantidad();
    if (n == 0)
        return kPosicionDesconocida;
    if (posicion_ < 0)
        return kPosicionAntesDelPrimero;
    if (posicion_ >= n)
        return kPosicionDespuesDelUltimo;
    return posicion_ + 1;
}

bool Registros::alFinal() const {
    return !tabla_ || posicion_ >= cantidad();
}

bool Registros::alPrincipio() const {
    return !tabla_ || posicion_ < 0 || cantidad() == 0;
}

void Registros::moverPrimero() {
    posicion_ = 0;
}

void Registros::moverUltimo() {
    posicion_ = std::max(cantidad() - 1, 0);
}

void Registros::moverSiguiente() {
    if (posicion_ < cantidad())
        ++posicion_;
}

void Registros::moverAnterior() {
    if (posicion_ >= 0)
        --posicion_;
}

void Registros::moverA(int posicion) {
    posicion_ = (posicion >= 1 && posicion <= cantidad()) ? posicion - 1 : cantidad();
}

int Registros::filaDeTabla(int posicion) const {
    const int i = posicion - 1;
    return filas_ ? (*filas_)[size_t(i)] : i;
}

int Registros::filaActual() const {
    if (!tabla_ || posicion_ < 0 || posicion_ >= cantidad())
        return -1;
    return filaDeTabla(posicion_ + 1);
}

int Registros::cantidadCampos() const {
    return tabla_ ? tabla_->columnas() : 0;
}

QString Registros::nombreCampo(int indice) const {
    return tabla_ && indice >= 0 && indice < tabla_->columnas() ? tabla_->columna(indice).nombre
                                                                : QString();
}

int Registros::indiceCampo(const QString& nombre) const {
    return tabla_ ? tabla_->indiceColumna(nombre) : -1;
}

QVariant Registros::campo(int indice) const {
    const int fila = filaActual();
    if (fila < 0 || indice < 0 || indice >= tabla_->columnas())
        return {};
    return tabla_->valor(fila, indice);
}

QVariant Registros::campo(const QString& nombre) const {
    return campo(indiceCampo(nombre));
}

QString Registros::texto(const QString& nombre) const {
    const int fila = filaActual();
    const int col = indiceCampo(nombre);
    if (fila < 0 || col < 0)
        return {};
    return tabla_->texto(fila, col);
}

Registros Registros::capitulo(const QString& nombre) const {
    const int fila = filaActual();
    const Capitulo* c = tabla_ ? tabla_->capitulo(nombre) : nullptr;
    if (fila < 0 || !c)
        return {};
    auto filas = std::make_shared<std::vector<int>>();
    // A Null key relates to nothing, not even to an empty text.
    if (!tabla_->esNulo(fila, c->columnaPadre)) {
        const auto it = c->filasPorClave.constFind(tabla_->clave(fila, c->columnaPadre));
        if (it != c->filasPorClave.cend())
            *filas = it.value();
    }
    return Registros(c->hija, c->nombre, std::move(filas));
}

namespace {

enum class Operador { Igual, Distinto, Menor, Mayor, MenorIgual, MayorIgual, Como };

struct Criterio {
    QString columna;
    Operador operador;
    QVariant valor; // QString, double or QDate
};

std::optional<Criterio> leerCriterio(const QString& texto) {
    static const QRegularExpression forma(
        QStringLiteral("^\\s*\\[?([A-Za-z_][A-Za-z0-9_]*)\\]?\\s*(<>|<=|>=|=|<|>|\\bLIKE\\b)\\s*"
                       "(?:'((?:[^']|'')*)'|#([^#]*)#|([-+]?[0-9]+(?:\\.[0-9]*)?))\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = forma.match(texto);
    if (!m.hasMatch())
        return std::nullopt;
    Criterio c;
    c.columna = m.captured(1);
    const QString op = m.captured(2).toUpper();
    c.operador = op == u"="    ? Operador::Igual
                 : op == u"<>" ? Operador::Distinto
                 : op == u"<"  ? Operador::Menor
                 : op == u">"  ? Operador::Mayor
                 : op == u"<=" ? Operador::MenorIgual
                 : op == u">=" ? Operador::MayorIgual
                               : Operador::Como;
    if (m.capturedStart(3) >= 0) {
        QString t = m.captured(3);
        c.valor = t.replace(QStringLiteral("''"), QStringLiteral("'"));
    } else if (m.capturedStart(4) >= 0) {
        QDate f = QDate::fromString(m.captured(4).trimmed(), QStringLiteral("M/d/yyyy"));
        if (!f.isValid())
            f = QDate::fromString(m.captured(4).trimmed(), Qt::ISODate);
        if (!f.isValid())
            return std::nullopt;
        c.valor = f;
    } else {
        c.valor = m.captured(5).toDouble();
    }
    if (c.operador == Operador::Como && c.valor.typeId() != QMetaType::QString)
        return std::nullopt;
    return c;
}

// -1, 0 or 1; nullopt when the values cannot be compared (null).
std::optional<int> comparar(const QVariant& campo, const QVariant& valor) {
    if (campo.isNull() || !campo.isValid())
        return std::nullopt;
    if (valor.typeId() == QMetaType::QString) {
        // The database's own text order, so that a search forward through rows
        // it sorted stops where a reader expects.
        const QString a = campo.toString();
        const QString b = valor.toString();
        const int r = cotejo::compararUtf16({QStringView(a).utf16(), size_t(a.size())},
                                            {QStringView(b).utf16(), size_t(b.size())});
        return (r > 0) - (r < 0);
    }
    double a = 0, b = 0;
    if (valor.typeId() == QMetaType::QDate) {
        b = double(fechas::diaDeFecha(valor.toDate()));
        if (campo.typeId() == QMetaType::QDate)
            a = double(fechas::diaDeFecha(campo.toDate()));
        else if (campo.typeId() == QMetaType::QDateTime)
            a = fechas::diaDeFechaHora(campo.toDateTime());
        else
            return std::nullopt;
    } else {
        bool ok = false;
        a = campo.typeId() == QMetaType::Bool ? (campo.toBool() ? 1.0 : 0.0) : campo.toDouble(&ok);
        if (campo.typeId() != QMetaType::Bool && !ok)
            return std::nullopt;
        b = valor.toDouble();
    }
    return (a > b) - (a < b);
}

bool cumple(const Criterio& c, const QVariant& campo) {
    if (c.operador == Operador::Como) {
        if (campo.isNull() || !campo.isValid())
            return false;
        const QByteArray t = campo.toString().toUtf8();
        const QByteArray p = c.valor.toString().replace(u'*', u'%').toUtf8();
        return plegado::parecido(std::string_view(t.constData(), size_t(t.size())),
                                 std::string_view(p.constData(), size_t(p.size())));
    }
    const auto r = comparar(campo, c.valor);
    if (!r)
        return false;
    switch (c.operador) {
    case Operador::Igual:
        return *r == 0;
    case Operador::Distinto:
        return *r != 0;
    case Operador::Menor:
        return *r < 0;
    case Operador::Mayor:
        return *r > 0;
    case Operador::MenorIgual:
        return *r <= 0;
    case Operador::MayorIgual:
        return *r >= 0;
    case Operador::Como:
        break;
    }
    return false;
}

} // namespace

bool Registros::buscar(const QString& criterio) {
    if (!tabla_)
        return false;
    const auto c = leerCriterio(criterio);
    if (!c)
        return false;
    const int col = tabla_->indiceColumna(c->columna);
    if (col < 0)
        return false;
    const int n = cantidad();
    for (int p = std::max(posicion_, 0); p < n; ++p) {
        if (cumple(*c, tabla_->valor(filaDeTabla(p + 1), col))) {
            posicion_ = p;
            return true;
        }
    }
    posicion_ = n;
    return true;
}
