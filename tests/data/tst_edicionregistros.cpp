// Editing a result set in place: the edit buffer, writes to the base table,
// discards, the model over an editable set, and the commands of the data
// environment that open editable.
#include "comun/entornoprueba.h"
#include "comun/mensajesguion.h"
#include "data/conexionsqlite.h"
#include "data/entornodatos.h"
#include "data/modeloregistros.h"
#include "platform/odbc.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class PruebaEdicionRegistros : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<ConexionSqlite> con;

    void ejecutar(const QString& sql, const QVariantList& valores = {}) {
        const ResultadoSentencia r = con->ejecutar(sql, valores);
        QVERIFY2(r.ok, qPrintable(sql + u' ' + con->errores().value(0).descripcion));
    }
    QVariant leer(const QString& sql, const QVariantList& valores = {}) {
        const ResultadoSentencia r = con->ejecutar(sql, valores);
        return r.ok && r.filas && r.filas->filas() > 0 ? r.filas->valor(0, 0) : QVariant();
    }
    Registros productos() {
        const QString sql = QStringLiteral("SELECT * FROM PRODUCTOS ORDER BY ProDescripcion");
        Registros rs(con->ejecutar(sql).filas, sql);
        rs.habilitarEdicion(con.get(), QStringLiteral("PRODUCTOS"), QStringLiteral("ProId"));
        return rs;
    }
    static int campo(const Registros& rs, const char* nombre) {
        return rs.indiceCampo(QString::fromLatin1(nombre));
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        con = std::make_unique<ConexionSqlite>(entorno->copiarBase());
        QVERIFY(con->abierta());
        ejecutar(QStringLiteral("INSERT INTO CATEGORIAS (CatId, CatDescripcion) VALUES (1, "
                                "'Ferretería')"));
        ejecutar(QStringLiteral("INSERT INTO PRODUCTOS (ProId, ProCodigo, ProDescripcion, CatId, "
                                "ProPrecio) VALUES (5, 'A1', 'Arandela', 1, 1.5), (8, NULL, "
                                "'Bulón', 1, 12)"));
    }
    void cleanup() {
        con.reset();
        entorno.reset();
    }

    void unCambioSeEscribeYSeReleeDeLaTabla() {
        Registros rs = productos();
        QVERIFY(rs.editable());
        const Registros otraCopia = rs;
        rs.moverA(2); // Bulón
        QVERIFY(rs.establecerCampo(QStringLiteral("ProPrecio"), QStringLiteral("12.75")));
        QVERIFY(rs.establecerCampo(QStringLiteral("ProCodigo"), QString()));
        QVERIFY(rs.hayCambios());
        QCOMPARE(rs.posicionPendiente(), 2);
        // Copies share the buffer; nothing is stored yet.
        QCOMPARE(otraCopia.valor(2, campo(rs, "ProPrecio")).toString(), QStringLiteral("12.75"));
        QCOMPARE(leer(QStringLiteral("SELECT ProPrecio FROM PRODUCTOS WHERE ProId=8")).toDouble(),
                 12.0);

        QList<ErrorProveedor> fallos;
        QVERIFY(rs.escribir(fallos));
        QVERIFY(fallos.isEmpty());
        QVERIFY(!rs.hayCambios());
        // Stored as a number, not as the text typed; the set reads the row back.
        QCOMPARE(leer(QStringLiteral("SELECT typeof(ProPrecio) FROM PRODUCTOS WHERE ProId=8"))
                     .toString(),
                 QStringLiteral("real"));
        const QVariant precio = otraCopia.valor(2, campo(rs, "ProPrecio"));
        QCOMPARE(precio.typeId(), QMetaType::Double);
        QCOMPARE(precio.toDouble(), 12.75);
        QVERIFY(rs.campo(QStringLiteral("ProCodigo")).isNull());
        // The other row was not touched.
        QCOMPARE(leer(QStringLiteral("SELECT ProPrecio FROM PRODUCTOS WHERE ProId=5")).toDouble(),
                 1.5);
    }

    void unaFilaNuevaRecibeSuClave() {
        Registros rs = productos();
        QCOMPARE(rs.cantidad(), 2);
        QVERIFY(rs.agregarNuevo());
        QCOMPARE(rs.cantidad(), 3);
        QCOMPARE(rs.posicionAbsoluta(), 3);
        QVERIFY(rs.nuevoPendiente());
        QVERIFY(rs.campo(QStringLiteral("ProId")).isNull());
        QVERIFY(rs.establecerCampo(QStringLiteral("ProDescripcion"), QStringLiteral("Clavo")));
        QVERIFY(rs.establecerCampo(QStringLiteral("CatId"), 1));
        // The key is the database's: what a form gives back for it is ignored.
        QVERIFY(rs.establecerCampo(QStringLiteral("ProId"), QStringLiteral("99")));
        QList<ErrorProveedor> fallos;
        QVERIFY2(rs.escribir(fallos), qPrintable(fallos.value(0).descripcion));
        QCOMPARE(rs.cantidad(), 3);
        QVERIFY(!rs.nuevoPendiente());
        const int clave = rs.campo(QStringLiteral("ProId")).toInt();
        QCOMPARE(clave, 9);
        QCOMPARE(leer(QStringLiteral("SELECT ProDescripcion FROM PRODUCTOS WHERE ProId=?"), {clave})
                     .toString(),
                 QStringLiteral("Clavo"));
        // Column defaults come back with the row.
        QCOMPARE(rs.campo(QStringLiteral("ProDesactivado")).toBool(), false);
        QCOMPARE(rs.texto(QStringLiteral("ProDescripcion")), QStringLiteral("Clavo"));
    }

    void descartarDejaTodoComoEstaba() {
        Registros rs = productos();
        rs.moverPrimero();
        QVERIFY(rs.establecerCampo(QStringLiteral("ProDescripcion"), QStringLiteral("Otra")));
        // One row at a time: another row cannot start changes meanwhile.
        QVERIFY(!rs.establecerCampo(2, campo(rs, "ProPrecio"), 3));
        QVERIFY(!rs.agregarNuevo());
        rs.descartar();
        QVERIFY(!rs.hayCambios());
        QCOMPARE(rs.texto(QStringLiteral("ProDescripcion")), QStringLiteral("Arandela"));

        QVERIFY(rs.agregarNuevo());
        QVERIFY(rs.establecerCampo(QStringLiteral("ProDescripcion"), QStringLiteral("Clavo")));
        rs.descartar();
        QCOMPARE(rs.cantidad(), 2);
        QVERIFY(rs.alFinal());
        QCOMPARE(leer(QStringLiteral("SELECT COUNT(*) FROM PRODUCTOS")).toInt(), 2);
    }

    void unDuplicadoNoEscribeNadaYGuardaElBufer() {
        Registros rs = productos();
        rs.moverA(2);
        QVERIFY(rs.establecerCampo(QStringLiteral("ProDescripcion"), QStringLiteral("ARANDELA")));
        QVERIFY(rs.establecerCampo(QStringLiteral("ProPrecio"), 99));
        QList<ErrorProveedor> fallos;
        QVERIFY(!rs.escribir(fallos));
        QCOMPARE(fallos.value(0).numero, errores::kErroresEnComando);
        QVERIFY(rs.hayCambios());
        QCOMPARE(leer(QStringLiteral("SELECT ProPrecio FROM PRODUCTOS WHERE ProId=8")).toDouble(),
                 12.0);
        // The failed write left no transaction open.
        QVERIFY(!con->enTransaccion());
        rs.descartar();
        QCOMPARE(rs.texto(QStringLiteral("ProDescripcion")), QStringLiteral("Bulón"));
    }

    void unaFilaBorradaPorOtroNoSeDaPorEscrita() {
        Registros rs = productos();
        rs.moverA(2);
        QVERIFY(rs.establecerCampo(QStringLiteral("ProPrecio"), 20));
        ejecutar(QStringLiteral("DELETE FROM PRODUCTOS WHERE ProId=8"));
        QList<ErrorProveedor> fallos;
        QVERIFY(!rs.escribir(fallos));
        QCOMPARE(fallos.size(), 1);
        QCOMPARE(fallos[0].numero, errores::kFalloGeneral);
        QCOMPARE(leer(QStringLiteral("SELECT COUNT(*) FROM PRODUCTOS")).toInt(), 1);
    }

    void soloConjuntosCompletosConSuClave() {
        Registros rs = productos();
        Registros sinClave(
            con->ejecutar(QStringLiteral("SELECT ProDescripcion FROM PRODUCTOS")).filas, QString());
        QVERIFY(!sinClave.habilitarEdicion(con.get(), QStringLiteral("PRODUCTOS"),
                                           QStringLiteral("ProId")));
        QVERIFY(!sinClave.establecerCampo(1, 0, QStringLiteral("x")));
        QVERIFY(!Registros().agregarNuevo());
        // Without a current row there is nothing to change.
        rs.moverUltimo();
        rs.moverSiguiente();
        QVERIFY(!rs.establecerCampo(QStringLiteral("ProPrecio"), 1));
        // Giving back the value shown changes nothing.
        rs.moverPrimero();
        QVERIFY(rs.establecerCampo(QStringLiteral("ProPrecio"), QStringLiteral("1.5")));
        QVERIFY(!rs.hayCambios());
    }

    void elModeloEditaYAvisaASusVistas() {
        ModeloRegistros modelo(productos());
        QAbstractItemModelTester probador(&modelo,
                                          QAbstractItemModelTester::FailureReportingMode::Fatal);
        const int descripcion = modelo.registros().indiceCampo(QStringLiteral("ProDescripcion"));
        QVERIFY(modelo.flags(modelo.index(0, descripcion)) & Qt::ItemIsEditable);
        QSignalSpy insertadas(&modelo, &QAbstractItemModel::rowsInserted);
        QSignalSpy quitadas(&modelo, &QAbstractItemModel::rowsRemoved);
        QSignalSpy cambios(&modelo, &QAbstractItemModel::dataChanged);

        QVERIFY(modelo.agregarFila());
        QCOMPARE(insertadas.count(), 1);
        QCOMPARE(modelo.rowCount(), 3);
        QVERIFY(!modelo.agregarFila()); // one pending row at a time
        QVERIFY(modelo.setData(modelo.index(2, descripcion), QStringLiteral("Clavo")));
        QCOMPARE(cambios.count(), 1);
        QCOMPARE(modelo.data(modelo.index(2, descripcion)).toString(), QStringLiteral("Clavo"));
        modelo.descartar();
        QCOMPARE(quitadas.count(), 1);
        QCOMPARE(modelo.rowCount(), 2);

        QVERIFY(modelo.agregarFila());
        modelo.setData(modelo.index(2, descripcion), QStringLiteral("Clavo"));
        modelo.setData(modelo.index(2, modelo.registros().indiceCampo(QStringLiteral("CatId"))), 1);
        QList<ErrorProveedor> fallos;
        QVERIFY(modelo.escribir(fallos));
        QCOMPARE(modelo.rowCount(), 3);
        QVERIFY(
            modelo.data(modelo.index(2, modelo.registros().indiceCampo(QStringLiteral("ProId"))))
                .toInt() > 8);
        // A read-only set stays read-only.
        ModeloRegistros soloLectura(
            Registros(con->ejecutar(QStringLiteral("SELECT * FROM CATEGORIAS")).filas, QString()));
        QVERIFY(!(soloLectura.flags(soloLectura.index(0, 1)) & Qt::ItemIsEditable));
        QVERIFY(!soloLectura.setData(soloLectura.index(0, 1), QStringLiteral("x")));
        QVERIFY(!soloLectura.agregarFila());
    }

    void losComandosDelCatalogoAbrenEditables() {
        MensajesGuion guion;
        odbc::escribirOrigenUsuario(QStringLiteral("TARVO_PRUEBA"), odbc::driverSqlite(),
                                    con->ruta());
        EntornoDatos dte;
        dte.establecerCadenaConexion(QStringLiteral("Data Source=TARVO_PRUEBA;Password=pelmor"));
        QVERIFY(dte.usar(QStringLiteral("CProductos"))->editable());
        QVERIFY(dte.usar(QStringLiteral("Categorias"))->editable());
        QVERIFY(dte.usar(QStringLiteral("Proveedores"))->editable());
        QVERIFY(!dte.usar(QStringLiteral("ListadoProductos"))->editable());

        // A command keeps the values of its text: reopening finds the same rows.
        QVERIFY(dte.abrir(QStringLiteral("CProductos"),
                          QStringLiteral("SELECT * FROM PRODUCTOS WHERE INSTR(ProDescripcion,?)"),
                          {QStringLiteral("bul")}));
        QCOMPARE(dte.valores(QStringLiteral("CProductos")), QVariantList{QStringLiteral("bul")});
        QVERIFY(dte.abrir(QStringLiteral("CProductos")));
        QCOMPARE(dte.rsCProductos->cantidad(), 1);
        QVERIFY(dte.rsCProductos->editable());
        QVERIFY(guion.mostrados().isEmpty());
        dte.cerrarConexion();
    }
};

QTEST_GUILESS_MAIN(PruebaEdicionRegistros)
#include "tst_edicionregistros.moc"
