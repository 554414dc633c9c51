// The quote editor's logic against a real database: numbering, loading, the
// validity, the owner rule, the suggestion lists, the product grid's
// type-ahead and bar code, and adding and removing units.
#include "comun/ejecutorguion.h"
#include "comun/mundopresupuestos.h"
#include "data/modconexion.h"
#include "quotes/editorpresupuesto.h"
#include "quotes/enlaces.h"
#include "quotes/numeros.h"
#include "users/sesion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

// Answers the quantity dialog with a fixed text and counts the questions.
struct Cantidades {
    std::optional<QString> respuesta;
    int preguntas = 0;
    EditorPresupuesto::PedirCantidad funcion() {
        return [this](qint32) {
            ++preguntas;
            return respuesta;
        };
    }
};

QStringList textosLista(const Registros& r, const QString& campo) {
    Registros copia = r;
    QStringList t;
    for (copia.moverPrimero(); !copia.alFinal(); copia.moverSiguiente())
        t << copia.texto(campo);
    return t;
}

} // namespace

class PruebaEditorPresupuesto : public QObject {
    Q_OBJECT
    std::unique_ptr<MundoPresupuestos> mundo;
    std::unique_ptr<EditorPresupuesto> editor;
    int acme = 0;

    Fixtura& datos() { return mundo->datos(); }
    MensajesGuion& mensajes() { return mundo->mensajes(); }
    QString grillaActual() const {
        return editor->grilla().registros().texto(QStringLiteral("ProDescripcion"));
    }
    // Opens a stored quote as the editor's opener does.
    void abrir(int preId) {
        editor->agregando = false;
        editor->Actualizar();
        editor->CargarPre(preId);
    }
    void nuevo() {
        editor->agregando = true;
        editor->Actualizar();
        editor->CargarPre(0);
    }

private slots:
    void init() {
        mundo = std::make_unique<MundoPresupuestos>(QStringLiteral("ana"));
        acme = datos().contacto(QStringLiteral("Acme"), QStringLiteral("Acme Sociedad Anónima"));
        editor = std::make_unique<EditorPresupuesto>();
    }
    void cleanup() {
        enlacesPresupuesto() = EnlacesPresupuesto{};
        editor.reset();
        mundo.reset();
    }

    void numeracion_data() {
        QTest::addColumn<QVariantList>("numeros");
        QTest::addColumn<QString>("propuesto");
        QTest::newRow("tabla vacía") << QVariantList{} << "1";
        QTest::newRow("41 tras un 100")
            << QVariantList{QStringLiteral("100"), QStringLiteral("41")} << "42";
        QTest::newRow("no numérico")
            << QVariantList{QStringLiteral("9"), QStringLiteral("A-7")} << "A-8";
        QTest::newRow("ya tomado") << QVariantList{QStringLiteral("5"), QStringLiteral("4")} << "6";
        QTest::newRow("sin dígitos")
            << QVariantList{QStringLiteral("7"), QStringLiteral("ABC")} << "8";
        QTest::newRow("ceros a la izquierda") << QVariantList{QStringLiteral("0012")} << "13";
        QTest::newRow("sin número") << QVariantList{QVariant()} << "";
    }
    void numeracion() {
        QFETCH(QVariantList, numeros);
        QFETCH(QString, propuesto);
        for (const QVariant& n : numeros)
            mundo->presupuesto(n, acme, QStringLiteral("ana"));
        nuevo();
        QCOMPARE(editor->campos.numero, propuesto);
        QVERIFY(mensajes().mostrados().isEmpty());
    }

    void nuevoPresupuestoEnBlanco() {
        QSignalSpy modo(editor.get(), &EditorPresupuesto::modoCambiado);
        editor->campos.cliente = QStringLiteral("resto");
        editor->campos.descripcion[1] = QStringLiteral("resto");
        nuevo();
        const CamposPresupuesto& c = editor->campos;
        QVERIFY(editor->agregando);
        QCOMPARE(editor->modo(), ModoEditor::Nuevo);
        QVERIFY(modo.count() >= 1);
        QCOMPARE(c.id, QString());
        QCOMPARE(c.fecha, MundoPresupuestos::hoy());
        QVERIFY(!c.vigencia);
        QVERIFY(!editor->vigenciaHabilitada());
        QCOMPARE(c.textoVigencia, QStringLiteral("Plazo de vigencia de la oferta:"));
        QCOMPARE(c.diasVigencia, QStringLiteral("30"));
        QCOMPARE(c.cliente, QString());
        QCOMPARE(c.clienteTag, QString());
        QCOMPARE(c.descripcion[1], QString());
        QVERIFY(editor->lineas().vacia());
        QVERIFY(editor->camposHabilitados());
    }

