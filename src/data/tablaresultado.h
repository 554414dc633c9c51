#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

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
// per value and one buffer for all the text (UTF-8), so that large lists stay
// small in memory and fast to fill.
class TablaResultado {
public:
    // Filling, row by row and cell by cell in column order.
    int agregarColumna(const QString& nombre, TipoColumna tipo);
    void agregarNulo();
    void agregarEntero(qint64 valor);
    void agregarReal(double valor);
    void agregarTexto(std::string_view utf8);
    void agregarBinario(std::string_view bytes);
    void agregarValor(const QVariant& valor); // converts dates and booleans
    void agregarCapitulo(Capitulo capitulo);
    void reservar(size_t filas);

    int columnas() const { return int(columnas_.size()); }
    int filas() const { return columnas_.empty() ? 0 : int(celdas_.size() / columnas_.size()); }
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

private:
    enum class Clase : quint8 { Nulo, Entero, Real, Texto, Binario };
    struct Celda {
        union {
            qint64 entero;
            double real;
            struct {
                quint32 inicio;
                quint32 longitud;
            } texto;
        };
        Clase clase;
    };
    const Celda& celda(int fila, int columna) const {
        return celdas_[size_t(fila) * columnas_.size() + size_t(columna)];
    }
    void agregarBytes(std::string_view bytes, Clase clase);

    std::vector<Columna> columnas_;
    QHash<QString, int> indicePorNombre_;
    std::vector<Celda> celdas_;
    std::string textos_;
    std::vector<Capitulo> capitulos_;
};
