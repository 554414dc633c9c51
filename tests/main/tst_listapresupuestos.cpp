// The quote list: filling, sorting, searching, editing rights, deleting, and
// the expiry notice.
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"
#include "comun/servidorprueba.h"
#include "data/fechas.h"
#include "data/modconexion.h"
#include "main/listapresupuestos.h"
#include "platform/reloj.h"
#include "users/sesion.h"

#include <QAbstractItemModelTester>
#include <QRegularExpression>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <memory>

using namespace Qt::StringLiterals;

class PruebaListaPresupuestos : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;
    std::unique_ptr<Fixtura> datos;
    std::unique_ptr<ListaPresupuestos> lista;

    QStringList columna(const char* campo) const {
        QStringList valores;
        Registros rs = *lista->registros();
        for (rs.moverPrimero(); !rs.alFinal(); rs.moverSiguiente())
            valores << rs.texto(QString::fromLatin1(campo));
        return valores;
    }
    int presupuesto(const QVariant& numero, const QDate& fecha, int empId,
                    const QString& usuario = QStringLiteral("admin"), int vigencia = 0) {
        Fixtura::Presupuesto p;
        p.numero = numero;
        p.fecha = fecha;
        p.empId = empId;
        p.usuLogin = usuario;
        p.vigencia = vigencia;
        return datos->presupuesto(p);
    }
    static std::function<bool()> verificado(bool si) {
        return [si] { return si; };
    }
    // Rows of a quote's status history, oldest first.
    void historia(int preId, const QStringList& estados) {
        for (const QString& e : estados)
            datos->ejecutar(QStringLiteral("INSERT INTO PRESUPUESTOS_ESTADOS (PreId, EstEstado, "
                                           "EstFechaHora) VALUES (?, ?, 46000.5)"),
                            {preId, e});
    }
    QStringList filtrado(ListaPresupuestos::Filtro f) {
        lista->filtrar(f);
        return columna("PreNumero");
    }
    // Contacts whose names tie (case aside) and quotes whose number, date and
    // owner tie or are Null, some of a contact that is gone.
    void muchos(int cantidad) {
        datos->ejecutar(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<40) "
            "INSERT INTO CONTACTOS (EmpNombreFantasia) SELECT CASE WHEN i%4=0 THEN 'cli' "
            "ELSE 'Cli' END || (i%15) FROM n"));
        datos->ejecutar(
            QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<?) "
                "INSERT INTO PRESUPUESTOS (PreNumero, PreFecha, EmpId, UsuLogin) SELECT "
                "CASE WHEN i%10=0 THEN NULL ELSE 'N' || (i*7919%53) END, "
                "CASE WHEN i%50=0 THEN NULL ELSE 46000 + i*13%29 END, "
                "CASE WHEN i%97=0 THEN 999 ELSE (SELECT min(EmpId) FROM CONTACTOS) + "
                "i*31%40 END, CASE WHEN i%7=0 THEN NULL ELSE 'u' || (i%5) END FROM n"),
            {cantidad});
    }
    QList<qint64> leidoDeUnaVez(const QString& orden) {
        QList<qint64> ids;
        RegistrosPtr rs;
        AbrirConsulta(QStringLiteral("SELECT P.PreId FROM PRESUPUESTOS P INNER JOIN CONTACTOS C "
                                     "ON P.EmpId=C.EmpId ORDER BY ") +
                          orden,
                      rs);
        for (rs->moverPrimero(); !rs->alFinal(); rs->moverSiguiente())
            ids << rs->campo(0).toLongLong();
        return ids;
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        const QString base = entorno->copiarBase();
        datos = std::make_unique<Fixtura>(base);
        abrirConexionDePrueba(base);
        Reloj::fijar(QDate(2026, 12, 7));
        lista = std::make_unique<ListaPresupuestos>();
        establecerUsuarioActual(QStringLiteral("admin"));
    }
    void cleanup() {
        lista.reset();
        CerrarConexion();
        datos.reset();
        mensajes.reset();
        entorno.reset();
        Reloj::liberar();
    }

    void cargaTodoConContactoPorFecha() {
        const int acme = datos->contacto(QStringLiteral("Acme"));
        presupuesto(QStringLiteral("2"), QDate(2026, 5, 2), acme);
        presupuesto(QStringLiteral("1"), QDate(2026, 1, 1), acme);
        presupuesto(QStringLiteral("9"), QDate(2026, 3, 1), 999); // contact gone
        QSignalSpy cambios(lista.get(), &ListaPresupuestos::listaCambiada);
        lista->cargar();
        QCOMPARE(cambios.size(), 1);
        QCOMPARE(columna("PreNumero"), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
        QCOMPARE(columna("EmpNombreFantasia").first(), QStringLiteral("Acme"));
        QCOMPARE(lista->consultaLista(),
                 ListaPresupuestos::consultaBase() + QStringLiteral(" ORDER BY PReFECHA ASC"));
    }

    void ordenDeEncabezados() {
        const int a = datos->contacto(QStringLiteral("Beta"));
        const int b = datos->contacto(QStringLiteral("alfa"));
        presupuesto(QStringLiteral("B"), QDate(2026, 1, 2), a, QStringLiteral("super"));
        presupuesto(QStringLiteral("a"), QDate(2026, 1, 3), b, QStringLiteral("admin"));
        presupuesto(QStringLiteral("C"), QDate(2026, 1, 1), b, QStringLiteral("pepe"));
        lista->cargar();
        lista->ordenarPorColumna(1);
        QCOMPARE(columna("PreNumero"),
                 (QStringList{QStringLiteral("C"), QStringLiteral("B"), QStringLiteral("a")}));
        lista->ordenarPorColumna(1);
        QCOMPARE(columna("PreNumero"),
                 (QStringList{QStringLiteral("a"), QStringLiteral("B"), QStringLiteral("C")}));
        QVERIFY(lista->consultaLista().endsWith(QStringLiteral(" ORDER BY PreFecha DESC")));
        QCOMPARE(lista->consultaLista().count(QStringLiteral("ORDER BY")), 1);
        lista->ordenarPorColumna(2); // another column: ascending, ignoring case
        QCOMPARE(columna("EmpNombreFantasia").first(), QStringLiteral("alfa"));
        QVERIFY(lista->clausulaOrden().endsWith(QStringLiteral("EmpNombreFantasia ASC")));
        lista->ordenarPorColumna(3);
        QCOMPARE(columna("UsuLogin").first(), QStringLiteral("admin"));
    }

    void cadaOrdenRecorreUnIndice() {
        // Each header's order, both ways, reads its page by walking an index:
        // with sorting discouraged, the engine's plan sorts no rows (the
        // server may still order each customer's quotes by their key as it
        // walks them, an incremental sort).
        const bool servidor = servidorprueba::motorServidor();
        presupuesto(QStringLiteral("1"), QDate(2026, 1, 1),
                    datos->contacto(QStringLiteral("Acme")));
        lista->cargar();
        Conexion* con = conexion();
        QVERIFY(!servidor || con->ejecutar(QStringLiteral("SET enable_sort = off")).ok);
        for (int columna = 0; columna < 4; ++columna)
            for (int vez = 0; vez < 2; ++vez) {
                lista->ordenarPorColumna(columna);
                const QString sql = lista->modelo().sentenciaPrimeraPagina();
                const ResultadoSentencia plan =
                    con->ejecutar((servidor ? u"EXPLAIN "_s : u"EXPLAIN QUERY PLAN "_s) + sql,
                                  lista->modelo().consulta().valores);
                QVERIFY(plan.ok);
                QStringList pasos;
                for (int f = 0; f < plan.filas->filas(); ++f)
                    pasos << plan.filas->texto(f, plan.filas->columnas() - 1);
                const QString texto = pasos.join(u'\n');
                static const QRegularExpression orden(u"(^|->)\\s*Sort\\s+\\("_s,
                                                      QRegularExpression::MultilineOption);
                QVERIFY2(servidor ? !orden.match(texto).hasMatch()
                                  : !texto.contains(u"TEMP B-TREE"_s),
                         qPrintable(sql + u'\n' + texto));
            }
    }

    void primerClicEnNumeroEsAscendente() {
        const int a = datos->contacto(QStringLiteral("Acme"));
        presupuesto(QStringLiteral("2"), QDate(2026, 1, 1), a);
        presupuesto(QStringLiteral("1"), QDate(2026, 1, 2), a);
        lista->cargar();
        lista->ordenarPorColumna(0);
        QCOMPARE(columna("PreNumero"), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
        QVERIFY(lista->clausulaOrden().endsWith(QStringLiteral("PreNumero ASC")));
    }

    void avisos_data() {
        QTest::addColumn<int>("dias");
        QTest::addColumn<QDate>("fecha");
        QTest::addColumn<int>("vigencia");
        QTest::addColumn<bool>("cuenta");
        QTest::newRow("0 días: vence hoy") << 0 << QDate(2026, 12, 2) << 5 << true;
        QTest::newRow("0 días: vence mañana") << 0 << QDate(2026, 12, 3) << 5 << false;
        QTest::newRow("venció ayer") << 30 << QDate(2026, 12, 1) << 5 << false;
        QTest::newRow("hace 10 días con 12, aviso 2") << 2 << QDate(2026, 11, 27) << 12 << true;
        QTest::newRow("hace 10 días con 12, aviso 1") << 1 << QDate(2026, 11, 27) << 12 << false;
        QTest::newRow("sin vigencia") << 3650 << QDate(2026, 12, 7) << 0 << false;
    }
    void avisos() {
        QFETCH(int, dias);
        QFETCH(QDate, fecha);
        QFETCH(int, vigencia);
        QFETCH(bool, cuenta);
        const int a = datos->contacto(QStringLiteral("Acme"));
        presupuesto(QStringLiteral("1"), fecha, a, QStringLiteral("admin"), vigencia);
        QCOMPARE(ListaPresupuestos::textoAvisos(dias),
                 cuenta ? QStringLiteral("Hay 1 próximos a vencer. Clic para verlos.")
                        : QStringLiteral("No hay avisos."));
        lista->listarAvisos(dias);
        QCOMPARE(lista->registros()->cantidad(), cuenta ? 1 : 0);
    }

    void listarAvisosYLuegoOrdenar() {
        const int a = datos->contacto(QStringLiteral("Acme"));
        presupuesto(QStringLiteral("vence"), QDate(2026, 12, 1), a, QStringLiteral("admin"), 10);
        presupuesto(QStringLiteral("antes"), QDate(2026, 11, 30), a, QStringLiteral("admin"), 10);
        presupuesto(QStringLiteral("lejos"), QDate(2026, 12, 1), a, QStringLiteral("admin"), 90);
        lista->listarAvisos(5);
        QCOMPARE(columna("PreNumero"),
                 (QStringList{QStringLiteral("antes"), QStringLiteral("vence")}));
        QVERIFY(
            lista->consultaLista().contains(QStringLiteral("date()+?)  ORDER BY PreFecha ASC")));
        lista->ordenarPorColumna(1);
        lista->ordenarPorColumna(1);
        QCOMPARE(columna("PreNumero"),
                 (QStringList{QStringLiteral("vence"), QStringLiteral("antes")}));
    }

    void busquedaPorCadaColumna_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("numeros");
        QTest::newRow("lugar") << "  salto " << QStringList{QStringLiteral("1")};
        QTest::newRow("saludo") << "SEÑORES" << QStringList{QStringLiteral("2")};
        QTest::newRow("razón social") << "industrias" << QStringList{QStringLiteral("2")};
        QTest::newRow("número") << "P-7" << QStringList{QStringLiteral("P-77")};
        QTest::newRow("fecha dd/mm")
            << "05/03" << (QStringList{QStringLiteral("1"), QStringLiteral("P-77")});
        QTest::newRow("nombre de fantasía") << "acme" << QStringList{QStringLiteral("1")};
        QTest::newRow("comilla") << "d'Or" << QStringList{QStringLiteral("P-77")};
    }
    void busquedaPorCadaColumna() {
        QFETCH(QString, texto);
        QFETCH(QStringList, numeros);
        const int acme = datos->contacto(QStringLiteral("Acme"));
        const int ind = datos->contacto(QStringLiteral("Beta"), QStringLiteral("Industrias SA"));
        const int oro = datos->contacto(QStringLiteral("Café d'Or"));
        Fixtura::Presupuesto p;
        p.numero = QStringLiteral("1");
        p.fecha = QDate(2025, 3, 5);
        p.empId = acme;
        p.lugar = QStringLiteral("Salto");
        datos->presupuesto(p);
        p.numero = QStringLiteral("2");
        p.fecha = QDate(2026, 5, 3);
        p.empId = ind;
        p.lugar = QStringLiteral("Rivera");
        p.saludo = QStringLiteral("Señores");
        datos->presupuesto(p);
        p.numero = QStringLiteral("P-77");
        p.fecha = QDate(2026, 3, 5);
        p.empId = oro;
        p.saludo = QStringLiteral("Estimados");
        datos->presupuesto(p);
        lista->cargar();
        lista->buscarTexto(texto);
        QCOMPARE(columna("PreNumero"), numeros);
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    // Characters that mean something to SQL or to LIKE are searched for as
    // they are, and a header click re-sorts the search, not the whole list.
    void caracteresEspecialesYOrdenDeLaBusqueda_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("numeros");
        QTest::newRow("%") << "%" << QStringList{QStringLiteral("50%")};
        QTest::newRow("_") << "_" << QStringList{QStringLiteral("a_b")};
        QTest::newRow("'") << "'" << QStringList{QStringLiteral("o'k")};
        QTest::newRow("\\") << "\\" << QStringList{QStringLiteral("c\\d")};
        QTest::newRow("inyección") << "') OR 1=1 OR ('" << QStringList{};
    }
    void caracteresEspecialesYOrdenDeLaBusqueda() {
        QFETCH(QString, texto);
        QFETCH(QStringList, numeros);
        const int a = datos->contacto(QStringLiteral("Acme"));
        int dia = 1;
        for (const char* n : {"50%", "a_b", "o'k", "c\\d", "llano", "otro"})
            presupuesto(QString::fromLatin1(n), QDate(2026, 1, dia++), a);
        lista->cargar();
        lista->buscarTexto(texto);
        if (numeros.isEmpty()) { // no match: the message, then every quote
            QCOMPARE(lista->registros()->cantidad(), 6);
            return;
        }
        QCOMPARE(columna("PreNumero"), numeros);
        presupuesto(texto + QStringLiteral("2"), QDate(2025, 1, 1), a);
        lista->buscarTexto(texto);
        lista->ordenarPorColumna(1);
        lista->ordenarPorColumna(1);
        QCOMPARE(columna("PreNumero"), numeros << texto + QStringLiteral("2"));
    }

    void busquedaSinResultadosMuestraTodo() {
        const int a = datos->contacto(QStringLiteral("Acme"));
        presupuesto(QStringLiteral("1"), QDate(2026, 1, 1), a);
        lista->cargar();
        const QString antes = lista->consultaLista();
        mensajes->escribir(QStringLiteral("zzz"));
        lista->buscar();
        QCOMPARE(mensajes->textos().last(), QStringLiteral("No hay Presupuestos con esos datos"));
        QCOMPARE(mensajes->mostrados().last().titulo, QStringLiteral("Resultados de la búsqueda"));
        QCOMPARE(mensajes->mostrados().first().titulo,
                 QStringLiteral("Ingrese el texto a buscar:"));
        QCOMPARE(lista->registros()->cantidad(), 1);
        QCOMPARE(lista->consultaLista(), antes);
        // Cancel (empty answer) changes nothing and asks nothing more.
        mensajes->limpiar();
        QSignalSpy cambios(lista.get(), &ListaPresupuestos::listaCambiada);
        lista->buscar();
        QCOMPARE(mensajes->mostrados().size(), 1);
        QCOMPARE(cambios.size(), 0);
    }

    void editarSoloElPropietario() {
        const int a = datos->contacto(QStringLiteral("Acme"));
        const int mio =
            presupuesto(QStringLiteral("1"), QDate(2026, 1, 1), a, QStringLiteral("Pepe"));
        presupuesto(QStringLiteral("2"), QDate(2026, 1, 2), a, QStringLiteral("admin"));
        presupuesto(QStringLiteral("3"), QDate(2026, 1, 3), a, QString());
        establecerUsuarioActual(QStringLiteral("PEPE"));
        lista->cargar();
        qint32 id = 0;
        QCOMPARE(lista->editar(1, id), ListaPresupuestos::Edicion::Permitida);
        QCOMPARE(id, mio);
        QCOMPARE(lista->editar(2, id), ListaPresupuestos::Edicion::Rechazada);
        QCOMPARE(
            mensajes->textos(),
            QStringList{QStringLiteral("Usted no tiene permiso para modificar este Presupuesto.")});
        QCOMPARE(mensajes->mostrados().first().titulo, QStringLiteral("Atención"));
        QCOMPARE(lista->editar(3, id), ListaPresupuestos::Edicion::Rechazada);
        QCOMPARE(lista->editar(0, id), ListaPresupuestos::Edicion::SinFila);
    }

    void listaVacia() {
        lista->cargar();
        qint32 id = 0;
        QCOMPARE(lista->editar(1, id), ListaPresupuestos::Edicion::SinFila);
        QVERIFY(mensajes->mostrados().isEmpty());
        QCOMPARE(lista->eliminar(0, verificado(true)), ListaPresupuestos::Borrado::NadaQueBorrar);
        QCOMPARE(mensajes->textos(), QStringList{QStringLiteral("No hay nada para borrar")});
        QCOMPARE(mensajes->mostrados().first().titulo, QStringLiteral("Tarvo"));
    }

    void eliminarPideVerificacionYConfirmacion() {
        const int a = datos->contacto(QStringLiteral("Acme"));
        const int pre = presupuesto(QStringLiteral(" 15 "), QDate(2026, 1, 1), a);
        const int sin = presupuesto(QVariant(), QDate(2026, 1, 2), a);
        const int pro = datos->producto(QStringLiteral("Tornillo"));
        datos->linea(pre, pro);
        datos->linea(sin, pro);
        lista->cargar();
        QCOMPARE(lista->eliminar(1, verificado(false)), ListaPresupuestos::Borrado::NoVerificado);
        QVERIFY(mensajes->mostrados().isEmpty());
        mensajes->responder(Respuesta::No);
        QCOMPARE(lista->eliminar(1, verificado(true)), ListaPresupuestos::Borrado::NoConfirmado);
        QCOMPARE(mensajes->textos().last(),
                 QStringLiteral("Esta seguro que dese eliminar el presupuesto Nro. 15"));
        QCOMPARE(mensajes->mostrados().last().titulo, QStringLiteral("Confirme que desea hacer"));
        QCOMPARE(mensajes->mostrados().last().botones, Botones::SiNo);
        QCOMPARE(datos->contar(QStringLiteral("PRESUPUESTOS")), 2);
        mensajes->responder(Respuesta::Si);
        QCOMPARE(lista->eliminar(2, verificado(true)), ListaPresupuestos::Borrado::Borrado);
        QCOMPARE(
            mensajes->textos().last(),
            QStringLiteral("Esta seguro que dese eliminar la presupuesto Sin Número, código ") +
                QString::number(sin));
        QCOMPARE(datos->contar(QStringLiteral("PRESUPUESTOS")), 1);
        QCOMPARE(datos->contar(QStringLiteral("PRESUPUESTOS_PRODUCTOS")), 1);
        QCOMPARE(lista->registros()->cantidad(), 1);
    }

    // Each header order read a page at a time, forwards, backwards from the
    // end and jumping into the middle, lists the rows one plain read does.
    void recorridoPorPaginas_data() {
        QTest::addColumn<QList<int>>("clics");
        QTest::addColumn<QString>("orden");
        QTest::addColumn<bool>("huerfanos"); // quotes of a contact that is gone
        QTest::newRow("fecha") << QList<int>{} << "P.PreFecha, P.PreId" << true;
        QTest::newRow("fecha desc") << QList<int>{1, 1} << "P.PreFecha DESC, P.PreId DESC" << true;
        QTest::newRow("número") << QList<int>{0} << "P.PreNumero, P.PreId" << true;
        QTest::newRow("número desc")
            << QList<int>{0, 0} << "P.PreNumero DESC, P.PreId DESC" << true;
        QTest::newRow("cliente") << QList<int>{2} << "C.EmpNombreFantasia, C.EmpId, P.PreId"
                                 << true;
        QTest::newRow("cliente desc")
            << QList<int>{2, 2} << "C.EmpNombreFantasia DESC, C.EmpId DESC, P.PreId DESC" << true;
        QTest::newRow("usuario") << QList<int>{3} << "P.UsuLogin, P.PreId" << true;
        QTest::newRow("usuario desc")
            << QList<int>{3, 3} << "P.UsuLogin DESC, P.PreId DESC" << true;
        // Every quote with its contact: the counts read the quotes alone.
        QTest::newRow("fecha, sin huérfanos") << QList<int>{} << "P.PreFecha, P.PreId" << false;
        QTest::newRow("número desc, sin huérfanos")
            << QList<int>{0, 0} << "P.PreNumero DESC, P.PreId DESC" << false;
        QTest::newRow("usuario, sin huérfanos") << QList<int>{3} << "P.UsuLogin, P.PreId" << false;
    }
    void recorridoPorPaginas() {
        QFETCH(QList<int>, clics);
        QFETCH(QString, orden);
        QFETCH(bool, huerfanos);
        muchos(3000);
        if (!huerfanos)
            datos->ejecutar(u"DELETE FROM PRESUPUESTOS WHERE EmpId = 999"_s);
        ModeloVentana& modelo = lista->modelo();
        modelo.establecerTamanoPagina(37);
        lista->cargar();
        for (int c : clics)
            lista->ordenarPorColumna(c);
        const QList<qint64> esperado = leidoDeUnaVez(orden);
        QVERIFY(esperado.size() > 2900);
        QCOMPARE(modelo.rowCount(), esperado.size());
        const auto id = [&](int fila) { return modelo.valor(fila, u"PreId"_s).toLongLong(); };
        for (int f = 0; f < esperado.size(); ++f)
            QCOMPARE(id(f), esperado[f]);
        QVERIFY(modelo.filasRetenidas() < 300);
        for (int f = int(esperado.size()) - 1; f >= 0; --f)
            QCOMPARE(id(f), esperado[f]);
        for (int f : {1500, 400, 2500, 37, 2899, 1})
            QCOMPARE(id(f), esperado[f]);
        // The position of a quote is where the plain read has it.
        QCOMPARE(modelo.filaDeClave(esperado[1234]), 1234);
        QCOMPARE(modelo.filaDeClave(97), -1); // its contact is gone
    }

    void modeloSobreFilasReales() {
        muchos(500);
        lista->modelo().establecerTamanoPagina(20);
        lista->modelo().establecerColumnas({u"PreNumero"_s, u"PreFecha"_s});
        QAbstractItemModelTester probador(&lista->modelo(),
                                          QAbstractItemModelTester::FailureReportingMode::Fatal);
        lista->cargar();
        lista->ordenarPorColumna(2);
        lista->buscarTexto(u"N1"_s);
        QVERIFY(lista->cantidad() > 0);
        lista->cerrar();
        QCOMPARE(lista->modelo().rowCount(), 0);
    }

    // After a header click the current quote is found in the new order, the
    // reversed one included, and the rows read around it are the order's.
    void filaDeUnaCotizacionTrasOrdenar() {
        muchos(3000);
        ModeloVentana& modelo = lista->modelo();
        modelo.establecerTamanoPagina(37);
        lista->cargar();
        lista->ordenarPorColumna(0);
        const qint64 id = modelo.valor(1234, u"PreId"_s).toLongLong();
        struct Paso {
            int clic;
            QString orden;
        };
        for (const Paso& p :
             {Paso{0, u"P.PreNumero DESC, P.PreId DESC"_s}, Paso{3, u"P.UsuLogin, P.PreId"_s},
              Paso{3, u"P.UsuLogin DESC, P.PreId DESC"_s}}) {
            lista->ordenarPorColumna(p.clic);
            const QList<qint64> esperado = leidoDeUnaVez(p.orden);
            const int fila = modelo.filaDeClave(id);
            QCOMPARE(fila, esperado.indexOf(id));
            // The rows held around it first, before any read moves the window.
            for (int f : {fila + 1, fila - 1, fila, fila + 30, fila - 18})
                QCOMPARE(modelo.valor(f, u"PreId"_s).toLongLong(), esperado[f]);
        }
    }

    // Type-ahead finds, in the order shown, the first row from the current
    // one on whose cell starts with the typed text (wrapping to the top),
    // wherever its page is, without reading the rows between.
    void tecleoBuscaEnElOrdenMostrado() {
        muchos(3000);
        ModeloVentana& modelo = lista->modelo();
        modelo.establecerTamanoPagina(37);
        modelo.establecerColumnas({u"PreNumero"_s, u"PreFecha"_s});
        lista->cargar();
        lista->ordenarPorColumna(3);
        QStringList numeros, dias;
        RegistrosPtr rs;
        AbrirConsulta(u"SELECT P.PreNumero, P.PreFecha FROM PRESUPUESTOS P INNER JOIN CONTACTOS "
                      "C ON P.EmpId=C.EmpId ORDER BY P.UsuLogin, P.PreId"_s,
                      rs);
        for (rs->moverPrimero(); !rs->alFinal(); rs->moverSiguiente()) {
            numeros << rs->texto(u"PreNumero"_s);
            dias << fechas::textoCelda(rs->campo(1)).toString();
        }
        const int total = int(numeros.size());
        QCOMPARE(modelo.rowCount(), total);
        const auto primera = [&](const QStringList& columna, const QString& texto, int desde) {
            for (int i = 0; i < total; ++i)
                if (const int f = (desde + i) % total;
                    columna[f].startsWith(texto, Qt::CaseInsensitive))
                    return f;
            return -1;
        };
        struct Caso {
            int columna;
            QString texto;
            int desde;
        };
        for (const Caso& c :
             {Caso{0, u"n52"_s, 0}, Caso{0, u"N52"_s, 1500}, Caso{0, u"N3"_s, total - 1},
              Caso{1, dias[2222].left(5), 700}, Caso{0, u"ninguno"_s, 10}}) {
            const QModelIndexList hallado =
                modelo.match(modelo.index(c.desde, c.columna), Qt::DisplayRole, c.texto, 1,
                             Qt::MatchStartsWith | Qt::MatchWrap);
            const int esperado = primera(c.columna ? dias : numeros, c.texto, c.desde);
            QCOMPARE(hallado.isEmpty() ? -1 : hallado.first().row(), esperado);
            QVERIFY(modelo.filasRetenidas() < 300);
        }
    }

    // A search's first page shows before its count; the count then gives
    // the whole list.
    void busquedaCuentaDespuesDeMostrar() {
        muchos(3000);
        ModeloVentana& modelo = lista->modelo();
        modelo.establecerTamanoPagina(37);
        lista->cargar();
        QSignalSpy completo(&modelo, &ModeloVentana::conteoCompleto);
        lista->buscarTexto(u"N1"_s);
        QCOMPARE(modelo.rowCount(), 37);
        QVERIFY(modelo.conteoPendiente());
        QVERIFY(completo.wait());
        RegistrosPtr rs;
        AbrirConsulta(u"SELECT count(*) FROM PRESUPUESTOS P INNER JOIN CONTACTOS C ON "
                      "P.EmpId=C.EmpId WHERE INSTR(PRELUGAR,'N1') OR INSTR(PRESALUDO,'N1') OR "
                      "INSTR(EMPRAZONSOCIAL,'N1') OR INSTR(PRENUMERO,'N1') OR "
                      "INSTR(CSTR(PREFECHA),'N1') OR INSTR(EMPNOMBREFANTASIA,'N1')"_s,
                      rs);
        rs->moverPrimero();
        QCOMPARE(modelo.rowCount(), rs->campo(0).toInt());
        QVERIFY(modelo.rowCount() > 37);
        QCOMPARE(modelo.valor(modelo.rowCount() - 1, u"PreNumero"_s).toString().left(2), u"N1"_s);
    }

    // The quotes a search lists, in date order.
    QList<qint64> busquedaDeUnaVez(const QString& texto) {
        QList<qint64> ids;
        RegistrosPtr rs;
        AbrirConsulta(u"SELECT P.PreId FROM PRESUPUESTOS P INNER JOIN CONTACTOS C ON "
                      "P.EmpId=C.EmpId WHERE INSTR(PRELUGAR,?1) OR INSTR(PRESALUDO,?1) OR "
                      "INSTR(EMPRAZONSOCIAL,?1) OR INSTR(PRENUMERO,?1) OR "
                      "INSTR(CSTR(PREFECHA),?1) OR INSTR(EMPNOMBREFANTASIA,?1) "
                      "ORDER BY P.PreFecha, P.PreId"_s,
                      rs, {texto});
        for (rs->moverPrimero(); !rs->alFinal(); rs->moverSiguiente())
            ids << rs->campo(0).toLongLong();
        return ids;
    }

    // A search's count runs in a thread of its own while the list is used:
    // pages are added below as the view reaches the last one, and the count
    // of an earlier search (waiting in the thread, or already sent back) is
    // never applied to a later one.
    void conteoEnHiloYConteoViejoDescartado() {
        muchos(3000);
        ModeloVentana& modelo = lista->modelo();
        modelo.establecerTamanoPagina(37);
        lista->cargar();
        QSemaphore paso;
        std::atomic<int> enEsteHilo{0};
        std::atomic<int> abiertas{0};
        const Conexion::Abridor otra = conexion()->abridorDeOtra();
        modelo.establecerAbridorConteo([&]() {
            if (QThread::currentThread() == thread())
                ++enEsteHilo;
            paso.acquire();
            ++abiertas;
            return otra();
        });
        QObject contexto;
        QList<int> completos;
        connect(&modelo, &ModeloVentana::conteoCompleto, &contexto,
                [&] { completos << modelo.rowCount(); });
        const auto ids = [&] {
            QList<qint64> v;
            for (int f = 0; f < modelo.rowCount(); ++f)
                v << modelo.valor(f, u"PreId"_s).toLongLong();
            return v;
        };

        // The count held: the view's requests add the rows, and the last
        // page ends the count.
        lista->buscarTexto(u"N1"_s);
        QVERIFY(modelo.conteoPendiente());
        QCOMPARE(modelo.rowCount(), 37);
        int pedidas = 0;
        while (modelo.canFetchMore({}) && ++pedidas < 100)
            modelo.fetchMore({});
        const QList<qint64> n1 = busquedaDeUnaVez(u"N1"_s);
        QVERIFY(n1.size() > 4 * 37);
        QCOMPARE(completos, QList<int>{int(n1.size())});
        QCOMPARE(ids(), n1);
        QVERIFY(modelo.filasRetenidas() < 300);

        // Two more searches while the counts wait: only the last one's lands.
        completos.clear();
        lista->buscarTexto(u"N2"_s);
        lista->buscarTexto(u"N3"_s);
        QCOMPARE(modelo.rowCount(), 37);
        paso.release(3);
        QTRY_COMPARE(completos.size(), 1);
        const QList<qint64> n3 = busquedaDeUnaVez(u"N3"_s);
        QCOMPARE(completos.first(), int(n3.size()));
        QCOMPARE(ids(), n3);

        // A count already sent back when the next search starts.
        completos.clear();
        paso.release(10);
        const int antes = abiertas;
        lista->buscarTexto(u"N4"_s);
        QDeadlineTimer limite(5000);
        while (abiertas == antes && !limite.hasExpired())
            QThread::msleep(5);
        QThread::msleep(500); // its count runs and is sent, unseen yet
        lista->buscarTexto(u"N5"_s);
        QTRY_COMPARE(completos.size(), 1);
        QTest::qWait(100);
        QCOMPARE(completos, QList<int>{int(busquedaDeUnaVez(u"N5"_s).size())});
        QCOMPARE(enEsteHilo.load(), 0);
        paso.release(100);
        modelo.establecerAbridorConteo({});
    }

    void borradoFallidoNoDejaNadaAMedias() {
        const int a = datos->contacto(QStringLiteral("Acme"));
        const int pre = presupuesto(QStringLiteral("1"), QDate(2026, 1, 1), a);
        datos->linea(pre, datos->producto(QStringLiteral("Tornillo")));
        // Something makes deleting the quote itself fail after its lines went.
        const QStringList impedir =
            servidorprueba::motorServidor()
                ? QStringList{u"CREATE FUNCTION impedir() RETURNS trigger LANGUAGE plpgsql AS "
                              "'BEGIN RAISE EXCEPTION ''no''; END'"_s,
                              u"CREATE TRIGGER impedir BEFORE DELETE ON PRESUPUESTOS FOR EACH "
                              "ROW EXECUTE FUNCTION impedir()"_s}
                : QStringList{u"CREATE TRIGGER impedir BEFORE DELETE ON PRESUPUESTOS BEGIN "
                              "SELECT RAISE(ABORT, 'no'); END"_s};
        for (const QString& sql : impedir)
            QVERIFY(datos->conexion().ejecutar(sql).ok);
        lista->cargar();
        mensajes->responder(Respuesta::Si);
        QSignalSpy cambios(lista.get(), &ListaPresupuestos::listaCambiada);
        QCOMPARE(lista->eliminar(1, verificado(true)), ListaPresupuestos::Borrado::Fallido);
        QVERIFY(mensajes->textos().last().startsWith(QStringLiteral("No se pudo eliminar")));
        QVERIFY(mensajes->textos().last().contains(QStringLiteral("Error número: ")));
        QCOMPARE(datos->contar(QStringLiteral("PRESUPUESTOS")), 1);
        QCOMPARE(datos->contar(QStringLiteral("PRESUPUESTOS_PRODUCTOS")), 1);
        QCOMPARE(cambios.size(), 0);
    }

    // The newest row is the status; a quote without rows is a draft. The
    // filter applies to all quotes, a search and any header order.
    void estadosYFiltro() {
        using F = ListaPresupuestos::Filtro;
        const int a = datos->contacto(QStringLiteral("Acme"));
        const int b = datos->contacto(QStringLiteral("Beta"));
        const auto q = [&](const char* n, int dia, int c) {
            return presupuesto(QString::fromLatin1(n), QDate(2026, 1, dia), c);
        };
        q("borrador", 1, a);
        historia(q("enviado", 2, b), {u"Enviado"_s});
        historia(q("aceptado", 3, a), {u"Enviado"_s, u"Aceptado"_s});
        historia(q("rechazado", 4, b), {u"Rechazado"_s});
        historia(q("anulado", 5, a), {u"Enviado"_s, u"Anulado"_s});
        historia(q("reemplazado", 6, b), {u"Rechazado"_s, u"Reemplazado"_s});
        historia(q("reabierto", 7, a), {u"Aceptado"_s, u"Enviado"_s});
        lista->cargar();
        QCOMPARE(columna("Estado"),
                 (QStringList{u"Borrador"_s, u"Enviado"_s, u"Aceptado"_s, u"Rechazado"_s,
                              u"Anulado"_s, u"Reemplazado"_s, u"Enviado"_s}));
        QCOMPARE(filtrado(F::Abiertos), (QStringList{u"borrador"_s, u"enviado"_s, u"reabierto"_s}));
        QCOMPARE(filtrado(F::Aceptados), QStringList{u"aceptado"_s});
        QCOMPARE(filtrado(F::Rechazados), QStringList{u"rechazado"_s});
        QCOMPARE(filtrado(F::Anulados), QStringList{u"anulado"_s});
        QCOMPARE(filtrado(F::Todos).size(), 7);

        lista->filtrar(F::Abiertos);
        lista->ordenarPorColumna(2); // the contact's order reads another join
        QCOMPARE(columna("PreNumero"), (QStringList{u"borrador"_s, u"reabierto"_s, u"enviado"_s}));
        QCOMPARE(lista->cantidad(), 3);
        lista->ordenarPorColumna(0);
        lista->buscarTexto(u"r"_s); // all but "enviado" contain an r
        QCOMPARE(columna("PreNumero"), (QStringList{u"borrador"_s, u"reabierto"_s}));
        lista->mostrarTodo();
        QCOMPARE(lista->cantidad(), 3);
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    void avisosSoloDePresupuestosAbiertos() {
        const int a = datos->contacto(QStringLiteral("Acme"));
        const auto vence = [&](const char* n) {
            return presupuesto(QString::fromLatin1(n), QDate(2026, 12, 1), a, u"admin"_s, 10);
        };
        vence("borrador");
        historia(vence("enviado"), {u"Enviado"_s});
        historia(vence("aceptado"), {u"Enviado"_s, u"Aceptado"_s});
        historia(vence("rechazado"), {u"Rechazado"_s});
        QCOMPARE(ListaPresupuestos::textoAvisos(5),
                 QStringLiteral("Hay 2 próximos a vencer. Clic para verlos."));
        lista->listarAvisos(5);
        QCOMPARE(columna("PreNumero"), (QStringList{u"borrador"_s, u"enviado"_s}));
    }

    void marcarSoloLosMovimientosPermitidos() {
        using E = EstadoPresupuesto;
        using M = ListaPresupuestos::Marcado;
        const int a = datos->contacto(QStringLiteral("Acme"));
        const int uno = presupuesto(u"1"_s, QDate(2026, 1, 1), a);
        presupuesto(u"2"_s, QDate(2026, 1, 2), a, u"pepe"_s);
        lista->cargar();
        const auto filas = [&] {
            QStringList r;
            RegistrosPtr rs;
            AbrirConsulta(u"SELECT EstEstado, UsuLogin, EstMotivo, EstFechaHora FROM "
                          "PRESUPUESTOS_ESTADOS WHERE PreId=? ORDER BY EstId"_s,
                          rs, {uno});
            for (rs->moverPrimero(); !rs->alFinal(); rs->moverSiguiente())
                r << rs->texto(u"EstEstado"_s) + u'|' + rs->texto(u"UsuLogin"_s) + u'|' +
                         rs->texto(u"EstMotivo"_s) + u'|' +
                         rs->campo(u"EstFechaHora"_s).toDateTime().date().toString(Qt::ISODate);
            return r;
        };

        QCOMPARE(lista->marcar(1, E::Enviado), M::NoConfirmado); // No is the default
        QCOMPARE(mensajes->textos().last(), u"¿Marca el presupuesto Nro. 1 como «Enviado»?"_s);
        QVERIFY(filas().isEmpty());
        mensajes->responder(Respuesta::Si);
        QCOMPARE(lista->marcar(1, E::Enviado), M::Marcado);
        QCOMPARE(lista->estadoDeFila(1).value_or(E::Borrador), E::Enviado);
        mensajes->responder(Respuesta::Si);
        mensajes->escribir(u"  Precio  alto "_s);
        QCOMPARE(lista->marcar(1, E::Rechazado), M::Marcado);
        QCOMPARE(mensajes->mostrados().last().esEntrada, true);
        QCOMPARE(filas(), (QStringList{u"Enviado|admin||2026-12-07"_s,
                                       u"Rechazado|admin|Precio alto|2026-12-07"_s}));
        // A rejected quote is not accepted afterwards, nor sent again.
        for (E e : {E::Aceptado, E::Enviado, E::Reemplazado, E::Borrador})
            QCOMPARE(lista->marcar(1, e), M::NoPermitido);
        QCOMPARE(filas().size(), 2);
        // Another user's quote is refused as its editing is.
        QCOMPARE(lista->marcar(2, E::Enviado), M::Rechazada);
        QCOMPARE(mensajes->textos().last(),
                 u"Usted no tiene permiso para modificar este Presupuesto."_s);
        QCOMPARE(lista->marcar(3, E::Enviado), M::SinFila);
        QCOMPARE(datos->contar(u"PRESUPUESTOS_ESTADOS"_s), 2);
    }

    // What the list shows may be stale: the move is decided on the stored
    // status, read again.
    void marcarDecideSobreElEstadoGuardado() {
        const int a = datos->contacto(QStringLiteral("Acme"));
        const int uno = presupuesto(u"1"_s, QDate(2026, 1, 1), a);
        lista->cargar();
        historia(uno, {u"Anulado"_s});
        QCOMPARE(lista->marcar(1, EstadoPresupuesto::Aceptado),
                 ListaPresupuestos::Marcado::NoPermitido);
        QCOMPARE(mensajes->textos().last(),
                 u"Este Presupuesto está «Anulado»: no se puede marcar como «Aceptado»."_s);
        QCOMPARE(lista->estadoDeFila(1).value_or(EstadoPresupuesto::Borrador),
                 EstadoPresupuesto::Anulado);
    }

    // The current status and each filter's count follow the history through
    // a mark, a withdrawn row and deleted quotes. The page holds one row, so
    // every count is a count and not the rows of a full first page.
    void conteosSiguenALaHistoria() {
        using F = ListaPresupuestos::Filtro;
        const int a = datos->contacto(QStringLiteral("Acme"));
        QList<int> q;
        for (int dia = 1; dia <= 5; ++dia)
            q << presupuesto(QString::number(dia), QDate(2026, 1, dia), a);
        historia(q[1], {u"Enviado"_s});
        historia(q[2], {u"Enviado"_s, u"Aceptado"_s});
        historia(q[3], {u"Rechazado"_s});
        historia(q[4], {u"Aceptado"_s, u"Enviado"_s}); // the newest row decides
        lista->modelo().establecerTamanoPagina(1);
        lista->cargar();
        const auto cuentas = [&] {
            QList<int> n;
            for (F f : {F::Todos, F::Abiertos, F::Aceptados, F::Rechazados, F::Anulados}) {
                lista->filtrar(f);
                n << lista->cantidad();
            }
            lista->filtrar(F::Todos);
            return n;
        };
        QCOMPARE(cuentas(), (QList<int>{5, 3, 1, 1, 0}));

        mensajes->responder(Respuesta::Si);
        mensajes->escribir(QString());
        QCOMPARE(lista->marcar(1, EstadoPresupuesto::Anulado), ListaPresupuestos::Marcado::Marcado);
        QCOMPARE(lista->estadoDeFila(1).value_or(EstadoPresupuesto::Borrador),
                 EstadoPresupuesto::Anulado);
        QCOMPARE(cuentas(), (QList<int>{5, 2, 1, 1, 1}));

        // The newest row withdrawn: the one before it is the status again.
        datos->ejecutar(
            u"DELETE FROM PRESUPUESTOS_ESTADOS WHERE PreId=? AND EstEstado='Aceptado'"_s, {q[2]});
        QCOMPARE(cuentas(), (QList<int>{5, 3, 0, 1, 1}));

        mensajes->responder(Respuesta::Si);
        QCOMPARE(lista->eliminar(4, verificado(true)), ListaPresupuestos::Borrado::Borrado);
        // Deleted by another program, which leaves its history behind.
        datos->ejecutar(u"DELETE FROM PRESUPUESTOS WHERE PreId=?"_s, {q[0]});
        QCOMPARE(cuentas(), (QList<int>{3, 3, 0, 0, 0}));
        lista->filtrar(F::Abiertos);
        QCOMPARE(lista->modelo().valor(0, u"PreNumero"_s).toString(), u"2"_s);
        QCOMPARE(lista->modelo().valor(1, u"Estado"_s).toString(), u"Enviado"_s);
    }

    // A quote's history goes with it; a deleted new version gives the quote
    // it replaced its former status back.
    void eliminarBorraSuHistoria() {
        const int a = datos->contacto(QStringLiteral("Acme"));
        const int viejo = presupuesto(u"1"_s, QDate(2026, 1, 1), a);
        const int nuevo = presupuesto(u"1-2"_s, QDate(2026, 1, 2), a);
        historia(viejo, {u"Enviado"_s});
        datos->ejecutar(u"INSERT INTO PRESUPUESTOS_ESTADOS (PreId, EstEstado, EstFechaHora, "
                        "EstReemplazo) VALUES (?, 'Reemplazado', 46000, ?)"_s,
                        {viejo, nuevo});
        historia(nuevo, {u"Enviado"_s});
        lista->cargar();
        mensajes->responder(Respuesta::Si);
        QCOMPARE(lista->eliminar(2, verificado(true)), ListaPresupuestos::Borrado::Borrado);
        QCOMPARE(datos->contar(u"PRESUPUESTOS_ESTADOS"_s), 1);
        QCOMPARE(lista->estadoDeFila(1).value_or(EstadoPresupuesto::Borrador),
                 EstadoPresupuesto::Enviado);
    }
};

QTEST_GUILESS_MAIN(PruebaListaPresupuestos)
#include "tst_listapresupuestos.moc"
