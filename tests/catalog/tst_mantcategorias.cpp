// Category and contact maintenance through their logic: save with its
// validation and duplicates, search, the purge of deactivated categories,
// the query kept by the command between openings, and the defaults and
// reported failures of contacts.
#include "catalog/mantcategorias.h"
#include "catalog/mantcontactos.h"
#include "comun/catalogoprueba.h"
#include "data/entornodatos.h"
#include "data/modeloregistros.h"

#include <QTest>

#include <memory>

class PruebaMantCategorias : public QObject {
    Q_OBJECT
    std::unique_ptr<MundoCatalogo> mundo;

    static void poner(Mantenimiento& m, const char* campo, const QVariant& valor) {
        const int p = m.posicionActual();
        QVERIFY(p > 0);
        QVERIFY(m.modelo()->setData(m.modelo()->index(p - 1, m.columna(QString::fromLatin1(campo))),
                                    valor));
    }
    static QStringList listados(const Mantenimiento& m, const char* campo) {
        QStringList d;
        const int c = m.registros()->indiceCampo(QString::fromLatin1(campo));
        for (int f = 1; f <= m.registros()->cantidad(); ++f)
            d << m.registros()->valor(f, c).toString();
        return d;
    }
    int contar(const char* tabla) {
        return mundo->leer(QStringLiteral("SELECT COUNT(*) FROM ") + QString::fromLatin1(tabla))
            .toInt();
    }

private slots:
    void init() {
        mundo = std::make_unique<MundoCatalogo>();
        mundo->categoria(QStringLiteral("Bebidas"));
        mundo->categoria(QStringLiteral("Ferretería"));
    }
    void cleanup() { mundo.reset(); }

    void guardarConValidacionYDuplicado() {
        MantCategorias m;
        m.cargar();
        m.nuevo();
        QVERIFY(!m.guardar());
        QCOMPARE(mundo->textos(),
                 QStringList{QStringLiteral("Debe ingresar la descripción de la categoría")});
        QCOMPARE(m.estado(), EstadoMantenimiento::Editando);
        poner(m, "CatDescripcion", QStringLiteral("bebidas"));
        QVERIFY(!m.guardar());
        QCOMPARE(mundo->textos().last(), QStringLiteral("La Categoría ingresada ya existe."));
        QCOMPARE(mundo->mensajes().mostrados().last().titulo, QStringLiteral("Verifique"));
        QCOMPARE(m.estado(), EstadoMantenimiento::Navegando);
        QCOMPARE(contar("CATEGORIAS"), 2);

        m.nuevo();
        poner(m, "CatDescripcion", QStringLiteral("Almacén"));
        QVERIFY(m.guardar());
        QCOMPARE(listados(m, "CatDescripcion"),
                 (QStringList{QStringLiteral("Almacén"), QStringLiteral("Bebidas"),
                              QStringLiteral("Ferretería")}));
        // Edited in place: the current row changes, the key stays.
        m.moverA(2);
        const int clave = m.registros()->campo(QStringLiteral("CatId")).toInt();
        m.editar();
        poner(m, "CatDesactivada", true);
        poner(m, "CatId", QStringLiteral("77"));
        QVERIFY(m.guardar());
        QCOMPARE(mundo
                     ->leer(QStringLiteral("SELECT CatDesactivada FROM CATEGORIAS WHERE CatId=?"),
                            {clave})
                     .toInt(),
                 1);
        QCOMPARE(contar("CATEGORIAS"), 3);
    }

    void laBusquedaQuedaAlCerrarYAlCancelar() {
        {
            MantCategorias m;
            m.cargar();
            mundo->mensajes().escribir(QStringLiteral("  FERRE "));
            m.buscar();
            QCOMPARE(mundo->mensajes().mostrados()[0].titulo, QStringLiteral("Buscar"));
            QCOMPARE(listados(m, "CatDescripcion"), QStringList{QStringLiteral("Ferretería")});
            m.nuevo();
            m.cancelar();
            QCOMPARE(listados(m, "CatDescripcion"), QStringList{QStringLiteral("Ferretería")});
            m.nuevo();
            poner(m, "CatDescripcion", QStringLiteral("A medias"));
            m.cerrar();
        }
        QCOMPARE(contar("CATEGORIAS"), 2);
        // The next window finds the search still in force.
        MantCategorias otra;
        otra.cargar();
        QCOMPARE(listados(otra, "CatDescripcion"), QStringList{QStringLiteral("Ferretería")});
        otra.mostrarTodo();
        QCOMPARE(listados(otra, "CatDescripcion").size(), 2);
    }

