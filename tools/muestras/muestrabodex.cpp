#include "muestras/muestrabodex.h"

#include "muestras/textosmuestra.h"

#include <QFile>
#include <QSet>

#include <sqlite3.h>

#include <array>
#include <string>
#include <vector>

namespace muestrabodex {

namespace {

using muestra::Azar;
using namespace std::string_view_literals;

// Column types as the stock-control program declares them: yes/no as BIT.
constexpr const char* kTablas =
    "CREATE TABLE categorias (CatId INTEGER PRIMARY KEY, CatDescripcion VARCHAR(50), "
    "CatDesactivada BIT NOT NULL DEFAULT 0);"
    "CREATE TABLE productos (ProId INTEGER PRIMARY KEY, ProCodigo VARCHAR(12), "
    "ProDescripcion VARCHAR(100), CatId INTEGER, ProUnidadMedida VARCHAR(20), ProPrecio DOUBLE, "
    "ProCosto DOUBLE, ProMoneda VARCHAR(10), ProMinimo INTEGER, EmpId INTEGER, "
    "ProSinVencimiento BIT NOT NULL DEFAULT 0, ProDesactivado BIT NOT NULL DEFAULT 0);"
    "CREATE TABLE sectores (SecId INTEGER PRIMARY KEY, SecDescripcion VARCHAR(50), "
    "SecDesactivado BIT NOT NULL DEFAULT 0);"
    "CREATE TABLE proveedores (EmpId INTEGER PRIMARY KEY, EmpNombreFantasia VARCHAR(30), "
    "EmpRazonSocial VARCHAR(30), EmpRuc VARCHAR(20), EmpDireccion VARCHAR(50), "
    "EmpCodigoPostal VARCHAR(10), EmpTelefono1 VARCHAR(20), EmpTelefono2 VARCHAR(20), "
    "EmpFax VARCHAR(20), EmpEmail VARCHAR(50), EmpURL VARCHAR(50), EmpZona VARCHAR(50), "
    "EmpCiudad VARCHAR(50), EmpProvinciaEstado VARCHAR(50), EmpPais VARCHAR(50), "
    "EmpDesactivado BIT NOT NULL DEFAULT 0);";

constexpr std::array kSectores = {"Almacén"sv,   "Mostrador"sv,  "Compras"sv, "Taller"sv,
                                  "Depósito"sv,  "Logística"sv,  "Ventas"sv,  "Administración"sv,
                                  "Recepción"sv, "Expedición"sv, "Calidad"sv, "Mantenimiento"sv};
constexpr std::array kMonedas = {"EUR"sv, "EUR"sv, "EUR"sv, "USD"sv};

class Insercion {
public:
    Insercion(sqlite3* bd, const char* sql) { sqlite3_prepare_v2(bd, sql, -1, &st_, nullptr); }
    ~Insercion() { sqlite3_finalize(st_); }
    Insercion(const Insercion&) = delete;
    Insercion& operator=(const Insercion&) = delete;

    bool preparada() const { return st_ != nullptr; }
    void texto(std::string_view t) {
        if (t.empty())
            sqlite3_bind_null(st_, ++indice_);
        else
            sqlite3_bind_text(st_, ++indice_, t.data(), int(t.size()), SQLITE_TRANSIENT);
    }
    void entero(qint64 v) { sqlite3_bind_int64(st_, ++indice_, v); }
    void real(double v) { sqlite3_bind_double(st_, ++indice_, v); }
    void nulo() { sqlite3_bind_null(st_, ++indice_); }
    bool correr() {
        indice_ = 0;
        const int rc = sqlite3_step(st_);
        sqlite3_reset(st_);
        return rc == SQLITE_DONE;
    }

private:
    sqlite3_stmt* st_ = nullptr;
    int indice_ = 0;
};

class Llenado {
public:
    Llenado(sqlite3* bd, const Parametros& p) : bd_(bd), p_(p), azar_(p.semilla) {}

    bool correr() { return categorias() && proveedores() && sectores() && productos(); }
    const QString& error() const { return error_; }

private:
    bool fallar(const char* tabla) {
        error_ = QStringLiteral("No se pudo llenar %1: %2")
                     .arg(QString::fromUtf8(tabla), QString::fromUtf8(sqlite3_errmsg(bd_)));
        return false;
    }
    // Ids grow with gaps now and then (always after the first row), as rows
    // deleted in the source leave them.
    qint64 siguiente(qint64& id, int indice) {
        id += indice == 1 || azar_.siPorMil(200) ? azar_.entre(2, 6) : 1;
        return id;
    }
    // Every table has deactivated rows: the fourth of every ten and a few more.
    bool desactivado(int indice, int porMil) { return indice % 10 == 3 || azar_.siPorMil(porMil); }

    bool categorias() {
        Insercion ins(bd_, "INSERT INTO categorias VALUES (?,?,?)");
        if (!ins.preparada())
            return fallar("categorias");
        qint64 id = 0;
        for (int i = 0; i < p_.categorias; ++i) {
            ins.entero(siguiente(id, i));
            ins.texto(muestra::categoria(i));
            ins.entero(desactivado(i, 50) ? 1 : 0);
            if (!ins.correr())
                return fallar("categorias");
            categorias_.push_back(id);
        }
        return true;
    }

