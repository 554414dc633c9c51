// Product maintenance through its logic: the maintenance pattern's states and
// commands, defaults, validation, duplicates, searches, sorting, type-ahead,
// margins and the guarded deletion.
#include "catalog/mantproductos.h"
#include "comun/catalogoprueba.h"
#include "data/entornodatos.h"
#include "data/modeloregistros.h"
#include "startup/cqueryreg.h"
#include "startup/opciones.h"

#include <QAbstractItemModelTester>
#include <QTest>

#include <memory>

class PruebaMantProductos : public QObject {
    Q_OBJECT
    std::unique_ptr<MundoCatalogo> mundo;
    int ferreteria = 0;
    int tornillo = 0;

    // What a bound control gives back to the current row.
    static void poner(MantProductos& m, const char* campo, const QVariant& valor) {
        const int p = m.posicionActual();
        QVERIFY(p > 0);
        QVERIFY(m.modelo()->setData(m.modelo()->index(p - 1, m.columna(QString::fromLatin1(campo))),
                                    valor));
    }
    static QString actual(const MantProductos& m, const char* campo) {
        return m.registros()->texto(QString::fromLatin1(campo));
    }
    // The descriptions listed, in order.
    static QStringList listados(const MantProductos& m) {
        QStringList d;
        for (int f = 1; f <= m.registros()->cantidad(); ++f)
            d << m.registros()
                     ->valor(f, m.registros()->indiceCampo(QStringLiteral("ProDescripcion")))
                     .toString();
        return d;
    }
    int contar() { return mundo->leer(QStringLiteral("SELECT COUNT(*) FROM PRODUCTOS")).toInt(); }
    void nuevoCompleto(MantProductos& m, const QString& descripcion) {
        m.nuevo();
        poner(m, "ProDescripcion", descripcion);
        poner(m, "CatId", ferreteria);
        poner(m, "ProPrecio", QStringLiteral("100"));
        poner(m, "ProCosto", QStringLiteral("80"));
        poner(m, "ProMinimo", QStringLiteral("5"));
    }

private slots:
    void init() {
        mundo = std::make_unique<MundoCatalogo>();
        long estado = 0;
        cQueryReg().SetReg(claveTarvo(), QStringLiteral("iva"), QStringLiteral("21"),
                           cQueryReg::HKEY_CURRENT_USER, cQueryReg::REG_SZ, true, estado);
        CargarOpciones();
        ferreteria = mundo->categoria(QStringLiteral("Ferretería"));
        tornillo =
            mundo->producto(QStringLiteral("Tornillo 50%"), ferreteria, 15, 10,
                            QStringLiteral("caja"), QStringLiteral("$"), QStringLiteral("779"), 5);
        mundo->producto(QStringLiteral("Tornillo 500"), ferreteria, 20, 0, QStringLiteral("caja"),
                        QStringLiteral("$"), {}, 2);
        mundo->producto(QStringLiteral("Llave O'Brien"), ferreteria, 9, 7.5);
        mundo->producto(QStringLiteral("Arandela a_b"), ferreteria, 1, 1);
    }
    void cleanup() { mundo.reset(); }

