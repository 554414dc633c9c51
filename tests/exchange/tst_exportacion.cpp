// The product export: the file byte for byte, the text forms of values, the
// code page, and what a failed export leaves behind.
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"
#include "data/modconexion.h"
#include "exchange/exportacion.h"
#include "exchange/formatoexportacion.h"
#include "exchange/windows1252.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {

QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no existe>");
}

void escribir(const QString& ruta, const QByteArray& contenido) {
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(contenido);
}

const QByteArray kEncabezado =
    "ProId\tProCodigo\tProDescripcion\tCatId\tProUnidadMedida\tProPrecio\tProCosto\tProIVA\t"
    "ProMoneda\tProMinimo\tEmpId\tProSinVencimiento\tProDesactivado\tCategoria\r\n";

// Limits the size of files this process writes while it lives, as a full disk
// would: a write past the limit fails instead of stopping the process.
class LimiteArchivo {
public:
    explicit LimiteArchivo(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &anterior_);
        senal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit nuevo = anterior_;
        nuevo.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &nuevo);
    }
    ~LimiteArchivo() {
        setrlimit(RLIMIT_FSIZE, &anterior_);
        std::signal(SIGXFSZ, senal_);
    }
    LimiteArchivo(const LimiteArchivo&) = delete;
    LimiteArchivo& operator=(const LimiteArchivo&) = delete;

private:
    rlimit anterior_{};
    void (*senal_)(int) = nullptr;
};

} // namespace

