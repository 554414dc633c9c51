// The five reports on real rows of a fresh database, written to PDF and read
// back with poppler's tools: captions, labels, values and their formats, the
// page count in every footer, groups and their counts, and the company header.
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/lectorpdf.h"
#include "comun/mensajesguion.h"
#include "data/entornodatos.h"
#include "data/modconexion.h"
#include "platform/reloj.h"
#include "reports/informe.h"
#include "reports/informes.h"
#include "reports/pintor.h"
#include "reports/resultados.h"
#include "startup/arranque.h"
#include "startup/opciones.h"

#include <QDateTime>
#include <QImage>
#include <QRegularExpression>
#include <QTest>

#include <memory>
#include <vector>

namespace {

QString palabras(int n) {
    QStringList p;
    for (int i = 1; i <= n; ++i)
        p << QStringLiteral("palabra%1").arg(i);
    return p.join(u' ');
}

// True when the line reads exactly these pieces, in this order, separated by
// spaces (as many as the layout puts between columns).
bool leeComo(const QString& linea, const QStringList& piezas) {
    QStringList escapadas;
    for (const QString& p : piezas)
        escapadas << QRegularExpression::escape(p);
    return QRegularExpression(u'^' + escapadas.join(QStringLiteral("\\s+")) + u'$')
        .match(linea)
        .hasMatch();
}

// The index of the first line that reads as `piezas`; -1 when none does.
qsizetype fila(const LectorPdf& pdf, const QStringList& piezas) {
    const QStringList lineas = pdf.lineas();
    for (qsizetype i = 0; i < lineas.size(); ++i)
        if (leeComo(lineas[i], piezas))
            return i;
    return -1;
}

QStringList piezas(std::initializer_list<const char*> textos) {
    QStringList r;
    for (const char* t : textos)
        r << QString::fromUtf8(t);
    return r;
}

} // namespace

