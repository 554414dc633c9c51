// The import from the stock-control program, from a real ODBC data source
// (a SQLite file registered for the SQLite3 driver) into a fresh database.
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"
#include "comun/origenprueba.h"
#include "data/conexionodbc.h"
#include "data/modconexion.h"
#include "exchange/importacion.h"
#include "muestras/muestrabodex.h"

#include "platform/odbc.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <memory>

namespace {

const QString kNada =
    QStringLiteral("\r\nNo se importó ningún dato: la base de datos quedó como estaba.");

QString resumen(int categorias, int productos, int sectores, int proveedores) {
    return QStringLiteral("Importación terminada.\r\n\r\nCategorías: %1\r\nProductos: %2\r\n"
                          "Sectores: %3\r\nProveedores: %4")
        .arg(categorias)
        .arg(productos)
        .arg(sectores)
        .arg(proveedores);
}

} // namespace

class PruebaImportacion : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;
    std::unique_ptr<Fixtura> destino;
    std::unique_ptr<OrigenPrueba> origen;
    QString dsn;

    QStringList filas(const QString& sql) {
        const auto r = destino->conexion().ejecutar(sql);
        if (!r.ok)
            qFatal("%s: %s", qPrintable(sql),
                   qPrintable(destino->conexion().errores().value(0).descripcion));
        QStringList lista;
        for (int f = 0; f < r.filas->filas(); ++f) {
            QStringList celdas;
            for (int c = 0; c < r.filas->columnas(); ++c)
                celdas << (r.filas->esNulo(f, c) ? QStringLiteral("<nulo>") : r.filas->texto(f, c));
            lista << celdas.join(u'|');
        }
        return lista;
    }
    // Every row of the tables the import writes.
    QStringList contenido() {
        QStringList todas;
        for (const char* tabla : {"CATEGORIAS", "CONTACTOS", "PRODUCTOS", "SECTORES"})
            todas << filas(QStringLiteral("SELECT * FROM ") + QString::fromLatin1(tabla));
        return todas;
    }
    // A small source with rows of every kind.
    void origenCompleto() {
        origen->categoria(3, QStringLiteral("Herramientas"));
        origen->categoria(7, QStringLiteral("Pinturas"), true);
        origen->proveedor(10, QStringLiteral("Ferrosur"));
        origen->proveedor(20, QStringLiteral("Pinturerías Sol"), true);
        origen->producto({5, QStringLiteral("A1"), QStringLiteral("Martillo"), 3,
                          QStringLiteral("unidad"), 10.5, 7.25, QStringLiteral("EUR"), 2, 20, 1,
                          0});
        origen->producto({6, QVariant(), QStringLiteral("Brocha ñ"), 7, QStringLiteral("unidad"),
                          3.0, QVariant(), QStringLiteral("EUR"), QVariant(), 10, 0, 1});
        origen->producto({9, QStringLiteral("X9"), QStringLiteral("Sin categoría"), 99,
                          QStringLiteral("caja"), 1.0, 0.5, QStringLiteral("USD"), 0, 55, 0, 0});
        origen->sector(2, QStringLiteral("Almacén"));
        origen->sector(5, QStringLiteral("Taller"), true);
    }
    ResultadoImportacion importar(const ProgresoImportacion& progreso = {}) {
        return importarBodex(dsn, QStringLiteral("pelmor"), progreso);
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        const QString base = entorno->copiarBase();
        destino = std::make_unique<Fixtura>(base);
        // Rows already there, so the ids the import gets differ from the source's.
        destino->conexion().ejecutar(
            QStringLiteral("INSERT INTO CATEGORIAS (CatDescripcion) VALUES ('Existente')"));
        destino->contacto(QStringLiteral("Cliente previo"));
        destino->producto(QStringLiteral("Previo"));
        abrirConexionDePrueba(base);
        origen = std::make_unique<OrigenPrueba>(entorno->ruta(QStringLiteral("bodex.mdb")));
        dsn = OrigenPrueba::nombreNuevo();
        origen->registrar(dsn);
    }
    void cleanup() {
        if (conexion())
            CerrarConexion();
        origen.reset();
        destino.reset();
        mensajes.reset();
        entorno.reset();
    }

    // Updates reach the rows just inserted, and products point at the
    // categories and suppliers they had in the source, whatever ids the
    // target gave them.
    void idsConHuecosSeMapean() {
        origenCompleto();
        const ResultadoImportacion r = importar();
        QCOMPARE(r.fin, FinImportacion::Terminada);
        // Read through ODBC, although the driver is SQLite's.
        QVERIFY(dynamic_cast<ConexionOdbc*>(conexionOrigen()));
        QCOMPARE(mensajes->textos(), QStringList{resumen(2, 3, 2, 2)});
        QCOMPARE(mensajes->mostrados().first().titulo, QStringLiteral("Resultado"));

        QCOMPARE(filas(QStringLiteral("SELECT * FROM CATEGORIAS ORDER BY CatId")),
                 (QStringList{QStringLiteral("1|Existente|Falso"),
                              QStringLiteral("2|Herramientas|Falso"),
                              QStringLiteral("3|Pinturas|Verdadero")}));
        QCOMPARE(filas(QStringLiteral("SELECT EmpId, EmpNombreFantasia, EmpRazonSocial, EmpPais, "
                                      "VinId, EmpDesactivado FROM CONTACTOS ORDER BY EmpId")),
                 (QStringList{QStringLiteral("1|Cliente previo|<nulo>|<nulo>|1|Falso"),
                              QStringLiteral("2|Ferrosur|Ferrosur S.L.|Fer-país|2|Falso"),
                              QStringLiteral("3|Pinturerías Sol|Pinturerías Sol S.L.|Pin-país|2|"
                                             "Verdadero")}));
        QCOMPARE(
            filas(QStringLiteral(
                "SELECT ProId, ProCodigo, ProDescripcion, CatId, ProUnidadMedida, ProPrecio, "
                "ProCosto, ProMoneda, ProMinimo, EmpId, ProSinVencimiento, ProDesactivado "
                "FROM PRODUCTOS ORDER BY ProId")),
            (QStringList{
                QStringLiteral("1|<nulo>|Previo|1|<nulo>|0|0|<nulo>|0|<nulo>|Falso|Falso"),
                QStringLiteral("2|A1|Martillo|2|unidad|10.5|7.25|EUR|2|3|Verdadero|Falso"),
                QStringLiteral("3|<nulo>|Brocha ñ|3|unidad|3|<nulo>|EUR|<nulo>|2|Falso|Verdadero"),
                // Its category and supplier are not in the source: no category (0),
                // no supplier, rather than someone else's.
                QStringLiteral("4|X9|Sin categoría|0|caja|1|0.5|USD|0|<nulo>|Falso|Falso")}));
        QCOMPARE(
            filas(QStringLiteral("SELECT * FROM SECTORES ORDER BY SecId")),
            (QStringList{QStringLiteral("1|Almacén|Falso"), QStringLiteral("2|Taller|Verdadero")}));
    }

    void tablaVaciaSeSalta() {
        origen->categoria(1, QStringLiteral("Única"));
        origen->proveedor(1, QStringLiteral("Solo"));
        const ResultadoImportacion r = importar();
        QCOMPARE(r.fin, FinImportacion::Terminada);
        QCOMPARE(mensajes->textos(), QStringList{resumen(1, 0, 0, 1)});
        QCOMPARE(destino->contar(QStringLiteral("SECTORES")), 0);
        QCOMPARE(destino->contar(QStringLiteral("PRODUCTOS")), 1);
        QCOMPARE(destino->contar(QStringLiteral("CATEGORIAS")), 2);
    }

    void tablaIlegibleDeshaceTodo() {
        origenCompleto();
        origen->ejecutar(QStringLiteral("DROP TABLE sectores"));
        const QStringList antes = contenido();
        const ResultadoImportacion r = importar();
        QCOMPARE(r.fin, FinImportacion::Fallida);
        const QStringList textos = mensajes->textos();
        QVERIFY(textos.size() >= 2);
        QVERIFY2(textos.first().startsWith(QStringLiteral("Error número: ")),
                 qPrintable(textos.first()));
        QCOMPARE(textos.last(),
                 QStringLiteral("No se pudo leer la tabla de sectores de Bodex.") + kNada);
        QCOMPARE(mensajes->mostrados().last().icono, Icono::Exclamacion);
        QCOMPARE(contenido(), antes);
    }

    // Categories and suppliers are written before the products; a product the
    // unique index refuses undoes them too.
    void falloEnLaTerceraTablaDeshaceTodo() {
        origenCompleto();
        origen->producto({30, QVariant(), QStringLiteral("PREVIO"), 3, QVariant(), 1.0, 1.0,
                          QVariant(), 0, QVariant(), 0, 0});
        const QStringList antes = contenido();
        const ResultadoImportacion r = importar();
        QCOMPARE(r.fin, FinImportacion::Fallida);
        QCOMPARE(r.importadas[bodex::Categorias], 2);
        QCOMPARE(r.importadas[bodex::Proveedores], 2);
        const QStringList textos = mensajes->textos();
        QCOMPARE(textos.size(), 3);
        QVERIFY(textos[0].startsWith(QStringLiteral("Error número: -2147217900\r")));
        QCOMPARE(textos[1], textos[0]);
        QCOMPARE(textos[2], QStringLiteral("No se pudo importar el producto \"PREVIO\".") + kNada);
        QCOMPARE(contenido(), antes);
    }

    // A value the source driver would silently change stops the import
    // before anything is written, naming where it is.
    void valorQueNoCabeDetieneTodo_data() {
        QTest::addColumn<QString>("columna");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("problema");
        QTest::newRow("coma decimal") << "ProPrecio"
                                      << "1,5"
                                      << "no es un número (con punto decimal)";
        QTest::newRow("letras") << "ProCosto"
                                << "abc"
                                << "no es un número (con punto decimal)";
        QTest::newRow("decimal en un entero") << "ProMinimo"
                                              << "1.5"
                                              << "no es un número entero";
        QTest::newRow("sí/no en palabras") << "ProDesactivado"
                                           << "si"
                                           << "no es un valor Sí/No (0 o 1)";
    }
    void valorQueNoCabeDetieneTodo() {
        QFETCH(QString, columna);
        QFETCH(QString, valor);
        QFETCH(QString, problema);
        origenCompleto();
        origen->ejecutar(QStringLiteral("UPDATE productos SET %1 = ? WHERE ProId = 6").arg(columna),
                         {valor});
        const QStringList antes = contenido();
        QCOMPARE(importar().fin, FinImportacion::Fallida);
        QCOMPARE(
            mensajes->textos(),
            QStringList{QStringLiteral("En la tabla productos de Bodex, fila 2, columna %1, el "
                                       "valor «%2» %3.")
                            .arg(columna, valor, problema) +
                        kNada});
        QCOMPARE(contenido(), antes);
    }

    void origenQueNoAbre_data() {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<bool>("conArchivo");
        QTest::newRow("sin origen de datos") << QString() << true;
        QTest::newRow("driver ausente") << "libno_existe_odbc.so" << true;
        QTest::newRow("archivo ausente") << "SQLite3" << false;
    }
    void origenQueNoAbre() {
        QFETCH(QString, driver);
        QFETCH(bool, conArchivo);
        origenCompleto();
        const QString nombre = OrigenPrueba::nombreNuevo();
        const QString archivo =
            conArchivo ? origen->ruta() : entorno->ruta(QStringLiteral("no.mdb"));
        if (!driver.isEmpty())
            QVERIFY(odbc::escribirOrigenUsuario(
                nombre, driver.endsWith(u".so") ? entorno->ruta(driver) : driver, archivo));
        const QStringList antes = contenido();
        const ResultadoImportacion r = importarBodex(nombre, QStringLiteral("pelmor"));
        QCOMPARE(r.fin, FinImportacion::SinOrigen);
        QCOMPARE(mensajes->mostrados().size(), 1);
        const auto& m = mensajes->mostrados().first();
        QVERIFY2(m.texto.startsWith(QStringLiteral("No se puede abrir el origen de datos \"%1\" de "
                                                   "Bodex.\r\n")
                                        .arg(nombre)),
                 qPrintable(m.texto));
        QVERIFY(m.texto.endsWith(QStringLiteral("Verifique que Bodex esté instalado, que exista su "
                                                "origen de datos ODBC \"%1\" y que la contraseña "
                                                "sea la correcta.")
                                     .arg(nombre)));
        QCOMPARE(m.icono, Icono::Exclamacion);
        QCOMPARE(contenido(), antes);
        QVERIFY(!QFile::exists(entorno->ruta(QStringLiteral("no.mdb"))));
        // The shared connection goes on as before.
        QVERIFY(conexion() && !conexion()->enTransaccion());
    }

    // Where the schema allows it every row is added again; where a unique
    // index refuses, the second import adds nothing at all.
    void importarDosVeces() {
        origen->sector(1, QStringLiteral("Almacén"));
        origen->proveedor(4, QStringLiteral("Ferrosur"), true);
        QCOMPARE(importar().fin, FinImportacion::Terminada);
        QCOMPARE(importar().fin, FinImportacion::Terminada);
        QCOMPARE(filas(QStringLiteral("SELECT SecId, SecDescripcion FROM SECTORES")),
                 (QStringList{QStringLiteral("1|Almacén"), QStringLiteral("2|Almacén")}));
        QCOMPARE(filas(QStringLiteral("SELECT EmpId, EmpDesactivado FROM CONTACTOS WHERE "
                                      "EmpNombreFantasia = 'Ferrosur'")),
                 (QStringList{QStringLiteral("2|Verdadero"), QStringLiteral("3|Verdadero")}));

        origen->categoria(1, QStringLiteral("Herramientas"));
        QCOMPARE(importar().fin, FinImportacion::Terminada);
        const QStringList antes = contenido();
        mensajes->limpiar();
        QCOMPARE(importar().fin, FinImportacion::Fallida);
        QCOMPARE(mensajes->textos().last(),
                 QStringLiteral("No se pudo importar la categoría \"Herramientas\".") + kNada);
        QCOMPARE(contenido(), antes);
    }

    // The display hears of each table being read, then of each table being
    // written every 250 rows; a cancel undoes what was written.
    void avanceYCancelacion() {
        origen->categoria(1, QStringLiteral("General"));
        origen->ejecutar(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600) "
            "INSERT INTO productos (ProId, ProDescripcion, CatId) SELECT i * 2, 'Producto ' || i, "
            "1 FROM n"));
        QStringList vistos;
        const auto anotar = [&vistos](const AvanceImportacion& a) {
            vistos << QStringLiteral("%1 %2/%3").arg(a.texto).arg(a.hechas).arg(a.total);
            return true;
        };
        QCOMPARE(importar(anotar).fin, FinImportacion::Terminada);
        QCOMPARE(vistos, (QStringList{
                             QStringLiteral("Leyendo categorías de Bodex 0/0"),
                             QStringLiteral("Leyendo productos de Bodex 0/0"),
                             QStringLiteral("Leyendo sectores de Bodex 0/0"),
                             QStringLiteral("Leyendo proveedores de Bodex 0/0"),
                             QStringLiteral("Importando categorías 0/1"),
                             QStringLiteral("Importando categorías 1/1"),
                             QStringLiteral("Importando proveedores 0/0"),
                             QStringLiteral("Importando proveedores 0/0"),
                             QStringLiteral("Importando productos 0/600"),
                             QStringLiteral("Importando productos 250/600"),
                             QStringLiteral("Importando productos 500/600"),
                             QStringLiteral("Importando productos 600/600"),
                             QStringLiteral("Importando sectores 0/0"),
                             QStringLiteral("Importando sectores 0/0"),
                         }));
        QCOMPARE(destino->contar(QStringLiteral("PRODUCTOS")), 601);

        // A second run of the same rows, stopped midway through the products.
        destino->conexion().ejecutar(QStringLiteral("DELETE FROM PRODUCTOS WHERE ProId > 1"));
        destino->conexion().ejecutar(
            QStringLiteral("DELETE FROM CATEGORIAS WHERE CatDescripcion = 'General'"));
        const QStringList antes = contenido();
        mensajes->limpiar();
        const ResultadoImportacion r = importar([](const AvanceImportacion& a) {
            return !(a.texto == QStringLiteral("Importando productos") && a.hechas == 250);
        });
        QCOMPARE(r.fin, FinImportacion::Cancelada);
        QCOMPARE(r.importadas[bodex::Productos], 250);
        QCOMPARE(mensajes->textos(), QStringList{QStringLiteral("Importación cancelada.") + kNada});
        QCOMPARE(contenido(), antes);
        QVERIFY(!conexion()->enTransaccion());
    }

    // The sample source of tools/ imports whole: every row, the deactivated
    // ones deactivated, every product with its own category and supplier.
    void origenDeMuestra() {
        muestrabodex::Parametros p;
        p.semilla = 7;
        p.categorias = 12;
        p.productos = 300;
        p.sectores = 5;
        p.proveedores = 30;
        const QString ruta = entorno->ruta(QStringLiteral("muestra.db"));
        QString error;
        QVERIFY2(muestrabodex::generar(ruta, p, error), qPrintable(error));
        const QString nombre = OrigenPrueba::nombreNuevo();
        QVERIFY(odbc::escribirOrigenUsuario(nombre, odbc::driverSqlite(), ruta));
        QCOMPARE(importarBodex(nombre, QStringLiteral("pelmor")).fin, FinImportacion::Terminada);
        QCOMPARE(mensajes->textos(), QStringList{resumen(12, 300, 5, 30)});

        // The same rows, read from the source file itself.
        const QString lector = QStringLiteral("lector_muestra");
        QStringList esperados;
        QList<int> desactivadas;
        {
            QSqlDatabase bd = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), lector);
            bd.setDatabaseName(ruta);
            QVERIFY(bd.open());
            QSqlQuery q(bd);
            QVERIFY(q.exec(QStringLiteral(
                "SELECT P.ProDescripcion, C.CatDescripcion, IFNULL(E.EmpNombreFantasia, '<nulo>'), "
                "P.ProDesactivado FROM productos P JOIN categorias C ON P.CatId = C.CatId LEFT "
                "JOIN proveedores E ON P.EmpId = E.EmpId")));
            while (q.next())
                esperados << QStringList{q.value(0).toString(), q.value(1).toString(),
                                         q.value(2).toString(),
                                         q.value(3).toBool() ? QStringLiteral("Verdadero")
                                                             : QStringLiteral("Falso")}
                                 .join(u'|');
            for (const char* t :
                 {"categorias WHERE CatDesactivada", "productos WHERE ProDesactivado",
                  "sectores WHERE SecDesactivado", "proveedores WHERE EmpDesactivado"}) {
                QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM ") + QString::fromLatin1(t)));
                QVERIFY(q.next());
                desactivadas << q.value(0).toInt();
            }
            // The source's ids have gaps, so identical ids would not have done.
            QVERIFY(q.exec(QStringLiteral("SELECT MAX(ProId) - COUNT(*) FROM productos")));
            QVERIFY(q.next());
            QVERIFY(q.value(0).toInt() > 0);
        }
        QSqlDatabase::removeDatabase(lector);
        QCOMPARE(esperados.size(), 300);
        for (int n : desactivadas)
            QVERIFY(n > 0);

        QStringList importados = filas(QStringLiteral(
            "SELECT P.ProDescripcion, C.CatDescripcion, COALESCE(E.EmpNombreFantasia, '<nulo>'), "
            "P.ProDesactivado FROM PRODUCTOS P JOIN CATEGORIAS C ON P.CatId = C.CatId LEFT JOIN "
            "CONTACTOS E ON P.EmpId = E.EmpId WHERE P.ProId > 1"));
        importados.sort();
        esperados.sort();
        QCOMPARE(importados, esperados);
        QCOMPARE(filas(QStringLiteral(
                     "SELECT (SELECT COUNT(*) FROM CATEGORIAS WHERE CatDesactivada), (SELECT "
                     "COUNT(*) FROM PRODUCTOS WHERE ProDesactivado), (SELECT COUNT(*) FROM "
                     "SECTORES WHERE SecDesactivado), (SELECT COUNT(*) FROM CONTACTOS WHERE "
                     "EmpDesactivado)")),
                 QStringList{QStringLiteral("%1|%2|%3|%4")
                                 .arg(desactivadas[0])
                                 .arg(desactivadas[1])
                                 .arg(desactivadas[2])
                                 .arg(desactivadas[3])});
    }
};

QTEST_MAIN(PruebaImportacion)
#include "tst_importacion.moc"
