#include "data/tablaresultado.h"

#include "data/fechas.h"

#include <QByteArray>
#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

TablaResultado::TablaResultado(const TablaResultado& otra)
    : columnas_(otra.columnas_), indicePorNombre_(otra.indicePorNombre_), celdas_(otra.celdas_),
      libresEnBloque_(otra.libresEnBloque_), finTexto_(otra.finTexto_),
      libresEnTexto_(otra.libresEnTexto_), capitulos_(otra.capitulos_) {
    bloques_.reserve(otra.bloques_.size());
    for (const auto& b : otra.bloques_)
        bloques_.emplace_back(new BloqueCeldas(*b));
    if (!bloques_.empty()) {
        const size_t usadas = kCeldasPorBloque - libresEnBloque_;
        valorSiguiente_ = bloques_.back()->valores + usadas;
        claseSiguiente_ = bloques_.back()->clases + usadas;
    }
    textos_.reserve(otra.textos_.size());
    for (size_t k = 0; k < otra.textos_.size(); ++k) {
        if (!otra.textos_[k]) {
            textos_.emplace_back();
            continue;
        }
        size_t ranuras = 1;
        while (k + ranuras < otra.textos_.size() && !otra.textos_[k + ranuras])
            ++ranuras;
        textos_.emplace_back(new char[ranuras * kBytesPorBloque]);
        std::memcpy(textos_.back().get(), otra.textos_[k].get(), ranuras * kBytesPorBloque);
    }
    // Only a buffer of one slot stays open, so the free position lies in it.
    if (libresEnTexto_ > 0)
        cursorTexto_ = textos_[finTexto_ / kBytesPorBloque].get() + finTexto_ % kBytesPorBloque;
}

void TablaResultado::intercambiar(TablaResultado& otra) noexcept {
    std::swap(columnas_, otra.columnas_);
    std::swap(indicePorNombre_, otra.indicePorNombre_);
    std::swap(bloques_, otra.bloques_);
    std::swap(celdas_, otra.celdas_);
    std::swap(valorSiguiente_, otra.valorSiguiente_);
    std::swap(claseSiguiente_, otra.claseSiguiente_);
    std::swap(libresEnBloque_, otra.libresEnBloque_);
    std::swap(textos_, otra.textos_);
    std::swap(finTexto_, otra.finTexto_);
    std::swap(cursorTexto_, otra.cursorTexto_);
    std::swap(libresEnTexto_, otra.libresEnTexto_);
    std::swap(capitulos_, otra.capitulos_);
}

int TablaResultado::agregarColumna(const QString& nombre, TipoColumna tipo) {
    columnas_.push_back({nombre, tipo});
    const int indice = int(columnas_.size()) - 1;
    const QString clave = nombre.toLower();
    if (!indicePorNombre_.contains(clave))
        indicePorNombre_.insert(clave, indice);
    return indice;
}

void TablaResultado::reservar(size_t filas) {
    bloques_.reserve((filas * columnas_.size() + kCeldasPorBloque - 1) / kCeldasPorBloque);
}

void TablaResultado::abrirBloque() {
    bloques_.emplace_back(new BloqueCeldas);
    valorSiguiente_ = bloques_.back()->valores;
    claseSiguiente_ = bloques_.back()->clases;
    libresEnBloque_ = kCeldasPorBloque;
}

void TablaResultado::abrirTexto(size_t bytes) {
    const size_t inicio = textos_.size() * kBytesPorBloque;
    const size_t ranuras = std::max<size_t>(1, (bytes + kBytesPorBloque - 1) / kBytesPorBloque);
    // A text longer than one slot gets a buffer of its own, closed at once:
    // positions past its first slot would name an empty slot.
    const size_t libres = ranuras > 1 ? bytes : kBytesPorBloque;
    if (inicio + libres > std::numeric_limits<quint32>::max())
        throw std::length_error("resultado demasiado grande");
    textos_.emplace_back(new char[ranuras * kBytesPorBloque]);
    cursorTexto_ = textos_.back().get();
    for (size_t k = 1; k < ranuras; ++k)
        textos_.emplace_back();
    finTexto_ = inicio;
    libresEnTexto_ = libres;
}

const char* TablaResultado::datosTexto(const Valor& v) const {
    if (v.texto.longitud == 0)
        return "";
    return textos_[v.texto.inicio / kBytesPorBloque].get() + v.texto.inicio % kBytesPorBloque;
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

TablaResultado::Celda TablaResultado::celda(int fila, int columna) const {
    const size_t i = indice(fila, columna);
    const Valor& v = valorCelda(i);
    Celda c;
    c.clase = claseCelda(i);
    switch (c.clase) {
    case Clase::Entero:
        c.entero = v.entero;
        break;
    case Clase::Real:
        c.real = v.real;
        break;
    case Clase::Texto:
    case Clase::Binario:
        c.bytes = std::string_view(datosTexto(v), v.texto.longitud);
        break;
    case Clase::Nulo:
        break;
    }
    return c;
}

bool TablaResultado::esNulo(int fila, int columna) const {
    return claseCelda(indice(fila, columna)) == Clase::Nulo;
}

QVariant TablaResultado::valor(int fila, int col) const {
    const size_t i = indice(fila, col);
    const Valor& c = valorCelda(i);
    const TipoColumna tipo = columnas_[size_t(col)].tipo;
    switch (claseCelda(i)) {
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
        return QString::fromUtf8(datosTexto(c), qsizetype(c.texto.longitud));
    case Clase::Binario:
        return QByteArray(datosTexto(c), qsizetype(c.texto.longitud));
    }
    return {};
}

QString TablaResultado::texto(int fila, int col) const {
    const QVariant v = valor(fila, col);
    switch (v.typeId()) {
    case QMetaType::QDate:
    case QMetaType::QDateTime: {
        const size_t i = indice(fila, col);
        const Valor& c = valorCelda(i);
        return fechas::textoCorto(claseCelda(i) == Clase::Entero ? double(c.entero) : c.real);
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
    const size_t i = indice(fila, col);
    const Valor& c = valorCelda(i);
    switch (claseCelda(i)) {
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
        return QString::fromUtf8(datosTexto(c), qsizetype(c.texto.longitud)).toLower();
    }
    return {};
}
