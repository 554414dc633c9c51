#include "muestras/generadordatos.h"

#include "data/cotejo.h"
#include "data/fechas.h"
#include "data/sentencia.h"
#include "muestras/textosmuestra.h"
#include "platform/reloj.h"

#include <QFile>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <unordered_set>
#include <vector>

namespace {

using muestra::Azar;
using namespace std::string_view_literals;

// Offers expire this many days after their date; 0 means no expiry.
constexpr std::array kVigencias = {7, 10, 15, 15, 20, 30, 30, 45, 60, 90};
// Quotes are dated over about the last four years.
constexpr int kDiasHistoria = 4 * 365;
// Expiries forced into the next days, so that the expiry notice has work.
constexpr int kDiasAviso = 10;

constexpr std::array kMonedas = {"EUR"sv, "USD"sv, "GBP"sv};

std::string_view moneda(Azar& azar) {
    const quint32 r = azar.menor(1000);
    return kMonedas[r < 850 ? 0 : r < 970 ? 1 : 2];
}

// One prepared INSERT, bound parameter by parameter and run once per row. Text
// is bound without copying: the caller keeps it alive until correr().
class Insercion {
public:
    Insercion(sqlite3* bd, const char* sql) : bd_(bd) {
        sqlite3_prepare_v2(bd, sql, -1, sentencia_.destino(), nullptr);
        st_ = sentencia_.get();
    }

    bool preparada() const { return st_ != nullptr; }
    void texto(std::string_view t) {
        sqlite3_bind_text(st_, ++indice_, t.data() ? t.data() : "", int(t.size()), SQLITE_STATIC);
    }
    // Absent optional texts are stored as Null.
    void textoOpcional(std::string_view t) {
        if (t.empty())
            sqlite3_bind_null(st_, ++indice_);
        else
            texto(t);
    }
    void entero(qint64 v) { sqlite3_bind_int64(st_, ++indice_, v); }
    void real(double v) { sqlite3_bind_double(st_, ++indice_, v); }
    void nulo() { sqlite3_bind_null(st_, ++indice_); }
    // Stores the row; its key, or 0 when the engine refused it.
    qint64 correr() {
        indice_ = 0;
        const int rc = sqlite3_step(st_);
        sqlite3_reset(st_);
        return rc == SQLITE_DONE ? sqlite3_last_insert_rowid(bd_) : 0;
    }

private:
    sqlite3* bd_;
    Sentencia sentencia_;
    sqlite3_stmt* st_ = nullptr;
    int indice_ = 0;
};

struct Producto {
    qint64 id;
    qint64 centavos;
    std::string_view moneda;
};

// The filling itself: every random draw happens in a fixed order, so the rows
// depend on the seed and today's date alone.
class Llenado {
public:
    Llenado(sqlite3* bd, const ParametrosGeneracion& p)
        : bd_(bd), p_(p), azar_(p.semilla), hoy_(fechas::diaDeFecha(Reloj::hoy())) {}

    bool correr() { return contactos() && categorias() && productos() && presupuestos(); }
    const QString& error() const { return error_; }
    qint64 lineas() const { return lineas_; }

private:
    bool fallar(const char* tabla) {
        error_ = QStringLiteral("No se pudo llenar %1: %2")
                     .arg(QString::fromUtf8(tabla), QString::fromUtf8(sqlite3_errmsg(bd_)));
        return false;
    }

