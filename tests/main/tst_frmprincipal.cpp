// The main window driven through its controls.
#include "comun/dialogos.h"
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"
#include "data/entornodatos.h"
#include "data/modconexion.h"
#include "main/listapresupuestos.h"
#include "main/ventanas/frmPrincipal.h"
#include "platform/reloj.h"
#include "startup/arranque.h"
#include "startup/cqueryreg.h"
#include "startup/opciones.h"
#include "users/sesion.h"
#include "users/ventanas/frmVerificaUsuario.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

#include <memory>

class PruebaFrmPrincipal : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;
    std::unique_ptr<Fixtura> datos;

    static QPushButton* boton(QWidget& v, int i) {
        return v.findChild<QPushButton*>(QStringLiteral("cmdMenu(%1)").arg(i));
    }
    static QAction* item(QWidget& v, const char* nombre) {
        return v.findChild<QAction*>(QString::fromLatin1(nombre));
    }
    static QString aviso(QWidget& v) {
        return v.findChild<QLabel*>(QStringLiteral("avisos"))->text();
    }
    void presupuesto(const QString& numero, const QDate& fecha, int vigencia,
                     const QString& usuario = QStringLiteral("admin")) {
        Fixtura::Presupuesto p;
        p.numero = numero;
        p.fecha = fecha;
        p.vigencia = vigencia;
        p.usuLogin = usuario;
        datos->presupuesto(p);
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        const QString base = entorno->copiarBase();
        datos = std::make_unique<Fixtura>(base);
        datos->contacto(QStringLiteral("Acme"));
        abrirConexionDePrueba(base);
        dteBodex().establecerCadenaConexion(cadenaConexionInformes(QStringLiteral("PRUEBA")));
        Reloj::fijar(QDate(2026, 12, 7));
        long estado = 0;
        cQueryReg().SetReg(claveTarvo(), QStringLiteral("aviso_dias"), QStringLiteral("5"),
                           cQueryReg::HKEY_CURRENT_USER, cQueryReg::REG_SZ, true, estado);
        CargarOpciones();
        establecerUsuarioActual(QStringLiteral("admin"));
    }
    void cleanup() {
        if (conexion())
            CerrarConexion();
        dteBodex().cerrarConexion();
        Reloj::liberar();
        datos.reset();
        mensajes.reset();
        entorno.reset();
    }

    void menusYControles() {
        frmPrincipal v;
        QCOMPARE(v.windowTitle(), QStringLiteral("Menú Principal - Tarvo"));
        QStringList menus;
        for (QAction* a : v.menuBar()->actions())
            menus << a->text();
        QCOMPARE(menus, (QStringList{QStringLiteral("Archivo"), QStringLiteral("Contactos"),
                                     QStringLiteral("Herramientas"), QStringLiteral("Ayuda")}));
        QCOMPARE(item(v, "mnuArchivoNuevoPresupuesto")->text(),
                 QStringLiteral("Nuevo Presupuesto"));
        QCOMPARE(item(v, "mnuArchivoProCat")->text(), QStringLiteral("Productos por Categoría"));
        QCOMPARE(item(v, "mnuAyudaVideos")->text(), QStringLiteral("Videos Tutoriales en línea"));
        QCOMPARE(item(v, "mnuAyudaAcercaDe")->text(), QStringLiteral("Acerca De..."));
        QVERIFY(item(v, "mnuArchivoSalir")->isEnabled());
        QVERIFY(item(v, "mnuAyudaSitioWeb")->isEnabled());
        QCOMPARE(v.findChild<QGroupBox*>()->title(), QStringLiteral("LISTA DE PRESUPUESTOS"));

        auto* grilla = v.findChild<QTableView*>(QStringLiteral("dtgLista"));
        QStringList encabezados;
        for (int c = 0; c < grilla->model()->columnCount(); ++c)
            encabezados << grilla->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(encabezados, (QStringList{QStringLiteral("Nro. Ppto."), QStringLiteral("Fecha"),
                                           QStringLiteral("Cliente"), QStringLiteral("Ingresó")}));
        QCOMPARE(grilla->columnWidth(2), 5265 * 96 / 1440);

        const QStringList textos = {QStringLiteral("Nuevo"),      QStringLiteral("Editar"),
                                    QStringLiteral("Imprimir"),   QStringLiteral("Buscar"),
                                    QStringLiteral("Actualizar"), QStringLiteral("Eliminar"),
                                    QStringLiteral("Salir")};
        for (int i = 0; i < 7; ++i) {
            QVERIFY(boton(v, i));
            QCOMPARE(boton(v, i)->text(), textos[i]);
            QVERIFY(!boton(v, i)->toolTip().isEmpty());
            // New, edit and print wait for their windows.
            QCOMPARE(boton(v, i)->isEnabled(), i > 2);
        }
        QCOMPARE(boton(v, 3)->toolTip(), QStringLiteral("Buscar por la descripción"));
        QVERIFY(v.findChild<QStatusBar*>(QStringLiteral("sbAvisos")));
    }

    void menusDeAdministradorSeDecidenAlCargar_data() {
        QTest::addColumn<QString>("usuario");
        QTest::addColumn<bool>("habilitado");
        QTest::newRow("admin") << "admin" << true;
        QTest::newRow("Admin") << "Admin" << true;
        QTest::newRow("SUPER") << "SUPER" << true;
        QTest::newRow("Supervisor") << "Supervisor" << false;
        QTest::newRow("pepe") << "pepe" << false;
    }
    void menusDeAdministradorSeDecidenAlCargar() {
        QFETCH(QString, usuario);
        QFETCH(bool, habilitado);
        establecerUsuarioActual(usuario);
        frmPrincipal v;
        QCOMPARE(item(v, "mnuHerramientasOpciones")->isEnabled(), habilitado);
        establecerUsuarioActual(QStringLiteral("admin"));
        QCOMPARE(item(v, "mnuHerramientasOpciones")->isEnabled(), habilitado);
    }

    void avisoAlActivarseYClic() {
        presupuesto(QStringLiteral("vence"), QDate(2026, 12, 1), 10);
        presupuesto(QStringLiteral("otro"), QDate(2026, 12, 1), 100);
        frmPrincipal v;
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        v.activateWindow();
        QTRY_COMPARE(aviso(v), QStringLiteral("Hay 1 próximos a vencer. Clic para verlos."));
        auto* grilla = v.findChild<QTableView*>(QStringLiteral("dtgLista"));
        QCOMPARE(grilla->model()->rowCount(), 2);
        QTest::mouseClick(v.findChild<QLabel*>(QStringLiteral("avisos")), Qt::LeftButton);
        QCOMPARE(grilla->model()->rowCount(), 1);
        QCOMPARE(grilla->model()->index(0, 0).data().toString(), QStringLiteral("vence"));
        QCOMPARE(grilla->model()->index(0, 1).data().toString(), QStringLiteral("01/12/26"));
        // A new quote is counted at the next activation, not before.
        presupuesto(QStringLiteral("nuevo"), QDate(2026, 12, 7), 1);
        QCOMPARE(aviso(v), QStringLiteral("Hay 1 próximos a vencer. Clic para verlos."));
        v.actualizarAvisos();
        QCOMPARE(aviso(v), QStringLiteral("Hay 2 próximos a vencer. Clic para verlos."));
        // Header click sorts the selection shown.
        QTest::mouseClick(grilla->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(grilla->horizontalHeader()->sectionViewportPosition(0) + 5, 5));
        QVERIFY(v.lista().clausulaOrden().endsWith(QStringLiteral("PreNumero ASC")));
        QCOMPARE(grilla->model()->rowCount(), 2);
    }

    void sinAvisos() {
        frmPrincipal v;
        v.actualizarAvisos();
        QCOMPARE(aviso(v), QStringLiteral("No hay avisos."));
    }

    void buscarYActualizarDesdeLosBotones() {
        presupuesto(QStringLiteral("A-1"), QDate(2026, 1, 1), 0);
        presupuesto(QStringLiteral("B-2"), QDate(2026, 1, 2), 0);
        frmPrincipal v;
        auto* modelo = v.findChild<QTableView*>(QStringLiteral("dtgLista"))->model();
        mensajes->escribir(QStringLiteral("b-2"));
        QTest::mouseClick(boton(v, 3), Qt::LeftButton);
        QCOMPARE(modelo->rowCount(), 1);
        QTest::mouseClick(boton(v, 4), Qt::LeftButton);
        QCOMPARE(modelo->rowCount(), 2);
    }

    void editarAjenoSeRechaza() {
        presupuesto(QStringLiteral("1"), QDate(2026, 1, 1), 0, QStringLiteral("pepe"));
        frmPrincipal v;
        v.cmdMenu_Click(1);
        QCOMPARE(
            mensajes->textos(),
            QStringList{QStringLiteral("Usted no tiene permiso para modificar este Presupuesto.")});
    }

    void eliminarConVerificacion() {
        presupuesto(QStringLiteral("7"), QDate(2026, 1, 1), 0);
        frmPrincipal v;
        alAparecer<frmVerificaUsuario>([](frmVerificaUsuario& d) {
            d.findChild<QLineEdit*>(QStringLiteral("txtLogin"))->setText(QStringLiteral("super"));
            d.aceptar();
        });
        mensajes->responder(Respuesta::Si);
        establecerUsuarioActual(QStringLiteral("pepe"));
        QTest::mouseClick(boton(v, 5), Qt::LeftButton);
        QCOMPARE(mensajes->textos(), QStringList{QStringLiteral(
                                         "Esta seguro que dese eliminar el presupuesto Nro. 7")});
        QCOMPARE(datos->contar(QStringLiteral("PRESUPUESTOS")), 0);
        QCOMPARE(usuarioActual(), QStringLiteral("super"));
        QCOMPARE(v.findChild<QTableView*>(QStringLiteral("dtgLista"))->model()->rowCount(), 0);
    }

    void cancelarVerificacionNoPreguntaNada() {
        presupuesto(QStringLiteral("7"), QDate(2026, 1, 1), 0);
        frmPrincipal v;
        alAparecer<frmVerificaUsuario>([](frmVerificaUsuario& d) { d.cancelar(); });
        QTest::mouseClick(boton(v, 5), Qt::LeftButton);
        QVERIFY(mensajes->mostrados().isEmpty());
        QCOMPARE(datos->contar(QStringLiteral("PRESUPUESTOS")), 1);
    }

    void cerrarLaVentanaCierraLasConexiones() {
        auto* v = new frmPrincipal;
        v->show();
        dteBodex().farmacia();
        QVERIFY(dteBodex().conexionAbierta());
        QTest::mouseClick(boton(*v, 6), Qt::LeftButton);
        QVERIFY(!conexion());
        QVERIFY(!dteBodex().conexionAbierta());
        QVERIFY(!v->lista().registros()->abierto());
    }
};

QTEST_MAIN(PruebaFrmPrincipal)
#include "tst_frmprincipal.moc"