    void nuevoYCancelarDejanLaTablaIgual() {
        MantProductos m;
        QAbstractItemModelTester probador(m.modelo(),
                                          QAbstractItemModelTester::FailureReportingMode::Fatal);
        m.cargar();
        QCOMPARE(m.estado(), EstadoMantenimiento::Navegando);
        QCOMPARE(m.modelo()->rowCount(), 4);
        m.nuevo();
        QCOMPARE(m.estado(), EstadoMantenimiento::Editando);
        QCOMPARE(m.modelo()->rowCount(), 5);
        QCOMPARE(m.posicionActual(), 5);
        // The defaults of a new product.
        QCOMPARE(m.registros()->campo(QStringLiteral("ProDesactivado")).toBool(), false);
        QCOMPARE(m.registros()->campo(QStringLiteral("ProSinVencimiento")).toBool(), true);
        QCOMPARE(actual(m, "ProIVA"), QStringLiteral("21"));
        poner(m, "ProDescripcion", QStringLiteral("A medio escribir"));
        m.cancelar();
        QCOMPARE(m.estado(), EstadoMantenimiento::Navegando);
        QCOMPARE(m.modelo()->rowCount(), 4);
        QCOMPARE(m.posicionActual(), 1);
        QCOMPARE(actual(m, "ProDescripcion"), QStringLiteral("Arandela a_b"));
        QCOMPARE(contar(), 4);

        // "Editar", a change, "Cancelar": nothing stored.
        m.editar();
        poner(m, "ProPrecio", QStringLiteral("77"));
        m.cancelar();
        QCOMPARE(mundo
                     ->leer(QStringLiteral("SELECT ProPrecio FROM PRODUCTOS WHERE "
                                           "ProDescripcion='Arandela a_b'"))
                     .toDouble(),
                 1.0);
        QVERIFY(mundo->textos().isEmpty());
    }

    void unProductoNuevoSeGuardaConNumeros() {
        MantProductos m;
        m.cargar();
        nuevoCompleto(m, QStringLiteral("Clavo"));
        poner(m, "ProUnidadMedida", QStringLiteral("bolsa"));
        poner(m, "ProMoneda", QStringLiteral("EUR"));
        QVERIFY(m.guardar());
        QCOMPARE(m.estado(), EstadoMantenimiento::Navegando);
        QCOMPARE(contar(), 5);
        QCOMPARE(mundo
                     ->leer(QStringLiteral("SELECT %1 || %2 || %3 FROM PRODUCTOS WHERE "
                                           "ProDescripcion='Clavo'")
                                .arg(mundo->datos().tipoDe(QStringLiteral("ProPrecio")),
                                     mundo->datos().tipoDe(QStringLiteral("ProMinimo")),
                                     mundo->datos().tipoDe(QStringLiteral("ProIVA"))))
                     .toString(),
                 QStringLiteral("realintegerreal"));
        QCOMPARE(mundo
                     ->leer(QStringLiteral("SELECT ProSinVencimiento FROM PRODUCTOS WHERE "
                                           "ProDescripcion='Clavo'"))
                     .toInt(),
                 1);
        // The full list again, from its first row.
        QCOMPARE(listados(m).size(), 5);
        QCOMPARE(m.posicionActual(), 1);
        // The new unit and currency are listed at the next activation.
        m.ActualizarCombos();
        QStringList unidades;
        for (int f = 0; f < m.unidades()->rowCount(); ++f)
            unidades << m.unidades()->data(m.unidades()->index(f, 0)).toString();
        QVERIFY(unidades.contains(QStringLiteral("bolsa")));
        QCOMPARE(m.monedas()->rowCount(), 3); // Null, $ and EUR
        QVERIFY(mundo->textos().isEmpty());
    }

