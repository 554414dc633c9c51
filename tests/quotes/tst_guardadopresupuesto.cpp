// Saving a quote: the values stored, the lines following the editor, the
// contact check, the save as one transaction, the document written after it,
// and the command bar's save, save-and-new, cancel and document commands.
#include "comun/ejecutorguion.h"
#include "comun/mundopresupuestos.h"
#include "comun/paquete.h"
#include "comun/servidorprueba.h"
#include "comun/xmldocumento.h"
#include "data/modconexion.h"
#include "quotes/editorpresupuesto.h"
#include "quotes/enlaces.h"
#include "quotes/repositoriopresupuestos.h"
#include "startup/opciones.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <memory>

namespace {

QByteArray leerArchivo(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

EditorPresupuesto::PedirCantidad cantidad(const QString& texto) {
    return [texto](qint32) { return std::optional<QString>(texto); };
}

} // namespace

class PruebaGuardadoPresupuesto : public QObject {
    Q_OBJECT
    std::unique_ptr<MundoPresupuestos> mundo;
    std::unique_ptr<EditorPresupuesto> editor;
    int acme = 0;
    int cano = 0;
    int codo = 0;

    Fixtura& datos() { return mundo->datos(); }
    MensajesGuion& mensajes() { return mundo->mensajes(); }

    // One value of the database, read on the fixture's own connection.
    QVariant valor(const QString& sql, const QVariantList& valores = {}) {
        const ResultadoSentencia r = datos().conexion().ejecutar(sql, valores);
        return r.ok && r.filas && r.filas->filas() > 0 ? r.filas->valor(0, 0) : QVariant();
    }
    QVariant lineaGuardada(int preId, int proId, const char* campo) {
        return valor(QStringLiteral("SELECT %1 FROM PRESUPUESTOS_PRODUCTOS WHERE PreId=? AND "
                                    "ProId=?")
                         .arg(QString::fromLatin1(campo)),
                     {preId, proId});
    }
    void nuevo() {
        editor->agregando = true;
        editor->Actualizar();
        editor->CargarPre(0);
    }
    void abrir(int preId) {
        editor->agregando = false;
        editor->Actualizar();
        editor->CargarPre(preId);
    }
    void agregar(int fila, const QString& q) {
        editor->grilla().moverA(fila);
        editor->agregarProductoActual(cantidad(q));
    }
    void elegirAcme() { editor->establecerCliente(false, acme, QStringLiteral("Acme")); }

private slots:
    void init() {
        mundo = std::make_unique<MundoPresupuestos>(QStringLiteral("ana"));
        acme = datos().contacto(QStringLiteral("Acme"));
        // The grid lists them by description: Caño first, Codo second.
        cano = datos().producto(QStringLiteral("Caño"), QStringLiteral("779"), 12.5,
                                QStringLiteral("USD"));
        codo = datos().producto(QStringLiteral("Codo"), {}, 0.1, {});
        editor = std::make_unique<EditorPresupuesto>();
    }
    void cleanup() {
        enlacesPresupuesto() = EnlacesPresupuesto{};
        editor.reset();
        mundo.reset();
    }