    bool proveedores() {
        Insercion ins(bd_, "INSERT INTO proveedores VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        if (!ins.preparada())
            return fallar("proveedores");
        qint64 id = 0;
        for (int i = 0; i < p_.proveedores; ++i) {
            const muestra::Contacto c = muestra::contacto(azar_);
            ins.entero(siguiente(id, i));
            for (const std::string* t :
                 {&c.nombreFantasia, &c.razonSocial, &c.ruc, &c.direccion, &c.codigoPostal,
                  &c.telefono1, &c.telefono2, &c.fax, &c.email, &c.url, &c.zona, &c.ciudad,
                  &c.provincia, &c.pais})
                ins.texto(*t);
            ins.entero(desactivado(i, 50) ? 1 : 0);
            if (!ins.correr())
                return fallar("proveedores");
            proveedores_.push_back(id);
        }
        return true;
    }

    bool sectores() {
        Insercion ins(bd_, "INSERT INTO sectores VALUES (?,?,?)");
        if (!ins.preparada())
            return fallar("sectores");
        qint64 id = 0;
        for (int i = 0; i < p_.sectores; ++i) {
            std::string nombre(kSectores[size_t(i) % kSectores.size()]);
            if (size_t(i) >= kSectores.size()) {
                // Appended in two steps: " " + to_string() trips GCC 12's
                // -Wrestrict in an optimised build.
                nombre += ' ';
                nombre += std::to_string(size_t(i) / kSectores.size() + 1);
            }
            ins.entero(siguiente(id, i));
            ins.texto(nombre);
            ins.entero(desactivado(i, 50) ? 1 : 0);
            if (!ins.correr())
                return fallar("sectores");
        }
        return true;
    }

    // Unique ignoring case, as the importing database compares descriptions.
    std::string descripcionUnica(int indice) {
        for (int intento = 0; intento < 8; ++intento) {
            std::string d = muestra::descripcionProducto(azar_);
            if (!usadas_.contains(QString::fromStdString(d).toLower())) {
                usadas_.insert(QString::fromStdString(d).toLower());
                return d;
            }
        }
        std::string d =
            muestra::descripcionProducto(azar_) + " ref. " + muestra::conCeros(quint64(indice), 6);
        usadas_.insert(QString::fromStdString(d).toLower());
        return d;
    }

    bool productos() {
        Insercion ins(bd_, "INSERT INTO productos VALUES (?,?,?,?,?,?,?,?,?,?,?,?)");
        if (!ins.preparada())
            return fallar("productos");
        qint64 id = 0;
        for (int i = 0; i < p_.productos; ++i) {
            ins.entero(siguiente(id, i));
            // Codes are unique by construction: the index in a fixed-width field.
            ins.texto(azar_.siPorMil(100) ? std::string()
                                          : "779" + muestra::conCeros(quint64(i) + 1, 9));
            ins.texto(descripcionUnica(i));
            if (categorias_.empty())
                ins.nulo();
            else
                ins.entero(categorias_[azar_.menor(quint32(categorias_.size()))]);
            ins.texto(muestra::unidad(azar_));
            const qint64 centavos =
                azar_.siPorMil(700) ? azar_.entre(50, 9999) : azar_.entre(10000, 250000);
            ins.real(double(centavos) / 100);
            if (azar_.siPorMil(50))
                ins.nulo();
            else
                ins.real(double(centavos * azar_.entre(55, 85) / 100) / 100);
            ins.texto(kMonedas[azar_.menor(quint32(kMonedas.size()))]);
            ins.entero(azar_.entre(0, 20));
            if (proveedores_.empty() || azar_.siPorMil(80))
                ins.nulo();
            else
                ins.entero(proveedores_[azar_.menor(quint32(proveedores_.size()))]);
            ins.entero(azar_.siPorMil(300) ? 1 : 0);
            ins.entero(desactivado(i, 30) ? 1 : 0);
            if (!ins.correr())
                return fallar("productos");
        }
        return true;
    }

    sqlite3* bd_;
    Parametros p_;
    Azar azar_;
    QString error_;
    std::vector<qint64> categorias_;
    std::vector<qint64> proveedores_;
    QSet<QString> usadas_;
};

} // namespace

bool crearTablas(sqlite3* bd, QString& error) {
    char* mensaje = nullptr;
    if (sqlite3_exec(bd, kTablas, nullptr, nullptr, &mensaje) == SQLITE_OK)
        return true;
    error = QString::fromUtf8(mensaje ? mensaje : sqlite3_errmsg(bd));
    sqlite3_free(mensaje);
    return false;
}

bool generar(const QString& ruta, const Parametros& p, QString& error) {
    if (p.categorias < 0 || p.productos < 0 || p.sectores < 0 || p.proveedores < 0) {
        error = QStringLiteral("Las cantidades no pueden ser negativas.");
        return false;
    }
    const QString temporal = ruta + QStringLiteral(".tmp");
    QFile::remove(temporal);
    sqlite3* bd = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(temporal).constData(), &bd,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        error = QStringLiteral("No se puede crear %1: %2")
                    .arg(temporal, QString::fromUtf8(sqlite3_errmsg(bd)));
        sqlite3_close(bd);
        return false;
    }
    bool bien =
        crearTablas(bd, error) && sqlite3_exec(bd, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (bien) {
        Llenado llenado(bd, p);
        bien = llenado.correr();
        if (!bien)
            error = llenado.error();
        bien = bien && sqlite3_exec(bd, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    sqlite3_close(bd);
    if (bien) {
        QFile::remove(ruta);
        bien = QFile::rename(temporal, ruta);
        if (!bien)
            error = QStringLiteral("No se puede escribir %1.").arg(ruta);
    }
    if (!bien)
        QFile::remove(temporal);
    return bien;
}

} // namespace muestrabodex
