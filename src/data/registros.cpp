#include "data/registros.h"

#include "data/cotejo.h"
#include "data/fechas.h"
#include "data/plegado.h"
#include "data/transaccion.h"

#include <QDate>
#include <QRegularExpression>

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>

// The edits of an editable set, shared by its copies. Rows are numbered as
// the table's: first the rows read, then those added by writes, then the new
// row being entered, if any.
struct Registros::Edicion {
    Conexion* con = nullptr;
    QString tabla;
    int clave = -1; // field of the key
    // Rows written since the set was read: their values read back.
    std::unordered_map<int, std::vector<QVariant>> escritas;
    std::vector<std::vector<QVariant>> agregadas;
    // The pending change: the row (-1 none), whether it is new, its fields.
    int fila = -1;
    bool nueva = false;
    QHash<int, QVariant> bufer;
};

Registros::Registros(std::shared_ptr<const TablaResultado> tabla, QString origen)
    : tabla_(std::move(tabla)), origen_(std::move(origen)) {}

Registros::Registros(std::shared_ptr<const TablaResultado> tabla, QString origen,
                     std::shared_ptr<const std::vector<int>> filas)
    : tabla_(std::move(tabla)), filas_(std::move(filas)), origen_(std::move(origen)) {}

Registros Registros::fallo(QString origen) {
    Registros r;
    r.origen_ = std::move(origen);
    r.fallido_ = true;
    return r;
}

void Registros::cerrar() {
    tabla_.reset();
    filas_.reset();
    edicion_.reset();
    posicion_ = 0;
}

int Registros::cantidad() const {
    if (!tabla_)
        return -1;
    const int leidas = filas_ ? int(filas_->size()) : tabla_->filas();
    if (!edicion_)
        return leidas;
    return leidas + int(edicion_->agregadas.size()) + (edicion_->nueva ? 1 : 0);
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

QVariant Registros::valorFila(int fila, int campo) const {
    if (edicion_) {
        const Edicion& e = *edicion_;
        if (fila == e.fila) {
            const auto it = e.bufer.constFind(campo);
            if (it != e.bufer.cend())
                return *it;
        }
        const int leidas = tabla_->filas();
        if (fila >= leidas) {
            const size_t agregada = size_t(fila - leidas);
            return agregada < e.agregadas.size() ? e.agregadas[agregada][size_t(campo)]
                                                 : QVariant();
        }
        const auto escrita = e.escritas.find(fila);
        if (escrita != e.escritas.end())
            return escrita->second[size_t(campo)];
    }
    return tabla_->valor(fila, campo);
}

QVariant Registros::valor(int posicion, int campo) const {
    if (!tabla_ || posicion < 1 || posicion > cantidad() || campo < 0 ||
        campo >= tabla_->columnas())
        return {};
    return valorFila(filaDeTabla(posicion), campo);
}

QVariant Registros::campo(int indice) const {
    const int fila = filaActual();
    if (fila < 0 || indice < 0 || indice >= tabla_->columnas())
        return {};
    return valorFila(fila, indice);
}

QVariant Registros::campo(const QString& nombre) const {
    return campo(indiceCampo(nombre));
}

QString Registros::texto(const QString& nombre) const {
    const int fila = filaActual();
    const int col = indiceCampo(nombre);
    if (fila < 0 || col < 0)
        return {};
    if (!edicion_)
        return tabla_->texto(fila, col);
    // An edited value reads as the table would show it.
    const QVariant v = valorFila(fila, col);
    switch (v.typeId()) {
    case QMetaType::QDate:
        return fechas::textoCorto(double(fechas::diaDeFecha(v.toDate())));
    case QMetaType::QDateTime:
        return fechas::textoCorto(fechas::diaDeFechaHora(v.toDateTime()));
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    default:
        return v.toString();
    }
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
        if (cumple(*c, valorFila(filaDeTabla(p + 1), col))) {
            posicion_ = p;
            return true;
        }
    }
    posicion_ = n;
    return true;
}

bool Registros::habilitarEdicion(Conexion* con, const QString& tabla, const QString& clave) {
    const int campoClave = indiceCampo(clave);
    if (!tabla_ || filas_ || !con || campoClave < 0 || tabla.isEmpty()) {
        edicion_.reset();
        return false;
    }
    edicion_ = std::make_shared<Edicion>();
    edicion_->con = con;
    edicion_->tabla = tabla;
    edicion_->clave = campoClave;
    return true;
}

bool Registros::agregarNuevo() {
    if (!edicion_ || edicion_->fila >= 0)
        return false;
    edicion_->nueva = true;
    edicion_->fila = tabla_->filas() + int(edicion_->agregadas.size());
    edicion_->bufer.clear();
    posicion_ = cantidad() - 1;
    return true;
}

