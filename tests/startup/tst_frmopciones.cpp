// The options dialog, driven through its controls.
#include "comun/dialogos.h"
#include "comun/entornoprueba.h"
#include "comun/mensajesguion.h"
#include "comun/selectoresguion.h"
#include "data/conexionsqlite.h"
#include "data/modconexion.h"
#include "platform/salida.h"
#include "startup/cqueryreg.h"
#include "startup/opciones.h"
#include "startup/valoresopciones.h"
#include "startup/ventanas/frmAcercaDe.h"
#include "startup/ventanas/frmOpciones.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>

#include <memory>

namespace {

QString leer(const QString& nombre) {
    return cQueryReg().GetReg(claveTarvo(), nombre, cQueryReg::HKEY_CURRENT_USER, true).toString();
}

struct ProgramaTerminado {};

} // namespace

class PruebaFrmOpciones : public QObject {
    Q_OBJECT
    std::unique_ptr<EntornoPrueba> entorno;
    std::unique_ptr<MensajesGuion> mensajes;
    std::unique_ptr<SelectoresGuion> elegidos;
    QString base;
    QString carpeta;

    template <typename T> static T* control(QWidget& ventana, const char* nombre) {
        T* c = ventana.findChild<T*>(QString::fromLatin1(nombre));
        if (!c)
            qFatal("falta el control %s", nombre);
        return c;
    }
    static void escribir(QWidget& v, const char* nombre, const QString& texto) {
        control<QLineEdit>(v, nombre)->setText(texto);
    }
    static void pulsar(QWidget& v, const char* nombre) {
        QTest::mouseClick(control<QPushButton>(v, nombre), Qt::LeftButton);
    }
    // What a screen reader announces for the control.
    static QString nombreLeido(QWidget* w) {
        return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
    }

private slots:
    void init() {
        entorno = std::make_unique<EntornoPrueba>();
        mensajes = std::make_unique<MensajesGuion>();
        elegidos = std::make_unique<SelectoresGuion>();
        base = entorno->copiarBase();
        carpeta = entorno->ruta(QStringLiteral("presupuestos"));
        QDir().mkpath(carpeta);
        entorno->ajustar(QStringLiteral("db_path"), base);
        entorno->ajustar(QStringLiteral("doc_path"), carpeta);
        entorno->ajustar(QStringLiteral("db_backup"), QString());
        entorno->ajustar(QStringLiteral("iva"), QStringLiteral("22"));
        entorno->ajustar(QStringLiteral("aviso_dias"), QStringLiteral("5"));
    }
    void cleanup() {
        if (conexion())
            CerrarConexion();
        instalarTerminador({});
        establecerAccionFalloConexion({});
        elegidos.reset();
        mensajes.reset();
        entorno.reset();
    }

    void cargaYCasillaDeRespaldo() {
        frmOpciones f;
        QCOMPARE(f.windowTitle(), QStringLiteral("Opciones"));
        QCOMPARE(control<QLineEdit>(f, "txtUbicacion")->text(), base);
        QCOMPARE(control<QLineEdit>(f, "txtUbicacionPresupuestos")->text(), carpeta);
        QCOMPARE(control<QLineEdit>(f, "txtIVA")->text(), QStringLiteral("22"));
        QCOMPARE(control<QLineEdit>(f, "txtIVA")->maxLength(), 5);
        QCOMPARE(control<QLineEdit>(f, "txtAvisoDias")->text(), QStringLiteral("5"));
        auto* chk = control<QCheckBox>(f, "chkRespaldoAutomatico");
        auto* respaldo = control<QLineEdit>(f, "txtUbicacionRespaldo");
        auto* examinar = control<QPushButton>(f, "cmdExaminarRespaldo");
        QVERIFY(!chk->isChecked());
        QVERIFY(!respaldo->isEnabled() && !examinar->isEnabled());
        chk->setChecked(true);
        QVERIFY(respaldo->isEnabled() && examinar->isEnabled());
        respaldo->setText(QStringLiteral("/respaldos"));
        chk->setChecked(false);
        QVERIFY(respaldo->text().isEmpty());
        QVERIFY(!respaldo->isEnabled());
    }