    // Sentence and days decide the tick as the quote loads.
    void vigenciaAlCargar_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QVariant>("dias");
        QTest::addColumn<bool>("marcada");
        QTest::newRow("15 días con texto") << "Vale por" << QVariant(15) << true;
        QTest::newRow("0 días") << "Vale por" << QVariant(0) << false;
        QTest::newRow("texto vacío") << "" << QVariant(15) << false;
        QTest::newRow("días nulos") << "Vale por" << QVariant() << false;
    }
    void vigenciaAlCargar() {
        QFETCH(QString, texto);
        QFETCH(QVariant, dias);
        QFETCH(bool, marcada);
        const int id = mundo->presupuesto(QStringLiteral("5"), acme, QStringLiteral("ana"));
        datos().ejecutar(QStringLiteral("UPDATE PRESUPUESTOS SET PreTextoVigencia=?, "
                                        "PreVigencia=? WHERE PreId=?"),
                         {texto, dias, id});
        abrir(id);
        QCOMPARE(editor->campos.vigencia, marcada);
        QCOMPARE(editor->vigenciaHabilitada(), marcada);
        QCOMPARE(editor->campos.textoVigencia, texto);
    }

    void cargarPresupuesto() {
        const int sinFantasia =
            datos().contacto(QStringLiteral(""), QStringLiteral("Razón Legal SRL"));
        const int pro = datos().producto(QStringLiteral("Caño"), QStringLiteral("779"), 3.0,
                                         QStringLiteral("USD"));
        const int borrado = datos().producto(QStringLiteral("Viejo"), {}, 1.0, {});
        const int id =
            mundo->presupuesto(QStringLiteral("0041"), sinFantasia, QStringLiteral("Ana"));
        datos().ejecutar(QStringLiteral("UPDATE PRESUPUESTOS SET PreDescripcion2='dos', "
                                        "PreOtroConcepto1='Flete', PreOtroPrecio1=12.5, "
                                        "PreOtroMoneda1='USD', PreDespedida='Saludos', "
                                        "PreFirma='Ana', PreFecha=? WHERE PreId=?"),
                         {QDate(2026, 3, 5), id});
        datos().linea(id, pro, 2.5, 4);
        datos().linea(id, borrado, 1, 1);
        datos().ejecutar(QStringLiteral("DELETE FROM PRODUCTOS WHERE ProId=?"), {borrado});
        abrir(id);
        const CamposPresupuesto& c = editor->campos;
        QCOMPARE(c.id, QString::number(id));
        QCOMPARE(c.numero, QStringLiteral("0041"));
        // The contact's legal name stands in for its empty trade name.
        QCOMPARE(c.cliente, QStringLiteral("Razón Legal SRL"));
        QCOMPARE(c.clienteTag, QString::number(sinFantasia));
        QCOMPARE(c.fecha, QDate(2026, 3, 5));
        QCOMPARE(c.lugar, QStringLiteral("Montevideo"));
        QCOMPARE(c.saludo, QStringLiteral("Estimados"));
        QCOMPARE(c.descripcion[0], QString());
        QCOMPARE(c.descripcion[1], QStringLiteral("dos"));
        QCOMPARE(c.concepto[0], QStringLiteral("Flete"));
        QCOMPARE(c.importe[0], QStringLiteral("12.5"));
        QCOMPARE(c.importe[1], QStringLiteral("0"));
        QCOMPARE(c.moneda[0], QStringLiteral("USD"));
        QCOMPARE(c.despedida, QStringLiteral("Saludos"));
        QCOMPARE(c.firma, QStringLiteral("Ana"));
        QVERIFY(!editor->agregando);
        // Owner Ana, current login ana: the same owner.
        QCOMPARE(editor->modo(), ModoEditor::Edicion);
        QVERIFY(mensajes().mostrados().isEmpty());

        QCOMPARE(editor->lineas().cantidad(), 2);
        const int i = editor->lineas().buscar(pro);
        QCOMPARE(editor->lineas().linea(i).columnas(),
                 (QStringList{QStringLiteral("779"), QStringLiteral("Caño"), QStringLiteral("2.5"),
                              QStringLiteral("4"), QStringLiteral("10")}));
        // A line whose product is gone shows neither code nor description.
        const auto& perdida = editor->lineas().linea(1 - i);
        QCOMPARE(perdida.codigo, QString());
        QCOMPARE(perdida.descripcion, QString());
    }

    void duenoDistintoNoEdita() {
        const int id = mundo->presupuesto(QStringLiteral("1"), acme, QStringLiteral("pepe"));
        nuevo();
        abrir(id);
        // The quote shows, but the editor keeps its mode after the refusal.
        QCOMPARE(editor->campos.id, QString::number(id));
        QCOMPARE(editor->modo(), ModoEditor::Nuevo);
        QCOMPARE(mensajes().textos(),
                 QStringList{QStringLiteral("Usted no tiene permiso para modificar este "
                                            "Presupuesto.")});
        QCOMPARE(mensajes().mostrados().first().titulo, QStringLiteral("Atención"));
        QCOMPARE(mensajes().mostrados().first().icono, Icono::Informacion);
        // Not even an administrator may change somebody else's quote.
        establecerUsuarioActual(QStringLiteral("admin"));
        mensajes().limpiar();
        editor->cmdMenu_Click(1);
        QCOMPARE(mensajes().mostrados().size(), 1);
        QCOMPARE(editor->modo(), ModoEditor::Nuevo);
    }

    void claveInexistenteNoCambiaNada() {
        const int id = mundo->presupuesto(QStringLiteral("7"), acme, QStringLiteral("ana"));
        abrir(id);
        // A quote whose contact is gone is not found by the join.
        const int huerfano = mundo->presupuesto(QStringLiteral("8"), 999, QStringLiteral("ana"));
        editor->CargarPre(huerfano);
        QCOMPARE(editor->campos.numero, QStringLiteral("7"));
        QCOMPARE(editor->modo(), ModoEditor::Edicion);
        // An empty key box is the key of no quote: the owner test refuses.
        editor->campos.id.clear();
        editor->cmdMenu_Click(1);
        QCOMPARE(mensajes().mostrados().size(), 1);
    }

    // A read that fails (the file locked by another program) is reported and
    // stops the command; it never counts as "no rows": no refusal of the
    // owner, no vanished customer, no number 1, no quote emptied.
    void lecturaFallidaNoEsFilaVacia() {
        const int id = mundo->presupuesto(QStringLiteral("5"), acme, QStringLiteral("ana"));
        abrir(id);
        QVERIFY(conexion());
        datos().acaparar(*conexion());
        const auto soloErrores = [this] {
            const QStringList t = mensajes().textos();
            return !t.isEmpty() && std::all_of(t.begin(), t.end(), [](const QString& m) {
                return m.startsWith(QStringLiteral("Error número: "));
            });
        };
        editor->cmdMenu_Click(1);
        QVERIFY2(soloErrores(), qPrintable(mensajes().textos().join(u'\n')));
        mensajes().limpiar();
        QVERIFY(!editor->guardar());
        QVERIFY2(soloErrores(), qPrintable(mensajes().textos().join(u'\n')));
        mensajes().limpiar();
        editor->cmdMenu_Click(0);
        QVERIFY(soloErrores());
        QCOMPARE(editor->campos.numero, QStringLiteral("5"));
        QCOMPARE(editor->modo(), ModoEditor::Edicion);
        mensajes().limpiar();
        editor->CargarPre(id);
        QVERIFY(soloErrores());
        QCOMPARE(editor->campos.id, QString::number(id));
        datos().soltar();
        mensajes().limpiar();
        QVERIFY(editor->guardar());
        QVERIFY(mensajes().mostrados().isEmpty());
    }

    void listasDeSugerencia() {
        Fixtura::Presupuesto p;
        p.empId = acme;
        p.lugar = QStringLiteral("Salto");
        datos().presupuesto(p);
        p.lugar = QStringLiteral("Artigas");
        datos().presupuesto(p);
        datos().presupuesto(p);
        datos().ejecutar(QStringLiteral("UPDATE PRESUPUESTOS SET PreOtroConcepto2='Flete', "
                                        "PreOtroMoneda3='USD'"));
        datos().producto(QStringLiteral("Caño"), {}, 1, QStringLiteral("EUR"));
        editor->Actualizar();
        const auto& l = editor->listas();
        QCOMPARE(textosLista(l.lista(ListasSugerencia::Lugar), QStringLiteral("PreLugar")),
                 (QStringList{QStringLiteral("Artigas"), QStringLiteral("Salto")}));
        for (int i : {ListasSugerencia::Concepto1, ListasSugerencia::Concepto3})
            QCOMPARE(textosLista(l.lista(i), QStringLiteral("Concepto")),
                     QStringList{QStringLiteral("Flete")});
        QCOMPARE(textosLista(l.lista(ListasSugerencia::Moneda2), QStringLiteral("Moneda")),
                 (QStringList{QStringLiteral("EUR"), QStringLiteral("USD")}));
        QCOMPARE(editor->grilla().registros().cantidad(), 1);

        // Rows written by another connection and by the shared one both show
        // on the next reload.
        p.lugar = QStringLiteral("Minas");
        datos().presupuesto(p);
        editor->Actualizar();
        QCOMPARE(l.lista(ListasSugerencia::Lugar).cantidad(), 3);
        QVERIFY(conexion()
                    ->ejecutar(QStringLiteral("UPDATE PRESUPUESTOS SET PreLugar='Rocha' "
                                              "WHERE PreLugar='Salto'"))
                    .ok);
        editor->Actualizar();
        QCOMPARE(textosLista(l.lista(ListasSugerencia::Lugar), QStringLiteral("PreLugar")),
                 (QStringList{QStringLiteral("Artigas"), QStringLiteral("Minas"),
                              QStringLiteral("Rocha")}));
        datos().producto(QStringLiteral("Codo"), {}, 1, {});
        datos().producto(QStringLiteral("Retirado"), {}, 1, {}, true);
        editor->Actualizar();
        QCOMPARE(textosLista(editor->grilla().registros(), QStringLiteral("ProDescripcion")),
                 (QStringList{QStringLiteral("Caño"), QStringLiteral("Codo")}));
        QVERIFY(mensajes().mostrados().isEmpty());
    }

    // 12.5 × 2, then 1.5 more at the old price though the catalogue changed.
    void agregarYFusionarAlPrecioDeLaLinea() {
        const int pro = datos().producto(QStringLiteral("Caño"), QStringLiteral("779"), 12.5, {});
        nuevo();
        Cantidades q;
        q.respuesta = QStringLiteral("2");
        editor->agregarProductoActual(q.funcion());
        datos().ejecutar(QStringLiteral("UPDATE PRODUCTOS SET ProPrecio=20 WHERE ProId=?"), {pro});
        editor->Actualizar();
        q.respuesta = QStringLiteral("1.5");
        editor->agregarProductoActual(q.funcion());
        QCOMPARE(q.preguntas, 2);
        QCOMPARE(editor->lineas().cantidad(), 1);
        QCOMPARE(editor->lineas().linea(0).columnas(),
                 (QStringList{QStringLiteral("779"), QStringLiteral("Caño"), QStringLiteral("12.5"),
                              QStringLiteral("3.5"), QStringLiteral("43.75")}));
        // Cancelling the quantity changes nothing.
        q.respuesta.reset();
        editor->agregarProductoActual(q.funcion());
        QCOMPARE(editor->lineas().linea(0).textoCantidad, QStringLiteral("3.5"));
    }

    void agregarSinFilaNoHaceNada() {
        nuevo();
        Cantidades q;
        q.respuesta = QStringLiteral("1");
        editor->agregarProductoActual(q.funcion());
        QCOMPARE(q.preguntas, 0);
        QVERIFY(editor->lineas().vacia());
    }

    void ajenoNoAgregaNiQuita() {
        const int pro = datos().producto(QStringLiteral("Caño"), {}, 1, {});
        const int id = mundo->presupuesto(QStringLiteral("1"), acme, QStringLiteral("pepe"));
        datos().linea(id, pro, 1, 3);
        editor->agregando = false;
        editor->Actualizar();
        editor->CargarPre(id);
        mensajes().limpiar();
        Cantidades q;
        q.respuesta = QStringLiteral("1");
        editor->agregarProductoActual(q.funcion());
        QCOMPARE(q.preguntas, 0);
        mensajes().escribir(QStringLiteral("1"));
        editor->quitarUnidades(0);
        QCOMPARE(mensajes().textos(),
                 (QStringList{QStringLiteral("Usted no tiene permiso para modificar este Egreso."),
                              QStringLiteral("Usted no tiene permiso para modificar este "
                                             "Documento.")}));
        QCOMPARE(editor->lineas().linea(0).textoCantidad, QStringLiteral("3"));
    }

    void lineaDadaDeBajaNoRecibeUnidades() {
        const int pro = datos().producto(QStringLiteral("Caño"), {}, 1, {});
        const int id = mundo->presupuesto(QStringLiteral("1"), acme, QStringLiteral("ana"));
        datos().linea(id, pro, 1, 3);
        datos().darDeBaja(id, pro);
        abrir(id);
        Cantidades q;
        q.respuesta = QStringLiteral("1");
        editor->agregarProductoActual(q.funcion());
        QCOMPARE(q.preguntas, 0);
        QCOMPARE(mensajes().textos(),
                 QStringList{QStringLiteral("No es posible agregar unidades a un Producto que ya "
                                            "fue dado de Baja en el Stock.")});
        QCOMPARE(editor->lineas().linea(0).textoCantidad, QStringLiteral("3"));
        // A new quote never runs that check.
        mensajes().limpiar();
        editor->cmdMenu_Click(0);
        editor->agregarProductoActual(q.funcion());
        QCOMPARE(q.preguntas, 1);
        QVERIFY(mensajes().mostrados().isEmpty());
    }

    void quitarUnidades_data() {
        QTest::addColumn<QString>("respuesta");
        QTest::addColumn<QString>("queda"); // empty: the line is gone
        QTest::addColumn<bool>("rechazo");
        QTest::newRow("3 - 1") << "1"
                               << "2" << false;
        QTest::newRow("3 - 0.5") << "0.5"
                                 << "2.5" << false;
        QTest::newRow("3 - 3") << "3"
                               << "" << false;
        QTest::newRow("3 - 4") << "4"
                               << "" << false;
        QTest::newRow("0") << "0"
                           << "3" << true;
        QTest::newRow("-1") << "-1"
                            << "3" << true;
        QTest::newRow("letras") << "uno"
                                << "3" << false;
        QTest::newRow("cancelar") << ""
                                  << "3" << false;
    }
    void quitarUnidades() {
        QFETCH(QString, respuesta);
        QFETCH(QString, queda);
        QFETCH(bool, rechazo);
        datos().producto(QStringLiteral("Caño"), {}, 2, {});
        nuevo();
        Cantidades q;
        q.respuesta = QStringLiteral("3");
        editor->agregarProductoActual(q.funcion());
        if (!respuesta.isEmpty())
            mensajes().escribir(respuesta);
        editor->quitarUnidades(0);
        const auto& entrada = mensajes().mostrados().first();
        QVERIFY(entrada.esEntrada);
        QCOMPARE(entrada.texto, QStringLiteral("Ingrese la cantidad que desea quitar:"));
        QCOMPARE(entrada.titulo, QStringLiteral("Cantidad"));
        QCOMPARE(mensajes().mostrados().size(), rechazo ? 2 : 1);
        if (rechazo) {
            QCOMPARE(mensajes().mostrados().last().texto,
                     QStringLiteral("La cantidad a quitar debe ser un número mayor que cero"));
            QCOMPARE(mensajes().mostrados().last().titulo, QStringLiteral("Atención"));
        }
        if (queda.isEmpty()) {
            QVERIFY(editor->lineas().vacia());
        } else {
            QCOMPARE(editor->lineas().linea(0).textoCantidad, queda);
            QCOMPARE(editor->lineas().linea(0).columnas().at(4),
                     numeros::texto(2 * queda.toDouble()));
        }
    }

    void quitarDeListaVaciaNoPregunta() {
        nuevo();
        editor->quitarUnidades(0);
        QVERIFY(mensajes().mostrados().isEmpty());
    }

    void busquedaAlEscribir() {
        for (const char* d : {"Arandela", "C-12 Conector", "Cable", "Codo", "D'Angelo llave"})
            datos().producto(QString::fromUtf8(d), {}, 1, {});
        nuevo();
        QCOMPARE(editor->grilla().titulo(), QStringLiteral("DOBLE CLIC PARA AGREGAR PRODUCTOS"));
        editor->teclaGrilla(u'c');
        QCOMPARE(grillaActual(), QStringLiteral("C-12 Conector"));
        editor->teclaGrilla(u'a');
        QCOMPARE(grillaActual(), QStringLiteral("Cable"));
        QCOMPARE(editor->grilla().titulo(),
                 QStringLiteral("Búsqueda: ca (BackSapce comienza de nuevo)"));
        editor->retrocesoGrilla();
        QCOMPARE(editor->grilla().filaActual(), 1);
        QCOMPARE(editor->grilla().textoBusqueda(), QString());
        QCOMPARE(editor->grilla().titulo(), QStringLiteral("DOBLE CLIC PARA AGREGAR PRODUCTOS"));
        // A quote character is compared as itself.
        for (QChar ch : QStringLiteral("d'a"))
            editor->teclaGrilla(ch);
        QCOMPARE(grillaActual(), QStringLiteral("D'Angelo llave"));
        // Past the last product nothing is current, and typing on finds nothing.
        editor->teclaGrilla(u'z');
        QCOMPARE(editor->grilla().filaActual(), 0);
        editor->retrocesoGrilla();
        editor->teclaGrilla(u'z');
        editor->teclaGrilla(u'a');
        QCOMPARE(editor->grilla().filaActual(), 0);
        QVERIFY(mensajes().mostrados().isEmpty());
    }

    void codigoDeBarra() {
        datos().producto(QStringLiteral("Arandela"), QStringLiteral("A1"), 1, {});
        datos().producto(QStringLiteral("Bisagra"), QStringLiteral("B'2"), 2, {});
        datos().producto(QStringLiteral("Codo"), QStringLiteral("C3"), 3, {});
        nuevo();
        editor->grilla().moverA(3);
        Cantidades q;
        q.respuesta = QStringLiteral("1");
        // Found above the current row, blanks and letter case aside.
        editor->agregarPorCodigo(QStringLiteral(" a1 "), q.funcion());
        QCOMPARE(editor->lineas().linea(0).descripcion, QStringLiteral("Arandela"));
        editor->agregarPorCodigo(QStringLiteral("B'2"), q.funcion());
        QCOMPARE(editor->lineas().linea(1).descripcion, QStringLiteral("Bisagra"));
        // A code that no product has adds nothing and leaves the grid as it was.
        const int fila = editor->grilla().filaActual();
        editor->agregarPorCodigo(QStringLiteral("ZZZ"), q.funcion());
        QCOMPARE(q.preguntas, 2);
        QCOMPARE(editor->lineas().cantidad(), 2);
        QCOMPARE(editor->grilla().filaActual(), fila);
        editor->agregarPorCodigo(QStringLiteral("C3"), q.funcion());
        QCOMPARE(editor->lineas().cantidad(), 3);
        QVERIFY(mensajes().mostrados().isEmpty());
    }

    void editarProducto() {
        std::optional<qint32> abierto;
        nuevo();
        editor->editarProducto();
        QCOMPARE(mensajes().textos(), QStringList{QStringLiteral("No se han ingresado productos")});
        QCOMPARE(mensajes().mostrados().first().titulo, QStringLiteral("Verifique"));
        const int pro = datos().producto(QStringLiteral("Caño"), {}, 1, {});
        editor->Actualizar();
        // Without product maintenance connected the button only checks.
        editor->editarProducto();
        QCOMPARE(mensajes().mostrados().size(), 1);
        enlacesPresupuesto().editarProducto = [&abierto](qint32 id) { abierto = id; };
        editor->editarProducto();
        QCOMPARE(abierto, std::optional<qint32>(pro));
    }

    void filtroDeBusquedaAvanzada() {
        datos().producto(QStringLiteral("Arandela"), {}, 1, {});
        datos().producto(QStringLiteral("Bisagra"), {}, 2, {});
        datos().producto(QStringLiteral("Broca"), {}, 2, {});
        nuevo();
        editor->filtrarGrilla(QStringLiteral("1 and ProPrecio=2"));
        QCOMPARE(editor->grilla().registros().cantidad(), 2);
        // Reloads keep the filter until Backspace.
        editor->Actualizar();
        QCOMPARE(editor->grilla().registros().cantidad(), 2);
        editor->teclaGrilla(u'b');
        editor->teclaGrilla(u'r');
        QCOMPARE(grillaActual(), QStringLiteral("Broca"));
        editor->retrocesoGrilla();
        QCOMPARE(editor->grilla().registros().cantidad(), 3);
    }

    // "Enviar PDF" addresses the contact and, once the mail program has the
    // PDF, offers to mark a draft as sent; a quote already sent is not asked
    // about again.
    void enviarPdfOfreceMarcarEnviado() {
        EjecutorGuion ejecutor;
        ejecutor.alLlamar([](const EjecutorGuion::Llamada& l) {
            if (l.programa != u"soffice")
                return;
            const QString carpeta =
                l.argumentos.at(l.argumentos.indexOf(QStringLiteral("--outdir")) + 1);
            QDir().mkpath(carpeta);
            QFile pdf(carpeta + u'/' + QFileInfo(l.argumentos.last()).completeBaseName() +
                      QStringLiteral(".pdf"));
            if (pdf.open(QIODevice::WriteOnly))
                pdf.write("%PDF");
        });
        datos().ejecutar(QStringLiteral("UPDATE CONTACTOS SET EmpEmail=? WHERE EmpId=?"),
                         {QStringLiteral("compras@acme.com.uy"), acme});
        const int id = mundo->presupuesto(QStringLiteral("0041"), acme, QStringLiteral("ana"));
        QFile documento(MundoPresupuestos::documento(QStringLiteral("0041")));
        QVERIFY(documento.open(QIODevice::WriteOnly) && documento.write("doc") == 3);
        documento.close();
        abrir(id);
        mensajes().limpiar();

        mensajes().responder(Respuesta::Si);
        editor->enviarPdf();
        QCOMPARE(ejecutor.llamadas().size(), 2);
        QCOMPARE(ejecutor.llamadas().last().argumentos.last(),
                 QStringLiteral("compras@acme.com.uy"));
        QCOMPARE(mensajes().mostrados().size(), 1);
        QCOMPARE(mensajes().mostrados().first().botones, Botones::SiNo);
        QVERIFY(mensajes().mostrados().first().texto.contains(u"«0041» como Enviado"));
        const ResultadoSentencia r = datos().conexion().ejecutar(
            QStringLiteral("SELECT EstEstado, UsuLogin, EstFechaHora FROM PRESUPUESTOS_ESTADOS "
                           "WHERE PreId=?"),
            {id});
        QVERIFY(r.ok && r.filas);
        QCOMPARE(r.filas->filas(), 1);
        QCOMPARE(r.filas->texto(0, 0), QStringLiteral("Enviado"));
        QCOMPARE(r.filas->texto(0, 1), QStringLiteral("ana"));
        QCOMPARE(r.filas->valor(0, 2).toDateTime().date(), MundoPresupuestos::hoy());

        mensajes().limpiar();
        editor->enviarPdf();
        QCOMPARE(ejecutor.llamadas().size(), 4);
        QVERIFY(mensajes().mostrados().isEmpty());
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS_ESTADOS")), 1);
    }
};

QTEST_GUILESS_MAIN(PruebaEditorPresupuesto)
#include "tst_editorpresupuesto.moc"
