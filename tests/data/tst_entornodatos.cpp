// The data environment: its connection, its named commands and the SHAPE
// hierarchies, on real rows of a fresh database reached through a data source.
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"
#include "data/conexionsqlite.h"
#include "data/entornodatos.h"
#include "data/forma.h"

#include <QTest>

#include <memory>

namespace {

const QString kDsn = QStringLiteral("TARVO_PRUEBA");

QString cadenaPara(const QString& dsn) {
    return QStringLiteral("Provider=MSDataShape.1;Persist Security Info=True;Data Source=") + dsn +
           QStringLiteral(";User ID=admin;Password=pelmor;Data Provider=MSDASQL.1");
}

// The values of one column over every row of a set, as text.
QStringList columna(const Registros& rs, const QString& campo) {
    QStringList valores;
    Registros copia = rs;
    for (copia.moverPrimero(); !copia.alFinal(); copia.moverSiguiente())
        valores << copia.texto(campo);
    return valores;
}

} // namespace

class PruebaEntornoDatos : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> guion;
    std::unique_ptr<Conexion> con; // for the fixture rows
    std::unique_ptr<EntornoDatos> dte;
    QString rutaBase;

    void ejecutar(const QString& sql, const QVariantList& valores = {}) {
        const ResultadoSentencia r = con->ejecutar(sql, valores);
        QVERIFY2(r.ok, qPrintable(sql + u' ' + con->errores().value(0).descripcion));
    }
    void categoria(int id, const QString& descripcion) {
        ejecutar(QStringLiteral("INSERT INTO CATEGORIAS (CatId, CatDescripcion) VALUES (?, ?)"),
                 {id, descripcion});
    }
    void producto(int id, const QString& descripcion, int catId, bool desactivado = false) {
        ejecutar(QStringLiteral("INSERT INTO PRODUCTOS (ProId, ProCodigo, ProDescripcion, CatId, "
                                "ProDesactivado) VALUES (?, ?, ?, ?, ?)"),
                 {id, QStringLiteral("C%1").arg(id), descripcion, catId, desactivado});
    }
    void presupuesto(int id, const QDate& fecha, int empId, const QVariant& saludo,
                     double otro1 = 0, double otro2 = 0, double otro3 = 0) {
        ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS (PreId, PreNumero, PreFecha, EmpId, "
                                "PreSaludo, PreOtroPrecio1, PreOtroPrecio2, PreOtroPrecio3) "
                                "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                 {id, QString::number(id), fecha, empId, saludo, otro1, otro2, otro3});
    }
    void linea(int preId, int proId, double precio, double cantidad) {
        ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS_PRODUCTOS (PreId, ProId, PreProPrecio, "
                                "PreProCantidad) VALUES (?, ?, ?, ?)"),
                 {preId, proId, precio, cantidad});
    }
    // The one row of `rs` whose field `campo` equals `valor`; closed when none.
    static Registros fila(const Registros& rs, const QString& campo, int valor) {
        Registros copia = rs;
        copia.moverPrimero();
        if (!copia.buscar(campo + u'=' + QString::number(valor)) || copia.alFinal())
            return {};
        return copia;
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        guion = std::make_unique<MensajesGuion>();
        rutaBase = entorno->copiarBase();
        con = conexionDePrueba(rutaBase);
        QVERIFY(con->abierta());
        dte = std::make_unique<EntornoDatos>();
        dte->establecerCadenaConexion(cadenaPara(kDsn));
    }
    void cleanup() {
        dte.reset();
        con.reset();
        guion.reset();
        entorno.reset();
    }

    // clang-format off
    void atributosDeLaCadenaDeConexion_data() {
        QTest::addColumn<QString>("cadena");
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("valor");
        const QString real = cadenaPara(QStringLiteral("TARVO_JUAN"));
        QTest::newRow("origen") << real << "data source" << "TARVO_JUAN";
        QTest::newRow("contraseña") << real << "Password" << "pelmor";
        QTest::newRow("no confunde con Data Provider") << real << "Data Provider" << "MSDASQL.1";
        QTest::newRow("ausente") << real << "Initial Catalog" << "";
        QTest::newRow("espacios") << " Data Source = X1 ; Password=p" << "Data Source" << "X1";
        QTest::newRow("entre comillas con punto y coma")
            << "Password=\"a;b\";Data Source=X" << "Password" << "a;b";
        QTest::newRow("tras comillas sigue leyendo")
            << "Password=\"a;b\";Data Source=X" << "Data Source" << "X";
    }
    // clang-format on
    void atributosDeLaCadenaDeConexion() {
        QFETCH(QString, cadena);
        QFETCH(QString, nombre);
        QFETCH(QString, valor);
        QCOMPARE(atributoConexion(cadena, nombre), valor);
    }

    void abreLaConexionRecienAlPrimerUso() {
        // The data source does not even exist yet when the string is set.
        QVERIFY(!dte->conexionAbierta());
        CrearDSN(kDsn, rutaBase);
        QVERIFY(!dte->conexionAbierta());
        QVERIFY(!dte->abierto(QStringLiteral("Categorias")));

        categoria(1, QStringLiteral("Herramientas"));
        const RegistrosPtr rs = dte->usar(QStringLiteral("Categorias"));
        QVERIFY(dte->conexionAbierta());
        QCOMPARE(rs, dte->rsCategorias);
        QCOMPARE(rs, dte->registros(QStringLiteral("rsCategorias")));
        QVERIFY(rs->abierto());
        QCOMPARE(rs->cantidad(), 1);
        QVERIFY(guion->mostrados().isEmpty());

        // Using it again does not re-read: a row added since is not seen.
        categoria(2, QStringLiteral("Bebidas"));
        QCOMPARE(dte->usar(QStringLiteral("categorias"))->cantidad(), 1);
        QVERIFY(dte->abrir(QStringLiteral("Categorias")));
        QCOMPARE(rs->cantidad(), 2);
    }

    void cadaComandoAbreSobreLaBase() {
        CrearDSN(kDsn, rutaBase);
        const QStringList esperados = {QStringLiteral("Categorias"),
                                       QStringLiteral("CProductos"),
                                       QStringLiteral("CCategoriasActivas"),
                                       QStringLiteral("UnidadesDeMedida"),
                                       QStringLiteral("Monedas"),
                                       QStringLiteral("Proveedores"),
                                       QStringLiteral("CVinculosActivos"),
                                       QStringLiteral("ListadoProductos"),
                                       QStringLiteral("Productos_Categorias"),
                                       QStringLiteral("TotalPresupuestos"),
                                       QStringLiteral("Usuarios")};
        QCOMPARE(dte->comandos(), esperados);
        for (const QString& comando : esperados) {
            QVERIFY2(dte->abrir(comando), qPrintable(comando));
            QVERIFY(dte->registros(QStringLiteral("rs") + comando)->abierto());
            QCOMPARE(dte->registros(QStringLiteral("rs") + comando)->origen(),
                     dte->textoDiseno(comando));
        }
        QVERIFY2(guion->mostrados().isEmpty(), qPrintable(guion->textos().join(u'\n')));
        QCOMPARE(columna(*dte->rsCVinculosActivos, QStringLiteral("VinDescripcion")),
                 QStringList({QStringLiteral("Cliente"), QStringLiteral("Proveedor")}));
        QVERIFY(!dte->registros(QStringLiteral("rsNoExiste")));
        QVERIFY(!dte->registros(QStringLiteral("Categorias")));
    }

    void productosPorCategoria() {
        CrearDSN(kDsn, rutaBase);
        categoria(1, QStringLiteral("Herramientas"));
        categoria(2, QStringLiteral("Bebidas"));
        categoria(3, QStringLiteral("alimentos"));
        producto(1, QStringLiteral("Tornillo"), 1);
        producto(2, QStringLiteral("Arandela"), 1);
        producto(3, QStringLiteral("Clavo"), 1, true);
        producto(4, QStringLiteral("Zanahoria"), 3);
        producto(5, QStringLiteral("ajo"), 3);

        const RegistrosPtr rs = dte->usar(QStringLiteral("Productos_Categorias"));
        QVERIFY(rs->abierto());
        QCOMPARE(columna(*rs, QStringLiteral("CatDescripcion")),
                 QStringList({QStringLiteral("alimentos"), QStringLiteral("Bebidas"),
                              QStringLiteral("Herramientas")}));
        rs->moverPrimero();
        QCOMPARE(
            columna(rs->capitulo(QStringLiteral("Productos")), QStringLiteral("ProDescripcion")),
            QStringList({QStringLiteral("ajo"), QStringLiteral("Zanahoria")}));
        rs->moverSiguiente();
        const Registros vacia = rs->capitulo(QStringLiteral("Productos"));
        QVERIFY(vacia.abierto());
        QCOMPARE(vacia.cantidad(), 0);
        QVERIFY(vacia.alFinal());
        rs->moverSiguiente();
        const Registros herramientas = rs->capitulo(QStringLiteral("Productos"));
        QCOMPARE(columna(herramientas, QStringLiteral("ProDescripcion")),
                 QStringList({QStringLiteral("Arandela"), QStringLiteral("Tornillo")}));
        QCOMPARE(columna(herramientas, QStringLiteral("CatId")),
                 QStringList({QStringLiteral("1"), QStringLiteral("1")}));
        QVERIFY(!rs->capitulo(QStringLiteral("NoExiste")).abierto());
    }

    void totalPresupuestosEnTresNiveles() {
        CrearDSN(kDsn, rutaBase);
        ejecutar(QStringLiteral("INSERT INTO CONTACTOS (EmpId, EmpNombreFantasia, EmpRuc) VALUES "
                                "(1, 'Acme', '211'), (2, 'Beta', NULL)"));
        categoria(1, QStringLiteral("Herramientas"));
        producto(1, QStringLiteral("Tornillo"), 1);
        producto(2, QStringLiteral("Arandela"), 1);
        presupuesto(10, QDate(2024, 3, 5), 1, QStringLiteral("Estimados"), 100, 20.5, 0);
        linea(10, 1, 10, 2);
        linea(10, 2, 1.5, 3);
        linea(10, 99, 7, 1); // its product no longer exists
        presupuesto(11, QDate(2024, 1, 1), 99, QStringLiteral("Hola")); // contact gone
        presupuesto(12, QDate(2023, 6, 30), 2, QVariant());             // no greeting
        linea(12, 1, 10, 1);

        const RegistrosPtr total = dte->usar(QStringLiteral("TotalPresupuestos"));
        QVERIFY(total->abierto());
        QCOMPARE(columna(*total, QStringLiteral("PreId")),
                 QStringList({QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("12")}));

        const Registros q10 = fila(*total, QStringLiteral("PreId"), 10);
        Registros pre10 = q10.capitulo(QStringLiteral("Presupuestos"));
        QCOMPARE(pre10.cantidad(), 1);
        pre10.moverPrimero();
        QCOMPARE(pre10.texto(QStringLiteral("Saludo")), QStringLiteral("Estimados Acme"));
        QCOMPARE(pre10.campo(QStringLiteral("TotalOtrosCostos")).toDouble(), 120.5);
        QCOMPARE(pre10.texto(QStringLiteral("EmpRuc")), QStringLiteral("211"));
        QCOMPARE(pre10.campo(QStringLiteral("PreFecha")).toDate(), QDate(2024, 3, 5));
        // The lines come in the engine's order: compare them sorted.
        const Registros lineas = pre10.capitulo(QStringLiteral("Presupuestos_Productos"));
        QStringList productos = columna(lineas, QStringLiteral("ProDescripcion"));
        QStringList subtotales = columna(lineas, QStringLiteral("SUBTOTAL"));
        productos.sort();
        subtotales.sort();
        QCOMPARE(productos, QStringList({QStringLiteral("Arandela"), QStringLiteral("Tornillo")}));
        QCOMPARE(subtotales, QStringList({QStringLiteral("20"), QStringLiteral("4.5")}));

        const Registros q11 = fila(*total, QStringLiteral("PreId"), 11);
        QVERIFY(q11.abierto());
        const Registros pre11 = q11.capitulo(QStringLiteral("Presupuestos"));
        QVERIFY(pre11.abierto());
        QCOMPARE(pre11.cantidad(), 0);

        Registros pre12 =
            fila(*total, QStringLiteral("PreId"), 12).capitulo(QStringLiteral("Presupuestos"));
        QCOMPARE(pre12.cantidad(), 1);
        pre12.moverPrimero();
        QVERIFY(pre12.campo(QStringLiteral("Saludo")).isNull());
        QCOMPARE(pre12.texto(QStringLiteral("EmpNombreFantasia")), QStringLiteral("Beta"));
        QCOMPARE(pre12.capitulo(QStringLiteral("Presupuestos_Productos")).cantidad(), 1);
    }

    void reemplazarElTextoYReabrir() {
        CrearDSN(kDsn, rutaBase);
        categoria(1, QStringLiteral("Herramientas"));
        categoria(2, QStringLiteral("Bebidas"));
        const RegistrosPtr rs = dte->usar(QStringLiteral("Categorias"));
        QCOMPARE(rs->cantidad(), 2);

        const QString filtro =
            QStringLiteral("SELECT * FROM CATEGORIAS WHERE CatDescripcion='bebidas'");
        dte->establecerTexto(QStringLiteral("Categorias"), filtro);
        QCOMPARE(rs->cantidad(), 2); // still the rows read before
        dte->cerrar(QStringLiteral("Categorias"));
        QVERIFY(!rs->abierto());
        // Bound again after closing: the replaced text is in force.
        QCOMPARE(dte->usar(QStringLiteral("Categorias")), rs);
        QCOMPARE(rs->cantidad(), 1);
        QCOMPARE(rs->origen(), filtro);
        QCOMPARE(dte->texto(QStringLiteral("Categorias")), filtro);
        QCOMPARE(dte->textoDiseno(QStringLiteral("Categorias")),
                 QStringLiteral("SELECT * FROM CATEGORIAS ORDER BY CATDESCRIPCION ASC"));

        // Opening with a statement of its own makes it the command's text.
        const QString unUsuario = QStringLiteral("SELECT * FROM USUARIOS WHERE USULOGIN='SUPER'");
        QVERIFY(dte->abrir(QStringLiteral("Usuarios"), unUsuario));
        QCOMPARE(dte->rsUsuarios->cantidad(), 1);
        QCOMPARE(dte->texto(QStringLiteral("Usuarios")), unUsuario);
    }

    void reabrirLeeConLosMismosValores() {
        CrearDSN(kDsn, rutaBase);
        categoria(1, QStringLiteral("Herramientas"));
        categoria(2, QStringLiteral("Bebidas"));
        const QString buscar = QStringLiteral("SELECT * FROM CATEGORIAS WHERE CatDescripcion=?");
        QVERIFY(dte->abrir(QStringLiteral("Categorias"), buscar, {QStringLiteral("bebidas")}));
        QCOMPARE(dte->rsCategorias->cantidad(), 1);
        // A report binding to the closed command reads the same rows again.
        categoria(3, QStringLiteral("BEBIDAS "));
        dte->cerrar(QStringLiteral("Categorias"));
        QCOMPARE(dte->usar(QStringLiteral("Categorias"))->cantidad(), 1);
        QVERIFY(dte->abrir(QStringLiteral("Categorias")));
        QCOMPARE(columna(*dte->rsCategorias, QStringLiteral("CatId")),
                 QStringList({QStringLiteral("2")}));
        // A new text without values forgets the old ones.
        dte->establecerTexto(QStringLiteral("Categorias"),
                             dte->textoDiseno(QStringLiteral("Categorias")));
        QVERIFY(dte->abrir(QStringLiteral("Categorias")));
        QCOMPARE(dte->rsCategorias->cantidad(), 3);
        QVERIFY(guion->mostrados().isEmpty());
    }

    void unaFallaAlReabrirDejaElConjuntoCerrado() {
        CrearDSN(kDsn, rutaBase);
        QVERIFY(dte->usar(QStringLiteral("Categorias"))->abierto());
        QVERIFY(!dte->abrir(QStringLiteral("Categorias"),
                            QStringLiteral("SELECT NoHay FROM CATEGORIAS")));
        QVERIFY(!dte->rsCategorias->abierto());
        QCOMPARE(guion->mostrados().size(), 1);
        QVERIFY2(guion->textos().first().startsWith(QStringLiteral("Error número: -2147217904\r")),
                 qPrintable(guion->textos().first()));
    }

    void cerrarDosVecesNoHaceDano() {
        CrearDSN(kDsn, rutaBase);
        QVERIFY(dte->usar(QStringLiteral("CProductos"))->abierto());
        QVERIFY(dte->usar(QStringLiteral("Usuarios"))->abierto());
        dte->cerrar(QStringLiteral("CProductos"));
        dte->cerrar(QStringLiteral("CProductos"));
        QVERIFY(!dte->abierto(QStringLiteral("CProductos")));
        QVERIFY(dte->abierto(QStringLiteral("Usuarios")));

        dte->cerrarConexion();
        QVERIFY(!dte->conexionAbierta());
        QVERIFY(!dte->rsUsuarios->abierto()); // closing the connection closes every set
        dte->cerrarConexion();
        QVERIFY(guion->mostrados().isEmpty());

        // The next use opens the connection again.
        QCOMPARE(dte->usar(QStringLiteral("Usuarios"))->cantidad(), 2);
        QVERIFY(dte->conexionAbierta());
    }

    void origenDesconocidoInformaYDejaCerrado() {
        dte->establecerCadenaConexion(cadenaPara(QStringLiteral("NO_EXISTE")));
        const RegistrosPtr rs = dte->usar(QStringLiteral("Categorias"));
        QVERIFY(rs);
        QVERIFY(!rs->abierto());
        QVERIFY(!dte->conexionAbierta());
        QCOMPARE(guion->mostrados().size(), 1);
        const QString texto = guion->textos().first();
        QVERIFY2(texto.startsWith(QStringLiteral("Error número: -2147467259\r")),
                 qPrintable(texto));
        QVERIFY(texto.contains(QStringLiteral("NO_EXISTE")));

        // Each further attempt tries (and reports) again.
        QVERIFY(!dte->abrir(QStringLiteral("Productos_Categorias")));
        QVERIFY(!dte->rsProductos_Categorias->abierto());
        QCOMPARE(guion->mostrados().size(), 2);
    }

    void formasOpcionalesDelShape() {
        Forma forma;
        QString error;
        // No AS, bracketed and bare names, two children, a quoted brace in the SQL.
        QVERIFY2(leerForma(QStringLiteral("shape {SELECT '}' AS x, 1 AS a} Padre append "
                                          "({SELECT 1 AS b} RELATE a TO [b]) [Mi Hijo], "
                                          "({SELECT 1 AS c} AS Otro RELATE 'a' TO 'c')"),
                           forma, error),
                 qPrintable(error));
        QCOMPARE(forma.sql, QStringLiteral("SELECT '}' AS x, 1 AS a"));
        QCOMPARE(forma.alias, QStringLiteral("Padre"));
        QCOMPARE(forma.hijas.size(), size_t(2));
        QCOMPARE(forma.hijas[0].capitulo, QStringLiteral("Mi Hijo"));
        QCOMPARE(forma.hijas[0].columnaHija, QStringLiteral("b"));
        QCOMPARE(forma.hijas[1].capitulo, QStringLiteral("Otro")); // the child's alias
        QVERIFY(esForma(QStringLiteral("  SHAPE {x}")));
        QVERIFY(!esForma(QStringLiteral("SHAPES {x}")));
        QVERIFY(!esForma(QStringLiteral("SELECT * FROM CATEGORIAS")));
    }

    void shapeMalFormado_data() {
        QTest::addColumn<QString>("texto");
        QTest::newRow("sin RELATE") << "SHAPE {SELECT 1 AS a} APPEND ({SELECT 1 AS a} 'a' TO 'a')";
        QTest::newRow("llave sin cerrar") << "SHAPE {SELECT 1 AS a APPEND (";
        QTest::newRow("paréntesis sin cerrar")
            << "SHAPE {SELECT 1 AS a} APPEND ({SELECT 1 AS a} RELATE 'a' TO 'a'";
        QTest::newRow("sin TO") << "SHAPE {SELECT 1 AS a} APPEND ({SELECT 1 AS a} RELATE 'a' 'a')";
        QTest::newRow("dos relaciones")
            << "SHAPE {SELECT 1 AS a} APPEND ({SELECT 1 AS a} RELATE 'a' TO 'a', 'b' TO 'b')";
        QTest::newRow("AS sin nombre")
            << "SHAPE {SELECT 1 AS a} AS APPEND ({SELECT 1} RELATE a TO a)";
        QTest::newRow("APPEND vacío") << "SHAPE {SELECT 1 AS a} APPEND";
        QTest::newRow("texto sobrante") << "SHAPE {SELECT 1 AS a} AS x y z";
        QTest::newRow("anidado sin cerrar")
            << "SHAPE {SELECT 1 AS a} APPEND ((SHAPE {SELECT 1 AS a} RELATE a TO a)";
    }
    void shapeMalFormado() {
        QFETCH(QString, texto);
        Forma forma;
        QString error;
        QVERIFY(!leerForma(texto, forma, error));
        QVERIFY2(error.startsWith(QStringLiteral("Comando SHAPE mal formado: ")),
                 qPrintable(error));

        CrearDSN(kDsn, rutaBase);
        QVERIFY(!dte->abrir(QStringLiteral("Productos_Categorias"), texto));
        QVERIFY(!dte->rsProductos_Categorias->abierto());
        QCOMPARE(guion->textos(),
                 QStringList({QStringLiteral("Error número: -2147217900\r") + error}));
    }

    void relacionPorColumnaNoPrimeraSinNulos() {
        CrearDSN(kDsn, rutaBase);
        ejecutar(QStringLiteral("INSERT INTO CONTACTOS (EmpId, EmpNombreFantasia) VALUES "
                                "(1, 'Acme')"));
        presupuesto(1, QDate(2024, 1, 1), 1, QVariant());
        presupuesto(2, QDate(2024, 1, 2), 1, QVariant());
        ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS (PreId) VALUES (3), (4)"));
        // Each quote with the quotes of its contact; those without a contact
        // relate to nothing, not even to each other.
        QVERIFY(dte->abrir(QStringLiteral("TotalPresupuestos"),
                           QStringLiteral("SHAPE {SELECT PreNumero, EmpId, PreId FROM PRESUPUESTOS "
                                          "ORDER BY PreId} APPEND ({SELECT PreId, EmpId FROM "
                                          "PRESUPUESTOS} RELATE 'EmpId' TO 'EmpId') AS Mismos")));
        const RegistrosPtr rs = dte->rsTotalPresupuestos;
        QStringList cantidades;
        for (rs->moverPrimero(); !rs->alFinal(); rs->moverSiguiente())
            cantidades << QString::number(rs->capitulo(QStringLiteral("Mismos")).cantidad());
        QCOMPARE(cantidades, QStringList({QStringLiteral("2"), QStringLiteral("2"),
                                          QStringLiteral("0"), QStringLiteral("0")}));
    }

    void relacionConColumnaInexistente() {
        CrearDSN(kDsn, rutaBase);
        QVERIFY(!dte->abrir(
            QStringLiteral("Productos_Categorias"),
            QStringLiteral("SHAPE {SELECT * FROM CATEGORIAS} APPEND ({SELECT * FROM PRODUCTOS} "
                           "RELATE 'CatId' TO 'NoHay') AS Productos")));
        QVERIFY(!dte->rsProductos_Categorias->abierto());
        QCOMPARE(guion->mostrados().size(), 1);
        QVERIFY(guion->textos().first().contains(QStringLiteral("'NoHay'")));

        // A failing statement in a child level is the engine's own report.
        guion->limpiar();
        QVERIFY(!dte->abrir(QStringLiteral("Productos_Categorias"),
                            QStringLiteral("SHAPE {SELECT * FROM CATEGORIAS} APPEND ({SELECT * "
                                           "FROM NOHAY} RELATE 'CatId' TO 'CatId') AS Productos")));
        QCOMPARE(guion->mostrados().size(), 1);
        QVERIFY(guion->textos().first().startsWith(QStringLiteral("Error número: -2147217865\r")));
    }
};

QTEST_GUILESS_MAIN(PruebaEntornoDatos)
#include "tst_entornodatos.moc"