class PruebaExportacion : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;
    std::unique_ptr<Fixtura> datos;

    void sql(const QString& texto, const QVariantList& valores = {}) {
        const bool ok = datos->conexion().ejecutar(texto, valores).ok;
        if (!ok)
            qFatal("%s: %s", qPrintable(texto),
                   qPrintable(datos->conexion().errores().value(0).descripcion));
    }
    void categoria(int id, const QString& descripcion) {
        sql(QStringLiteral("INSERT INTO CATEGORIAS (CatId, CatDescripcion) VALUES (?, ?)"),
            {id, descripcion});
    }
    // Only the description and category; every other column keeps its default.
    void producto(int id, const QString& descripcion, int catId) {
        sql(QStringLiteral("INSERT INTO PRODUCTOS (ProId, ProDescripcion, CatId) VALUES (?, ?, ?)"),
            {id, descripcion, catId});
    }
    void verificarMensaje(const QString& texto, const QString& titulo) {
        QCOMPARE(mensajes->textos(), QStringList{texto});
        QCOMPARE(mensajes->mostrados().first().titulo, titulo);
        QCOMPARE(mensajes->mostrados().first().icono, Icono::Informacion);
        mensajes->limpiar();
    }
    void verificarExito() {
        verificarMensaje(QStringLiteral("Datos exportados correctamente"),
                         QStringLiteral("Resultado"));
    }
    void verificarFallo() {
        verificarMensaje(QStringLiteral("Los datos no puedieron exportarse.\r\nVerifique el "
                                        "archivo destino no este en uso."),
                         QStringLiteral("Resultado"));
    }
    QStringList archivosEn(const QString& carpeta) {
        return QDir(carpeta).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        const QString base = entorno->copiarBase();
        datos = std::make_unique<Fixtura>(base);
        abrirConexionDePrueba(base);
    }
    void cleanup() {
        if (conexion())
            CerrarConexion();
        datos.reset();
        mensajes.reset();
        entorno.reset();
    }

    // Every column of the products in table order plus the category; Windows-1252,
    // CR LF after every line, Null as nothing, a TAB inside a text unchanged, a
    // product whose category is gone left out.
    void archivoByteAByte() {
        categoria(1, QStringLiteral("Ferretería"));
        categoria(2, QStringLiteral("Baño & Cocina"));
        sql(QStringLiteral(
                "INSERT INTO PRODUCTOS (ProId, ProCodigo, ProDescripcion, CatId, ProUnidadMedida, "
                "ProPrecio, ProCosto, ProIVA, ProMoneda, ProMinimo, EmpId, ProSinVencimiento, "
                "ProDesactivado) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {1, QStringLiteral("779000000001"), QStringLiteral("Llave inglesa \"ñandú\" 10€"), 1,
             QStringLiteral("unidad"), 1234.5, 987.25, 21, QStringLiteral("EUR"), 5, 3, true,
             false});
        sql(QStringLiteral(
                "INSERT INTO PRODUCTOS (ProId, ProDescripcion, CatId, ProPrecio, ProCosto, "
                "ProIVA, ProMinimo, ProSinVencimiento, ProDesactivado) VALUES "
                "(?,?,?,?,?,?,?,?,?)"),
            {2, QStringLiteral("Grifo\tmonomando"), 2, 0.1, QVariant(), 10.5, QVariant(), false,
             true});
        producto(3, QStringLiteral("Huérfano"), 9);
        producto(4, QStringLiteral("Ÿ Œ – Ā 中"), 1);

        const QString ruta = entorno->ruta(QStringLiteral("Documents/productos.txt"));
        ExportarProductos(ruta);
        verificarExito();
        const QByteArray esperado =
            kEncabezado +
            "1\t779000000001\tLlave inglesa \"\xF1"
            "and\xFA\" 10\x80\t1\tunidad\t1234,5\t987,25\t21\t"
            "EUR\t5\t3\tVERDADERO\tFALSO\tFerreter\xED"
            "a\r\n"
            "2\t\tGrifo\tmonomando\t2\t\t0,1\t\t10,5\t\t\t\tFALSO\tVERDADERO\tBa\xF1o & Cocina\r\n"
            "4\t\t\x9F \x8C \x96 ? ?\t1\t\t0\t0\t0\t\t0\t\tFALSO\tFALSO\tFerreter\xED"
            "a\r\n";
        QCOMPARE(leer(ruta), esperado);

        // The TAB inside the description gives that line one field more.
        const QList<QByteArray> lineas = leer(ruta).split('\n');
        QCOMPARE(lineas[0].count('\t') + 1, 14);
        QCOMPARE(lineas[2].count('\t') + 1, 15);
        QCOMPARE(lineas[1].count('\t') + 1, 14);
        // Nothing but the file itself is left in the folder.
        QCOMPARE(archivosEn(entorno->ruta(QStringLiteral("Documents"))),
                 QStringList{QStringLiteral("productos.txt")});
    }

    void sinExtensionYDosVecesAlMismoArchivo() {
        categoria(1, QStringLiteral("General"));
        for (int i = 1; i <= 50; ++i)
            producto(i, QStringLiteral("Producto %1").arg(i), 1);
        const QString ruta = entorno->ruta(QStringLiteral("Documents/lista"));
        ExportarProductos(ruta);
        verificarExito();
        QCOMPARE(leer(ruta).count("\r\n"), 51);

        // Fewer rows the second time: nothing of the first file remains.
        sql(QStringLiteral("DELETE FROM PRODUCTOS WHERE ProId > 1"));
        ExportarProductos(ruta);
        verificarExito();
        QCOMPARE(leer(ruta), kEncabezado + "1\t\tProducto 1\t1\t\t0\t0\t0\t\t0\t\tFALSO\tFALSO\t"
                                           "General\r\n");
        QCOMPARE(archivosEn(entorno->ruta(QStringLiteral("Documents"))),
                 QStringList{QStringLiteral("lista")});
    }

    // A relative name lands in the Documents folder, not wherever the program
    // was started from.
    void nombreRelativoVaADocumentos() {
        categoria(1, QStringLiteral("General"));
        producto(1, QStringLiteral("Uno"), 1);
        ExportarProductos(QStringLiteral("relativo.txt"));
        verificarExito();
        QVERIFY(
            leer(entorno->ruta(QStringLiteral("Documents/relativo.txt"))).startsWith(kEncabezado));
        QVERIFY(!QFile::exists(QDir::current().filePath(QStringLiteral("relativo.txt"))));
    }

    void sinProductosSoloEncabezado() {
        const QString ruta = entorno->ruta(QStringLiteral("vacio.txt"));
        ExportarProductos(ruta);
        verificarMensaje(QStringLiteral("Datos exportados correctamente\r\nNo hay productos: el "
                                        "archivo tiene solo la línea de los nombres de las "
                                        "columnas."),
                         QStringLiteral("Resultado"));
        QCOMPARE(leer(ruta), kEncabezado);
    }

    // A failure while writing (here the file size limit, as a full disk)
    // keeps the earlier file whole and leaves no half-written file around.
    void falloAlEscribirConservaElArchivoAnterior() {
        categoria(1, QStringLiteral("General"));
        for (int i = 1; i <= 400; ++i)
            producto(i, QStringLiteral("Producto con una descripción larga número %1").arg(i), 1);
        const QString carpeta = entorno->ruta(QStringLiteral("Documents"));
        const QString ruta = carpeta + QStringLiteral("/productos.txt");
        const QByteArray anterior = "contenido anterior\r\n";
        escribir(ruta, anterior);
        {
            LimiteArchivo limite(4096);
            ExportarProductos(ruta);
        }
        verificarFallo();
        QCOMPARE(leer(ruta), anterior);
        QCOMPARE(archivosEn(carpeta), QStringList{QStringLiteral("productos.txt")});

        // Without the limit the same export succeeds.
        ExportarProductos(ruta);
        verificarExito();
        QCOMPARE(leer(ruta).count("\r\n"), 401);
    }

    // Where the system gives a clear reason, the message says it instead of
    // suggesting the file is in use.
    void falloConSuMotivo() {
        categoria(1, QStringLiteral("General"));
        producto(1, QStringLiteral("Uno"), 1);
        const QString ruta = entorno->ruta(QStringLiteral("no-existe/productos.txt"));
        ExportarProductos(ruta);
        verificarMensaje(QStringLiteral("Los datos no puedieron exportarse.\r\nNo se pudo escribir "
                                        "«%1»: la carpeta o el archivo no existe.")
                             .arg(ruta),
                         QStringLiteral("Resultado"));
        // A full disk and a missing permission, which a test cannot bring
        // about on a real disk when it runs as root.
        QVERIFY(
            mensajeExportacionFallida(ruta, ENOSPC).endsWith(u": no queda espacio en el disco."));
        QVERIFY(mensajeExportacionFallida(ruta, EACCES).contains(u": no tiene permiso"));
    }

    // When the products cannot be read, the database's message comes first and
    // the earlier file stays as it was.
    void consultaFallidaNoTocaElArchivo() {
        sql(QStringLiteral("DROP TABLE CATEGORIAS"));
        const QString ruta = entorno->ruta(QStringLiteral("productos.txt"));
        escribir(ruta, "anterior");
        ExportarProductos(ruta);
        const QStringList textos = mensajes->textos();
        QCOMPARE(textos.size(), 2);
        QVERIFY(textos[0].startsWith(QStringLiteral("Error número: ")));
        QCOMPARE(textos[1], QStringLiteral("Los datos no puedieron exportarse.\r\nVerifique el "
                                           "archivo destino no este en uso."));
        QCOMPARE(leer(ruta), QByteArray("anterior"));
    }

    // The rows from the current one on, with the delimiter given between data
    // columns (the header always uses TAB); the set ends past its last row.
    void escribeDesdeLaFilaActual() {
        categoria(1, QStringLiteral("A"));
        for (int i = 1; i <= 3; ++i)
            producto(i, QStringLiteral("P%1").arg(i), 1);
        RegistrosPtr rs;
        AbrirConsulta(QStringLiteral("SELECT ProId, ProDescripcion FROM PRODUCTOS ORDER BY ProId"),
                      rs);
        rs->moverSiguiente();
        const QString ruta = entorno->ruta(QStringLiteral("parcial.txt"));
        QVERIFY(writeRecordsetToFile(*rs, ruta, QStringLiteral(";")));
        QCOMPARE(leer(ruta), QByteArray("ProId\tProDescripcion\r\n2;P2\r\n3;P3\r\n"));
        QVERIFY(rs->abierto());
        QVERIFY(rs->alFinal());
        // Already at the end: only the header.
        QVERIFY(writeRecordsetToFile(*rs, ruta, QStringLiteral("\t")));
        QCOMPARE(leer(ruta), QByteArray("ProId\tProDescripcion\r\n"));
        // A closed set writes nothing and fails.
        Registros cerrado;
        QVERIFY(!writeRecordsetToFile(cerrado, ruta, QStringLiteral("\t")));
        QCOMPARE(leer(ruta), QByteArray("ProId\tProDescripcion\r\n"));
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    void formasDeLosValores_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QByteArray>("esperado");
        QTest::newRow("entero") << "SELECT 1250" << QByteArray("1250");
        QTest::newRow("negativo") << "SELECT -2.5" << QByteArray("-2,5");
        QTest::newRow("tercio") << "SELECT 1.0/3" << QByteArray("0,333333333333333");
        QTest::newRow("grande") << "SELECT 1.5e20" << QByteArray("1,5E+20");
        QTest::newRow("pequeño") << "SELECT 0.00001" << QByteArray("1E-05");
        QTest::newRow("fecha") << "SELECT PreFecha FROM PRESUPUESTOS WHERE PreNumero = '1'"
                               << QByteArray("07/12/2026");
        QTest::newRow("fecha y hora")
            << "SELECT EstFechaHora FROM PRESUPUESTOS_ESTADOS" << QByteArray("08/12/2026 18:00:00");
        QTest::newRow("sí") << "SELECT CatDesactivada FROM CATEGORIAS" << QByteArray("VERDADERO");
        QTest::newRow("nulo") << "SELECT NULL" << QByteArray("");
    }
    void formasDeLosValores() {
        QFETCH(QString, sql);
        QFETCH(QByteArray, esperado);
        Fixtura::Presupuesto p;
        p.fecha = QDate(2026, 12, 7);
        datos->presupuesto(p);
        p.numero = QStringLiteral("2");
        // A moment as the database keeps it: a day number with the time of day
        // as its fraction (8 December 2026, 18:00).
        this->sql(
            QStringLiteral("INSERT INTO PRESUPUESTOS_ESTADOS (PreId, EstEstado, EstFechaHora) "
                           "VALUES (?, 'Enviado', ?)"),
            {datos->presupuesto(p), QDate(1899, 12, 30).daysTo(QDate(2026, 12, 8)) + 0.75});
        this->sql(QStringLiteral("INSERT INTO CATEGORIAS (CatDescripcion, CatDesactivada) VALUES "
                                 "('x', 1)"));
        RegistrosPtr rs;
        AbrirConsulta(sql, rs);
        QVERIFY(rs->abierto());
        QByteArray salida;
        formatoexportacion::agregar(salida, rs->tabla()->celda(0, 0), rs->tabla()->columna(0).tipo,
                                    ',');
        QCOMPARE(salida, esperado);
    }

    // Every byte of the code page comes back as itself through the
    // platform's own Windows-1252 decoder, where the platform has one.
    void windows1252IdaYVuelta() {
        QStringDecoder decodificador("windows-1252");
        if (!decodificador.isValid())
            QSKIP("Qt no tiene aquí un decodificador de Windows-1252");
        for (int b = 1; b < 256; ++b) {
            const QString c = decodificador.decode(QByteArray(1, char(b)));
            QCOMPARE(c.size(), 1);
            QCOMPARE(windows1252::convertir(c), QByteArray(1, char(b)));
            QCOMPARE(windows1252::byte(c[0].unicode()), char(b));
            QByteArray desdeUtf8;
            windows1252::agregar(desdeUtf8, c.toStdString());
            QCOMPARE(desdeUtf8, QByteArray(1, char(b)));
        }
    }

    void windows1252SinEquivalente() {
        QCOMPARE(windows1252::convertir(u"Ā中😀x"), QByteArray("???x"));
        // A lone surrogate and malformed UTF-8 become "?" too.
        QCOMPARE(windows1252::convertir(QString(QChar(0xD800)) + u'a'), QByteArray("?a"));
        QByteArray salida;
        windows1252::agregar(salida, std::string_view("a\xC3", 2));
        windows1252::agregar(salida, std::string_view("\xE2\x82z", 3));
        windows1252::agregar(salida, std::string_view("\xC0\xAF", 2)); // overlong '/'
        windows1252::agregar(salida, std::string_view("\xF0\x9F\x98\x80", 4));
        QCOMPARE(salida, QByteArray("a??z??"));
    }
};

QTEST_MAIN(PruebaExportacion)
#include "tst_exportacion.moc"