class PruebaInformes : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;
    std::unique_ptr<Fixtura> datos;

    void ejecutar(const QString& sql, const QVariantList& valores = {}) {
        const ResultadoSentencia r = datos->conexion().ejecutar(sql, valores);
        QVERIFY2(r.ok, qPrintable(sql + u' ' + datos->conexion().errores().value(0).descripcion));
    }
    void ajuste(const QString& nombre, const QString& valor) {
        entorno->ajustar(nombre, valor);
        CargarOpciones();
    }
    void categoria(int id, const QString& descripcion, bool desactivada = false) {
        ejecutar(QStringLiteral("INSERT INTO CATEGORIAS (CatId, CatDescripcion, CatDesactivada) "
                                "VALUES (?, ?, ?)"),
                 {id, descripcion, desactivada});
    }
    void producto(int id, const QString& codigo, const QString& descripcion, int catId,
                  double precio = 0, double costo = 0, int minimo = 0, bool desactivado = false,
                  const QString& unidad = {}) {
        ejecutar(QStringLiteral("INSERT INTO PRODUCTOS (ProId, ProCodigo, ProDescripcion, CatId, "
                                "ProPrecio, ProCosto, ProMinimo, ProDesactivado, ProUnidadMedida) "
                                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                 {id, codigo, descripcion, catId, precio, costo, minimo, desactivado, unidad});
    }
    struct Presupuesto {
        Presupuesto(int id_, int empId_, const QString& lugar_, const QDate& fecha_,
                    const QString& saludo_)
            : id(id_), empId(empId_), lugar(lugar_), fecha(fecha_), saludo(saludo_) {}
        int id;
        int empId;
        QString lugar;
        QDate fecha;
        QString saludo;
        QStringList descripciones{QString(), QString(), QString()};
        QVariantList otros{QString(), 0.0,       QString(), QString(), 0.0,
                           QString(), QString(), 0.0,       QString()};
        QString despedida;
        QString firma;
    };
    void presupuesto(const Presupuesto& p) {
        QVariantList v = {p.id, QString::number(p.id), p.empId, p.lugar, p.fecha, p.saludo};
        for (const QString& d : p.descripciones)
            v << d;
        v << p.otros << p.despedida << p.firma;
        ejecutar(QStringLiteral(
                     "INSERT INTO PRESUPUESTOS (PreId, PreNumero, EmpId, PreLugar, PreFecha, "
                     "PreSaludo, PreDescripcion1, PreDescripcion2, PreDescripcion3, "
                     "PreOtroConcepto1, PreOtroPrecio1, PreOtroMoneda1, PreOtroConcepto2, "
                     "PreOtroPrecio2, PreOtroMoneda2, PreOtroConcepto3, PreOtroPrecio3, "
                     "PreOtroMoneda3, PreDespedida, PreFirma, UsuLogin) VALUES (?, ?, ?, ?, ?, "
                     "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'admin')"),
                 v);
    }
    void linea(int preId, int proId, double precio, double cantidad, const QString& moneda) {
        ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS_PRODUCTOS (PreId, ProId, PreProPrecio, "
                                "PreProCantidad, PreProMoneda) VALUES (?, ?, ?, ?, ?)"),
                 {preId, proId, precio, cantidad, moneda});
    }

    // The report laid out with the current data and settings, written to a
    // PDF and read back; the report's end step runs after it.
    LectorPdf imprimir(DefinicionInforme (*declarar)(), bool cerrarAlTerminar = false) {
        Informe informe(declarar, cerrarAlTerminar);
        return imprimir(informe);
    }
    LectorPdf imprimirResultados(const PeticionResultados& peticion) {
        Informe informe(&informes::resultados, false);
        prepararInformeResultados(informe, peticion);
        return imprimir(informe);
    }
    LectorPdf imprimir(Informe& informe) {
        std::unique_ptr<Maquetador> m = informe.iniciar();
        if (!m)
            qFatal("el reporte no lee sus filas");
        m->completar();
        const QString ruta = entorno->ruta(informe.nombre() + QStringLiteral(".pdf"));
        QString error;
        if (!escribirPdf(m->resultado(), ruta, error))
            qFatal("%s", qPrintable(error));
        informe.terminar();
        LectorPdf pdf(ruta);
        if (!pdf.valido)
            qFatal("poppler no lee %s", qPrintable(ruta));
        return pdf;
    }

    // Every footer reads "N de M" with M the file's page count.
    static void verificarPaginas(const LectorPdf& pdf) {
        QCOMPARE(pdf.textoPorPagina.size(), pdf.paginas);
        const QString hoy = QStringLiteral("lunes, 7 de diciembre de 2026");
        for (int i = 0; i < pdf.paginas; ++i) {
            const QString pagina = pdf.textoPorPagina[i];
            QVERIFY2(QRegularExpression(
                         QStringLiteral("\\b%1\\s+de\\s+%2\\s*$").arg(i + 1).arg(pdf.paginas))
                         .match(pagina)
                         .hasMatch(),
                     qPrintable(pagina.right(200)));
            QVERIFY(pagina.contains(hoy));
        }
    }

    // The quotes of most cases: one in full, one whose contact is gone, one
    // without lines or other costs.
    void presupuestosDePrueba() {
        ejecutar(QStringLiteral("INSERT INTO CONTACTOS (EmpId, EmpNombreFantasia) VALUES (1, "
                                "'Acme'), (2, 'Beta')"));
        categoria(1, QStringLiteral("Herramientas"));
        producto(1, QStringLiteral("T-01"), QStringLiteral("Tornillo"), 1, 0, 0, 0, false,
                 QStringLiteral("u"));
        producto(2, QStringLiteral("A-02"), QStringLiteral("Arandela"), 1, 0, 0, 0, false,
                 QStringLiteral("kg"));
        Presupuesto p(10, 1, QStringLiteral("Montevideo"), QDate(2026, 3, 5),
                      QStringLiteral("Estimados"));
        p.descripciones = {QStringLiteral("Primer párrafo"), QStringLiteral("Segundo párrafo"),
                           QStringLiteral("Tercer párrafo")};
        p.otros = {QStringLiteral("Mano de obra"),
                   100.0,
                   QStringLiteral("USD"),
                   QStringLiteral("Flete"),
                   20.5,
                   QStringLiteral("USD"),
                   QString(),
                   0.0,
                   QString()};
        p.despedida = QStringLiteral("Saludos cordiales");
        p.firma = QStringLiteral("Juan Pérez");
        presupuesto(p);
        linea(10, 1, 2.5, 2, QStringLiteral("USD"));    // 5
        linea(10, 2, 1234.5, 1, QStringLiteral("USD")); // 1234.5
        linea(10, 99, 7, 1, QStringLiteral("USD"));     // its product is gone
        presupuesto(Presupuesto(11, 99, QStringLiteral("Salto"), QDate(2026, 4, 1),
                                QStringLiteral("Hola"))); // its contact is gone
        presupuesto(Presupuesto(12, 2, QStringLiteral("Colonia"), QDate(2026, 5, 2),
                                QStringLiteral("Señores")));
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        const QString base = entorno->copiarBase();
        datos = std::make_unique<Fixtura>(base);
        crearOrigenDePrueba(QStringLiteral("TARVO_PRUEBA"), base);
        dteBodex().establecerCadenaConexion(cadenaConexionInformes(QStringLiteral("PRUEBA")));
        Reloj::fijar(QDate(2026, 12, 7));
        CargarOpciones();
    }
    void cleanup() {
        dteBodex().cerrarConexion();
        Reloj::liberar();
        QVERIFY2(mensajes->mostrados().isEmpty(), qPrintable(mensajes->textos().join(u'\n')));
        datos.reset();
        mensajes.reset();
        entorno.reset();
    }

    void presupuestoCompletoConSusFormatos() {
        presupuestosDePrueba();
        const LectorPdf pdf = imprimir(&informes::presupuestos, true);
        QCOMPARE(pdf.titulo, QStringLiteral("Presupuesto - Bodex Profesional"));
        QVERIFY(pdf.tamano.contains(QStringLiteral("A4")));
        QCOMPARE(pdf.paginas, 1);
        verificarPaginas(pdf);
        const QStringList l = pdf.lineas();
        QCOMPARE(l.first(), QStringLiteral("LISTADO DE PRESUPUESTOS"));

        QVERIFY(fila(pdf, piezas({"Montevideo", "05/03/26"})) > 0);
        QVERIFY(l.contains(QStringLiteral("Estimados Acme")));
        for (const char* parrafo : {"Primer párrafo", "Segundo párrafo", "Tercer párrafo"})
            QVERIFY(l.contains(QString::fromUtf8(parrafo)));
        // Code, description, quantity "0.00", unit, currency, price "0.00",
        // subtotal "0,00".
        QVERIFY(fila(pdf, piezas({"T-01", "Tornillo", "2,00", "u", "USD", "2,50", "005"})) > 0);
        QVERIFY(fila(pdf, piezas({"A-02", "Arandela", "1,00", "kg", "USD", "1234,50", "1.235"})) >
                0);
        // The line whose product is gone is neither printed nor counted.
        QCOMPARE(pdf.capturas(QStringLiteral("Total:\\s+(\\S+)")),
                 QStringList({QStringLiteral("1.240"), QStringLiteral("000")}));
        // Other costs: concept, price "0", currency; their total in general form.
        const qsizetype otros = fila(pdf, piezas({"Otros costos:"}));
        QVERIFY(otros > 0);
        QCOMPARE(fila(pdf, piezas({"Mano de obra", "100", "USD"})), otros + 1);
        QCOMPARE(fila(pdf, piezas({"Flete", "21", "USD"})), otros + 2);
        QCOMPARE(l[otros + 3], QStringLiteral("0"));
        QCOMPARE(l[otros + 4], QStringLiteral("120,5"));
        QCOMPARE(l[otros + 5], QStringLiteral("Saludos cordiales"));
        QCOMPARE(l[otros + 6], QStringLiteral("Juan Pérez"));

        // The quote without a contact prints nothing; the one without lines
        // or other costs prints its sections with 0.
        QVERIFY(!pdf.texto.contains(QStringLiteral("Salto")));
        QVERIFY(!pdf.texto.contains(QStringLiteral("Hola")));
        QCOMPARE(pdf.capturas(QStringLiteral("(Otros costos:)")).size(), 2);
        const qsizetype colonia = fila(pdf, piezas({"Colonia", "02/05/26"}));
        QVERIFY(colonia > otros);
        QCOMPARE(l[colonia + 1], QStringLiteral("Señores Beta"));
        QCOMPARE(fila(pdf, piezas({"Total:", "000"})), colonia + 2);
        QCOMPARE(l[colonia + 3], QStringLiteral("Otros costos:"));
        // Three empty rows priced 0 and their total 0; then only the footer.
        QCOMPARE(l.mid(colonia + 4),
                 QStringList({QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
                              QStringLiteral("0"), l.last()}));
        QVERIFY(l.last().startsWith(QStringLiteral("lunes, 7 de diciembre de 2026")));
    }

    void sinPresupuestosSoloLosEncabezados() {
        ajuste(QStringLiteral("empresa"), QStringLiteral("Ferretería Sur"));
        const LectorPdf pdf = imprimir(&informes::presupuestos, true);
        QCOMPARE(pdf.paginas, 1);
        QCOMPARE(pdf.lineas().size(), 3);
        QCOMPARE(pdf.lineas()[0], QStringLiteral("Ferretería Sur"));
        QCOMPARE(pdf.lineas()[1], QStringLiteral("LISTADO DE PRESUPUESTOS"));
        verificarPaginas(pdf);
    }

    void unTextoLargoSigueEnLaPaginaSiguiente() {
        ejecutar(QStringLiteral("INSERT INTO CONTACTOS (EmpId, EmpNombreFantasia) VALUES (1, "
                                "'Acme')"));
        Presupuesto p(1, 1, QStringLiteral("Montevideo"), QDate(2026, 3, 5),
                      QStringLiteral("Estimados"));
        p.descripciones = {palabras(1500), QStringLiteral("Segundo párrafo"), QString()};
        p.despedida = QStringLiteral("Saludos cordiales");
        presupuesto(p);
        const LectorPdf pdf = imprimir(&informes::presupuestos, true);
        QVERIFY(pdf.paginas >= 2);
        verificarPaginas(pdf);
        // Every word once, in order, across the breaks; no line is lost.
        const QStringList vistas = pdf.capturas(QStringLiteral("palabra(\\d+)"));
        QCOMPARE(vistas.size(), 1500);
        for (int i = 0; i < vistas.size(); ++i)
            QCOMPARE(vistas[i].toInt(), i + 1);
        // What follows the long text comes after it.
        const QString ultima = pdf.textoPorPagina.last();
        QVERIFY(ultima.indexOf(QStringLiteral("Segundo párrafo")) >
                ultima.indexOf(QStringLiteral("palabra1500")));
        QVERIFY(ultima.contains(QStringLiteral("Saludos cordiales")));
        // Each page starts with the page header.
        for (const QString& pagina : pdf.textoPorPagina)
            QCOMPARE(pagina.trimmed().section(u'\n', 0, 0).trimmed(),
                     QStringLiteral("LISTADO DE PRESUPUESTOS"));
    }

    void reglaDelEncabezado_data() {
        QTest::addColumn<QString>("logo"); // "bueno", "ilegible", "" (none)
        QTest::addColumn<QString>("empresa");
        QTest::addColumn<int>("imagenes");
        QTest::newRow("nada: sin encabezado") << ""
                                              << "" << 0;
        QTest::newRow("solo el nombre") << ""
                                        << "Ferretería Sur" << 0;
        QTest::newRow("logo y nombre") << "bueno"
                                       << "Ferretería Sur" << 1;
        QTest::newRow("solo el logo") << "bueno"
                                      << "" << 1;
        QTest::newRow("logo ilegible") << "ilegible"
                                       << "Ferretería Sur" << 0;
        QTest::newRow("logo que no existe") << "falta"
                                            << "" << 0;
    }
    void reglaDelEncabezado() {
        QFETCH(QString, logo);
        QFETCH(QString, empresa);
        QFETCH(int, imagenes);
        QString ruta;
        if (logo == QStringLiteral("bueno")) {
            ruta = entorno->ruta(QStringLiteral("logo.png"));
            QImage imagen(120, 60, QImage::Format_RGB32);
            imagen.fill(Qt::darkBlue);
            QVERIFY(imagen.save(ruta));
        } else if (logo == QStringLiteral("ilegible")) {
            ruta = entorno->ruta(QStringLiteral("logo.png"));
            QFile f(ruta);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("esto no es una imagen");
        } else if (logo == QStringLiteral("falta")) {
            ruta = entorno->ruta(QStringLiteral("no/existe.png"));
        }
        ajuste(QStringLiteral("logo_path"), ruta);
        ajuste(QStringLiteral("empresa"), empresa);
        categoria(1, QStringLiteral("Herramientas"));

        const LectorPdf pdf = imprimir(&informes::categorias);
        QCOMPARE(pdf.imagenes, imagenes);
        const QStringList l = pdf.lineas();
        // The report always shows; the title comes first unless there is a
        // company name to show above it.
        QCOMPARE(l[empresa.isEmpty() ? 0 : 1], QStringLiteral("LISTA DE CATEGORÍAS"));
        if (!empresa.isEmpty())
            QCOMPARE(l[0], empresa);
        // A hidden report header leaves no room above the title.
        Informe informe(&informes::categorias, false);
        auto m = informe.iniciar();
        m->completar();
        QCOMPARE(informe.definicion().encabezadoInforme.visible,
                 !(logo.isEmpty() && empresa.isEmpty()));
        const BandaColocada& primera = m->maquetado().paginas[0].bandas[0];
        const Elemento& arriba = m->maquetado().elementos[size_t(primera.primero)];
        if (logo.isEmpty() && empresa.isEmpty())
            QCOMPARE(arriba.control->nombre, QStringLiteral("Etiqueta1"));
    }

    void categoriasConSuEstado() {
        categoria(1, QStringLiteral("Herramientas"));
        categoria(2, QStringLiteral("Bebidas"), true);
        categoria(3, QStringLiteral("alimentos"));
        const LectorPdf pdf = imprimir(&informes::categorias);
        QCOMPARE(pdf.titulo, QStringLiteral("Categorías - Bodex Profesional"));
        const QStringList l = pdf.lineas();
        QCOMPARE(l[0], QStringLiteral("LISTA DE CATEGORÍAS"));
        QCOMPARE(fila(pdf, piezas({"Código:", "Descripción:", "Desactivada:"})), 1);
        QCOMPARE(fila(pdf, piezas({"3", "alimentos", "No"})), 2);
        QCOMPARE(fila(pdf, piezas({"2", "Bebidas", "Si"})), 3);
        QCOMPARE(fila(pdf, piezas({"1", "Herramientas", "No"})), 4);
        QCOMPARE(l.size(), 6);
        verificarPaginas(pdf);
    }

    void muchasCategoriasNumeranCadaPagina() {
        for (int i = 1; i <= 130; ++i)
            categoria(i, QStringLiteral("Categoría %1").arg(i, 3, 10, QLatin1Char('0')));
        const LectorPdf pdf = imprimir(&informes::categorias);
        QCOMPARE(pdf.paginas, 3);
        verificarPaginas(pdf);
        for (const QString& pagina : pdf.textoPorPagina)
            QVERIFY(pagina.contains(QStringLiteral("Descripción:")));
        QCOMPARE(pdf.capturas(QStringLiteral("Categoría (\\d+)")).size(), 130);
    }

    void productosPorCategoriaConSuCuenta() {
        categoria(1, QStringLiteral("Herramientas"));
        categoria(2, QStringLiteral("Bebidas"), true);
        categoria(3, QStringLiteral("alimentos"));
        producto(1, QStringLiteral("T-01"), QStringLiteral("Tornillo"), 1, 2.5, 1.25, 100);
        producto(2, QStringLiteral("A-02"), QStringLiteral("Arandela"), 1, 0.1, 0.05, 0);
        producto(3, QStringLiteral("C-03"), QStringLiteral("Clavo"), 1, 1, 1, 0, true);
        producto(4, QStringLiteral("B-04"), QStringLiteral("Agua"), 2, 30, 12, 6);
        const LectorPdf pdf = imprimir(&informes::productosCategorias);
        QCOMPARE(pdf.titulo,
                 QStringLiteral("Productos agrupados por Categoría - Bodex Profesional"));
        QCOMPARE(pdf.lineas().first(), QStringLiteral("LISTADO DE PRODUCTOS POR CATEGORIA"));
        // Every category, the deactivated one too, with its active products.
        QCOMPARE(pdf.capturas(QStringLiteral("Categoría:\\s+(\\S+)")),
                 QStringList({QStringLiteral("alimentos"), QStringLiteral("Bebidas"),
                              QStringLiteral("Herramientas")}));
        QCOMPARE(pdf.capturas(QStringLiteral("Cantidad de productos:\\s+(\\S+)")),
                 QStringList({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")}));
        QCOMPARE(pdf.capturas(QStringLiteral("Código:\\s+(\\d+)")),
                 QStringList({QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1")}));
        QVERIFY(!pdf.texto.contains(QStringLiteral("Clavo")));
        // Under each category its labels, its products in description order
        // and their count.
        const QStringList rotulos =
            piezas({"Código:", "Descripción:", "Precio:", "Costo:", "Stock Mínimo:"});
        const qsizetype herramientas =
            fila(pdf, piezas({"Categoría:", "Herramientas", "Código:", "1"}));
        QCOMPARE(herramientas, 8);
        const QStringList l = pdf.lineas();
        QVERIFY(leeComo(l[herramientas + 1], rotulos));
        QVERIFY(leeComo(l[herramientas + 2], piezas({"A-02", "Arandela", "0,1", "0,05", "0"})));
        QVERIFY(leeComo(l[herramientas + 3], piezas({"T-01", "Tornillo", "2,5", "1,25", "100"})));
        QVERIFY(leeComo(l[herramientas + 4], piezas({"Cantidad de productos:", "2"})));
        QVERIFY(leeComo(l[1], piezas({"Categoría:", "alimentos", "Código:", "3"})));
        QVERIFY(leeComo(l[2], rotulos));
        QVERIFY(leeComo(l[3], piezas({"Cantidad de productos:", "0"})));
        QVERIFY(leeComo(l[6], piezas({"B-04", "Agua", "30", "12", "6"})));
        verificarPaginas(pdf);
    }

    void productosDelTextoDeDiseno() {
        categoria(1, QStringLiteral("Herramientas"));
        producto(1, QStringLiteral("T-01"), QStringLiteral("Tornillo"), 1, 1234.5, 1000, 5);
        producto(2, QStringLiteral("C-03"), QStringLiteral("Clavo"), 1, 1, 1, 0, true);
        const LectorPdf pdf = imprimir(&informes::productos);
        QCOMPARE(pdf.titulo, QStringLiteral("Productos - Bodex Profesional"));
        const QStringList l = pdf.lineas();
        QCOMPARE(l[0], QStringLiteral("LISTADO DE PRODUCTOS"));
        QCOMPARE(fila(pdf, piezas({"Código:", "Descripción:", "Precio:", "Costo:", "Stock Mínimo:",
                                   "Desactivado:"})),
                 1);
        QCOMPARE(fila(pdf, piezas({"T-01", "Tornillo", "1234,5", "1000", "5", "No"})), 2);
        QVERIFY(!pdf.texto.contains(QStringLiteral("Clavo")));
    }

    void proveedoresUnBloquePorContacto() {
        ejecutar(QStringLiteral(
                     "INSERT INTO CONTACTOS (EmpId, EmpNombreFantasia, EmpRazonSocial, EmpRuc, "
                     "EmpDireccion, EmpCodigoPostal, EmpTelefono1, EmpTelefono2, EmpFax, "
                     "EmpEmail, EmpURL, EmpZona, EmpCiudad, EmpProvinciaEstado, EmpPais) VALUES "
                     "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                 {7, QStringLiteral("Acme"), QStringLiteral("Acme Sociedad Anónima"),
                  QStringLiteral("211234560018"), QStringLiteral("Av. Italia 1234"),
                  QStringLiteral("11300"), QStringLiteral("2601 0000"),
                  QStringLiteral("099 123 456"), QStringLiteral("2601 0001"),
                  QStringLiteral("ventas@acme.com.uy"), QStringLiteral("www.acme.com.uy"),
                  QStringLiteral("Este"), QStringLiteral("Montevideo"),
                  QStringLiteral("Montevideo Dpto."), QStringLiteral("Uruguay")});
        ejecutar(QStringLiteral("INSERT INTO CONTACTOS (EmpId, EmpNombreFantasia) VALUES (8, "
                                "'Beta')"));
        const LectorPdf pdf = imprimir(&informes::proveedores);
        QCOMPARE(pdf.titulo, QStringLiteral("Proveedores - Bodex Profesional"));
        QCOMPARE(pdf.lineas().first(), QStringLiteral("LISTADO DE PROVEEDORES"));
        const std::pair<const char*, const char*> pares[] = {
            {"Código:", "7"},
            {"Nombre:", "Acme"},
            {"Razón Social:", "Acme Sociedad Anónima"},
            {"Ruc:", "211234560018"},
            {"Dirección:", "Av. Italia 1234"},
            {"C.P:", "11300"},
            {"Tel. 1:", "2601 0000"},
            {"Tel. 2:", "099 123 456"},
            {"Fax:", "2601 0001"},
            {"E-mail:", "ventas@acme.com.uy"},
            {"URL:", "www.acme.com.uy"},
            {"Zona:", "Este"},
            {"Ciudad:", "Montevideo"},
            {"Provincia/Estado:", "Montevideo Dpto."},
            {"País:", "Uruguay"},
        };
        // Two pairs to a line, in reading order, right under the title.
        for (size_t i = 0; i < std::size(pares); i += 2) {
            QStringList esperado = {QString::fromUtf8(pares[i].first),
                                    QString::fromUtf8(pares[i].second)};
            if (i + 1 < std::size(pares))
                esperado << QString::fromUtf8(pares[i + 1].first)
                         << QString::fromUtf8(pares[i + 1].second);
            QCOMPARE(fila(pdf, esperado), qsizetype(1 + i / 2));
        }
        QCOMPARE(pdf.capturas(QStringLiteral("Nombre:\\s+(\\S+)")),
                 QStringList({QStringLiteral("Acme"), QStringLiteral("Beta")}));
        verificarPaginas(pdf);
    }

    void alTerminarSeCierraElComandoYLaProximaLeeDeNuevo() {
        presupuestosDePrueba();
        Informe informe(&informes::presupuestos, true);
        auto primera = informe.iniciar();
        QVERIFY(primera);
        QVERIFY(dteBodex().abierto(QStringLiteral("TotalPresupuestos")));
        informe.terminar();
        QVERIFY(!dteBodex().abierto(QStringLiteral("TotalPresupuestos")));
        presupuesto(Presupuesto(13, 1, QStringLiteral("Rivera"), QDate(2026, 6, 1),
                                QStringLiteral("Hola")));
        const LectorPdf pdf = imprimir(&informes::presupuestos, true);
        QVERIFY(pdf.texto.contains(QStringLiteral("Rivera")));

        // A list report has no end step: its command stays as it was read.
        Informe categorias(&informes::categorias, false);
        QVERIFY(categorias.iniciar());
        categorias.terminar();
        QVERIFY(dteBodex().abierto(QStringLiteral("Categorias")));
    }

    // Eleven quotes of March and April by hand, two currencies, the latest
    // status row deciding; a replaced quote and quotes outside the period
    // are left out. Accepted 4 and rejected 3 overall: 4 / 7 = 57 %.
    void resultadosPorMesYCliente() {
        ejecutar(QStringLiteral("INSERT INTO CONTACTOS (EmpId, EmpNombreFantasia) VALUES (1, "
                                "'Beta'), (2, 'Acme')"));
        struct Dato {
            int id;
            int empId;
            QDate fecha;
            std::vector<const char*> estados; // oldest first
        };
        const QDate marzo(2026, 3, 10), abril(2026, 4, 30);
        const Dato datosPresupuestos[] = {
            {101, 2, QDate(2026, 3, 1), {"Enviado", "Aceptado"}},
            {102, 2, marzo, {"Aceptado"}},
            {103, 2, marzo, {"Rechazado"}},
            {104, 2, marzo, {"Enviado"}},
            {105, 2, QDate(2026, 3, 31), {}},
            {106, 2, marzo, {"Aceptado", "Rechazado"}},
            {107, 1, marzo, {"Aceptado"}},
            {108, 1, marzo, {"Anulado"}},
            {109, 2, QDate(2026, 4, 1), {"Aceptado"}},
            {110, 2, abril, {"Rechazado"}},
            {114, 1, abril, {}},
            {111, 2, marzo, {"Aceptado", "Reemplazado"}},
            {112, 2, QDate(2026, 2, 28), {"Aceptado"}},
            {113, 2, QDate(2026, 5, 1), {"Rechazado"}},
        };
        for (const Dato& d : datosPresupuestos) {
            presupuesto(Presupuesto(d.id, d.empId, QString(), d.fecha, QString()));
            for (const char* e : d.estados)
                ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS_ESTADOS (PreId, EstEstado, "
                                        "EstFechaHora, UsuLogin) VALUES (?, ?, ?, 'admin')"),
                         {d.id, QString::fromLatin1(e), QDateTime(d.fecha, QTime(9, 30))});
        }
        const QString usd = QStringLiteral("USD"), uyu = QStringLiteral("UYU");
        linea(101, 1, 100, 2, usd);
        linea(101, 2, 1000, 1, uyu);
        linea(102, 1, 50, 3, QStringLiteral("usd"));
        linea(103, 1, 300, 1, usd);
        linea(104, 2, 500, 2, uyu);
        linea(106, 1, 10, 1, usd);
        linea(107, 2, 2500.5, 2, uyu);
        linea(108, 1, 40, 1, usd);
        linea(109, 1, 1234.5, 1, usd);
        linea(110, 2, 100, 3, uyu);
        for (int id : {111, 112, 113})
            linea(id, 1, 9999, 1, usd);

        PeticionResultados peticion{QDate(2026, 3, 1), QDate(2026, 4, 30),
                                    AgrupacionResultados::PorCliente};
        LectorPdf pdf = imprimirResultados(peticion);
        QCOMPARE(pdf.titulo, QStringLiteral("Resultados de presupuestos - Tarvo"));
        verificarPaginas(pdf);
        QVERIFY(pdf.lineas().contains(QStringLiteral("Del 01/03/26 al 30/04/26, por cliente")));
        QVERIFY(!pdf.texto.contains(QStringLiteral("9.999")));
        // Month, then customers in order; counts and share on the first line,
        // one line per currency.
        const QList<QStringList> esperadas = {
            piezas({"Marzo de 2026"}),
            piezas({"Acme", "6", "2", "2", "50", "%", "USD", "660,00", "350,00"}),
            piezas({"UYU", "2.000,00", "1.000,00"}),
            piezas({"Beta", "2", "1", "0", "100", "%", "USD", "40,00", "0,00"}),
            piezas({"UYU", "5.001,00", "5.001,00"}),
            piezas({"Abril de 2026"}),
            piezas({"Acme", "2", "1", "1", "50", "%", "USD", "1.234,50", "1.234,50"}),
            piezas({"UYU", "300,00", "0,00"}),
            piezas({"Beta", "1", "0", "0", "—"}),
            piezas({"Total del período"}),
            piezas({"Total", "11", "4", "3", "57", "%", "USD", "1.934,50", "1.584,50"}),
            piezas({"UYU", "7.301,00", "6.001,00"}),
        };
        qsizetype anterior = fila(pdf, piezas({"Cliente:", "Presup.:", "Acept.:", "Rech.:",
                                               "% acept.:", "Moneda:", "Ofrecido:", "Aceptado:"}));
        QVERIFY2(anterior > 0, qPrintable(pdf.texto));
        for (const QStringList& e : esperadas) {
            const qsizetype i = fila(pdf, e);
            QVERIFY2(i == anterior + 1, qPrintable(e.join(u' ') + u'\n' + pdf.texto));
            anterior = i;
        }

        // By user: the logins, whatever their letter case, and the same figures.
        ejecutar(QStringLiteral("UPDATE PRESUPUESTOS SET UsuLogin=IIF(EmpId=2, "
                                "IIF(PreId=102, 'Ana', 'ana'), 'luis')"));
        peticion.agrupacion = AgrupacionResultados::PorUsuario;
        pdf = imprimirResultados(peticion);
        QVERIFY(pdf.lineas().contains(QStringLiteral("Del 01/03/26 al 30/04/26, por usuario")));
        QVERIFY(fila(pdf, piezas({"ANA", "6", "2", "2", "50", "%", "USD", "660,00", "350,00"})) >
                0);
        QVERIFY(fila(pdf, piezas({"LUIS", "1", "0", "0", "—"})) > 0);
        QVERIFY(fila(pdf, piezas({"Usuario:", "Presup.:", "Acept.:", "Rech.:", "% acept.:",
                                  "Moneda:", "Ofrecido:", "Aceptado:"})) > 0);
    }
};

QTEST_MAIN(PruebaInformes)
#include "tst_informes.moc"