    void validacionesEnOrden() {
        MantProductos m;
        m.cargar();
        m.nuevo();
        poner(m, "ProDescripcion", QStringLiteral("Clavo"));
        QVERIFY(!m.guardar());
        QCOMPARE(mundo->textos(), QStringList{QStringLiteral(
                                      "Debe ingresar la descripción del producto y la categoría")});
        QCOMPARE(mundo->mensajes().mostrados()[0].titulo, QStringLiteral("Tarvo"));
        QCOMPARE(mundo->mensajes().mostrados()[0].icono, Icono::Ninguno);
        QCOMPARE(m.estado(), EstadoMantenimiento::Editando);

        mundo->mensajes().limpiar();
        poner(m, "CatId", ferreteria);
        poner(m, "ProPrecio", QStringLiteral("10"));
        poner(m, "ProCosto", QStringLiteral("5"));
        poner(m, "ProMinimo", QStringLiteral("1"));
        poner(m, "ProIVA", QString()); // an empty VAT is not numeric
        QVERIFY(!m.guardar());
        QCOMPARE(mundo->textos(),
                 QStringList{QStringLiteral(
                     "Los campos Costo, Precio y Stock Mínimo, deben contener datos numéricos.")});

        mundo->mensajes().limpiar();
        poner(m, "ProIVA", QStringLiteral("21"));
        poner(m, "ProPrecio", QStringLiteral("1,5"));
        QVERIFY(!m.guardar());
        QCOMPARE(mundo->textos().size(), 1);
        QVERIFY(mundo->textos()[0].startsWith(QStringLiteral("Los campos Costo")));

        mundo->mensajes().limpiar();
        poner(m, "ProPrecio", QStringLiteral("1.5"));
        poner(m, "ProMinimo", QStringLiteral("2.5"));
        QVERIFY(!m.guardar());
        QCOMPARE(mundo->textos(),
                 QStringList{QStringLiteral("El Stock Mínimo debe ser un número entero.")});
        QCOMPARE(m.estado(), EstadoMantenimiento::Editando);
        QCOMPARE(contar(), 4);

        poner(m, "ProMinimo", QStringLiteral("2"));
        QVERIFY(m.guardar());
        QCOMPARE(contar(), 5);
    }

    void unDuplicadoSeAvisaYSeDescarta() {
        MantProductos m;
        m.cargar();
        nuevoCompleto(m, QStringLiteral("LLAVE o'brien"));
        QVERIFY(!m.guardar());
        QCOMPARE(mundo->textos(), QStringList{QStringLiteral("El Producto ingresado ya existe.")});
        QCOMPARE(mundo->mensajes().mostrados()[0].titulo, QStringLiteral("Verifique"));
        QCOMPARE(mundo->mensajes().mostrados()[0].icono, Icono::Informacion);
        QCOMPARE(m.estado(), EstadoMantenimiento::Navegando);
        QCOMPARE(m.modelo()->rowCount(), 4);
        QCOMPARE(contar(), 4);
        QVERIFY(!m.registros()->hayCambios());
    }

    void otroFalloDeEscrituraSeInforma() {
        mundo->datos().rechazar(QStringLiteral("prohibido"), QStringLiteral("BEFORE UPDATE"),
                                QStringLiteral("PRODUCTOS"), QStringLiteral("prohibido"));
        MantProductos m;
        m.cargar();
        m.editar();
        poner(m, "ProPrecio", QStringLiteral("3"));
        QVERIFY(!m.guardar());
        QCOMPARE(mundo->textos().size(), 1);
        QVERIFY(mundo->textos()[0].startsWith(QStringLiteral("Error número: ")));
        QVERIFY(mundo->textos()[0].contains(QStringLiteral("prohibido")));
        QCOMPARE(m.estado(), EstadoMantenimiento::Navegando);
        QCOMPARE(actual(m, "ProPrecio"), QStringLiteral("1"));
    }

    void busquedasLiteralesQueSobrevivenACancelar() {
        MantProductos m;
        m.cargar();
        // An empty answer (or Cancel) changes nothing.
        mundo->mensajes().escribir(QString());
        m.buscar();
        QCOMPARE(mundo->mensajes().mostrados()[0].texto,
                 QStringLiteral("Ingrese el texto a buscar:"));
        QCOMPARE(mundo->mensajes().mostrados()[0].titulo, QStringLiteral("Buscar por descripción"));
        QCOMPARE(listados(m).size(), 4);

        m.buscarTexto(QStringLiteral(" 50% "));
        QCOMPARE(listados(m), QStringList{QStringLiteral("Tornillo 50%")});
        m.buscarTexto(QStringLiteral("o'b"));
        QCOMPARE(listados(m), QStringList{QStringLiteral("Llave O'Brien")});
        m.buscarTexto(QStringLiteral("a_b"));
        QCOMPARE(listados(m), QStringList{QStringLiteral("Arandela a_b")});
        m.buscarTexto(QStringLiteral("TORNI"));
        QCOMPARE(listados(m).size(), 2);

        m.nuevo();
        m.cancelar();
        QCOMPARE(listados(m).size(), 2);
        m.mostrarTodo();
        QCOMPARE(listados(m).size(), 4);
        QVERIFY(mundo->textos().size() == 1); // only the input box
    }

