#include "data/tablaresultado.h"

#include "data/fechas.h"

#include <QByteArray>
#include <QDateTime>

#include <cmath>
#include <limits>
#include <stdexcept>

int TablaResultado::agregarColumna(const QString& nombre, TipoColumna tipo) {
    columnas_.push_back({nombre, tipo});
    const int indice = int(columnas_.size()) - 1;
    const QString clave = nombre.toLower();
    if (!indicePorNombre_.contains(clave))
        indicePorNombre_.insert(clave, indice);
    return indice;
}

void TablaResultado::reservar(size_t filas) {
    celdas_.reserve(filas * columnas_.size());
}

void TablaResultado::agregarNulo() {
    Celda c;
    c.entero = 0;
    c.clase = Clase::Nulo;
    celdas_.push_back(c);
}

void TablaResultado::agregarEntero(qint64 valor) {
    Celda c;
    c.entero = valor;
    c.clase = Clase::Entero;
    celdas_.push_back(c);
}

void TablaResultado::agregarReal(double valor) {
    Celda c;
    c.real = valor;
    c.clase = Clase::Real;
    celdas_.push_back(c);
}

void TablaResultado::agregarBytes(std::string_view bytes, Clase clase) {
    if (textos_.size() + bytes.size() > std::numeric_limits<quint32>::max())
        throw std::length_error("resultado demasiado grande");
    Celda c;
    c.texto.inicio = quint32(textos_.size());
    c.texto.longitud = quint32(bytes.size());
    c.clase = clase;
    textos_.append(bytes);
    celdas_.push_back(c);
}

void TablaResultado::agregarTexto(std::string_view utf8) {
    agregarBytes(utf8, Clase::Texto);
}

void TablaResultado::agregarBinario(std::string_view bytes) {
    agregarBytes(bytes, Clase::Binario);
}

void TablaResultado::agregarValor(const QVariant& valor) {
    if (!valor.isValid() || valor.isNull()) {
        agregarNulo();
        return;
    }
    switch (valor.typeId()) {
    case QMetaType::Bool:
        agregarEntero(valor.toBool() ? 1 : 0);
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::UChar:
        agregarEntero(valor.toLongLong());
        return;
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        agregarReal(valor.toDouble());
        return;
    case QMetaType::QDate:
        agregarEntero(fechas::diaDeFecha(valor.toDate()));
        return;
    case QMetaType::QDateTime:
        agregarReal(fechas::diaDeFechaHora(valor.toDateTime()));
        return;
    case QMetaType::QByteArray: {
        const QByteArray b = valor.toByteArray();
        agregarBinario(std::string_view(b.constData(), size_t(b.size())));
        return;
    }
    default: {
        const QByteArray u = valor.toString().toUtf8();
        agregarTexto(std::string_view(u.constData(), size_t(u.size())));
    }
    }
}

void TablaResultado::agregarCapitulo(Capitulo capitulo) {
    capitulos_.push_back(std::move(capitulo));
}

const Capitulo* TablaResultado::capitulo(const QString& nombre) const {
    for (const auto& c : capitulos_)
        if (c.nombre.compare(nombre, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

int TablaResultado::indiceColumna(const QString& nombre) const {
    return indicePorNombre_.value(nombre.toLower(), -1);
}

bool TablaResultado::esNulo(int fila, int columna) const {
    return celda(fila, columna).clase == Clase::Nulo;
}

QVariant TablaResultado::valor(int fila, int col) const {
    const Celda& c = celda(fila, col);
    const TipoColumna tipo = columnas_[size_t(col)].tipo;
    switch (c.clase) {
    case Clase::Nulo:
        return {};
    case Clase::Entero:
        if (tipo == TipoColumna::Fecha)
            return fechas::valorDeDia(double(c.entero));
        if (tipo == TipoColumna::SiNo)
            return c.entero != 0;
        if (c.entero >= std::numeric_limits<int>::min() &&
            c.entero <= std::numeric_limits<int>::max())
            return int(c.entero);
        return c.entero;
    case Clase::Real:
        if (tipo == TipoColumna::Fecha)
            return fechas::valorDeDia(c.real);
        if (tipo == TipoColumna::SiNo)
            return c.real != 0.0;
        return c.real;
    case Clase::Texto:
        return QString::fromUtf8(textos_.data() + c.texto.inicio, qsizetype(c.texto.longitud));
    case Clase::Binario:
        return QByteArray(textos_.data() + c.texto.inicio, qsizetype(c.texto.longitud));
    }
    return {};
}

QString TablaResultado::texto(int fila, int col) const {
    const QVariant v = valor(fila, col);
    switch (v.typeId()) {
    case QMetaType::QDate:
    case QMetaType::QDateTime: {
        const Celda& c = celda(fila, col);
        return fechas::textoCorto(c.clase == Clase::Entero ? double(c.entero) : c.real);
    }
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    default:
        return v.toString();
    }
}

QString TablaResultado::clave(int fila, int col) const {
    const Celda& c = celda(fila, col);
    switch (c.clase) {
    case Clase::Nulo:
        return {};
    case Clase::Entero:
        return QString::number(c.entero);
    case Clase::Real:
        if (std::floor(c.real) == c.real && std::abs(c.real) < 9e15)
            return QString::number(qint64(c.real));
        return QString::number(c.real, 'g', 17);
    case Clase::Texto:
    case Clase::Binario:
        return QString::fromUtf8(textos_.data() + c.texto.inicio, qsizetype(c.texto.longitud))
            .toLower();
    }
    return {};
}
