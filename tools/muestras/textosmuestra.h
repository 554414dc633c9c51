#pragma once

#include <QtGlobal>

#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <string_view>

// The random source and the Spanish-looking texts of the sample-data generator.
namespace muestra {

// Random numbers that are the same on every machine: the C++ standard fixes
// every output of std::mt19937, and the distributions below are ours (the
// library's own may differ between versions). Probabilities are in per mille,
// so no floating point is involved.
class Azar {
public:
    explicit Azar(quint32 semilla) : motor_(semilla) {}

    // Uniform in [0, n), n > 0; rejection keeps every value equally likely.
    quint32 menor(quint32 n);
    // Uniform in [desde, hasta].
    int entre(int desde, int hasta) { return desde + int(menor(quint32(hasta - desde + 1))); }
    // True `porMil` times in a thousand.
    bool siPorMil(int porMil) { return menor(1000) < quint32(porMil); }
    std::string_view elegir(std::span<const std::string_view> lista) {
        return lista[menor(quint32(lista.size()))];
    }
    quint32 crudo() { return quint32(motor_()); }

private:
    std::mt19937 motor_;
};

// Cuts `texto` to at most `caracteres` characters (UTF-8 aware) and drops
// trailing blanks, so that it fits a column of that size.
void recortar(std::string& texto, size_t caracteres);
// Lower-case ASCII letters and digits only ("Muñoz Hnos." -> "munozhnos"),
// for e-mail addresses and web sites.
std::string sinAcentos(std::string_view texto);
// `valor` in decimal, padded with zeros to `ancho` digits.
std::string conCeros(quint64 valor, int ancho);
// An amount in cents as the program writes numbers: "1234.5", "12", "0.05".
std::string importe(qint64 centavos);

struct Contacto {
    std::string nombreFantasia, razonSocial, ruc, direccion, codigoPostal, telefono1, telefono2,
        fax, email, url, zona, ciudad, provincia, pais;
};
Contacto contacto(Azar& azar);

// The category descriptions are unique: past the list of base names a series
// number is added.
std::string categoria(int indice);

// A product description; not necessarily unique (the caller checks).
std::string descripcionProducto(Azar& azar);
std::string_view unidad(Azar& azar);

// Cities, for the place of a quote.
std::string_view ciudad(Azar& azar);
std::string_view apellido(Azar& azar);
std::string_view nombrePila(Azar& azar);

// Texts of a quote.
std::string saludo(Azar& azar);
std::string descripcion1(Azar& azar);
std::string_view descripcion2(Azar& azar);
std::string_view descripcion3(Azar& azar);
std::string_view conceptoOtro(Azar& azar);
std::string_view despedida(Azar& azar);
std::string firma(Azar& azar);

} // namespace muestra