    bool contactos() {
        Insercion ins(bd_, "INSERT INTO CONTACTOS (EmpNombreFantasia, EmpRazonSocial, EmpRuc, "
                           "EmpDireccion, EmpCodigoPostal, EmpTelefono1, EmpTelefono2, EmpFax, "
                           "EmpEmail, EmpURL, EmpZona, EmpCiudad, EmpProvinciaEstado, EmpPais, "
                           "VinId, EmpDesactivado) VALUES "
                           "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        if (!ins.preparada())
            return fallar("CONTACTOS");
        for (int i = 0; i < p_.contactos; ++i) {
            const muestra::Contacto c = muestra::contacto(azar_);
            const int vinculo = azar_.siPorMil(750) ? 1 : 2;
            const bool retirado = azar_.siPorMil(60);
            for (const std::string* t : {&c.nombreFantasia, &c.razonSocial, &c.ruc, &c.direccion,
                                         &c.codigoPostal, &c.telefono1})
                ins.texto(*t);
            for (const std::string* t : {&c.telefono2, &c.fax, &c.email, &c.url})
                ins.textoOpcional(*t);
            for (const std::string* t : {&c.zona, &c.ciudad, &c.provincia, &c.pais})
                ins.texto(*t);
            ins.entero(vinculo);
            ins.entero(retirado ? 1 : 0);
            const qint64 id = ins.correr();
            if (!id)
                return fallar("CONTACTOS");
            idsContactos_.push_back(id);
        }
        return true;
    }

    bool categorias() {
        Insercion ins(bd_, "INSERT INTO CATEGORIAS (CatDescripcion, CatDesactivada) VALUES (?,?)");
        if (!ins.preparada())
            return fallar("CATEGORIAS");
        for (int i = 0; i < p_.categorias; ++i) {
            const std::string descripcion = muestra::categoria(i);
            const bool retirada = i > 0 && azar_.siPorMil(40);
            ins.texto(descripcion);
            ins.entero(retirada ? 1 : 0);
            const qint64 id = ins.correr();
            if (!id)
                return fallar("CATEGORIAS");
            idsCategorias_.push_back(id);
        }
        return true;
    }

    // Descriptions are unique ignoring ASCII case, as the unique index of the
    // table compares them; a description drawn twice gets a reference added.
    std::string descripcionUnica(int indice, std::unordered_set<std::string>& usadas) {
        for (int intento = 0; intento < 8; ++intento) {
            std::string d = muestra::descripcionProducto(azar_);
            std::string clave = d;
            std::transform(clave.begin(), clave.end(), clave.begin(), [](char ch) {
                return (ch >= 'A' && ch <= 'Z') ? char(ch - 'A' + 'a') : ch;
            });
            if (usadas.insert(std::move(clave)).second)
                return d;
        }
        return muestra::descripcionProducto(azar_) + " ref. " +
               muestra::conCeros(quint64(indice), 6);
    }

    // Codes are unique by construction: numeric ones come from a bijection of
    // the product's index modulo 10^10, the others carry the index itself.
    std::string codigo(int indice, quint64 desplazamiento) {
        const quint32 r = azar_.menor(100);
        if (r < 10)
            return {};
        if (r < 25 && indice < 1000000) {
            std::string letras;
            for (int k = 0; k < 3; ++k)
                letras.push_back(char('A' + azar_.menor(26)));
            return letras + '-' + muestra::conCeros(quint64(indice), 6);
        }
        constexpr quint64 kModulo = 10000000000ULL;
        return "84" +
               muestra::conCeros((quint64(indice) * 2654435761ULL + desplazamiento) % kModulo, 10);
    }

    bool productos() {
        Insercion ins(bd_, "INSERT INTO PRODUCTOS (ProCodigo, ProDescripcion, CatId, "
                           "ProUnidadMedida, ProPrecio, ProCosto, ProIVA, ProMoneda, ProMinimo, "
                           "EmpId, ProSinVencimiento, ProDesactivado) VALUES "
                           "(?,?,?,?,?,?,?,?,?,?,?,?)");
        if (!ins.preparada())
            return fallar("PRODUCTOS");
        std::unordered_set<std::string> usadas;
        const quint64 alto = azar_.crudo();
        const quint64 desplazamiento = ((alto << 32) | azar_.crudo()) % 10000000000ULL;
        for (int i = 0; i < p_.productos; ++i) {
            const std::string cod = codigo(i, desplazamiento);
            const std::string descripcion = descripcionUnica(i, usadas);
            const qint64 categoria = idsCategorias_[azar_.menor(quint32(idsCategorias_.size()))];
            const std::string_view unidad = muestra::unidad(azar_);
            const quint32 escala = azar_.menor(100);
            const qint64 centavos = escala < 30   ? azar_.entre(50, 999)
                                    : escala < 65 ? azar_.entre(1000, 9999)
                                    : escala < 90 ? azar_.entre(10000, 99999)
                                                  : azar_.entre(100000, 500000);
            const qint64 costo = centavos * azar_.entre(55, 85) / 100;
            const quint32 tasa = azar_.menor(1000);
            const int iva = tasa < 800 ? 21 : tasa < 950 ? 10 : 4;
            const std::string_view mon = moneda(azar_);
            const int minimo = azar_.entre(0, 50);
            const qint64 proveedor =
                idsContactos_.empty() ? 0
                                      : idsContactos_[azar_.menor(quint32(idsContactos_.size()))];
            const bool sinVencimiento = azar_.siPorMil(700);
            const bool retirado = azar_.siPorMil(50);

            ins.textoOpcional(cod);
            ins.texto(descripcion);
            ins.entero(categoria);
            ins.texto(unidad);
            ins.real(double(centavos) / 100.0);
            ins.real(double(costo) / 100.0);
            ins.real(iva);
            ins.texto(mon);
            ins.entero(minimo);
            if (proveedor)
                ins.entero(proveedor);
            else
                ins.nulo();
            ins.entero(sinVencimiento ? 1 : 0);
            ins.entero(retirado ? 1 : 0);
            const qint64 id = ins.correr();
            if (!id)
                return fallar("PRODUCTOS");
            productos_.push_back({id, centavos, mon});
        }
        return true;
    }

    struct Fecha {
        qint64 dia;
        int vigencia;
        bool operator<(const Fecha& o) const {
            return dia != o.dia ? dia < o.dia : vigencia < o.vigencia;
        }
    };

    // Dates and validity first, sorted, so that keys and numbers grow with the
    // date as they do in real use. The first quote and about one in fifty more
    // expire within the next kDiasAviso days.
    std::vector<Fecha> fechas() {
        std::vector<Fecha> r;
        r.reserve(size_t(p_.presupuestos));
        for (int i = 0; i < p_.presupuestos; ++i) {
            const bool porVencer = i == 0 || azar_.siPorMil(20);
            if (porVencer) {
                const int vigencia = kVigencias[azar_.menor(4)];
                const int faltan = azar_.entre(0, std::min(kDiasAviso, vigencia));
                r.push_back({hoy_ - vigencia + faltan, vigencia});
            } else {
                const int vigencia =
                    azar_.siPorMil(550) ? kVigencias[azar_.menor(quint32(kVigencias.size()))] : 0;
                r.push_back({hoy_ - azar_.entre(0, kDiasHistoria), vigencia});
            }
        }
        std::sort(r.begin(), r.end());
        return r;
    }

    // Mostly plain numbers counting up, some free text per year, a few none.
    std::string numero(qint64 dia, bool& nulo) {
        const quint32 r = azar_.menor(1000);
        nulo = r < 10;
        if (nulo)
            return {};
        if (r < 260) {
            const int anio = fechas::fechaDeDia(dia).year();
            return "P-" + std::to_string(anio) + '/' +
                   muestra::conCeros(quint64(++porAnio_[anio]), 3);
        }
        return std::to_string(++numeroSiguiente_);
    }

    bool presupuestos() {
        Insercion ins(bd_, "INSERT INTO PRESUPUESTOS (PreNumero, PreLugar, PreFecha, PreSaludo, "
                           "EmpId, PreDescripcion1, PreDescripcion2, PreDescripcion3, "
                           "PreOtroConcepto1, PreOtroPrecio1, PreOtroMoneda1, PreOtroConcepto2, "
                           "PreOtroPrecio2, PreOtroMoneda2, PreOtroConcepto3, PreOtroPrecio3, "
                           "PreOtroMoneda3, PreDespedida, PreFirma, PreTextoVigencia, "
                           "PreVigencia, UsuLogin) VALUES "
                           "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        Insercion linea(bd_, "INSERT INTO PRESUPUESTOS_PRODUCTOS (PreId, ProId, PreProPrecio, "
                             "PreProMoneda, PreProCantidad) VALUES (?,?,?,?,?)");
        if (!ins.preparada() || !linea.preparada())
            return fallar("PRESUPUESTOS");
        for (const Fecha& f : fechas()) {
            bool sinNumero = false;
            const std::string num = numero(f.dia, sinNumero);
            const qint64 contacto = idsContactos_[azar_.menor(quint32(idsContactos_.size()))];
            const std::string_view lugar =
                azar_.siPorMil(650) ? "Valencia"sv : muestra::ciudad(azar_);
            const std::string saludo = muestra::saludo(azar_);
            const std::string d1 = muestra::descripcion1(azar_);
            const std::string_view d2 = muestra::descripcion2(azar_);
            const std::string_view d3 = muestra::descripcion3(azar_);
            struct Otro {
                std::string_view concepto, moneda;
                qint64 centavos = 0;
            };
            std::array<Otro, 3> otros{};
            for (size_t k = 0; k < otros.size(); ++k) {
                const bool usado = k == 0 ? azar_.siPorMil(300)
                                          : !otros[k - 1].concepto.empty() && azar_.siPorMil(350);
                if (!usado)
                    continue;
                otros[k].concepto = muestra::conceptoOtro(azar_);
                otros[k].centavos = azar_.entre(2000, 250000);
                otros[k].moneda = azar_.siPorMil(900) ? "EUR"sv : "USD"sv;
            }
            const std::string_view despedida = muestra::despedida(azar_);
            const std::string firma = muestra::firma(azar_);
            const std::string_view usuario = azar_.siPorMil(550) ? "admin"sv : "super"sv;

            if (sinNumero)
                ins.nulo();
            else
                ins.texto(num);
            ins.texto(lugar);
            ins.entero(f.dia);
            ins.texto(saludo);
            ins.entero(contacto);
            ins.texto(d1);
            ins.texto(d2);
            ins.texto(d3);
            for (const Otro& o : otros) {
                ins.texto(o.concepto);
                ins.real(double(o.centavos) / 100.0);
                ins.texto(o.moneda);
            }
            ins.texto(despedida);
            ins.texto(firma);
            ins.texto(f.vigencia > 0 ? "Plazo de vigencia de la oferta:"sv : ""sv);
            ins.entero(f.vigencia);
            ins.texto(usuario);
            const qint64 id = ins.correr();
            if (!id)
                return fallar("PRESUPUESTOS");
            if (!lineas(linea, id))
                return fallar("PRESUPUESTOS_PRODUCTOS");
        }
        return true;
    }

    // 0 to 20 lines, about eight on average, each with a different product.
    bool lineas(Insercion& linea, qint64 presupuesto) {
        int cantidad = 0;
        if (azar_.siPorMil(60)) {
            cantidad = azar_.entre(16, 20);
        } else {
            const int a = azar_.entre(0, 7);
            cantidad = a + azar_.entre(0, 8);
        }
        cantidad = std::min(cantidad, int(productos_.size()));
        std::array<quint32, 20> elegidos{};
        for (int n = 0; n < cantidad;) {
            const quint32 i = azar_.menor(quint32(productos_.size()));
            if (std::find(elegidos.begin(), elegidos.begin() + n, i) != elegidos.begin() + n)
                continue;
            elegidos[size_t(n++)] = i;
            const Producto& pr = productos_[i];
            const qint64 centavos =
                azar_.siPorMil(200) ? pr.centavos * azar_.entre(85, 95) / 100 : pr.centavos;
            const quint32 r = azar_.menor(10);
            const double unidades = r < 7   ? azar_.entre(1, 10)
                                    : r < 9 ? azar_.entre(11, 100)
                                            : azar_.entre(1, 40) / 2.0;
            linea.entero(presupuesto);
            linea.entero(pr.id);
            linea.real(double(centavos) / 100.0);
            linea.texto(pr.moneda);
            linea.real(unidades);
            if (!linea.correr())
                return false;
            ++lineas_;
        }
        return true;
    }

    sqlite3* bd_;
    ParametrosGeneracion p_;
    Azar azar_;
    qint64 hoy_;
    QString error_;
    qint64 lineas_ = 0;
    std::vector<qint64> idsContactos_;
    std::vector<qint64> idsCategorias_;
    std::vector<Producto> productos_;
    std::map<int, int> porAnio_;
    int numeroSiguiente_ = 0;
};

bool ejecutar(sqlite3* bd, const char* sql) {
    return sqlite3_exec(bd, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

} // namespace

GeneradorDatos::GeneradorDatos(const ParametrosGeneracion& parametros) : p_(parametros) {}

bool GeneradorDatos::validar() {
    if (p_.contactos < 0 || p_.categorias < 0 || p_.productos < 0 || p_.presupuestos < 0)
        error_ = QStringLiteral("Las cantidades no pueden ser negativas.");
    else if (p_.presupuestos > 0 && p_.contactos == 0)
        error_ = QStringLiteral("Los presupuestos necesitan al menos un contacto.");
    else if (p_.productos > 0 && p_.categorias == 0)
        error_ = QStringLiteral("Los productos necesitan al menos una categoría.");
    return error_.isEmpty();
}

bool GeneradorDatos::llenar(sqlite3* bd) {
    error_.clear();
    lineas_ = 0;
    if (!validar())
        return false;
    TransaccionSqlite transaccion(bd);
    if (!transaccion.iniciada()) {
        error_ = QString::fromUtf8(sqlite3_errmsg(bd));
        return false;
    }
    Llenado llenado(bd, p_);
    if (!llenado.correr()) {
        error_ = llenado.error();
        return false;
    }
    if (!transaccion.confirmar()) {
        error_ = QString::fromUtf8(sqlite3_errmsg(bd));
        return false;
    }
    lineas_ = llenado.lineas();
    return true;
}

bool GeneradorDatos::generarArchivo(const QString& pristina, const QString& salida) {
    error_.clear();
    lineas_ = 0;
    if (!validar())
        return false;
    if (!QFile::exists(pristina)) {
        error_ = QStringLiteral("No se encuentra la base de datos original '%1'.").arg(pristina);
        return false;
    }
    const QString temporal = salida + QStringLiteral(".tmp");
    QFile::remove(temporal);
    if (!QFile::copy(pristina, temporal)) {
        error_ = QStringLiteral("No se puede escribir '%1'.").arg(temporal);
        return false;
    }
    QFile::setPermissions(temporal, QFile::ReadOwner | QFile::WriteOwner);

    sqlite3* bd = nullptr;
    bool ok = sqlite3_open_v2(QFile::encodeName(temporal).constData(), &bd, SQLITE_OPEN_READWRITE,
                              nullptr) == SQLITE_OK &&
              cotejo::registrar(bd);
    if (!ok) {
        error_ = QString::fromUtf8(sqlite3_errmsg(bd));
    } else {
        // A fresh copy that is renamed only when complete needs no durability
        // while it is filled.
        ejecutar(bd, "PRAGMA synchronous=OFF");
        ejecutar(bd, "PRAGMA journal_mode=MEMORY");
        ejecutar(bd, "PRAGMA cache_size=-65536");
        ok = llenar(bd);
    }
    if (sqlite3_close(bd) != SQLITE_OK && ok) {
        error_ = QStringLiteral("No se puede cerrar '%1'.").arg(temporal);
        ok = false;
    }
    if (ok) {
        std::error_code ec;
        std::filesystem::rename(QFile::encodeName(temporal).constData(),
                                QFile::encodeName(salida).constData(), ec);
        if (ec) {
            error_ = QStringLiteral("No se puede escribir '%1': %2")
                         .arg(salida, QString::fromStdString(ec.message()));
            ok = false;
        }
    }
    if (!ok)
        QFile::remove(temporal);
    return ok;
}
