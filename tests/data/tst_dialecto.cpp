// The statements of the system's dialect, run on real rows of a fresh database.
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "data/conexionsqlite.h"
#include "platform/reloj.h"

#include <QTest>

#include <memory>

class PruebaDialecto : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<Conexion> con;

    ResultadoSentencia ok(const QString& sql, const QVariantList& valores = {}) {
        ResultadoSentencia r = con->ejecutar(sql, valores);
        if (!r.ok)
            qWarning() << sql << con->errores().value(0).descripcion;
        return r;
    }
    QVariant escalar(const QString& sql) {
        const ResultadoSentencia r = ok(sql);
        return r.ok && r.filas && r.filas->filas() > 0 ? r.filas->valor(0, 0) : QVariant();
    }
    QStringList columna(const QString& sql) {
        QStringList lista;
        const ResultadoSentencia r = ok(sql);
        for (int f = 0; r.ok && f < r.filas->filas(); ++f)
            lista << r.filas->texto(f, 0);
        return lista;
    }
    void contacto(int id, const QString& nombre, const QString& razon = {}) {
        QVERIFY(ok(QStringLiteral("INSERT INTO CONTACTOS (EmpId, EmpNombreFantasia, "
                                  "EmpRazonSocial) VALUES (?, ?, ?)"),
                   {id, nombre, razon.isNull() ? QVariant() : QVariant(razon)})
                    .ok);
    }
    void presupuesto(int id, const QVariant& numero, const QDate& fecha, int vigencia,
                     int empId = 1, const QString& lugar = QStringLiteral("Montevideo")) {
        QVERIFY(ok(QStringLiteral("INSERT INTO PRESUPUESTOS (PreId, PreNumero, PreFecha, "
                                  "PreVigencia, EmpId, PreLugar, UsuLogin) VALUES (?, ?, ?, ?, "
                                  "?, ?, 'admin')"),
                   {id, numero, fecha, vigencia, empId, lugar})
                    .ok);
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        con = conexionDePrueba(entorno->copiarBase());
        QVERIFY(con->abierta());
        Reloj::fijar(QDate(2026, 12, 7));
    }
    void cleanup() {
        con.reset();
        entorno.reset();
        Reloj::liberar();
    }

    void instrIgnoraMayusculasYAcentos_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("buscado");
        QTest::addColumn<int>("posicion");
        QTest::newRow("ascii") << "Calle MADRID 12"
                               << "madrid" << 7;
        QTest::newRow("acento mayúscula") << "CAFÉ Ñandú"
                                          << "ñANDÚ" << 6;
        QTest::newRow("posición tras acentos") << "ñandú y más"
                                               << "más" << 9;
        QTest::newRow("ausente") << "Montevideo"
                                 << "buenos" << 0;
        QTest::newRow("acento no es letra base") << "José"
                                                 << "jose" << 0;
        QTest::newRow("vacío encuentra al principio") << "abc"
                                                      << "" << 1;
    }
    void instrIgnoraMayusculasYAcentos() {
        QFETCH(QString, texto);
        QFETCH(QString, buscado);
        QFETCH(int, posicion);
        const ResultadoSentencia r = ok(QStringLiteral("SELECT INSTR(?, ?)"), {texto, buscado});
        QVERIFY(r.ok);
        QCOMPARE(r.filas->valor(0, 0).toInt(), posicion);
    }

    void instrConNuloYDesdeUnaPosicion() {
        QVERIFY(escalar(QStringLiteral("SELECT INSTR(NULL, 'a')")).isNull());
        QCOMPARE(escalar(QStringLiteral("SELECT INSTR(3, 'abcabc', 'A')")).toInt(), 4);
        // Null inside an OR of INSTRs does not make a row match.
        presupuesto(1, QVariant(), QDate(2026, 1, 5), 0);
        contacto(1, QStringLiteral("Acme"));
        QCOMPARE(escalar(QStringLiteral("SELECT COUNT(*) FROM PRESUPUESTOS WHERE "
                                        "INSTR(PRENUMERO,'x') OR INSTR(PRELUGAR,'zzz')"))
                     .toInt(),
                 0);
        QCOMPARE(escalar(QStringLiteral("SELECT COUNT(*) FROM PRESUPUESTOS WHERE "
                                        "INSTR(PRENUMERO,'x') OR INSTR(PRELUGAR,'VIDEO')"))
                     .toInt(),
                 1);
    }

    void likeIgnoraMayusculas() {
        contacto(1, QStringLiteral("Ñandú Hnos."));
        contacto(2, QStringLiteral("Nandu SA"));
        contacto(3, QStringLiteral("El ñandú"));
        QCOMPARE(columna(QStringLiteral("SELECT EmpId FROM CONTACTOS WHERE EmpNombreFantasia "
                                        "LIKE '%ñan%' ORDER BY EmpId")),
                 (QStringList{QStringLiteral("1"), QStringLiteral("3")}));
        QCOMPARE(columna(QStringLiteral("SELECT EmpId FROM CONTACTOS WHERE EmpNombreFantasia "
                                        "LIKE 'n_ndu%'")),
                 QStringList{QStringLiteral("2")});
        QCOMPARE(columna(QStringLiteral("SELECT EmpId FROM CONTACTOS WHERE EmpNombreFantasia "
                                        "LIKE 'ñandú'")),
                 QStringList());
    }

    void cstrDaLaFechaCorta_data() {
        QTest::addColumn<QDate>("fecha");
        QTest::addColumn<QString>("texto");
        QTest::newRow("fin de año") << QDate(2026, 12, 31) << "31/12/26";
        QTest::newRow("comienzo de año") << QDate(2027, 1, 1) << "01/01/27";
        QTest::newRow("bisiesto") << QDate(2028, 2, 29) << "29/02/28";
        QTest::newRow("siglo pasado") << QDate(1999, 3, 5) << "05/03/99";
    }
    void cstrDaLaFechaCorta() {
        QFETCH(QDate, fecha);
        QFETCH(QString, texto);
        presupuesto(1, QStringLiteral("1"), fecha, 0);
        QCOMPARE(escalar(QStringLiteral("SELECT CSTR(PreFecha) FROM PRESUPUESTOS")).toString(),
                 texto);
    }

    void busquedaPorFechaEscrita() {
        contacto(1, QStringLiteral("Acme"));
        presupuesto(1, QStringLiteral("10"), QDate(2026, 3, 5), 0);
        presupuesto(2, QStringLiteral("11"), QDate(2026, 5, 3), 0);
        QCOMPARE(columna(QStringLiteral("SELECT PreId FROM PRESUPUESTOS WHERE "
                                        "INSTR(CSTR(PREFECHA),'05/03')")),
                 QStringList{QStringLiteral("1")});
    }

    void fechasYDiasAlrededorDeFinDeMes() {
        Reloj::fijar(QDate(2026, 12, 28));
        QCOMPARE(escalar(QStringLiteral("SELECT Date()")).toLongLong(),
                 QDate(1899, 12, 30).daysTo(QDate(2026, 12, 28)));
        QCOMPARE(escalar(QStringLiteral("SELECT CSTR(date()+5)")).toString(),
                 QStringLiteral("02/01/27"));
        contacto(1, QStringLiteral("Acme"));
        // Expiry window: [today, today+10].
        presupuesto(1, QStringLiteral("a"), QDate(2026, 12, 20), 8); // expires today
        presupuesto(2, QStringLiteral("b"), QDate(2026, 12, 20), 7); // expired yesterday
        presupuesto(3, QStringLiteral("c"), QDate(2026, 12, 31), 7); // 7 Jan: inside
        presupuesto(4, QStringLiteral("d"), QDate(2026, 12, 31), 8); // 8 Jan: past the end
        presupuesto(5, QStringLiteral("e"), QDate(2026, 12, 29), 0); // never expires
        QCOMPARE(columna(QStringLiteral("SELECT PreId FROM PRESUPUESTOS WHERE PreVigencia>0 and "
                                        "(PreFecha+PreVigencia between Date() and date()+10) "
                                        "ORDER BY PreId")),
                 (QStringList{QStringLiteral("1"), QStringLiteral("3")}));
    }

    void fechasYSiNoVuelvenComoTales() {
        presupuesto(1, QStringLiteral("1"), QDate(2026, 2, 28), 0);
        QVERIFY(ok(QStringLiteral("INSERT INTO CATEGORIAS (CatDescripcion, CatDesactivada) "
                                  "VALUES ('Varios', True)"))
                    .ok);
        const ResultadoSentencia s = ok(QStringLiteral("SELECT P.PreFecha, C.CatDesactivada FROM "
                                                       "PRESUPUESTOS P, CATEGORIAS C"));
        QVERIFY(s.ok);
        QCOMPARE(s.filas->valor(0, 0), QVariant(QDate(2026, 2, 28)));
        QCOMPARE(s.filas->valor(0, 1), QVariant(true));
        // A computed date stays a number: the engine cannot know it is a date.
        QCOMPARE(escalar(QStringLiteral("SELECT PreFecha+1 FROM PRESUPUESTOS")).toLongLong(),
                 QDate(1899, 12, 30).daysTo(QDate(2026, 3, 1)));
    }

    void literalesBooleanosEIif() {
        QVERIFY(ok(QStringLiteral("INSERT INTO CATEGORIAS (CatDescripcion, CatDesactivada) "
                                  "VALUES ('A', True), ('B', False), ('C', 0)"))
                    .ok);
        QCOMPARE(columna(QStringLiteral("SELECT CatDescripcion FROM CATEGORIAS WHERE "
                                        "CATDESACTIVADA=FALSE ORDER BY CATDESCRIPCION ASC")),
                 (QStringList{QStringLiteral("B"), QStringLiteral("C")}));
        QCOMPARE(columna(QStringLiteral("SELECT CatDescripcion FROM CATEGORIAS WHERE "
                                        "CatDesactivada=True")),
                 QStringList{QStringLiteral("A")});
        contacto(1, QString(), QStringLiteral("Razón SA"));
        contacto(2, QStringLiteral("Fantasía"), QStringLiteral("Otra SA"));
        QCOMPARE(columna(QStringLiteral("SELECT IIF(EMPNOMBREFANTASIA='',EMPRAZONSOCIAL,"
                                        "EMPNOMBREFANTASIA) FROM CONTACTOS ORDER BY EmpId")),
                 (QStringList{QStringLiteral("Razón SA"), QStringLiteral("Fantasía")}));
    }

    void textoSinDistinguirMayusculas() {
        QVERIFY(ok(QStringLiteral("INSERT INTO PRODUCTOS (ProDescripcion, CatId, "
                                  "ProUnidadMedida, ProMoneda) VALUES ('beta', 1, 'kg', 'USD'), "
                                  "('Alfa', 1, 'KG', 'usd'), ('GAMMA', 1, 'Kg', '$')"))
                    .ok);
        QCOMPARE(
            columna(QStringLiteral("SELECT ProDescripcion FROM PRODUCTOS ORDER BY "
                                   "PRODESCRIPCION ASC")),
            (QStringList{QStringLiteral("Alfa"), QStringLiteral("beta"), QStringLiteral("GAMMA")}));
        QCOMPARE(columna(QStringLiteral("SELECT DISTINCT ProUnidadMedida FROM PRODUCTOS")).size(),
                 1);
        QCOMPARE(escalar(QStringLiteral("SELECT COUNT(*) FROM PRODUCTOS WHERE "
                                        "ProMoneda='USD'"))
                     .toInt(),
                 2);
        QCOMPARE(escalar(QStringLiteral("SELECT COUNT(*) FROM USUARIOS WHERE "
                                        "USULOGIN='ADMIN'"))
                     .toInt(),
                 1);
    }

    void borrarConAsteriscoEInSelect() {
        QVERIFY(ok(QStringLiteral("INSERT INTO CATEGORIAS (CatId, CatDescripcion, "
                                  "CatDesactivada) VALUES (1, 'Usada', True), (2, 'Libre', "
                                  "True), (3, 'Activa', False)"))
                    .ok);
        QVERIFY(ok(QStringLiteral("INSERT INTO PRODUCTOS (ProDescripcion, CatId) VALUES "
                                  "('Tornillo', 1)"))
                    .ok);
        const ResultadoSentencia r =
            ok(QStringLiteral("DELETE FROM CATEGORIAS WHERE CatDesactivada=True AND CatId NOT "
                              "IN (SELECT CatId FROM PRODUCTOS)"));
        QVERIFY(r.ok);
        QCOMPARE(r.afectados, 1);
        QVERIFY(r.filas == nullptr);
        const ResultadoSentencia s = ok(QStringLiteral("  delete * from PRODUCTOS WHERE ProId=1"));
        QVERIFY(s.ok);
        QCOMPARE(s.afectados, 1);
        QCOMPARE(escalar(QStringLiteral("SELECT COUNT(*) FROM PRODUCTOS")).toInt(), 0);
    }

    void agregadosYUniones() {
        contacto(1, QStringLiteral("Acme"));
        contacto(2, QStringLiteral("Beta"));
        presupuesto(1, QStringLiteral("1"), QDate(2026, 1, 1), 0, 1);
        presupuesto(2, QStringLiteral("2"), QDate(2026, 1, 2), 0, 1);
        presupuesto(3, QStringLiteral("3"), QDate(2026, 1, 3), 0, 99); // no such contact
        QCOMPARE(escalar(QStringLiteral("SELECT MAX(PREID) FROM PRESUPUESTOS")).toInt(), 3);
        QCOMPARE(columna(QStringLiteral("SELECT P.PreId FROM PRESUPUESTOS P INNER JOIN "
                                        "CONTACTOS C ON P.EMPID=C.EMPID ORDER BY PReFECHA ASC")),
                 (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
        QCOMPARE(columna(QStringLiteral("SELECT C.EmpNombreFantasia, COUNT(P.PreId) FROM "
                                        "CONTACTOS C LEFT JOIN PRESUPUESTOS P ON "
                                        "P.EmpId=C.EmpId GROUP BY C.EmpId ORDER BY C.EmpId")),
                 (QStringList{QStringLiteral("Acme"), QStringLiteral("Beta")}));
        QVERIFY(ok(QStringLiteral("INSERT INTO PRESUPUESTOS_PRODUCTOS (PreId, ProId, "
                                  "PreProPrecio, PreProCantidad) VALUES (1, 1, 2.5, 4), (1, 2, "
                                  "10, 1)"))
                    .ok);
        QCOMPARE(escalar(QStringLiteral("SELECT SUM(PreProPrecio*PreProCantidad) FROM "
                                        "PRESUPUESTOS_PRODUCTOS WHERE PreId=1"))
                     .toDouble(),
                 20.0);
    }

    void indicesUnicos() {
        QVERIFY(
            ok(QStringLiteral("INSERT INTO CATEGORIAS (CatDescripcion) VALUES ('Tornillos')")).ok);
        QVERIFY(!con->ejecutar(QStringLiteral("INSERT INTO CATEGORIAS (CatDescripcion) VALUES "
                                              "('TORNILLOS')"))
                     .ok);
        QCOMPARE(con->errores().value(0).numero, errores::kErroresEnComando);
        // Products: an empty code never collides, a repeated one does.
        const QString producto = QStringLiteral(
            "INSERT INTO PRODUCTOS (ProCodigo, ProDescripcion, CatId) VALUES (?, ?, 1)");
        QVERIFY(ok(producto, {QString(), QStringLiteral("Uno")}).ok);
        QVERIFY(ok(producto, {QStringLiteral(""), QStringLiteral("Dos")}).ok);
        QVERIFY(ok(producto, {QStringLiteral(""), QStringLiteral("Tres")}).ok);
        QVERIFY(ok(producto, {QStringLiteral("779"), QStringLiteral("Cuatro")}).ok);
        QVERIFY(!con->ejecutar(producto, {QStringLiteral("779"), QStringLiteral("Cinco")}).ok);
        QCOMPARE(con->errores().value(0).numero, errores::kErroresEnComando);
        QVERIFY(!con->ejecutar(producto, {QStringLiteral("780"), QStringLiteral("uno")}).ok);
        QCOMPARE(con->errores().value(0).numero, errores::kErroresEnComando);
        // One line per product in a quote.
        QVERIFY(
            ok(QStringLiteral("INSERT INTO PRESUPUESTOS (PreId, PreNumero) VALUES (1, '1')")).ok);
        const QString linea =
            QStringLiteral("INSERT INTO PRESUPUESTOS_PRODUCTOS (PreId, ProId) VALUES (1, 1)");
        QVERIFY(ok(linea).ok);
        QVERIFY(!con->ejecutar(linea).ok);
        QCOMPARE(con->errores().value(0).numero, errores::kErroresEnComando);
    }

    void vistasDeSugerencias() {
        contacto(1, QStringLiteral("Acme"));
        QVERIFY(ok(QStringLiteral("INSERT INTO PRESUPUESTOS (EmpId, PreOtroConcepto1, "
                                  "PreOtroMoneda1, PreOtroConcepto2, PreOtroMoneda2, "
                                  "PreOtroConcepto3) VALUES (1, 'Mano de obra', 'USD', 'Flete', "
                                  "'$', ''), (1, 'MANO DE OBRA', 'usd', NULL, NULL, '  ')"))
                    .ok);
        QVERIFY(ok(QStringLiteral("INSERT INTO PRODUCTOS (ProDescripcion, CatId, ProMoneda) "
                                  "VALUES ('X', 1, 'EUR')"))
                    .ok);
        // Distinct ignoring case: which spelling represents the group is the engine's choice.
        const QStringList conceptos = columna(
            QStringLiteral("SELECT Concepto FROM V_PRESUPUESTOS_CONCEPTOS ORDER BY Concepto ASC"));
        QCOMPARE(conceptos.size(), 2);
        QCOMPARE(conceptos[0], QStringLiteral("Flete"));
        QCOMPARE(conceptos[1].toLower(), QStringLiteral("mano de obra"));
        QCOMPARE(columna(QStringLiteral("SELECT Moneda FROM V_PRESUPUESTOS_MONEDAS ORDER BY "
                                        "Moneda ASC"))
                     .join(u',')
                     .toUpper(),
                 QStringLiteral("$,EUR,USD"));
    }

    void entradaMalaNoCambiaNada() {
        contacto(1, QStringLiteral("Acme"));
        // A quote inside a spliced value breaks the statement.
        QVERIFY(!con->ejecutar(QStringLiteral("UPDATE CONTACTOS SET EmpNombreFantasia='O'Brien' "
                                              "WHERE EmpId=1"))
                     .ok);
        QCOMPARE(con->errores().value(0).numero, errores::kErroresEnComando);
        // A second statement is refused, not run.
        QVERIFY(!con->ejecutar(QStringLiteral("SELECT * FROM CONTACTOS WHERE "
                                              "INSTR(EmpNombreFantasia,'x'); DELETE FROM "
                                              "CONTACTOS"))
                     .ok);
        QCOMPARE(escalar(QStringLiteral("SELECT EmpNombreFantasia FROM CONTACTOS")).toString(),
                 QStringLiteral("Acme"));
        QVERIFY(!con->ejecutar(QStringLiteral("SELECT NoExiste FROM CONTACTOS")).ok);
        QCOMPARE(con->errores().value(0).numero, errores::kFaltanParametros);
        QVERIFY(!con->ejecutar(QStringLiteral("SELECT * FROM NOEXISTE")).ok);
        QCOMPARE(con->errores().value(0).numero, errores::kObjetoNoEncontrado);
        // A failed operation is followed by a clean one.
        QVERIFY(con->ejecutar(QStringLiteral("SELECT 1")).ok);
        QVERIFY(con->errores().isEmpty());
    }
};

QTEST_GUILESS_MAIN(PruebaDialecto)
#include "tst_dialecto.moc"
