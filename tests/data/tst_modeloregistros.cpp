// The table model over result sets, on real rows of a fresh database.
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "data/conexionsqlite.h"
#include "data/forma.h"
#include "data/modeloregistros.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class PruebaModeloRegistros : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<Conexion> con;

    void ejecutar(const QString& sql, const QVariantList& valores = {}) {
        const ResultadoSentencia r = con->ejecutar(sql, valores);
        QVERIFY2(r.ok, qPrintable(sql + u' ' + con->errores().value(0).descripcion));
    }
    Registros consulta(const QString& sql) {
        const ResultadoSentencia r = con->ejecutar(sql);
        if (!r.ok || !r.filas)
            return {};
        return Registros(r.filas, sql);
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        con = conexionDePrueba(entorno->copiarBase());
        QVERIFY(con->abierta());
        ejecutar(QStringLiteral("INSERT INTO CATEGORIAS (CatId, CatDescripcion, CatDesactivada) "
                                "VALUES (1, 'Herramientas', 0), (2, 'Bebidas', 1)"));
        ejecutar(QStringLiteral("INSERT INTO PRODUCTOS (ProId, ProDescripcion, CatId, ProPrecio, "
                                "ProDesactivado) VALUES (1, 'Tornillo', 1, 2.5, 0), "
                                "(2, 'Agua', 2, 1, 0), (3, 'Martillo', 1, 30, 1)"));
        ejecutar(
            QStringLiteral("INSERT INTO CONTACTOS (EmpId, EmpNombreFantasia) VALUES (1, 'Acme')"));
        ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS (PreId, PreNumero, PreFecha, EmpId) "
                                "VALUES (1, '100', ?, 1), (2, NULL, ?, 1)"),
                 {QDate(2024, 3, 5), QDate(2023, 12, 31)});
    }
    void cleanup() {
        con.reset();
        entorno.reset();
    }

    void pasaElProbadorDeModelos() {
        ModeloRegistros modelo(
            consulta(QStringLiteral("SELECT * FROM PRESUPUESTOS ORDER BY PreId")));
        QAbstractItemModelTester probador(&modelo,
                                          QAbstractItemModelTester::FailureReportingMode::Fatal);
        QCOMPARE(modelo.rowCount(), 2);
        QVERIFY(modelo.columnCount() > 20);
        modelo.establecerRegistros(
            consulta(QStringLiteral("SELECT * FROM PRODUCTOS ORDER BY ProDescripcion")));
        QCOMPARE(modelo.rowCount(), 3);
        modelo.establecerRegistros(Registros());
        QCOMPARE(modelo.rowCount(), 0);
        QCOMPARE(modelo.columnCount(), 0);
    }

    void muestraCadaValorConSuTipo() {
        const ModeloRegistros modelo(consulta(
            QStringLiteral("SELECT PreId, PreNumero, PreFecha FROM PRESUPUESTOS ORDER BY PreId")));
        QCOMPARE(modelo.headerData(0, Qt::Horizontal).toString(), QStringLiteral("PreId"));
        QCOMPARE(modelo.headerData(2, Qt::Horizontal).toString(), QStringLiteral("PreFecha"));

        // Grids show the short date; editors get the date itself.
        QCOMPARE(modelo.data(modelo.index(0, 2)).toString(), QStringLiteral("05/03/24"));
        const QVariant fecha = modelo.data(modelo.index(0, 2), Qt::EditRole);
        QCOMPARE(fecha.typeId(), QMetaType::QDate);
        QCOMPARE(fecha.toDate(), QDate(2024, 3, 5));
        QCOMPARE(modelo.data(modelo.index(0, 1), Qt::EditRole).toString(), QStringLiteral("100"));
        QVERIFY(!modelo.data(modelo.index(1, 1)).isValid()); // Null number
        QVERIFY(!modelo.data(modelo.index(0, 1), Qt::ToolTipRole).isValid());

        const ModeloRegistros productos(consulta(QStringLiteral(
            "SELECT ProDescripcion, ProDesactivado FROM PRODUCTOS ORDER BY ProDescripcion")));
        const QVariant desactivado = productos.data(productos.index(1, 1));
        QCOMPARE(desactivado.typeId(), QMetaType::Bool);
        QCOMPARE(desactivado.toBool(), true); // Martillo
        QCOMPARE(productos.data(productos.index(2, 1)).toBool(), false);
        QVERIFY(!(productos.flags(productos.index(0, 0)) & Qt::ItemIsEditable));
    }

    void reemplazarLosRegistrosReiniciaElModelo() {
        ModeloRegistros modelo(consulta(QStringLiteral("SELECT * FROM CATEGORIAS")));
        QSignalSpy antes(&modelo, &QAbstractItemModel::modelAboutToBeReset);
        QSignalSpy despues(&modelo, &QAbstractItemModel::modelReset);
        QCOMPARE(modelo.columnCount(), 3);

        modelo.establecerRegistros(consulta(
            QStringLiteral("SELECT ProDescripcion FROM PRODUCTOS ORDER BY ProDescripcion")));
        QCOMPARE(antes.count(), 1);
        QCOMPARE(despues.count(), 1);
        // Counts were read during the reset: the view sees the new shape at once.
        QCOMPARE(modelo.rowCount(), 3);
        QCOMPARE(modelo.columnCount(), 1);
        QCOMPARE(modelo.headerData(0, Qt::Horizontal).toString(), QStringLiteral("ProDescripcion"));
        QCOMPARE(modelo.data(modelo.index(2, 0)).toString(), QStringLiteral("Tornillo"));
    }

    void unCapituloMuestraSoloSusFilas() {
        Forma forma;
        QString error;
        QVERIFY(leerForma(QStringLiteral("SHAPE {SELECT * FROM CATEGORIAS ORDER BY CatId} APPEND "
                                         "({SELECT * FROM PRODUCTOS ORDER BY ProDescripcion} "
                                         "RELATE 'CatId' TO 'CatId') AS Productos"),
                          forma, error));
        QList<ErrorProveedor> fallos;
        const auto tabla = ejecutarForma(*con, forma, fallos);
        QVERIFY(tabla);
        Registros categorias(tabla, QString());
        categorias.moverPrimero(); // Herramientas: Martillo and Tornillo, not Agua
        ModeloRegistros modelo(categorias.capitulo(QStringLiteral("Productos")));
        QAbstractItemModelTester probador(&modelo,
                                          QAbstractItemModelTester::FailureReportingMode::Fatal);
        QCOMPARE(modelo.rowCount(), 2);
        const int descripcion = modelo.registros().indiceCampo(QStringLiteral("ProDescripcion"));
        QCOMPARE(modelo.data(modelo.index(0, descripcion)).toString(), QStringLiteral("Martillo"));
        QCOMPARE(modelo.data(modelo.index(1, descripcion)).toString(), QStringLiteral("Tornillo"));

        categorias.moverSiguiente(); // Bebidas
        modelo.establecerRegistros(categorias.capitulo(QStringLiteral("Productos")));
        QCOMPARE(modelo.rowCount(), 1);
        QCOMPARE(modelo.data(modelo.index(0, descripcion)).toString(), QStringLiteral("Agua"));
    }

    void columnasElegidasConSusEncabezados() {
        ModeloRegistros modelo;
        modelo.establecerColumnas(
            {QStringLiteral("PreFecha"), QStringLiteral("Falta"), QStringLiteral("PreNumero")});
        QVERIFY(modelo.setHeaderData(0, Qt::Horizontal, QStringLiteral("Fecha")));
        QAbstractItemModelTester probador(&modelo,
                                          QAbstractItemModelTester::FailureReportingMode::Fatal);
        QCOMPARE(modelo.columnCount(), 3);
        modelo.establecerRegistros(
            consulta(QStringLiteral("SELECT * FROM PRESUPUESTOS ORDER BY PreId DESC")));
        QCOMPARE(modelo.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Fecha"));
        QCOMPARE(modelo.headerData(2, Qt::Horizontal).toString(), QStringLiteral("PreNumero"));
        QCOMPARE(modelo.data(modelo.index(0, 0)).toString(), QStringLiteral("31/12/23"));
        QVERIFY(!modelo.data(modelo.index(0, 1)).isValid()); // no such field
        QCOMPARE(modelo.data(modelo.index(1, 2)).toString(), QStringLiteral("100"));
    }

    void sigueMostrandoSuCopiaAunqueSeCierreElOrigen() {
        auto rs = std::make_shared<Registros>(consulta(QStringLiteral("SELECT * FROM CATEGORIAS")));
        ModeloRegistros modelo(*rs);
        rs->cerrar();
        QCOMPARE(modelo.rowCount(), 2);
        QCOMPARE(modelo.data(modelo.index(0, 1)).toString(), QStringLiteral("Herramientas"));
    }
};

QTEST_GUILESS_MAIN(PruebaModeloRegistros)
#include "tst_modeloregistros.moc"