    void ordenPorEncabezado() {
        {
            // The list starts by description ascending: the first click on
            // "Descripción" sorts it descending.
            MantProductos primera;
            primera.cargar();
            primera.ordenarPorColumna(0);
            QCOMPARE(listados(primera).first(), QStringLiteral("Tornillo 500"));
        }
        MantProductos m;
        m.cargar();
        m.ordenarPorColumna(1); // price, ascending first
        QCOMPARE(listados(m),
                 (QStringList{QStringLiteral("Arandela a_b"), QStringLiteral("Llave O'Brien"),
                              QStringLiteral("Tornillo 50%"), QStringLiteral("Tornillo 500")}));
        m.ordenarPorColumna(1);
        QCOMPARE(listados(m).first(), QStringLiteral("Tornillo 500"));
        // Another column starts ascending.
        m.ordenarPorColumna(0);
        QCOMPARE(listados(m).first(), QStringLiteral("Arandela a_b"));
        m.ordenarPorColumna(0);
        QCOMPARE(listados(m).first(), QStringLiteral("Tornillo 500"));
        // A search in force stays, values included.
        m.buscarTexto(QStringLiteral("tornillo"));
        m.ordenarPorColumna(2); // cost ascending
        QCOMPARE(listados(m),
                 (QStringList{QStringLiteral("Tornillo 500"), QStringLiteral("Tornillo 50%")}));
        QVERIFY(dteBodex()
                    .texto(QStringLiteral("CProductos"))
                    .endsWith(QStringLiteral(" ORDER BY ProCosto ASC")));
    }

    void busquedaAlTeclearEnLaGrilla() {
        MantProductos m;
        m.cargar();
        QCOMPARE(m.tituloGrilla(), MantProductos::tituloInicial());
        for (QChar c : QStringLiteral("TOR"))
            m.teclaEnGrilla(c);
        QCOMPARE(actual(m, "ProDescripcion"), QStringLiteral("Tornillo 50%"));
        QCOMPARE(m.tituloGrilla(), QStringLiteral("Búsqueda: TOR (BackSapce comienza de nuevo)"));
        // Nothing at or after the prefix: the row stays.
        m.teclaEnGrilla(u'z');
        QCOMPARE(actual(m, "ProDescripcion"), QStringLiteral("Tornillo 50%"));
        m.teclaEnGrilla(QChar(8));
        QCOMPARE(m.posicionActual(), 1);
        QCOMPARE(m.tituloGrilla(), MantProductos::tituloInicial());
        // From the current row onward; an apostrophe is a letter like any other.
        for (QChar c : QStringLiteral("ll"))
            m.teclaEnGrilla(c);
        QCOMPARE(actual(m, "ProDescripcion"), QStringLiteral("Llave O'Brien"));
        m.teclaEnGrilla(QChar(8));
        for (QChar c : QStringLiteral("Llave O'"))
            m.teclaEnGrilla(c);
        QCOMPARE(actual(m, "ProDescripcion"), QStringLiteral("Llave O'Brien"));
    }

