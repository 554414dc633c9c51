// The import of 100,000 products (with their categories, suppliers and
// sectors): the program reading the source through unixODBC and Qt's ODBC
// driver and writing through the stored queries, against the same rows read
// and inserted with the raw SQLite API in one transaction. Each run starts
// from a fresh copy of the pristine database, outside the timed part.
#include "casos.h"

#include "crudo.h"
#include "data/modconexion.h"
#include "exchange/importacion.h"
#include "platform/mensajes.h"

#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <array>
#include <unordered_map>

namespace intercambio {

namespace {

// Messages are counted, not shown.
class MensajesMudos final : public ServicioMensajes {
public:
    Respuesta mostrar(const QString&, Botones, Icono, const QString&) override {
        ++mostrados;
        return Respuesta::Aceptar;
    }
    QString pedirTexto(const QString&, const QString&, const QString&) override { return {}; }
    int mostrados = 0;
};

bool copiaPristina(const QString& destino) {
    QFile::remove(destino);
    return QFile::copy(QStringLiteral(TARVO_BD_PRISTINA), destino) &&
           QFile::setPermissions(destino, QFile::ReadOwner | QFile::WriteOwner);
}

ResultadoImportacion importarTarvo(const bases::Rutas& rutas, MensajesMudos& mudos) {
    Q_UNUSED(rutas);
    mudos.mostrados = 0;
    return importarBodex(bases::kOrigenBodex, QStringLiteral("pelmor"));
}

// The raw side: every source row read with sqlite3 and inserted with
// prepared statements, the products' references mapped to the new ids.
struct Crudo {
    sqlite3* destino = nullptr;
    sqlite3* fuente = nullptr;
    std::array<int, 4> filas{};

    using Mapa = std::unordered_map<qint64, qint64>;

    bool copiar(const char* select, const char* insert, const std::vector<int>& columnas,
                int indice, Mapa* mapa, const std::vector<std::pair<int, const Mapa*>>& refs,
                int extra) {
        sqlite3_stmt* s = nullptr;
        sqlite3_stmt* i = nullptr;
        bool bien = sqlite3_prepare_v2(fuente, select, -1, &s, nullptr) == SQLITE_OK &&
                    sqlite3_prepare_v2(destino, insert, -1, &i, nullptr) == SQLITE_OK;
        while (bien && sqlite3_step(s) == SQLITE_ROW) {
            int p = 0;
            for (int c : columnas) {
                ++p;
                const Mapa* ref = nullptr;
                for (const auto& [col, m] : refs)
                    if (col == c)
                        ref = m;
                if (ref && sqlite3_column_type(s, c) != SQLITE_NULL) {
                    const auto it = ref->find(sqlite3_column_int64(s, c));
                    if (it == ref->end())
                        sqlite3_bind_null(i, p);
                    else
                        sqlite3_bind_int64(i, p, it->second);
                } else {
                    sqlite3_bind_value(i, p, sqlite3_column_value(s, c));
                }
            }
            if (extra)
                sqlite3_bind_int(i, ++p, extra);
            bien = sqlite3_step(i) == SQLITE_DONE;
            sqlite3_reset(i);
            if (mapa)
                (*mapa)[sqlite3_column_int64(s, 0)] = sqlite3_last_insert_rowid(destino);
            ++filas[size_t(indice)];
        }
        sqlite3_finalize(s);
        sqlite3_finalize(i);
        return bien;
    }