    void purgaDeDesactivadas() {
        const int usada = mundo->categoria(QStringLiteral("Vieja usada"), true);
        mundo->categoria(QStringLiteral("Vieja sin uso"), true);
        const int otra = mundo->categoria(QStringLiteral("Nueva"));
        const int producto = mundo->producto(QStringLiteral("Martillo"), usada);
        MantCategorias m;
        m.cargar();
        mundo->mensajes().responder(Respuesta::No);
        QCOMPARE(m.purgar(), MantCategorias::Purga::NoConfirmada);
        QCOMPARE(mundo->mensajes().mostrados()[0].texto,
                 QStringLiteral("¿Confirma que desea eliminar las Categorías desactivadas?"));
        QCOMPARE(mundo->mensajes().mostrados()[0].titulo, QStringLiteral("Confirme"));
        QCOMPARE(mundo->mensajes().mostrados()[0].icono, Icono::Pregunta);
        QCOMPARE(contar("CATEGORIAS"), 5);

        mundo->mensajes().responder(Respuesta::Si);
        QCOMPARE(m.purgar(), MantCategorias::Purga::Hecha);
        QCOMPARE(mundo->textos().last(),
                 QStringLiteral("Listo. Puede que tenga que oprimir el botón Actualizar para ver "
                                "reflejados los cambios."));
        QCOMPARE(mundo->mensajes().mostrados().last().titulo, QStringLiteral("Listo"));
        QCOMPARE(listados(m, "CatDescripcion"),
                 (QStringList{QStringLiteral("Bebidas"), QStringLiteral("Ferretería"),
                              QStringLiteral("Nueva"), QStringLiteral("Vieja usada")}));
        // Once its product moves on, the next purge takes it.
        mundo->ejecutar(QStringLiteral("UPDATE PRODUCTOS SET CatId=? WHERE ProId=?"),
                        {otra, producto});
        mundo->mensajes().responder(Respuesta::Si);
        m.purgar();
        QCOMPARE(contar("CATEGORIAS"), 3);
        // With nothing to purge the message still comes.
        mundo->mensajes().limpiar();
        mundo->mensajes().responder(Respuesta::Si);
        QCOMPARE(m.purgar(), MantCategorias::Purga::Hecha);
        QCOMPARE(mundo->textos().size(), 2);
    }

    void unaPurgaFallidaNoDiceListo() {
        const int usada = mundo->categoria(QStringLiteral("Vieja"), true);
        Q_UNUSED(usada);
        mundo->ejecutar(QStringLiteral("CREATE TRIGGER prohibido BEFORE DELETE ON CATEGORIAS "
                                       "BEGIN SELECT RAISE(ABORT, 'prohibido'); END"));
        MantCategorias m;
        m.cargar();
        mundo->mensajes().responder(Respuesta::Si);
        QCOMPARE(m.purgar(), MantCategorias::Purga::Fallida);
        QCOMPARE(mundo->textos().size(), 2);
        QVERIFY(mundo->textos()[1].startsWith(QStringLiteral("Error número: ")));
        QCOMPARE(contar("CATEGORIAS"), 3);
    }

    void contactos() {
        mundo->ejecutar(QStringLiteral("INSERT INTO vinculos (VinId, VinDescripcion, "
                                       "VinDesactivado) VALUES (3, 'Antiguo', 1)"));
        MantContactos m;
        m.ActualizarVinculos();
        QCOMPARE(m.vinculos()->rowCount(), 2); // Cliente and Proveedor, not the deactivated one
        m.cargar();
        QCOMPARE(m.modelo()->rowCount(), 0);
        m.nuevo();
        QCOMPARE(m.registros()->campo(QStringLiteral("VinId")).toInt(), 1);
        poner(m, "EmpCiudad", QStringLiteral("Rosario"));
        QVERIFY(!m.guardar());
        QCOMPARE(mundo->textos(),
                 QStringList{QStringLiteral("Debe ingresar el Nombre del Proveedor")});
        poner(m, "EmpNombreFantasia", QStringLiteral("Acme O'Hara"));
        QVERIFY(m.guardar());
        QCOMPARE(contar("CONTACTOS"), 1);
        QCOMPARE(mundo->leer(QStringLiteral("SELECT VinId FROM CONTACTOS")).toInt(), 1);
        QVERIFY(mundo->leer(QStringLiteral("SELECT EmpRazonSocial FROM CONTACTOS")).isNull());
        QCOMPARE(dteBodex().texto(QStringLiteral("Proveedores")),
                 QStringLiteral("SELECT * FROM CONTACTOS ORDER BY EMPNOMBREFANTASIA ASC"));

        m.buscarTexto(QStringLiteral("o'h"));
        QCOMPARE(m.modelo()->rowCount(), 1);
        m.buscarTexto(QStringLiteral("zzz"));
        QCOMPARE(m.modelo()->rowCount(), 0);
        m.mostrarTodo();
        QCOMPARE(dteBodex().texto(QStringLiteral("Proveedores")),
                 QStringLiteral("SELECT * FROM contactos ORDER BY EMPNOMBREFANTASIA ASC"));
    }

    void unContactoQueNoSePuedeGuardarSeInforma() {
        mundo->datos().contacto(QStringLiteral("Acme"));
        mundo->ejecutar(QStringLiteral("CREATE TRIGGER prohibido BEFORE UPDATE ON CONTACTOS "
                                       "BEGIN SELECT RAISE(ABORT, 'prohibido'); END"));
        MantContactos m;
        m.cargar();
        m.editar();
        poner(m, "EmpFax", QStringLiteral("123"));
        QVERIFY(!m.guardar());
        QCOMPARE(mundo->textos().size(), 1);
        QVERIFY(mundo->textos()[0].startsWith(QStringLiteral("Error número: ")));
        QCOMPARE(m.estado(), EstadoMantenimiento::Navegando);
        QVERIFY(m.registros()->campo(QStringLiteral("EmpFax")).isNull());
    }

    void editarSinFilaNoEntraEnEdicion() {
        MantContactos m;
        m.cargar();
        m.editar();
        QCOMPARE(m.estado(), EstadoMantenimiento::Navegando);
        QCOMPARE(mundo->textos(), QStringList{QStringLiteral("No hay nada para editar")});
    }
};

QTEST_GUILESS_MAIN(PruebaMantCategorias)
#include "tst_mantcategorias.moc"