    void margenes() {
        MantProductos m;
        m.cargar();
        QVERIFY(m.irAProducto(tornillo)); // cost 10, price 15
        QCOMPARE(m.margenes().porcentual, QStringLiteral("50"));
        QCOMPARE(m.margenes().absoluto, QStringLiteral("5"));
        mundo->ejecutar(QStringLiteral("UPDATE PRODUCTOS SET ProCosto=80, ProPrecio=100 WHERE "
                                       "ProId=?"),
                        {tornillo});
        mundo->ejecutar(QStringLiteral("UPDATE PRODUCTOS SET ProCosto=3, ProPrecio=4 WHERE "
                                       "ProDescripcion='Arandela a_b'"));
        m.mostrarTodo();
        QCOMPARE(m.margenes().porcentual, QStringLiteral("33,33"));
        QCOMPARE(m.margenes().absoluto, QStringLiteral("1"));
        QVERIFY(m.irAProducto(tornillo));
        QCOMPARE(m.margenes().porcentual, QStringLiteral("25"));
        QCOMPARE(m.margenes().absoluto, QStringLiteral("20"));
        m.buscarTexto(QStringLiteral("500")); // cost 0
        QCOMPARE(m.margenes().porcentual, QStringLiteral("0"));
        QCOMPARE(m.margenes().absoluto, QStringLiteral("0"));
    }

    void eliminarComprobandoEnOrden() {
        const int usado = mundo->producto(QStringLiteral("Usado"), ferreteria);
        mundo->ejecutar(
            QStringLiteral("INSERT INTO FACTURAS_PRODUCTOS (FacId, ProId) VALUES (1, ?)"), {usado});
        mundo->ejecutar(
            QStringLiteral("INSERT INTO REMITOS_PRODUCTOS (RemId, ProId) VALUES (1, ?)"), {usado});
        mundo->ejecutar(QStringLiteral("INSERT INTO LOTES (ProId) VALUES (?)"), {usado});
        mundo->ejecutar(
            QStringLiteral("INSERT INTO PRESUPUESTOS_PRODUCTOS (PreId, ProId) VALUES (?, ?)"),
            {mundo->datos().presupuesto({}), usado});
        MantProductos m;
        m.cargar();
        QVERIFY(m.irAProducto(usado));
        auto intentar = [&] {
            mundo->mensajes().limpiar();
            mundo->mensajes().responder(Respuesta::Si);
            return m.eliminar();
        };
        const QString motivos[] = {
            QStringLiteral("No es posible eliminar este producto porque tiene Compras asociadas."),
            QStringLiteral("No es posible eliminar este producto porque tiene Remitos asociados."),
            QStringLiteral("No es posible eliminar este producto porque tiene Lotes asociados."),
            QStringLiteral(
                "No es posible eliminar este producto porque está incluido en Presupuestos.")};
        const QString tablas[] = {QStringLiteral("FACTURAS_PRODUCTOS"),
                                  QStringLiteral("REMITOS_PRODUCTOS"), QStringLiteral("LOTES"),
                                  QStringLiteral("PRESUPUESTOS_PRODUCTOS")};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(intentar(), MantProductos::Borrado::EnUso);
            QCOMPARE(mundo->textos().size(), 2);
            QCOMPARE(mundo->textos()[1], motivos[i]);
            QCOMPARE(mundo->mensajes().mostrados()[1].titulo, QStringLiteral("Atención"));
            mundo->ejecutar(QStringLiteral("DELETE FROM ") + tablas[i]);
        }
        QCOMPARE(contar(), 5);
        mundo->mensajes().limpiar();
        mundo->mensajes().responder(Respuesta::No);
        QCOMPARE(m.eliminar(), MantProductos::Borrado::NoConfirmado);
        QCOMPARE(mundo->textos(),
                 QStringList{QStringLiteral("Esta seguro que dese eliminar el Producto con los "
                                            "siguientes datos: \r\n\r\n- Código: \r\n- "
                                            "Descripción: Usado")});
        QCOMPARE(mundo->mensajes().mostrados()[0].titulo,
                 QStringLiteral("Confirme que desea hacer"));
        QCOMPARE(mundo->mensajes().mostrados()[0].botones, Botones::SiNo);