bool Registros::establecerCampo(int posicion, int campo, const QVariant& valor) {
    if (!edicion_ || posicion < 1 || posicion > cantidad() || campo < 0 ||
        campo >= tabla_->columnas())
        return false;
    Edicion& e = *edicion_;
    const int fila = filaDeTabla(posicion);
    if (e.fila >= 0 && e.fila != fila)
        return false;
    if (campo == e.clave)
        return true;
    const bool vacio = !valor.isValid() || valor.isNull() ||
                       (valor.typeId() == QMetaType::QString && valor.toString().isEmpty());
    const QVariant nuevo = vacio ? QVariant() : valor;
    const QVariant actual = valorFila(fila, campo);
    // A control that gives back what it was shown changes nothing.
    const bool igual = actual.isNull() == nuevo.isNull() &&
                       (nuevo.isNull() || actual.toString() == nuevo.toString());
    if (igual && !e.bufer.contains(campo))
        return true;
    e.fila = fila;
    e.bufer.insert(campo, nuevo);
    return true;
}

bool Registros::establecerCampo(const QString& nombre, const QVariant& valor) {
    return establecerCampo(posicion_ + 1, indiceCampo(nombre), valor);
}

bool Registros::hayCambios() const {
    return edicion_ && edicion_->fila >= 0;
}

bool Registros::nuevoPendiente() const {
    return edicion_ && edicion_->nueva;
}

int Registros::posicionPendiente() const {
    // Only whole sets are editable: the row of the table is the position.
    return hayCambios() ? edicion_->fila + 1 : 0;
}

void Registros::descartar() {
    if (!edicion_)
        return;
    const bool eraNueva = edicion_->nueva;
    edicion_->fila = -1;
    edicion_->nueva = false;
    edicion_->bufer.clear();
    if (eraNueva && posicion_ > cantidad())
        posicion_ = cantidad();
}

bool Registros::escribir(QList<ErrorProveedor>& fallos) {
    fallos.clear();
    if (!hayCambios())
        return true;
    Edicion& e = *edicion_;
    Conexion* con = e.con;
    if (!e.nueva && e.bufer.isEmpty()) {
        e.fila = -1;
        return true;
    }
    // Fields in order, the key never among them.
    QList<int> campos = e.bufer.keys();
    std::sort(campos.begin(), campos.end());
    QVariantList valores;
    QStringList nombres;
    for (int c : std::as_const(campos)) {
        nombres << tabla_->columna(c).nombre;
        valores << e.bufer.value(c);
    }
    const QString clave = tabla_->columna(e.clave).nombre;

    Transaccion transaccion(con);
    if (!transaccion.iniciada()) {
        fallos = transaccion.errores();
        return false;
    }
    QString sql;
    QVariantList claveLeida;
    if (e.nueva) {
        if (nombres.isEmpty()) {
            sql = QStringLiteral("INSERT INTO ") + e.tabla + QStringLiteral(" DEFAULT VALUES");
        } else {
            QStringList marcas;
            for (qsizetype i = 0; i < nombres.size(); ++i)
                marcas << QStringLiteral("?");
            sql = QStringLiteral("INSERT INTO ") + e.tabla + QStringLiteral(" (") +
                  nombres.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                  marcas.join(QStringLiteral(", ")) + u')';
        }
    } else {
        QStringList asignaciones;
        for (const QString& n : std::as_const(nombres))
            asignaciones << n + QStringLiteral("=?");
        sql = QStringLiteral("UPDATE ") + e.tabla + QStringLiteral(" SET ") +
              asignaciones.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") + clave +
              QStringLiteral("=?");
        claveLeida = {valorFila(e.fila, e.clave)};
        valores << claveLeida.front();
    }
    const ResultadoSentencia escrito = con->ejecutar(sql, valores);
    if (!escrito.ok) {
        fallos = con->errores();
        return false;
    }
    if (!e.nueva && escrito.afectados != 1) {
        fallos = {{errores::kFalloGeneral,
                   QStringLiteral("No se encuentra el registro para actualizarlo: puede que otro "
                                  "usuario lo haya eliminado.")}};
        return false;
    }
    // The row as stored: the key of a new row, values converted by the columns.
    const ResultadoSentencia leido =
        e.nueva
            ? con->ejecutar(QStringLiteral("SELECT * FROM ") + e.tabla + QStringLiteral(" WHERE ") +
                            clave + QStringLiteral("=(SELECT MAX(") + clave +
                            QStringLiteral(") FROM ") + e.tabla + u')')
            : con->ejecutar(QStringLiteral("SELECT * FROM ") + e.tabla + QStringLiteral(" WHERE ") +
                                clave + QStringLiteral("=?"),
                            claveLeida);
    if (!leido.ok || !leido.filas || leido.filas->filas() != 1) {
        fallos = leido.ok ? QList<ErrorProveedor>{{errores::kFalloGeneral,
                                                   QStringLiteral("No se pudo leer el registro "
                                                                  "guardado.")}}
                          : con->errores();
        return false;
    }
    if (!transaccion.confirmar()) {
        fallos = transaccion.errores();
        return false;
    }
    std::vector<QVariant> fila(size_t(tabla_->columnas()));
    for (int c = 0; c < tabla_->columnas(); ++c) {
        const int enLeido = leido.filas->indiceColumna(tabla_->columna(c).nombre);
        fila[size_t(c)] = enLeido >= 0 ? leido.filas->valor(0, enLeido) : valorFila(e.fila, c);
    }
    if (e.nueva)
        e.agregadas.push_back(std::move(fila));
    else
        e.escritas[e.fila] = std::move(fila);
    e.fila = -1;
    e.nueva = false;
    e.bufer.clear();
    return true;
}
