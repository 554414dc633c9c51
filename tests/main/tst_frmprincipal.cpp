// The main window driven through its controls.
#include "comun/dialogos.h"
#include "comun/ejecutorguion.h"
#include "comun/entornoprueba.h"
#include "comun/fixtura.h"
#include "comun/mensajesguion.h"
#include "comun/paquete.h"
#include "comun/xmldocumento.h"
#include "data/entornodatos.h"
#include "data/modconexion.h"
#include "main/listapresupuestos.h"
#include "main/ventanas/frmPrincipal.h"
#include "platform/reloj.h"
#include "quotes/ventanas/frmAgregarProductoPresupuesto.h"
#include "quotes/ventanas/frmDetallePresupuesto.h"
#include "quotes/ventanas/frmGrillaContactos.h"
#include "startup/arranque.h"
#include "startup/cqueryreg.h"
#include "startup/opciones.h"
#include "users/sesion.h"
#include "users/ventanas/frmVerificaUsuario.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

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
    static frmDetallePresupuesto* editorAbierto() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* e = qobject_cast<frmDetallePresupuesto*>(w); e && e->isVisible())
                return e;
        return nullptr;
    }
    static void cerrarEditor() {
        while (frmDetallePresupuesto* e = editorAbierto())
            e->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
        prepararCarpetaTarvo();
        CargarOpciones();
        establecerUsuarioActual(QStringLiteral("admin"));
    }
    void cleanup() {
        cerrarEditor();
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
                                           QStringLiteral("Cliente"), QStringLiteral("Ingresó"),
                                           QStringLiteral("Estado")}));
        QCOMPARE(grilla->columnWidth(2), 5265 * 96 / 1440);

        const QStringList textos = {QStringLiteral("Nuevo"),      QStringLiteral("Editar"),
                                    QStringLiteral("Imprimir"),   QStringLiteral("Buscar"),
                                    QStringLiteral("Actualizar"), QStringLiteral("Eliminar"),
                                    QStringLiteral("Salir")};
        for (int i = 0; i < 7; ++i) {
            QVERIFY(boton(v, i));
            QCOMPARE(boton(v, i)->text(), textos[i]);
            QVERIFY(!boton(v, i)->toolTip().isEmpty());
            QVERIFY(boton(v, i)->isEnabled());
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
        QCOMPARE(item(v, "mnuHerramientasMantUsuarios")->isEnabled(), habilitado);
        establecerUsuarioActual(QStringLiteral("admin"));
        QCOMPARE(item(v, "mnuHerramientasOpciones")->isEnabled(), habilitado);
        QCOMPARE(item(v, "mnuHerramientasMantUsuarios")->isEnabled(), habilitado);
    }

    void losMenusAbrenCadaVentanaUnaVez_data() {
        QTest::addColumn<QString>("accion");
        QTest::addColumn<QString>("ventana");
        QTest::newRow("contactos") << "mnuContactosIngresoContactos"
                                   << "frmMantContactos";
        QTest::newRow("categorías") << "mnuHerramientasMantCategorias"
                                    << "frmMantCategorias";
        QTest::newRow("productos") << "mnuHerramientasMantProductos"
                                   << "frmMantProductos";
        QTest::newRow("usuarios") << "mnuHerramientasMantUsuarios"
                                  << "frmMantUsuarios";
    }
    void losMenusAbrenCadaVentanaUnaVez() {
        QFETCH(QString, accion);
        QFETCH(QString, ventana);
        frmPrincipal v;
        auto abiertas = [&] {
            QList<QWidget*> w;
            for (QWidget* t : QApplication::topLevelWidgets())
                if (t->objectName() == ventana && t->isVisible())
                    w << t;
            return w;
        };
        QAction* a = item(v, qPrintable(accion));
        QVERIFY(a->isEnabled());
        a->trigger();
        QCOMPARE(abiertas().size(), 1);
        QWidget* primera = abiertas().first();
        QVERIFY(!primera->isModal());
        a->trigger();
        QCOMPARE(abiertas(), QList<QWidget*>{primera});
        primera->close();
        QTRY_VERIFY(abiertas().isEmpty());
        QVERIFY(mensajes->mostrados().isEmpty());
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

    // A failing count is reported once, not at every activation its own box
    // causes; after a count that succeeds, a new failure is reported again.
    void avisoFallidoSeInformaUnaVez() {
        presupuesto(QStringLiteral("vence"), QDate(2026, 12, 1), 10);
        const auto renombrar = [](const char* de, const char* a) {
            QVERIFY(conexion()
                        ->ejecutar(QStringLiteral("ALTER TABLE %1 RENAME TO %2")
                                       .arg(QLatin1String(de), QLatin1String(a)))
                        .ok);
        };
        frmPrincipal v;
        renombrar("PRESUPUESTOS", "PRESUPUESTOS_APARTE");
        v.actualizarAvisos();
        const qsizetype informados = mensajes->mostrados().size();
        QVERIFY(informados >= 1);
        QVERIFY(mensajes->mostrados().first().texto.startsWith(QStringLiteral("Error número: ")));
        for (int i = 0; i < 5; ++i) {
            v.actualizarAvisos();
            QCOMPARE(aviso(v), QStringLiteral("No hay avisos."));
        }
        QCOMPARE(mensajes->mostrados().size(), informados);
        renombrar("PRESUPUESTOS_APARTE", "PRESUPUESTOS");
        v.actualizarAvisos();
        QCOMPARE(aviso(v), QStringLiteral("Hay 1 próximos a vencer. Clic para verlos."));
        renombrar("PRESUPUESTOS", "PRESUPUESTOS_APARTE");
        v.actualizarAvisos();
        v.actualizarAvisos();
        QCOMPARE(mensajes->mostrados().size(), 2 * informados);
        renombrar("PRESUPUESTOS_APARTE", "PRESUPUESTOS");
        // Other queries keep reporting their failures as before.
        RegistrosPtr rs;
        AbrirConsulta(QStringLiteral("SELECT * FROM NO_EXISTE"), rs);
        QVERIFY(mensajes->mostrados().size() > 2 * informados);
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
        QVERIFY(!editorAbierto());
    }

    // "Nuevo" and the menu item open the one editor on a new quote.
    void nuevoAbreElEditor() {
        presupuesto(QStringLiteral("41"), QDate(2026, 1, 1), 0);
        frmPrincipal v;
        QTest::mouseClick(boton(v, 0), Qt::LeftButton);
        frmDetallePresupuesto* editor = editorAbierto();
        QVERIFY(editor);
        QVERIFY(editor->editor().agregando);
        QCOMPARE(editor->editor().modo(), ModoEditor::Nuevo);
        QCOMPARE(editor->editor().campos.numero, QStringLiteral("42"));
        editor->editor().campos.numero = QStringLiteral("escrito");
        item(v, "mnuArchivoNuevoPresupuesto")->trigger();
        QCOMPARE(editorAbierto(), editor);
        QCOMPARE(editor->editor().campos.numero, QStringLiteral("42"));
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    // "Editar" and a double click open the owner's quote, letter case aside.
    void editarYDobleClicAbrenElPresupuesto() {
        const int id = datos->presupuesto([] {
            Fixtura::Presupuesto p;
            p.numero = QStringLiteral("17");
            p.usuLogin = QStringLiteral("ADMIN");
            return p;
        }());
        frmPrincipal v;
        auto* grilla = v.findChild<QTableView*>(QStringLiteral("dtgLista"));
        grilla->setCurrentIndex(grilla->model()->index(0, 0));
        QTest::mouseClick(boton(v, 1), Qt::LeftButton);
        frmDetallePresupuesto* editor = editorAbierto();
        QVERIFY(editor);
        QVERIFY(!editor->editor().agregando);
        QCOMPARE(editor->editor().campos.id, QString::number(id));
        QCOMPARE(editor->editor().campos.numero, QStringLiteral("17"));
        QCOMPARE(editor->editor().modo(), ModoEditor::Edicion);

        editor->editor().cmdMenu_Click(0);
        const QRect celda = grilla->visualRect(grilla->model()->index(0, 2));
        QTest::mouseClick(grilla->viewport(), Qt::LeftButton, {}, celda.center());
        QTest::mouseDClick(grilla->viewport(), Qt::LeftButton, {}, celda.center());
        QCOMPARE(editorAbierto(), editor);
        QCOMPARE(editor->editor().campos.numero, QStringLiteral("17"));
        QCOMPARE(editor->editor().modo(), ModoEditor::Edicion);
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    // A quote as a new user makes it: new, contact, three products (double
    // click, Enter, bar code), one unit taken off, other costs and validity,
    // saved, closed, opened again from the list, a quantity changed and saved.
    void recorridoDeUnPresupuesto() {
        datos->producto(QStringLiteral("Cable"), QStringLiteral("111"), 12.5,
                        QStringLiteral("USD"));
        datos->producto(QStringLiteral("Caño"), QStringLiteral("222"), 3, QStringLiteral("USD"));
        const int codo = datos->producto(QStringLiteral("Codo"), QStringLiteral("333"), 1, {});
        frmPrincipal v;
        v.show();
        QTest::mouseClick(boton(v, 0), Qt::LeftButton);
        QPointer<frmDetallePresupuesto> e = editorAbierto();
        QVERIFY(e);
        auto control = [&e](const char* nombre) {
            return e->findChild<QWidget*>(QString::fromLatin1(nombre));
        };
        auto* grilla = qobject_cast<QTableView*>(control("dtgProductos"));
        QTRY_COMPARE(grilla->model()->rowCount(), 3);
        auto cantidad = [](const QString& texto) {
            alAparecer<frmAgregarProductoPresupuesto>([texto](frmAgregarProductoPresupuesto& d) {
                d.findChild<QLineEdit*>(QStringLiteral("txtCantidad"))->setText(texto);
                d.aceptar();
            });
        };
        auto enter = [](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); };

        auto* cliente = qobject_cast<QLineEdit*>(control("txtCliente"));
        cliente->setText(QStringLiteral("ac"));
        alAparecer<frmGrillaContactos>([](frmGrillaContactos& s) { s.seleccionar(); });
        enter(cliente);
        QCOMPARE(cliente->text(), QStringLiteral("Acme"));

        cantidad(QStringLiteral("2"));
        const QRect celda = grilla->visualRect(grilla->model()->index(0, 1));
        QTest::mouseClick(grilla->viewport(), Qt::LeftButton, {}, celda.center());
        QTest::mouseDClick(grilla->viewport(), Qt::LeftButton, {}, celda.center());
        grilla->setCurrentIndex(grilla->model()->index(1, 0));
        cantidad(QStringLiteral("3"));
        enter(grilla);
        auto* codigo = qobject_cast<QLineEdit*>(control("txtCodigoBarraAgregar"));
        codigo->setText(QStringLiteral("333"));
        cantidad(QStringLiteral("4"));
        enter(codigo);
        auto* lineas = qobject_cast<QTreeWidget*>(control("lvPrePro"));
        QTRY_COMPARE(lineas->topLevelItemCount(), 3);
        lineas->setCurrentItem(lineas->topLevelItem(1));
        mensajes->escribir(QStringLiteral("1"));
        enter(lineas);
        QCOMPARE(lineas->topLevelItem(1)->text(3), QStringLiteral("2"));

        qobject_cast<QComboBox*>(control("dtcConcepto1"))->setEditText(QStringLiteral("Flete"));
        qobject_cast<QLineEdit*>(control("txtImporte1"))->setText(QStringLiteral("10.5"));
        qobject_cast<QComboBox*>(control("dtcMoneda1"))->setEditText(QStringLiteral("USD"));
        qobject_cast<QCheckBox*>(control("chkVigencia"))->click();
        qobject_cast<QLineEdit*>(control("txtDiasVigencia"))->setText(QStringLiteral("15"));
        QTest::mouseClick(e->findChild<QPushButton*>(QStringLiteral("cmdMenu(2)")), Qt::LeftButton);
        QTest::mouseClick(e->findChild<QPushButton*>(QStringLiteral("cmdMenu(8)")), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!e);

        QTest::mouseClick(boton(v, 4), Qt::LeftButton);
        auto* lista = v.findChild<QTableView*>(QStringLiteral("dtgLista"));
        QCOMPARE(lista->model()->rowCount(), 1);
        lista->setCurrentIndex(lista->model()->index(0, 0));
        QTest::mouseClick(boton(v, 1), Qt::LeftButton);
        e = editorAbierto();
        QVERIFY(e);
        lineas = qobject_cast<QTreeWidget*>(control("lvPrePro"));
        QStringList vistas;
        for (int i = 0; i < lineas->topLevelItemCount(); ++i)
            vistas << lineas->topLevelItem(i)->text(1) + u'=' + lineas->topLevelItem(i)->text(3) +
                          u'x' + lineas->topLevelItem(i)->text(2);
        QCOMPARE(vistas, (QStringList{QStringLiteral("Cable=2x12.5"), QStringLiteral("Caño=2x3"),
                                      QStringLiteral("Codo=4x1")}));
        QCOMPARE(qobject_cast<QLineEdit*>(control("txtCliente"))->text(), QStringLiteral("Acme"));
        QCOMPARE(qobject_cast<QComboBox*>(control("dtcConcepto1"))->currentText(),
                 QStringLiteral("Flete"));
        QCOMPARE(qobject_cast<QLineEdit*>(control("txtImporte1"))->text(), QStringLiteral("10.5"));
        QCOMPARE(qobject_cast<QComboBox*>(control("dtcMoneda1"))->currentText(),
                 QStringLiteral("USD"));
        QVERIFY(qobject_cast<QCheckBox*>(control("chkVigencia"))->isChecked());
        QCOMPARE(qobject_cast<QLineEdit*>(control("txtDiasVigencia"))->text(),
                 QStringLiteral("15"));
        QCOMPARE(e->editor().modo(), ModoEditor::Edicion);

        lineas->setCurrentItem(lineas->topLevelItem(2));
        mensajes->escribir(QStringLiteral("1.5"));
        enter(lineas);
        QTest::mouseClick(e->findChild<QPushButton*>(QStringLiteral("cmdMenu(2)")), Qt::LeftButton);
        QCOMPARE(datos->conexion()
                     .ejecutar(QStringLiteral("SELECT PreProCantidad FROM PRESUPUESTOS_PRODUCTOS "
                                              "WHERE ProId=?"),
                               {codo})
                     .filas->valor(0, 0)
                     .toDouble(),
                 2.5);
        QCOMPARE(datos->contar(QStringLiteral("PRESUPUESTOS_PRODUCTOS")), 3);
        QCOMPARE(mensajes->textos(), (QStringList{QStringLiteral("Ingrese la cantidad que desea "
                                                                 "quitar:"),
                                                  QStringLiteral("Ingrese la cantidad que desea "
                                                                 "quitar:")}));

        // "Modificar" opens the document that save wrote, every value in place.
        EjecutorGuion ejecutor;
        const QString documento = opciones().doc_path + u'/' +
                                  qobject_cast<QLineEdit*>(control("txtFields(1)"))->text() +
                                  QStringLiteral(".doc");
        QTest::mouseClick(e->findChild<QPushButton*>(QStringLiteral("cmdMenu(6)")), Qt::LeftButton);
        QCOMPARE(ejecutor.abiertas(), QList<QUrl>{QUrl::fromLocalFile(documento)});
        const PartesPaquete paquete = leerPaquete(documento);
        QVERIFY(paquete.ok);
        pugi::xml_document xml;
        QVERIFY(xmldoc::cargar(xml, paquete.documento()));
        const QStringList marcadores = {
            QStringLiteral("txtCliente"),   QStringLiteral("txtProducto3"),
            QStringLiteral("txtCantidad3"), QStringLiteral("txtTotalProductos"),
            QStringLiteral("txtConcepto1"), QStringLiteral("txtTotalManoDeObra"),
            QStringLiteral("txtVigencia")};
        QStringList textos;
        for (const QString& m : marcadores)
            textos << xmldoc::texto(xml, m);
        QCOMPARE(textos,
                 (QStringList{QStringLiteral("Acme"), QStringLiteral("Codo"), QStringLiteral("2,5"),
                              QStringLiteral("33,5"), QStringLiteral("Flete"),
                              QStringLiteral("10,5"), QStringLiteral("15")}));
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

    // With more quotes than a page, a header sort keeps the current quote
    // current wherever the new order puts it, and a deletion keeps the grid
    // at the same row, now on the next quote.
    void filaActualTrasOrdenarYEliminar() {
        datos->ejecutar(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i<299) "
            "INSERT INTO PRESUPUESTOS (PreNumero, PreFecha, EmpId, UsuLogin) SELECT "
            "'N' || substr(CAST(1000 + i AS TEXT), 2), 46400 - i, (SELECT min(EmpId) FROM "
            "CONTACTOS), 'admin' FROM n"));
        frmPrincipal v;
        auto* grilla = v.findChild<QTableView*>(QStringLiteral("dtgLista"));
        QCOMPARE(grilla->model()->rowCount(), 300);
        grilla->setCurrentIndex(grilla->model()->index(250, 0)); // by date: N049
        QCOMPARE(grilla->currentIndex().data().toString(), QStringLiteral("N049"));
        QTest::mouseClick(grilla->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(grilla->horizontalHeader()->sectionViewportPosition(0) + 5, 5));
        QCOMPARE(grilla->currentIndex().row(), 49);
        QCOMPARE(grilla->currentIndex().data().toString(), QStringLiteral("N049"));
        alAparecer<frmVerificaUsuario>([](frmVerificaUsuario& d) {
            d.findChild<QLineEdit*>(QStringLiteral("txtLogin"))->setText(QStringLiteral("super"));
            d.aceptar();
        });
        mensajes->responder(Respuesta::Si);
        QTest::mouseClick(boton(v, 5), Qt::LeftButton);
        QCOMPARE(mensajes->textos().last(),
                 QStringLiteral("Esta seguro que dese eliminar el presupuesto Nro. N049"));
        QCOMPARE(grilla->model()->rowCount(), 299);
        QCOMPARE(grilla->currentIndex().row(), 0);
        QCOMPARE(grilla->currentIndex().data().toString(), QStringLiteral("N000"));
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