        QCOMPARE(intentar(), MantProductos::Borrado::Borrado);
        QCOMPARE(mundo->textos().last(),
                 QStringLiteral("El producto se ha eliminado correctamente."));
        QCOMPARE(contar(), 4);
        QCOMPARE(listados(m).size(), 4);
    }

    void unBorradoFallidoNoSeDaPorHecho() {
        mundo->datos().rechazar(QStringLiteral("prohibido"), QStringLiteral("BEFORE DELETE"),
                                QStringLiteral("PRODUCTOS"), QStringLiteral("prohibido"));
        MantProductos m;
        m.cargar();
        mundo->mensajes().responder(Respuesta::Si);
        QCOMPARE(m.eliminar(), MantProductos::Borrado::Fallido);
        QVERIFY(!mundo->textos().contains(
            QStringLiteral("El producto se ha eliminado correctamente.")));
        QVERIFY(mundo->textos().last().startsWith(QStringLiteral("Error número: ")));
        QCOMPARE(contar(), 4);

        // A check that cannot be made keeps the product.
        mundo->mensajes().limpiar();
        mundo->ejecutar(QStringLiteral("DROP TABLE LOTES"));
        mundo->mensajes().responder(Respuesta::Si);
        QCOMPARE(m.eliminar(), MantProductos::Borrado::Fallido);
        QCOMPARE(mundo->textos().size(), 2);
        QVERIFY(mundo->textos()[1].startsWith(QStringLiteral("Error número: ")));
        QCOMPARE(contar(), 4);

        // With an empty list there is nothing to delete.
        mundo->mensajes().limpiar();
        m.buscarTexto(QStringLiteral("no existe"));
        QCOMPARE(m.eliminar(), MantProductos::Borrado::NadaQueBorrar);
        QCOMPARE(mundo->textos(), QStringList{QStringLiteral("No hay nada para borrar")});
    }

    void listasDeLosCombos() {
        const int vieja = mundo->categoria(QStringLiteral("Vieja usada"), true);
        mundo->categoria(QStringLiteral("Vieja sin uso"), true);
        mundo->producto(QStringLiteral("Martillo"), vieja);
        MantProductos m;
        m.ActualizarCombos();
        QStringList categorias;
        const int descripcion =
            m.categorias()->registros().indiceCampo(QStringLiteral("CatDescripcion"));
        for (int f = 0; f < m.categorias()->rowCount(); ++f)
            categorias << m.categorias()->data(m.categorias()->index(f, descripcion)).toString();
        QCOMPARE(categorias,
                 (QStringList{QStringLiteral("Ferretería"), QStringLiteral("Vieja usada")}));
    }

    void laVentanaSiguienteEmpiezaDesdeLaListaCompleta() {
        {
            MantProductos m;
            m.cargar();
            m.buscarTexto(QStringLiteral("llave"));
            m.nuevo();
            poner(m, "ProDescripcion", QStringLiteral("Nunca guardado"));
            m.cerrar();
        }
        QCOMPARE(contar(), 4);
        MantProductos otra;
        otra.cargar();
        QCOMPARE(listados(otra).size(), 4);
        // Going to a product not in the list in force lists them all.
        otra.buscarTexto(QStringLiteral("llave"));
        QVERIFY(otra.irAProducto(tornillo));
        QCOMPARE(actual(otra, "ProDescripcion"), QStringLiteral("Tornillo 50%"));
        QVERIFY(!otra.irAProducto(9999));
        // Closed after the program closed its connections: nothing reloads,
        // the next opening still starts from the full list.
        otra.buscarTexto(QStringLiteral("llave"));
        dteBodex().cerrarConexion();
        otra.cerrar();
        QVERIFY(!dteBodex().conexionAbierta());
        QCOMPARE(dteBodex().texto(QStringLiteral("CProductos")), MantProductos::consultaCompleta());
    }
};

QTEST_GUILESS_MAIN(PruebaMantProductos)
#include "tst_mantproductos.moc"
