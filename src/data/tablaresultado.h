#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// How a column's stored values read back: dates from day numbers, yes/no from
// 1 and 0, everything else as stored.
enum class TipoColumna : quint8 { General, Fecha, SiNo };

struct Columna {
    QString nombre;
    TipoColumna tipo = TipoColumna::General;
};

class TablaResultado;

// A child level of a hierarchical result: the rows of `hija` whose column
// `columnaHija` equals the parent row's `columnaPadre`.
struct Capitulo {
    QString nombre;
    std::shared_ptr<const TablaResultado> hija;
    int columnaPadre = -1;
    int columnaHija = -1;
    QHash<QString, std::vector<int>> filasPorClave;
};

// The rows of one result, held client-side in a compact form: a fixed-size cell
// per value and the text (UTF-8) in large shared buffers, so that large lists
// stay small in memory and fast to fill. Cells and text live in blocks: growing
// never copies what is already stored, and a large result never needs one
// huge allocation (nor twice its size while it grows).
class TablaResultado {
public:
    TablaResultado() = default;
    TablaResultado(const TablaResultado& otra);
    TablaResultado(TablaResultado&& otra) noexcept { intercambiar(otra); }
    TablaResultado& operator=(TablaResultado otra) noexcept {
        intercambiar(otra);
        return *this;
    }

    // Filling, row by row and cell by cell in column order.
    int agregarColumna(const QString& nombre, TipoColumna tipo);
    void agregarNulo() { nueva(Clase::Nulo).entero = 0; }
    void agregarEntero(qint64 valor) { nueva(Clase::Entero).entero = valor; }
    void agregarReal(double valor) { nueva(Clase::Real).real = valor; }
    void agregarTexto(std::string_view utf8) { agregarBytes(utf8, Clase::Texto); }
    void agregarBinario(std::string_view bytes) { agregarBytes(bytes, Clase::Binario); }
    void agregarValor(const QVariant& valor); // converts dates and booleans
    void agregarCapitulo(Capitulo capitulo);
    void reservar(size_t filas);

    int columnas() const { return int(columnas_.size()); }
    int filas() const { return columnas_.empty() ? 0 : int(celdas_ / columnas_.size()); }
    const Columna& columna(int indice) const { return columnas_[size_t(indice)]; }
    // Index of the first column with that name, ignoring case; -1 when none.
    int indiceColumna(const QString& nombre) const;

    bool esNulo(int fila, int columna) const;
    // The value as the program sees it (QDate for dates, bool for yes/no).
    QVariant valor(int fila, int columna) const;
    // The value as text; empty for null.
    QString texto(int fila, int columna) const;
    // A text key for relating hierarchical levels ("7" for 7 and 7.0).
    QString clave(int fila, int columna) const;

    const std::vector<Capitulo>& capitulos() const { return capitulos_; }
    const Capitulo* capitulo(const QString& nombre) const;

    // A cell as stored, for writers that walk many rows without making a
    // QVariant of every value (the export): which member holds the value
    // follows from the class; text is UTF-8.
    enum class Clase : quint8 { Nulo, Entero, Real, Texto, Binario };
    struct Celda {
        Clase clase = Clase::Nulo;
        qint64 entero = 0;
        double real = 0;
        std::string_view bytes; // text or binary
    };
    Celda celda(int fila, int columna) const;

private:
    union Valor {
        qint64 entero;
        double real;
        struct {
            quint32 inicio; // position in the text buffers
            quint32 longitud;
        } texto;
    };
    // Values and their kinds apart, so that a cell takes 9 bytes, not 16.
    static constexpr size_t kCeldasPorBloque = 4096;
    struct BloqueCeldas {
        Valor valores[kCeldasPorBloque];
        Clase clases[kCeldasPorBloque];
    };
    // Text buffer k holds the positions from k * kBytesPorBloque on; a text
    // never straddles two buffers. A longer text gets a buffer of its own,
    // followed by empty slots for the positions it covers.
    static constexpr size_t kBytesPorBloque = size_t(1) << 20;

    Valor& nueva(Clase clase) {
        if (libresEnBloque_ == 0)
            abrirBloque();
        --libresEnBloque_;
        ++celdas_;
        *claseSiguiente_++ = clase;
        return *valorSiguiente_++;
    }
    void abrirBloque();
    size_t indice(int fila, int columna) const {
        return size_t(fila) * columnas_.size() + size_t(columna);
    }
    const Valor& valorCelda(size_t i) const {
        return bloques_[i / kCeldasPorBloque]->valores[i % kCeldasPorBloque];
    }
    Clase claseCelda(size_t i) const {
        return bloques_[i / kCeldasPorBloque]->clases[i % kCeldasPorBloque];
    }
    const char* datosTexto(const Valor& v) const;
    void agregarBytes(std::string_view bytes, Clase clase) {
        const size_t n = bytes.size();
        if (n > libresEnTexto_)
            abrirTexto(n);
        const size_t inicio = finTexto_;
        if (n > 0)
            std::memcpy(cursorTexto_, bytes.data(), n);
        cursorTexto_ += n;
        finTexto_ += n;
        libresEnTexto_ -= n;
        Valor& v = nueva(clase);
        v.texto.inicio = quint32(inicio);
        v.texto.longitud = quint32(n);
    }
    void abrirTexto(size_t bytes);
    void intercambiar(TablaResultado& otra) noexcept;

    std::vector<Columna> columnas_;
    QHash<QString, int> indicePorNombre_;
    std::vector<std::unique_ptr<BloqueCeldas>> bloques_;
    size_t celdas_ = 0;
    // The free part of the last block.
    Valor* valorSiguiente_ = nullptr;
    Clase* claseSiguiente_ = nullptr;
    size_t libresEnBloque_ = 0;
    std::vector<std::unique_ptr<char[]>> textos_;
    // The free part of the last text buffer: its position, address and size.
    size_t finTexto_ = 0;
    char* cursorTexto_ = nullptr;
    size_t libresEnTexto_ = 0;
    std::vector<Capitulo> capitulos_;
};