    bool importar() {
        Mapa categorias, proveedores;
        filas = {};
        return sqlite3_exec(destino, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK &&
               copiar("SELECT CatId, CatDescripcion, CatDesactivada FROM categorias",
                      "INSERT INTO CATEGORIAS (CatDescripcion, CatDesactivada) VALUES (?,?)",
                      {1, 2}, 0, &categorias, {}, 0) &&
               copiar("SELECT EmpId,EmpNombreFantasia,EmpRazonSocial,EmpRuc,EmpDireccion,"
                      "EmpCodigoPostal,EmpTelefono1,EmpTelefono2,EmpFax,EmpEmail,EmpURL,EmpZona,"
                      "EmpCiudad,EmpProvinciaEstado,EmpPais,EmpDesactivado FROM proveedores",
                      "INSERT INTO CONTACTOS (EmpNombreFantasia, EmpRazonSocial, EmpRuc, "
                      "EmpDireccion, EmpCodigoPostal, EmpTelefono1, EmpTelefono2, EmpFax, "
                      "EmpEmail, EmpURL, EmpZona, EmpCiudad, EmpProvinciaEstado, EmpPais, "
                      "EmpDesactivado, VinId) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                      {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, 3, &proveedores, {},
                      2) &&
               copiar("SELECT ProId,ProCodigo,ProDescripcion,CatId,ProUnidadMedida,ProPrecio,"
                      "ProCosto,ProMoneda,ProMinimo,EmpId,ProSinVencimiento,ProDesactivado FROM "
                      "productos",
                      "INSERT INTO PRODUCTOS (ProCodigo, ProDescripcion, CatId, ProUnidadMedida, "
                      "ProPrecio, ProCosto, ProMoneda, ProMinimo, EmpId, ProSinVencimiento, "
                      "ProDesactivado) VALUES (?,?,?,?,?,?,?,?,?,?,?)",
                      {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 1, nullptr,
                      {{3, &categorias}, {9, &proveedores}}, 0) &&
               copiar("SELECT SecId, SecDescripcion, SecDesactivado FROM sectores",
                      "INSERT INTO SECTORES (SecDescripcion, SecDesactivado) VALUES (?,?)", {1, 2},
                      2, nullptr, {}, 0) &&
               sqlite3_exec(destino, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
};

bool abrirCrudo(const bases::Rutas& rutas, Crudo& c) {
    if (!copiaPristina(rutas.trabajo + QStringLiteral(".crudo")))
        return false;
    c.destino = crudo::abrir(rutas.trabajo + QStringLiteral(".crudo"));
    return c.destino && sqlite3_open_v2(QFile::encodeName(rutas.origen).constData(), &c.fuente,
                                        SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK;
}

void cerrarCrudo(Crudo& c) {
    crudo::cerrar(c.destino);
    sqlite3_close(c.fuente);
    c.destino = c.fuente = nullptr;
}

MensajesMudos mudos;

bool prepararTrabajo(const bases::Rutas& rutas) {
    CerrarConexion();
    return copiaPristina(rutas.trabajo) && usarConexion(bases::kOrigenTrabajo);
}

} // namespace

void registrarImportar(const bases::Rutas& rutas) {
    benchmark::RegisterBenchmark("importar/tarvo",
                                 [rutas](benchmark::State& estado) {
                                     instalarMensajes(&mudos);
                                     ResultadoImportacion r;
                                     for (auto _ : estado) {
                                         estado.PauseTiming();
                                         if (!prepararTrabajo(rutas)) {
                                             estado.SkipWithError("no se pudo preparar la base");
                                             break;
                                         }
                                         estado.ResumeTiming();
                                         r = importarTarvo(rutas, mudos);
                                         if (r.fin != FinImportacion::Terminada) {
                                             estado.SkipWithError("la importación falló");
                                             break;
                                         }
                                     }
                                     estado.counters["productos"] = r.importadas[bodex::Productos];
                                     instalarMensajes(nullptr);
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    benchmark::RegisterBenchmark("importar/sqlite",
                                 [rutas](benchmark::State& estado) {
                                     Crudo c;
                                     for (auto _ : estado) {
                                         estado.PauseTiming();
                                         if (!abrirCrudo(rutas, c)) {
                                             estado.SkipWithError("no se pudieron abrir las bases");
                                             break;
                                         }
                                         estado.ResumeTiming();
                                         const bool bien = c.importar();
                                         estado.PauseTiming();
                                         cerrarCrudo(c);
                                         estado.ResumeTiming();
                                         if (!bien) {
                                             estado.SkipWithError("la inserción falló");
                                             break;
                                         }
                                     }
                                     estado.counters["productos"] = c.filas[1];
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
}

bool comprobarImportar(const bases::Rutas& rutas) {
    instalarMensajes(&mudos);
    const bool listo = prepararTrabajo(rutas);
    const ResultadoImportacion r = listo ? importarTarvo(rutas, mudos) : ResultadoImportacion{};
    instalarMensajes(nullptr);
    Crudo c;
    const bool crudoBien = abrirCrudo(rutas, c) && c.importar();
    cerrarCrudo(c);
    std::printf("Importación: %d categorías, %d productos, %d sectores, %d proveedores "
                "(SQLite: %d, %d, %d, %d)%s\n",
                r.importadas[0], r.importadas[1], r.importadas[2], r.importadas[3], c.filas[0],
                c.filas[1], c.filas[2], c.filas[3],
                r.fin == FinImportacion::Terminada ? "" : "  ¡LA IMPORTACIÓN FALLÓ!");
    return r.fin == FinImportacion::Terminada && crudoBien &&
           r.importadas[bodex::Productos] == c.filas[1] && c.filas[1] == bases::kProductos;
}

} // namespace intercambio