    // Every label leads to the box it names (Alt and its letter, and a screen
    // reader announcing the box), shows its caption as written, and no two
    // controls share a letter; every box and button has a name to announce.
    void etiquetasNombranSuCaja() {
        frmOpciones f;
        const struct {
            const char16_t* etiqueta;
            const char16_t* texto;
            const char* caja;
        } esperadas[] = {
            {u"lblUbicacion", u"Ubicación de la base de datos:", "txtUbicacion"},
            {u"lblUbicacionPresupuestos", u"Ubicación de los presupuestos:",
             "txtUbicacionPresupuestos"},
            {u"lblUbicacionLogo", u"Ubicación del logo:", "txtUbicacionLogo"},
            {u"lblNombreEmpresa", u"Nombre de la empresa:", "txtNombreEmpresa"},
            {u"lblIVA", u"I.V.A.: ", "txtIVA"},
            {u"lblPorcentaje", u"%", "txtIVA"},
            {u"lblAvisar", u"Avisar ", "txtAvisoDias"},
            {u"lblDiasAntes", u"días antes del vencimiento del presupuesto", "txtAvisoDias"},
        };
        QCOMPARE(f.findChildren<QLabel*>().size(), qsizetype(std::size(esperadas)));
        QString letras = control<QCheckBox>(f, "chkRespaldoAutomatico")->text();
        for (const auto& e : esperadas) {
            auto* l = f.findChild<QLabel*>(QString::fromUtf16(e.etiqueta));
            QVERIFY(l);
            QCOMPARE(QString(l->text()).remove(u'&'), QString::fromUtf16(e.texto));
            QCOMPARE(l->buddy(), control<QLineEdit>(f, e.caja));
            letras += l->text();
        }
        QStringList atajos;
        for (qsizetype i = letras.indexOf(u'&'); i >= 0; i = letras.indexOf(u'&', i + 1))
            atajos << letras.mid(i + 1, 1).toLower();
        QCOMPARE(atajos.size(), 7);
        atajos.removeDuplicates();
        QCOMPARE(atajos.size(), 7);

        QCOMPARE(nombreLeido(control<QLineEdit>(f, "txtIVA")), QStringLiteral("I.V.A.: "));
        for (QWidget* w : f.findChildren<QWidget*>())
            if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPushButton*>(w))
                QVERIFY2(!nombreLeido(w).isEmpty() && nombreLeido(w) != u"...",
                         qPrintable(w->objectName()));
    }

    void respaldoGuardadoMarcaLaCasilla() {
        entorno->ajustar(QStringLiteral("db_backup"), QStringLiteral("/respaldos"));
        frmOpciones f;
        QVERIFY(control<QCheckBox>(f, "chkRespaldoAutomatico")->isChecked());
        QCOMPARE(control<QLineEdit>(f, "txtUbicacionRespaldo")->text(),
                 QStringLiteral("/respaldos"));
        QVERIFY(control<QLineEdit>(f, "txtUbicacionRespaldo")->isEnabled());
    }

    void aceptarEscribeTodoYLaTabla() {
        ConexionSqlite directa(base);
        CrearDSN(QStringLiteral("TARVO_PRUEBA"), base);
        AbrirConexion(QStringLiteral("TARVO_PRUEBA"), QStringLiteral("pelmor"));
        frmOpciones f;
        f.reiniciar = true;
        control<QCheckBox>(f, "chkRespaldoAutomatico")->setChecked(true);
        escribir(f, "txtUbicacionRespaldo", QStringLiteral("  /respaldos  "));
        escribir(f, "txtNombreEmpresa", QStringLiteral(" Acme S.A. "));
        escribir(f, "txtIVA", QStringLiteral("10.5"));
        escribir(f, "txtAvisoDias", QStringLiteral("12"));
        pulsar(f, "cmdOK");
        QCOMPARE(f.result(), int(QDialog::Accepted));
        QCOMPARE(leer(QStringLiteral("db_backup")), QStringLiteral("/respaldos"));
        QCOMPARE(leer(QStringLiteral("empresa")), QStringLiteral("Acme S.A."));
        QCOMPARE(leer(QStringLiteral("iva")), QStringLiteral("10.5"));
        QCOMPARE(leer(QStringLiteral("aviso_dias")), QStringLiteral("12"));
        const auto r = directa.ejecutar(QStringLiteral("SELECT OpcAvisoVencimiento FROM OPCIONES"));
        QCOMPARE(r.filas->valor(0, 0).toInt(), 12);
        // Only the restart message.
        QCOMPARE(mensajes->textos(),
                 QStringList{QStringLiteral("Debe salir y volver a ingresar al programa para "
                                            "que los cambios surtan efecto.")});
        QCOMPARE(mensajes->mostrados().first().titulo,
                 QStringLiteral("Cambios en la configuración"));
    }

    // The server's values go to the settings and its password only to
    // ~/.pgpass (escaped, mode 0600, one line per server, replaced on a new
    // password); a missing database is refused without writing; going back
    // to the file is remembered.
    void servidorYContrasenaSoloEnPgpass() {
        const QString pgpass = entorno->ruta(QStringLiteral(".pgpass"));
        QFile otra(pgpass);
        QVERIFY(otra.open(QIODevice::WriteOnly));
        otra.write("otro:5432:*:luis:x\n");
        otra.close();
        ValoresOpciones v = leerValoresOpciones();
        v.servidor = true;
        v.nombreServidor = QStringLiteral(" db.local ");
        v.baseDatos = QStringLiteral("tárvo:1");
        v.usuario = QStringLiteral("ana");
        v.contrasena = QStringLiteral("se:cr\\eto");
        aceptarOpciones(v, false);
        v.contrasena = QStringLiteral("nueva");
        aceptarOpciones(v, false);
        QVERIFY(mensajes->mostrados().isEmpty());
        QCOMPARE(leer(QStringLiteral("db_motor")), QStringLiteral("servidor"));
        QCOMPARE(leer(QStringLiteral("db_servidor")), QStringLiteral("db.local"));
        QCOMPARE(leer(QStringLiteral("db_basedatos")), QStringLiteral("tárvo:1"));
        QCOMPARE(leer(QStringLiteral("db_path")), base);
        QVERIFY(otra.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(otra.readAll()),
                 QStringLiteral("otro:5432:*:luis:x\ndb.local:5432:tárvo\\:1:ana:nueva\n"));
        QVERIFY(!(otra.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther |
                                        QFileDevice::WriteGroup | QFileDevice::WriteOther)));
        for (QDirIterator i(entorno->home(), QDir::Files | QDir::Hidden,
                            QDirIterator::Subdirectories);
             i.hasNext();) {
            QFile f(i.next());
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY2(!f.readAll().contains("cr\\eto"), qPrintable(f.fileName()));
        }

        frmOpciones f;
        QVERIFY(control<QRadioButton>(f, "optServidor")->isChecked());
        QVERIFY(!control<QLineEdit>(f, "txtUbicacion")->isEnabled());

        v.baseDatos.clear();
        aceptarOpciones(v, false);
        QCOMPARE(mensajes->textos(),
                 QStringList{QStringLiteral(
                     "Escriba la base de datos y el usuario del servidor PostgreSQL.")});
        QCOMPARE(leer(QStringLiteral("db_basedatos")), QStringLiteral("tárvo:1"));
        v.servidor = false;
        aceptarOpciones(v, false);
        QCOMPARE(leer(QStringLiteral("db_motor")), QStringLiteral("archivo"));
    }

    void sinReiniciarNoHayMensaje() {
        frmOpciones f;
        pulsar(f, "cmdOK");
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    void rutasMalasEnOrdenYSoloSaltanSuEscritura() {
        frmOpciones f;
        escribir(f, "txtUbicacion", QStringLiteral("bd2000.mdb"));
        escribir(f, "txtUbicacionPresupuestos", entorno->ruta(QStringLiteral("no-existe")));
        escribir(f, "txtNombreEmpresa", QStringLiteral("Otra"));
        pulsar(f, "cmdOK");
        QCOMPARE(mensajes->mostrados().size(), 2);
        QVERIFY(mensajes->textos()[0].startsWith(
            QStringLiteral("La ubicación de la base de datos no es correcta. \nDebe comenzar")));
        QCOMPARE(mensajes->textos()[1],
                 QStringLiteral("La ubicación de los presupuestos no es correcta. \nVerifique "
                                "que la carpeta existe."));
        for (const auto& m : mensajes->mostrados()) {
            QCOMPARE(m.titulo, QStringLiteral("Verifique"));
            QCOMPARE(m.icono, Icono::Informacion);
        }
        QCOMPARE(leer(QStringLiteral("db_path")), base);
        QCOMPARE(leer(QStringLiteral("doc_path")), carpeta);
        QCOMPARE(leer(QStringLiteral("empresa")), QStringLiteral("Otra"));
        QCOMPARE(f.result(), int(QDialog::Accepted)); // closes all the same
    }

    void archivoInexistenteYCarpetaRelativa() {
        frmOpciones f;
        escribir(f, "txtUbicacion", entorno->ruta(QStringLiteral("falta.mdb")));
        escribir(f, "txtUbicacionPresupuestos", QStringLiteral("presupuestos"));
        pulsar(f, "cmdOK");
        QCOMPARE(mensajes->textos(),
                 (QStringList{QStringLiteral("La ubicación de la base de datos no es correcta. "
                                             "\nVerifique que el archivo existe."),
                              QStringLiteral("La ubicación de la carpeta de presupuestos no es "
                                             "correcta. \nDebe comenzar con la barra de la "
                                             "carpeta raíz (/). Por ejemplo: "
                                             "/home/carpeta_presupuestos")}));
    }

    // A line break in a folder name would break the data source file: every
    // path with a control character is refused, and only its own write skipped.
    void rutasConCaracteresDeControlSeRechazan() {
        const QString raro = entorno->ruta(QStringLiteral("con\nsalto"));
        QVERIFY(QDir().mkpath(raro));
        QVERIFY(QFile::copy(base, raro + QStringLiteral("/bd2000.mdb")));
        ValoresOpciones v = leerValoresOpciones();
        v.ubicacion = raro + QStringLiteral("/bd2000.mdb");
        v.ubicacionPresupuestos = raro;
        v.respaldoAutomatico = true;
        v.ubicacionRespaldo = entorno->ruta(QStringLiteral("copias\tdiarias"));
        v.nombreEmpresa = QStringLiteral("Otra");
        aceptarOpciones(v, false);
        QCOMPARE(mensajes->mostrados().size(), 3);
        const QStringList que{QStringLiteral("de la base de datos"),
                              QStringLiteral("de los presupuestos"),
                              QStringLiteral("de las copias de seguridad")};
        for (int i = 0; i < 3; ++i) {
            const auto& m = mensajes->mostrados()[i];
            QCOMPARE(m.titulo, QStringLiteral("Verifique"));
            QVERIFY2(m.texto.startsWith(QStringLiteral("La ubicación ") + que[i]) &&
                         m.texto.contains(QStringLiteral("caracteres de control")),
                     qPrintable(m.texto));
        }
        QCOMPARE(leer(QStringLiteral("db_path")), base);
        QCOMPARE(leer(QStringLiteral("doc_path")), carpeta);
        QCOMPARE(leer(QStringLiteral("db_backup")), QString());
        QCOMPARE(leer(QStringLiteral("empresa")), QStringLiteral("Otra"));
    }

    // Long paths are taken as they are.
    void rutasLargasSeAceptan() {
        QString largo = entorno->home();
        for (int i = 0; i < 12; ++i)
            largo += u'/' + QString(200, QChar(u'a' + i));
        QVERIFY(QDir().mkpath(largo));
        QVERIFY(QFile::copy(base, largo + QStringLiteral("/bd2000.mdb")));
        ValoresOpciones v = leerValoresOpciones();
        v.ubicacion = largo + QStringLiteral("/bd2000.mdb");
        v.ubicacionPresupuestos = largo;
        v.respaldoAutomatico = true;
        v.ubicacionRespaldo = largo;
        aceptarOpciones(v, false);
        QVERIFY(mensajes->mostrados().isEmpty());
        QCOMPARE(leer(QStringLiteral("db_path")), v.ubicacion);
        QCOMPARE(leer(QStringLiteral("doc_path")), largo);
        QCOMPARE(leer(QStringLiteral("db_backup")), largo);
    }

    void ivaConLetrasSeRechazaYDiasConLetrasSonCero() {
        ConexionSqlite directa(base);
        CrearDSN(QStringLiteral("TARVO_PRUEBA"), base);
        AbrirConexion(QStringLiteral("TARVO_PRUEBA"), QStringLiteral("pelmor"));
        QVERIFY(directa.ejecutar(QStringLiteral("UPDATE OPCIONES SET OpcAvisoVencimiento=9")).ok);
        frmOpciones f;
        escribir(f, "txtIVA", QStringLiteral("abc"));
        escribir(f, "txtAvisoDias", QStringLiteral("abc"));
        pulsar(f, "cmdOK");
        QCOMPARE(mensajes->mostrados().size(), 1);
        QVERIFY(mensajes->textos().first().startsWith(QStringLiteral("El I.V.A. no es correcto.")));
        QCOMPARE(leer(QStringLiteral("iva")), QStringLiteral("22"));
        QCOMPARE(leer(QStringLiteral("aviso_dias")), QStringLiteral("0"));
        const auto r = directa.ejecutar(QStringLiteral("SELECT OpcAvisoVencimiento FROM OPCIONES"));
        QCOMPARE(r.filas->valor(0, 0).toInt(), 0);
    }

    void cancelarNoEscribeNada() {
        QFile ajustes(entorno->ruta(QStringLiteral(".config/Varnel Software/Tarvo.conf")));
        QVERIFY(ajustes.open(QIODevice::ReadOnly));
        const QByteArray antes = ajustes.readAll();
        ajustes.close();
        frmOpciones f;
        control<QCheckBox>(f, "chkRespaldoAutomatico")->setChecked(true);
        escribir(f, "txtUbicacionRespaldo", QStringLiteral("/respaldos"));
        escribir(f, "txtNombreEmpresa", QStringLiteral("Cambiada"));
        pulsar(f, "cmdCancel");
        QCOMPARE(f.result(), int(QDialog::Rejected));
        QVERIFY(ajustes.open(QIODevice::ReadOnly));
        QCOMPARE(ajustes.readAll(), antes);
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    void escapeCancelaYEnterAvanza() {
        frmOpciones f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        auto* empresa = control<QLineEdit>(f, "txtNombreEmpresa");
        empresa->setFocus();
        QTest::keyClick(empresa, Qt::Key_Return);
        QVERIFY(f.isVisible()); // Enter did not press "Aceptar"
        QVERIFY(!empresa->hasFocus());
        QTest::keyClick(&f, Qt::Key_Escape);
        QCOMPARE(f.result(), int(QDialog::Rejected));
        QVERIFY(mensajes->mostrados().isEmpty());
    }

    void examinarConSusTitulosYFiltros() {
        frmOpciones f;
        elegidos->responder(QStringLiteral("/datos/bd2000.mdb"));
        pulsar(f, "cmdExaminar");
        QCOMPARE(control<QLineEdit>(f, "txtUbicacion")->text(),
                 QStringLiteral("/datos/bd2000.mdb"));
        // Cancelled: the chooser's last file name.
        pulsar(f, "cmdExaminarLogo");
        QCOMPARE(control<QLineEdit>(f, "txtUbicacionLogo")->text(),
                 QStringLiteral("/datos/bd2000.mdb"));
        pulsar(f, "cmdExaminarPresupuestos");
        QCOMPARE(control<QLineEdit>(f, "txtUbicacionPresupuestos")->text(), QString());
        control<QCheckBox>(f, "chkRespaldoAutomatico")->setChecked(true);
        elegidos->responder(QStringLiteral("/respaldos"));
        pulsar(f, "cmdExaminarRespaldo");
        QCOMPARE(control<QLineEdit>(f, "txtUbicacionRespaldo")->text(),
                 QStringLiteral("/respaldos"));
        QCOMPARE(elegidos->titulos(),
                 (QStringList{QStringLiteral("Seleccione la ubicación de la Base de Datos"),
                              QStringLiteral("Seleccione la ubicación del logo de su empresa"),
                              QStringLiteral("Seleccione la carpeta destino para los presupuestos"),
                              QStringLiteral("Seleccione la carpeta destino")}));
        QCOMPARE(elegidos->filtros(),
                 (QStringList{QStringLiteral("Bases de Datos de Microsoft Access (*.mdb)|*.mdb"),
                              QStringLiteral("Archivos de imágen (*.gif;*.jpg;*.png;*.bmp)|*.gif;"
                                             "*.jpg;*.png;*.bmp")}));
        QCOMPARE(filtroQt(elegidos->filtros()[1]),
                 QStringLiteral("Archivos de imágen (*.gif *.jpg *.png *.bmp)"));
    }

    void conexionFallidaMuestraOpcionesYTermina() {
        bool opcionesMostradas = false;
        establecerAccionFalloConexion([&] {
            alAparecer<frmOpciones>([](frmOpciones& f) {
                QVERIFY(f.reiniciar);
                f.cancelar();
            });
            frmOpciones f;
            f.reiniciar = true;
            f.exec();
            opcionesMostradas = true;
        });
        instalarTerminador([](int) { throw ProgramaTerminado(); });
        QVERIFY_THROWS_EXCEPTION(ProgramaTerminado,
                                 AbrirConexion(QStringLiteral("NO_EXISTE"), QStringLiteral("x")));
        QVERIFY(opcionesMostradas);
        QCOMPARE(mensajes->textos().size(), 1);
        QCOMPARE(mensajes->textos().first().section(u'\n', 0, 0),
                 QStringLiteral("No tiene suficientes permisos en la ubicación actual de la base "
                                "de datos."));
    }

    void acercaDe() {
        frmAcercaDe f;
        QCOMPARE(f.windowTitle(), QStringLiteral("Acerca de Tarvo"));
        QCOMPARE(f.findChild<QLabel*>(QStringLiteral("lblTitle"))->text(), QStringLiteral("Tarvo"));
        QCOMPARE(f.findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("Versión 2.0.0"));
        QCOMPARE(f.findChild<QLabel*>(QStringLiteral("lblDescription"))->text(),
                 QStringLiteral("Sistema de gestión de cotizaciones y presupuestos"));
        QCOMPARE(f.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->text(),
                 QStringLiteral("&System Info..."));
    }

    void informacionDelSistema() {
        // Neither value: the message.
        frmAcercaDe f;
        f.StartSysInfo();
        QCOMPARE(mensajes->textos(),
                 QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
        // Only the second value, without the tool in that folder: the message again.
        QSettings maquina(QSettings::NativeFormat, QSettings::SystemScope,
                          QStringLiteral("Microsoft"), QStringLiteral("Shared Tools Location"));
        maquina.setValue(QStringLiteral("MSINFO"), entorno->home());
        maquina.sync();
        QString valor;
        QVERIFY(GetKeyValue(cQueryReg::HKEY_LOCAL_MACHINE,
                            QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                            QStringLiteral("MSINFO"), valor));
        QCOMPARE(valor, entorno->home());
        f.StartSysInfo();
        QCOMPARE(mensajes->mostrados().size(), 2);
        // The first value names a program that starts: no message.
        QSettings primera(QSettings::NativeFormat, QSettings::SystemScope,
                          QStringLiteral("Microsoft"), QStringLiteral("Shared Tools"));
        primera.setValue(QStringLiteral("MSINFO/PATH"), QStringLiteral("/bin/true"));
        primera.sync();
        f.StartSysInfo();
        QCOMPARE(mensajes->mostrados().size(), 2);
        QVERIFY(!GetKeyValue(cQueryReg::HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Nada"),
                             QStringLiteral("x"), valor));
        QVERIFY(valor.isEmpty());
    }
};

QTEST_MAIN(PruebaFrmOpciones)
#include "tst_frmopciones.moc"