    // Every column of a new quote and of its two lines, the key shown after.
    void nuevoConDosLineas() {
        nuevo();
        CamposPresupuesto& c = editor->campos;
        c.numero = QStringLiteral("N-1");
        c.lugar = QStringLiteral("Salto");
        c.fecha = QDate(2026, 11, 30);
        c.saludo = QStringLiteral("Estimados:");
        elegirAcme();
        c.descripcion = {QStringLiteral("uno"), QStringLiteral("dos"), QStringLiteral("tres")};
        c.concepto = {QStringLiteral("Flete"), QStringLiteral("Armado"), QStringLiteral("Viaje")};
        c.importe = {QStringLiteral("10.5"), QString(), QStringLiteral("diez")};
        c.moneda = {QStringLiteral("USD"), QStringLiteral("EUR"), QString()};
        c.despedida = QStringLiteral("Atentamente");
        c.firma = QStringLiteral("Ana Pérez");
        editor->establecerVigencia(true);
        c.textoVigencia = QStringLiteral("Válido por:");
        c.diasVigencia = QStringLiteral("15");
        agregar(1, QStringLiteral("2"));
        agregar(2, QStringLiteral("3"));
        QVERIFY(editor->guardar());

        const int id = valor(QStringLiteral("SELECT MAX(PreId) FROM PRESUPUESTOS")).toInt();
        QCOMPARE(c.id, QString::number(id));
        QVERIFY(!editor->agregando);
        QCOMPARE(editor->modo(), ModoEditor::Vista);
        QVERIFY(!editor->camposHabilitados());
        QVERIFY(!editor->vigenciaHabilitada());
        QVERIFY(mensajes().mostrados().isEmpty());
        // The document follows the stored quote: the amounts as stored, the
        // lines read back from the database.
        const PartesPaquete doc = leerPaquete(MundoPresupuestos::documento(QStringLiteral("N-1")));
        QVERIFY(doc.ok);
        pugi::xml_document xml;
        QVERIFY(xmldoc::cargar(xml, doc.documento()));
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("txtCliente")), QStringLiteral("Acme"));
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("txtProducto2")), QStringLiteral("Codo"));
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("txtSubTotal1")), QStringLiteral("25"));
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("txtSubTotal2")), QStringLiteral("0,3"));
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("txtImporte2")), QStringLiteral("0"));
        QCOMPARE(xmldoc::texto(xml, QStringLiteral("txtTotalManoDeObra")), QStringLiteral("10,5"));
        // Empty and non-numeric amounts are stored, and shown, as 0.
        QCOMPARE(c.importe[1], QStringLiteral("0"));
        QCOMPARE(c.importe[2], QStringLiteral("0"));

        const ResultadoSentencia r = datos().conexion().ejecutar(
            QStringLiteral("SELECT PreNumero, PreLugar, PreFecha, PreSaludo, EmpId, "
                           "PreDescripcion1, PreDescripcion2, PreDescripcion3, PreOtroConcepto1, "
                           "PreOtroPrecio1, PreOtroMoneda1, PreOtroConcepto2, PreOtroPrecio2, "
                           "PreOtroMoneda2, PreOtroConcepto3, PreOtroPrecio3, PreOtroMoneda3, "
                           "PreDespedida, PreFirma, PreTextoVigencia, PreVigencia, UsuLogin FROM "
                           "PRESUPUESTOS WHERE PreId=?"),
            {id});
        QVERIFY(r.ok);
        const QVariantList esperado{QStringLiteral("N-1"),
                                    QStringLiteral("Salto"),
                                    QDate(2026, 11, 30),
                                    QStringLiteral("Estimados:"),
                                    acme,
                                    QStringLiteral("uno"),
                                    QStringLiteral("dos"),
                                    QStringLiteral("tres"),
                                    QStringLiteral("Flete"),
                                    10.5,
                                    QStringLiteral("USD"),
                                    QStringLiteral("Armado"),
                                    0.0,
                                    QStringLiteral("EUR"),
                                    QStringLiteral("Viaje"),
                                    0.0,
                                    QString(),
                                    QStringLiteral("Atentamente"),
                                    QStringLiteral("Ana Pérez"),
                                    QStringLiteral("Válido por:"),
                                    15,
                                    QStringLiteral("ana")};
        for (int i = 0; i < esperado.size(); ++i) {
            const QVariant v = r.filas->valor(0, i);
            if (esperado[i].typeId() == QMetaType::Double || esperado[i].typeId() == QMetaType::Int)
                QCOMPARE(v.toDouble(), esperado[i].toDouble());
            else
                QCOMPARE(v.toString(), esperado[i].toString());
        }
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS_PRODUCTOS")), 2);
        QCOMPARE(lineaGuardada(id, cano, "PreProPrecio").toDouble(), 12.5);
        QCOMPARE(lineaGuardada(id, cano, "PreProCantidad").toDouble(), 2.0);
        QCOMPARE(lineaGuardada(id, cano, "PreProMoneda").toString(), QStringLiteral("USD"));
        QCOMPARE(lineaGuardada(id, codo, "PreProCantidad").toDouble(), 3.0);
        QVERIFY(lineaGuardada(id, codo, "PreProMoneda").toString().isEmpty());
        QVERIFY(mensajes().mostrados().isEmpty());
        // The validity group shows what was stored.
        QVERIFY(c.vigencia);
        QCOMPARE(c.diasVigencia, QStringLiteral("15"));
    }

    // The 22 values go in the order in which both stored queries declare
    // their parameters in the database file.
    void ordenDeLosValores() {
        const QStringList orden = RepositorioPresupuestos::parametrosGuardado();
        QCOMPARE(orden.size(), 22);
        for (const char* consulta : {"Presupuesto_Insertar", "Presupuesto_Actualizar"}) {
            QStringList declarados;
            const QString parametros =
                valor(QStringLiteral("SELECT Parametros FROM CONSULTAS_GUARDADAS WHERE Nombre=?"),
                      {QString::fromLatin1(consulta)})
                    .toString();
            for (const QString& p : parametros.split(u','))
                declarados << p.trimmed().section(u' ', 0, 0);
            QCOMPARE(declarados.mid(0, 22), orden);
        }
    }

    void sinVigenciaSeGuardaVacia() {
        nuevo();
        elegirAcme();
        editor->campos.textoVigencia = QStringLiteral("Vale por");
        editor->campos.diasVigencia = QStringLiteral("20");
        QVERIFY(!editor->campos.vigencia);
        QVERIFY(editor->guardar());
        const int id = editor->campos.id.toInt();
        QCOMPARE(
            valor(QStringLiteral("SELECT PreTextoVigencia FROM PRESUPUESTOS WHERE PreId=?"), {id})
                .toString(),
            QString());
        QCOMPARE(valor(QStringLiteral("SELECT PreVigencia FROM PRESUPUESTOS WHERE PreId=?"), {id})
                     .toInt(),
                 0);
        // What was stored is shown, so a later save without touching it keeps it.
        QCOMPARE(editor->campos.textoVigencia, QString());
        QCOMPARE(editor->campos.diasVigencia, QStringLiteral("0"));
        editor->cmdMenu_Click(1);
        editor->establecerVigencia(true);
        editor->establecerVigencia(false);
        QVERIFY(editor->guardar());
        QCOMPARE(valor(QStringLiteral("SELECT PreVigencia FROM PRESUPUESTOS WHERE PreId=?"), {id})
                     .toInt(),
                 0);
    }

    // Quantities changed and lines removed on screen reach the stored quote;
    // new lines are added once; a written-off line keeps its mark.
    void lineasGuardadasSiguenAlEditor() {
        const int tercero = datos().producto(QStringLiteral("Tubo"), {}, 5, {});
        const int id = mundo->presupuesto(QStringLiteral("9"), acme, QStringLiteral("ana"));
        datos().linea(id, cano, 12.5, 3);
        datos().linea(id, codo, 0.1, 2);
        datos().darDeBaja(id, cano);
        abrir(id);
        QCOMPARE(editor->lineas().cantidad(), 2);
        mensajes().escribir(QStringLiteral("1"));
        editor->quitarUnidades(editor->lineas().buscar(cano));
        mensajes().escribir(QStringLiteral("5"));
        editor->quitarUnidades(editor->lineas().buscar(codo));
        agregar(3, QStringLiteral("4"));
        QVERIFY(editor->guardar());
        editor->cmdMenu_Click(1);
        QVERIFY(editor->guardar());
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS_PRODUCTOS")), 2);
        QCOMPARE(lineaGuardada(id, cano, "PreProCantidad").toDouble(), 2.0);
        QCOMPARE(lineaGuardada(id, cano, "RemProBajaStock").toBool(), true);
        QVERIFY(!lineaGuardada(id, codo, "PreProCantidad").isValid());
        QCOMPARE(lineaGuardada(id, tercero, "PreProCantidad").toDouble(), 4.0);
        QCOMPARE(mensajes().textos().size(), 2); // only the two input boxes
    }

    // A new version copies everything the quote stores but its number, date
    // and owner; saving it marks the original, which stays as it was.
    void nuevaVersionCopiaYReemplaza() {
        nuevo();
        CamposPresupuesto& c = editor->campos;
        c.numero = QStringLiteral("42");
        c.lugar = QStringLiteral("Salto");
        c.fecha = QDate(2026, 10, 1);
        c.saludo = QStringLiteral("Estimados:");
        elegirAcme();
        c.descripcion = {QStringLiteral("uno"), QStringLiteral("dos"), QStringLiteral("tres")};
        c.concepto = {QStringLiteral("Flete"), QStringLiteral("Armado"), QStringLiteral("Viaje")};
        c.importe = {QStringLiteral("10.5"), QStringLiteral("3"), QStringLiteral("7")};
        c.moneda = {QStringLiteral("USD"), QStringLiteral("EUR"), QStringLiteral("$")};
        c.despedida = QStringLiteral("Atentamente");
        c.firma = QStringLiteral("Ana Pérez");
        editor->establecerVigencia(true);
        c.textoVigencia = QStringLiteral("Válido por:");
        c.diasVigencia = QStringLiteral("15");
        agregar(1, QStringLiteral("2"));
        agregar(2, QStringLiteral("3.5"));
        QVERIFY(editor->guardar());
        const int original = c.id.toInt();
        datos().ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS_ESTADOS (PreId, EstEstado, "
                                        "EstFechaHora) VALUES (?, 'Enviado', 46000)"),
                         {original});
        // The catalogue changes afterwards: the copy keeps the quoted terms.
        datos().ejecutar(
            QStringLiteral("UPDATE PRODUCTOS SET ProMoneda='GBP', ProPrecio=99 WHERE ProId=?"),
            {cano});
        const auto fila = [this](int id) {
            QStringList t;
            const ResultadoSentencia r = datos().conexion().ejecutar(
                QStringLiteral("SELECT * FROM PRESUPUESTOS WHERE PreId=?"), {id});
            for (int i = 0; r.ok && i < r.filas->columnas(); ++i)
                t << r.filas->valor(0, i).toString();
            return t;
        };
        const auto lineas = [this](int id) {
            QStringList t;
            const ResultadoSentencia r = datos().conexion().ejecutar(
                QStringLiteral("SELECT ProId, PreProPrecio, PreProMoneda, PreProCantidad FROM "
                               "PRESUPUESTOS_PRODUCTOS WHERE PreId=? ORDER BY ProId"),
                {id});
            for (int i = 0; r.ok && i < r.filas->filas(); ++i)
                for (int j = 0; j < 4; ++j)
                    t << r.filas->valor(i, j).toString();
            return t;
        };
        const QStringList antes = fila(original);
        const QByteArray documento =
            leerArchivo(MundoPresupuestos::documento(QStringLiteral("42")));
        QVERIFY(!documento.isEmpty());

        QVERIFY(editor->NuevaVersion(original));
        QVERIFY(editor->agregando);
        QCOMPARE(editor->reemplaza().value_or(0), original);
        QCOMPARE(c.id, QString());
        QCOMPARE(c.numero, QStringLiteral("42-2"));
        QCOMPARE(c.fecha, MundoPresupuestos::hoy());
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS_ESTADOS")), 1);
        QVERIFY(editor->guardar());
        const int version = c.id.toInt();
        QVERIFY(version != original);
        QVERIFY(mensajes().mostrados().isEmpty());

        QStringList copia = fila(version);
        QStringList esperado = antes;
        // PreId, PreNumero and PreFecha differ; the rest is the original's.
        for (int i : {0, 1, 2}) {
            copia[i].clear();
            esperado[i].clear();
        }
        QCOMPARE(copia, esperado);
        QCOMPARE(lineas(version), lineas(original));
        QVERIFY(lineas(version).contains(QStringLiteral("USD")));
        QVERIFY(lineas(version).contains(QStringLiteral("12.5")));
        QCOMPARE(fila(original), antes);
        QCOMPARE(leerArchivo(MundoPresupuestos::documento(QStringLiteral("42"))), documento);
        QVERIFY(QFile::exists(MundoPresupuestos::documento(QStringLiteral("42-2"))));
        QCOMPARE(valor(QStringLiteral("SELECT EstEstado || '|' || EstReemplazo || '|' || UsuLogin "
                                      "FROM PRESUPUESTOS_ESTADOS WHERE PreId=? ORDER BY EstId "
                                      "DESC LIMIT 1"),
                       {original})
                     .toString(),
                 QStringLiteral("Reemplazado|%1|ana").arg(version));
        QCOMPARE(valor(QStringLiteral("SELECT EstEstado FROM PRESUPUESTOS_ESTADO_ACTUAL WHERE "
                                      "PreId=?"),
                       {original})
                     .toString(),
                 QStringLiteral("Reemplazado"));

        // A version's version counts on, past a number another quote holds.
        mundo->presupuesto(QStringLiteral("42-3"), acme, QStringLiteral("ana"));
        QVERIFY(editor->NuevaVersion(version));
        QCOMPARE(c.numero, QStringLiteral("42-4"));
    }

    void numeroDeUnaVersion_data() {
        QTest::addColumn<QString>("numero");
        QTest::addColumn<QStringList>("otros");
        QTest::addColumn<QString>("version");
        const auto t = [](const char* texto) { return QString::fromUtf8(texto); };
        QTest::newRow("primera") << t("7") << QStringList{} << t("7-2");
        QTest::newRow("de una versión") << t("7-2") << QStringList{t("7")} << t("7-3");
        QTest::newRow("guion propio")
            << t("2026-15") << QStringList{t("2026-16")} << t("2026-15-2");
        QTest::newRow("tomada") << t("7") << QStringList{t("7-2"), t("7-3")} << t("7-4");
    }
    void numeroDeUnaVersion() {
        QFETCH(QString, numero);
        QFETCH(QStringList, otros);
        QFETCH(QString, version);
        const int id = mundo->presupuesto(numero, acme, QStringLiteral("ana"));
        for (const QString& n : otros)
            mundo->presupuesto(n, acme, QStringLiteral("ana"));
        QCOMPARE(RepositorioPresupuestos::numeroVersion(id, numero).value_or(QStringLiteral("?")),
                 version);
    }

    // The mark on the original is part of the new quote's save: when it
    // cannot be written, nothing is.
    void nuevaVersionEnUnaTransaccion() {
        const int original = mundo->presupuesto(QStringLiteral("8"), acme, QStringLiteral("ana"));
        QVERIFY(editor->NuevaVersion(original));
        datos().rechazar(QStringLiteral("impedir"), QStringLiteral("BEFORE INSERT"),
                         QStringLiteral("PRESUPUESTOS_ESTADOS"), QStringLiteral("no"));
        QVERIFY(!editor->guardar());
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS")), 1);
        QVERIFY(editor->agregando);

        // Meanwhile the original was accepted: the copy is stored alone.
        datos().quitarRechazo(QStringLiteral("impedir"), QStringLiteral("PRESUPUESTOS_ESTADOS"));
        datos().ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS_ESTADOS (PreId, EstEstado, "
                                        "EstFechaHora) VALUES (?, 'Aceptado', 46000)"),
                         {original});
        mensajes().limpiar();
        QVERIFY(editor->guardar());
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS")), 2);
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS_ESTADOS")), 1);
        QCOMPARE(mensajes().textos().size(), 1);
        QVERIFY(mensajes().textos().first().contains(QStringLiteral("no se marcó")));
    }

    void monedaAlGuardar() {
        nuevo();
        elegirAcme();
        agregar(1, QStringLiteral("1"));
        datos().ejecutar(QStringLiteral("UPDATE PRODUCTOS SET ProMoneda='GBP' WHERE ProId=?"),
                         {cano});
        QVERIFY(editor->guardar());
        QCOMPARE(lineaGuardada(editor->campos.id.toInt(), cano, "PreProMoneda").toString(),
                 QStringLiteral("GBP"));
    }

    // No contact: nothing is written and the editor keeps what it showed.
    void sinClienteNoSeGuarda_data() {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("mensaje");
        const QString elegir = QStringLiteral("Elija el Cliente del Presupuesto: escriba parte de "
                                              "su nombre en Cliente y pulse Enter.");
        QTest::newRow("sin elegir") << "" << elegir;
        QTest::newRow("selector cancelado") << "0" << elegir;
        QTest::newRow("contacto borrado") << "999"
                                          << "El Cliente elegido ya no existe. Elija otro Cliente.";
    }
    void sinClienteNoSeGuarda() {
        QFETCH(QString, tag);
        QFETCH(QString, mensaje);
        nuevo();
        editor->campos.clienteTag = tag;
        editor->campos.descripcion[0] = QStringLiteral("escrito");
        agregar(1, QStringLiteral("2"));
        QVERIFY(!editor->guardar());
        QCOMPARE(mensajes().textos(), QStringList{mensaje});
        QCOMPARE(mensajes().mostrados().first().titulo, QStringLiteral("Verifique"));
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS")), 0);
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS_PRODUCTOS")), 0);
        QCOMPARE(editor->modo(), ModoEditor::Nuevo);
        QVERIFY(editor->agregando);
        QCOMPARE(editor->campos.descripcion[0], QStringLiteral("escrito"));
        QCOMPARE(editor->lineas().cantidad(), 1);
    }

    // A line that the engine refuses undoes the whole save.
    void falloAMitadNoDejaNada() {
        const int previo = mundo->presupuesto(QStringLiteral("1"), acme, QStringLiteral("ana"));
        datos().linea(previo, cano, 1, 1);
        datos().rechazar(QStringLiteral("rechazo"), QStringLiteral("BEFORE INSERT"),
                         QStringLiteral("PRESUPUESTOS_PRODUCTOS"),
                         QStringLiteral("línea rechazada"),
                         QStringLiteral("NEW.ProId=%1").arg(codo));
        nuevo();
        elegirAcme();
        agregar(1, QStringLiteral("1"));
        agregar(2, QStringLiteral("1"));
        QVERIFY(!editor->guardar());
        QVERIFY(!mensajes().textos().isEmpty());
        for (const QString& t : mensajes().textos())
            QVERIFY2(t.startsWith(QStringLiteral("Error número: ")), qPrintable(t));
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS")), 1);
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS_PRODUCTOS")), 1);
        QCOMPARE(editor->campos.id, QString());
        QVERIFY(editor->agregando);
        QCOMPARE(editor->modo(), ModoEditor::Nuevo);
        QVERIFY(QDir(opciones().doc_path).isEmpty());
        QVERIFY(!editor->documentos().instancia());

        // A stored quote: its own update is undone with the refused line.
        mensajes().limpiar();
        abrir(previo);
        editor->campos.numero = QStringLiteral("cambiado");
        agregar(2, QStringLiteral("1"));
        QVERIFY(!editor->guardar());
        QCOMPARE(valor(QStringLiteral("SELECT PreNumero FROM PRESUPUESTOS WHERE PreId=?"), {previo})
                     .toString(),
                 QStringLiteral("1"));
        QCOMPARE(editor->modo(), ModoEditor::Edicion);
        // Without the refusal the same save goes through.
        datos().quitarRechazo(QStringLiteral("rechazo"), QStringLiteral("PRESUPUESTOS_PRODUCTOS"));
        QVERIFY(editor->guardar());
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS_PRODUCTOS")), 2);
    }

    void conexionPerdidaAMitad() {
        if (!servidorprueba::motorServidor())
            QSKIP("Solo un servidor corta la conexión a mitad de un guardado.");
        // The server ends the session as the second line arrives, as when it
        // restarts or the network fails.
        datos().ejecutar(QStringLiteral(
            "CREATE FUNCTION cortar() RETURNS trigger LANGUAGE plpgsql AS "
            "'BEGIN PERFORM pg_terminate_backend(pg_backend_pid()); RETURN NEW; END'"));
        datos().ejecutar(QStringLiteral("CREATE TRIGGER cortar BEFORE INSERT ON "
                                        "PRESUPUESTOS_PRODUCTOS FOR EACH ROW WHEN (NEW.ProId=%1) "
                                        "EXECUTE FUNCTION cortar()")
                             .arg(codo));
        nuevo();
        elegirAcme();
        editor->campos.lugar = QStringLiteral("Salto");
        agregar(1, QStringLiteral("1"));
        agregar(2, QStringLiteral("1"));
        QVERIFY(!editor->guardar());
        QVERIFY2(mensajes().textos().join(u'\n').contains(u"Se perdió la conexión"),
                 qPrintable(mensajes().textos().join(u'\n')));
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS")), 0);
        QCOMPARE(editor->modo(), ModoEditor::Nuevo);
        QCOMPARE(editor->lineas().cantidad(), 2);
        QCOMPARE(editor->campos.lugar, QStringLiteral("Salto"));
        // With the server back, saving again goes through on a new session.
        datos().ejecutar(QStringLiteral("DROP TRIGGER cortar ON PRESUPUESTOS_PRODUCTOS"));
        QVERIFY(editor->guardar());
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS_PRODUCTOS")), 2);
    }

    void presupuestoBorradoEntretanto() {
        const int id = mundo->presupuesto(QStringLiteral("1"), acme, QStringLiteral("ana"));
        abrir(id);
        agregar(1, QStringLiteral("1"));
        datos().ejecutar(QStringLiteral("DELETE FROM PRESUPUESTOS WHERE PreId=?"), {id});
        QVERIFY(!editor->guardar());
        QCOMPARE(mensajes().textos(),
                 QStringList{QStringLiteral("Este Presupuesto ya no existe: fue eliminado. No se "
                                            "guardó nada.")});
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS_PRODUCTOS")), 0);
    }

    // Two copies of the program on one quote: the copy that loaded it before
    // the other saved stores nothing, says so and keeps what was typed; asked
    // again, it stores what was typed as a new quote.
    void cambiosDeOtraCopia() {
        const int id = mundo->presupuesto(QStringLiteral("9"), acme, QStringLiteral("ana"));
        datos().linea(id, cano, 12.5, 1);
        EditorPresupuesto otra;
        otra.agregando = false;
        otra.Actualizar();
        otra.CargarPre(id);
        abrir(id);
        agregar(2, QStringLiteral("3"));
        QVERIFY(editor->guardar());

        otra.campos.lugar = QStringLiteral("Salto");
        QVERIFY(!otra.guardar());
        QCOMPARE(mensajes().mostrados().size(), 1);
        QCOMPARE(mensajes().mostrados().first().botones, Botones::SiNo);
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS_PRODUCTOS")), 2);
        QCOMPARE(valor(QStringLiteral("SELECT PreLugar FROM PRESUPUESTOS WHERE PreId=?"), {id})
                     .toString(),
                 QStringLiteral("Montevideo"));
        QCOMPARE(otra.campos.lugar, QStringLiteral("Salto"));
        QCOMPARE(otra.modo(), ModoEditor::Edicion);

        mensajes().responder(Respuesta::Si);
        QVERIFY(otra.guardar());
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS")), 2);
        QCOMPARE(otra.campos.numero, QStringLiteral("10"));
        QVERIFY(otra.campos.id != QString::number(id));
        QCOMPARE(
            valor(QStringLiteral("SELECT COUNT(*) FROM PRESUPUESTOS_PRODUCTOS WHERE PreId=?"), {id})
                .toInt(),
            2);
    }

    void guardarYNuevoDosVeces() {
        mundo->presupuesto(QStringLiteral("5"), acme, QStringLiteral("ana"));
        nuevo();
        QCOMPARE(editor->campos.numero, QStringLiteral("6"));
        elegirAcme();
        agregar(1, QStringLiteral("1"));
        editor->cmdMenu_Click(3);
        QCOMPARE(editor->modo(), ModoEditor::Nuevo);
        QVERIFY(editor->agregando);
        QCOMPARE(editor->campos.numero, QStringLiteral("7"));
        QVERIFY(editor->lineas().vacia());
        elegirAcme();
        editor->cmdMenu_Click(3);
        QCOMPARE(editor->campos.numero, QStringLiteral("8"));
        QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM PRESUPUESTOS WHERE PreNumero IN "
                                      "('6','7')"))
                     .toInt(),
                 2);
        // A save that fails does not go on to a new quote.
        editor->cmdMenu_Click(3);
        QCOMPARE(editor->campos.numero, QStringLiteral("8"));
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS")), 3);
    }

    // Two editors on one file offer the same number; the second save, left
    // as offered, takes the next free one. A typed number that another quote
    // holds is refused with nothing stored; a stored quote keeps its own
    // number even where an older file holds it twice.
    void numerosUnicos() {
        const int viejo = mundo->presupuesto(QStringLiteral("4"), acme, QStringLiteral("ana"));
        mundo->presupuesto(QStringLiteral("4"), acme, QStringLiteral("ana"));
        EditorPresupuesto otro;
        otro.agregando = true;
        otro.CargarPre(0);
        nuevo();
        QCOMPARE(otro.campos.numero, QStringLiteral("5"));
        QCOMPARE(editor->campos.numero, QStringLiteral("5"));
        elegirAcme();
        QVERIFY(editor->guardar());
        otro.establecerCliente(false, acme, QStringLiteral("Acme"));
        QVERIFY(otro.guardar());
        QCOMPARE(otro.campos.numero, QStringLiteral("6"));
        QVERIFY(QFileInfo(MundoPresupuestos::documento(QStringLiteral("5"))).isFile());
        QVERIFY(QFileInfo(MundoPresupuestos::documento(QStringLiteral("6"))).isFile());

        nuevo();
        elegirAcme();
        editor->campos.numero = QStringLiteral("5");
        editor->campos.descripcion[0] = QStringLiteral("escrito");
        QVERIFY(!editor->guardar());
        QCOMPARE(mensajes().textos(),
                 QStringList{QStringLiteral("Ya existe un presupuesto con el número 5.")});
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS")), 4);
        QVERIFY(editor->agregando);
        QCOMPARE(editor->campos.numero, QStringLiteral("5"));
        QCOMPARE(editor->campos.descripcion[0], QStringLiteral("escrito"));

        mensajes().limpiar();
        abrir(viejo);
        editor->campos.lugar = QStringLiteral("Salto");
        QVERIFY(editor->guardar());
        QVERIFY(mensajes().mostrados().isEmpty());
    }

    void cancelarNuevoYGuardado() {
        mundo->presupuesto(QStringLiteral("41"), acme, QStringLiteral("ana"));
        nuevo();
        editor->campos.numero = QStringLiteral("otro");
        editor->campos.descripcion[2] = QStringLiteral("texto");
        elegirAcme();
        agregar(1, QStringLiteral("2"));
        editor->cmdMenu_Click(4);
        QCOMPARE(editor->campos.numero, QStringLiteral("42"));
        QCOMPARE(editor->campos.descripcion[2], QString());
        QCOMPARE(editor->campos.cliente, QString());
        QVERIFY(editor->lineas().vacia());
        QCOMPARE(editor->modo(), ModoEditor::Nuevo);

        const int id = valor(QStringLiteral("SELECT MAX(PreId) FROM PRESUPUESTOS")).toInt();
        abrir(id);
        editor->campos.lugar = QStringLiteral("cambiado");
        agregar(1, QStringLiteral("2"));
        editor->cmdMenu_Click(4);
        QCOMPARE(editor->campos.lugar, QStringLiteral("Montevideo"));
        QVERIFY(editor->lineas().vacia());
        QCOMPARE(editor->modo(), ModoEditor::Edicion);
        QVERIFY(mensajes().mostrados().isEmpty());
    }

    // "Imprimir", "Modificar" and "Enviar" work on the document of the last
    // save, named after the number on screen; a new quote has none yet.
    void comandosDeDocumento() {
        EjecutorGuion ejecutor;
        ejecutor.alLlamar([](const EjecutorGuion::Llamada& l) {
            if (l.programa != u"soffice")
                return;
            const QString carpeta =
                l.argumentos.at(l.argumentos.indexOf(QStringLiteral("--outdir")) + 1);
            QDir().mkpath(carpeta);
            QFile pdf(carpeta + u'/' + QFileInfo(l.argumentos.last()).completeBaseName() +
                      QStringLiteral(".pdf"));
            QVERIFY(pdf.open(QIODevice::WriteOnly));
        });
        const int id = mundo->presupuesto(QStringLiteral("7"), acme, QStringLiteral("ana"));
        abrir(id);
        auto b = editor->botones();
        QVERIFY(b[5] && b[6] && b[7]);
        // Stored by another way, never saved here: there is no document yet.
        editor->cmdMenu_Click(6);
        QCOMPARE(mensajes().mostrados().size(), 1);
        QVERIFY(mensajes().textos().first().contains(QStringLiteral("No existe el documento")));
        QVERIFY(ejecutor.llamadas().isEmpty() && ejecutor.abiertas().isEmpty());
        QVERIFY(!editor->documentos().instancia());

        mensajes().limpiar();
        QVERIFY(editor->guardar());
        const QString documento = MundoPresupuestos::documento(QStringLiteral("7"));
        QVERIFY(QFileInfo(documento).isFile());
        b = editor->botones();
        QVERIFY(b[5] && b[6] && b[7]);
        editor->cmdMenu_Click(5);
        editor->cmdMenu_Click(6);
        editor->cmdMenu_Click(7);
        QVERIFY2(mensajes().mostrados().isEmpty(), qPrintable(mensajes().textos().join(u'\n')));
        QStringList programas;
        for (const EjecutorGuion::Llamada& l : ejecutor.llamadas()) {
            programas << l.programa;
            QVERIFY(l.argumentos.last().endsWith(u".pdf") || l.argumentos.last() == documento);
        }
        QCOMPARE(programas, (QStringList{QStringLiteral("soffice"), QStringLiteral("lp"),
                                         QStringLiteral("xdg-email")}));
        QCOMPARE(ejecutor.abiertas(), QList<QUrl>{QUrl::fromLocalFile(documento)});

        // Closing ends the instance that generating started, and starts or
        // ends no program.
        QVERIFY(editor->documentos().instancia());
        editor->cerrar();
        QVERIFY(!editor->documentos().instancia());
        QCOMPARE(ejecutor.llamadas().size(), 3);

        editor->cmdMenu_Click(0);
        b = editor->botones();
        QVERIFY(!b[5] && !b[6] && !b[7]);
    }

    // A number that cannot name a file: the quote is stored, the user told,
    // and the editor goes on as after any save.
    void documentoQueNoSePuedeEscribir() {
        nuevo();
        elegirAcme();
        editor->campos.numero = QStringLiteral("2026/7");
        QVERIFY(editor->guardar());
        QCOMPARE(datos().contar(QStringLiteral("PRESUPUESTOS")), 1);
        QCOMPARE(editor->modo(), ModoEditor::Vista);
        QCOMPARE(mensajes().mostrados().size(), 1);
        QVERIFY(mensajes().textos().first().contains(QStringLiteral("2026/7.doc")));
        QVERIFY(QDir(opciones().doc_path).isEmpty());
    }
};

QTEST_GUILESS_MAIN(PruebaGuardadoPresupuesto)
#include "tst_guardadopresupuesto.moc"
