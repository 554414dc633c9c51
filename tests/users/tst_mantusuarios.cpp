// User maintenance: the list, a new user through usuario_insertar, a change
// of password and name through usuario_actualizar, the password kept as
// stored unless retyped, and the window driven through its controls.
#include "comun/catalogoprueba.h"
#include "data/modeloregistros.h"
#include "users/login.h"
#include "users/mantusuarios.h"
#include "users/password.h"
#include "users/ventanas/frmMantUsuarios.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <memory>

class PruebaMantUsuarios : public QObject {
    Q_OBJECT
    std::unique_ptr<MundoCatalogo> mundo;

    QVariant password(const QString& login) {
        return mundo->leer(QStringLiteral("SELECT UsuPassword FROM USUARIOS WHERE UsuLogin=?"),
                           {login});
    }
    static QStringList nombres(const MantUsuarios& m) {
        QStringList n;
        const int c = m.registros()->indiceCampo(QStringLiteral("UsuNombre"));
        for (int f = 1; f <= m.registros()->cantidad(); ++f)
            n << m.registros()->valor(f, c).toString();
        return n;
    }
    // The position of a login in the list.
    static int posicion(const MantUsuarios& m, const QString& login) {
        const int c = m.registros()->indiceCampo(QStringLiteral("UsuLogin"));
        for (int f = 1; f <= m.registros()->cantidad(); ++f)
            if (m.registros()->valor(f, c).toString() == login)
                return f;
        return 0;
    }

private slots:
    void init() {
        mundo = std::make_unique<MundoCatalogo>();
        mundo->datos().usuario(QStringLiteral("ana"), CodificarPassword(QStringLiteral("clave")),
                               QStringLiteral("Ana Pérez"));
        mundo->datos().usuario(QStringLiteral("beto"), QVariant(), QStringLiteral("Beto Sosa"));
    }
    void cleanup() { mundo.reset(); }

    void listaYUsuarioNuevo() {
        MantUsuarios m;
        m.cargar();
        QCOMPARE(m.registros()->origen(),
                 QStringLiteral("select * from usuarios order by UsuNombre ASC"));
        QCOMPARE(nombres(m),
                 (QStringList{QStringLiteral("Administrador"), QStringLiteral("Ana Pérez"),
                              QStringLiteral("Beto Sosa"), QStringLiteral("Supervisor")}));
        QVERIFY(m.seleccionar(1));
        QCOMPARE(m.tag(), QStringLiteral("admin"));
        m.nuevo();
        QCOMPARE(m.estado(), EstadoUsuarios::Nuevo);
        QVERIFY(m.tag().isEmpty());
        // The name is required, in either state; the state stays.
        QVERIFY(!m.guardar({QStringLiteral("carla"), QStringLiteral("x"), QString()}, true));
        QCOMPARE(mundo->textos(),
                 QStringList{QStringLiteral("Debe ingresar el Nombre del usuario")});
        QCOMPARE(m.estado(), EstadoUsuarios::Nuevo);

        QVERIFY(m.guardar(
            {QStringLiteral("carla"), QStringLiteral("abc"), QStringLiteral("Carla Díaz")}, true));
        QCOMPARE(m.estado(), EstadoUsuarios::Navegando);
        QCOMPARE(password(QStringLiteral("carla")).toString(), QStringLiteral("bcd"));
        QVERIFY(nombres(m).contains(QStringLiteral("Carla Díaz")));
        QCOMPARE(m.registros()->origen(),
                 QStringLiteral("SELECT * FROM usuarios ORDER BY UsuNombre ASC"));
        // The new user can log in.
        QCOMPARE(comprobarLogin(QStringLiteral("carla"), QStringLiteral("abc")),
                 ResultadoLogin::Aceptado);
    }

    void unaPasswordSinTocarQuedaComoEstaba() {
        MantUsuarios m;
        m.cargar();
        const auto campos = m.seleccionar(posicion(m, QStringLiteral("ana")));
        QVERIFY(campos);
        QCOMPARE(campos->password, CodificarPassword(QStringLiteral("clave")));
        QVERIFY(m.editar());
        QVERIFY(
            m.guardar({campos->login, campos->password, QStringLiteral("Ana Pérez Gil")}, false));
        QCOMPARE(password(QStringLiteral("ana")).toString(),
                 CodificarPassword(QStringLiteral("clave")));
        QCOMPARE(comprobarLogin(QStringLiteral("ana"), QStringLiteral("clave")),
                 ResultadoLogin::Aceptado);
        // A Null password stays Null.
        QVERIFY(m.seleccionar(posicion(m, QStringLiteral("beto"))));
        QVERIFY(m.editar());
        QVERIFY(m.guardar({QStringLiteral("beto"), QString(), QStringLiteral("Beto")}, false));
        QVERIFY(password(QStringLiteral("beto")).isNull());
        // A retyped one is encoded once.
        QVERIFY(m.seleccionar(posicion(m, QStringLiteral("ana"))));
        QVERIFY(m.editar());
        QVERIFY(m.guardar({QStringLiteral("ana"), QStringLiteral("nueva"), QStringLiteral("Ana")},
                          true));
        QCOMPARE(password(QStringLiteral("ana")).toString(), QStringLiteral("ovfwb"));
        QVERIFY(mundo->textos().isEmpty());
    }

    void unaRecargaNoCambiaAQuienSeGuarda() {
        MantUsuarios m;
        m.cargar();
        QVERIFY(m.seleccionar(posicion(m, QStringLiteral("beto"))));
        QVERIFY(m.editar());
        // "Actualizar" in the edit state: the list is refreshed, the state and
        // the user being changed stay.
        m.actualizar();
        QVERIFY(!m.seleccionar(1));
        QCOMPARE(m.estado(), EstadoUsuarios::Edicion);
        QCOMPARE(m.tag(), QStringLiteral("beto"));
        QVERIFY(m.guardar({QStringLiteral("beto"), QString(), QStringLiteral("Roberto")}, false));
        QCOMPARE(
            mundo->leer(QStringLiteral("SELECT UsuNombre FROM USUARIOS WHERE UsuLogin='admin'"))
                .toString(),
            QStringLiteral("Administrador"));
        QCOMPARE(mundo->leer(QStringLiteral("SELECT UsuNombre FROM USUARIOS WHERE UsuLogin='beto'"))
                     .toString(),
                 QStringLiteral("Roberto"));
    }

    void fallosYNegativas() {
        MantUsuarios m;
        m.cargar();
        m.nuevo();
        // A login that exists: the database's messages, then browsing again.
        QVERIFY(
            !m.guardar({QStringLiteral("ANA"), QStringLiteral("x"), QStringLiteral("Otra")}, true));
        QVERIFY(!mundo->textos().isEmpty());
        QVERIFY(mundo->textos()[0].startsWith(QStringLiteral("Error número: ")));
        QCOMPARE(m.estado(), EstadoUsuarios::Navegando);
        QCOMPARE(mundo->leer(QStringLiteral("SELECT COUNT(*) FROM USUARIOS")).toInt(), 4);

        mundo->mensajes().limpiar();
        m.nuevo();
        QVERIFY(
            !m.guardar({QStringLiteral("  "), QStringLiteral("x"), QStringLiteral("Nadie")}, true));
        QCOMPARE(mundo->textos(),
                 QStringList{QStringLiteral("Debe ingresar el Login del usuario")});
        // A character that cannot be encoded stores nothing.
        mundo->mensajes().limpiar();
        QVERIFY(!m.guardar(
            {QStringLiteral("dora"), QStringLiteral("\u00ff"), QStringLiteral("Dora")}, true));
        QCOMPARE(m.estado(), EstadoUsuarios::Nuevo);
        QCOMPARE(mundo->leer(QStringLiteral("SELECT COUNT(*) FROM USUARIOS")).toInt(), 4);
        m.cancelar();
        QCOMPARE(m.estado(), EstadoUsuarios::Navegando);
    }

    // A character outside Windows-1252 encodes as every other such character
    // does: it is refused where a password is set and never lets anyone in.
    void passwordFueraDeLaPaginaDeCodigos() {
        MantUsuarios m;
        m.cargar();
        m.nuevo();
        QVERIFY(!m.guardar(
            {QStringLiteral("dora"), QStringLiteral("clave\U0001F600"), QStringLiteral("Dora")},
            true));
        QCOMPARE(mundo->textos().size(), 1);
        QVERIFY(mundo->textos().first().startsWith(QStringLiteral("La password tiene caracteres")));
        QCOMPARE(m.estado(), EstadoUsuarios::Nuevo);
        QCOMPARE(mundo->leer(QStringLiteral("SELECT COUNT(*) FROM USUARIOS")).toInt(), 4);
        // Every character of the code page is welcome.
        QVERIFY(m.guardar({QStringLiteral("dora"), QStringLiteral("ñú€Ÿ?"), QStringLiteral("Dora")},
                          true));
        QCOMPARE(comprobarLogin(QStringLiteral("dora"), QStringLiteral("ñú€Ÿ?")),
                 ResultadoLogin::Aceptado);

        // A password stored that way by an earlier version.
        mundo->datos().usuario(QStringLiteral("eva"),
                               CodificarPassword(QStringLiteral("clave\U0001F600")),
                               QStringLiteral("Eva"));
        QCOMPARE(comprobarLogin(QStringLiteral("eva"), QStringLiteral("clave中文")),
                 ResultadoLogin::PasswordIncorrecta);
    }

    void passwordConAsteriscos() {
        frmMantUsuarios v;
        v.setAttribute(Qt::WA_DeleteOnClose, false);
        auto* clave = v.findChild<QLineEdit*>(QStringLiteral("txtFields(2)"));
        clave->setText(QStringLiteral("ab1"));
        QCOMPARE(clave->displayText(), QStringLiteral("***"));
    }

    void laVentanaPorSusControles() {
        frmMantUsuarios v;
        v.setAttribute(Qt::WA_DeleteOnClose, false);
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        QCOMPARE(v.windowTitle(), QStringLiteral("Mantenimiento de Usuarios - Tarvo"));
        auto* login = v.findChild<QLineEdit*>(QStringLiteral("txtFields(1)"));
        auto* clave = v.findChild<QLineEdit*>(QStringLiteral("txtFields(2)"));
        auto* nombre = v.findChild<QLineEdit*>(QStringLiteral("txtFields(3)"));
        auto boton = [&](int i) {
            return v.findChild<QPushButton*>(QStringLiteral("cmdMenu(%1)").arg(i));
        };
        QCOMPARE(boton(0)->toolTip(), QStringLiteral("Ingresar una nueva categoría"));
        QCOMPARE(login->maxLength(), 20);
        QCOMPARE(clave->maxLength(), 10);
        QCOMPARE(clave->echoMode(), QLineEdit::Password);
        QCOMPARE(nombre->maxLength(), 50);
        // Browsing: the first user by name shown, fields locked.
        QCOMPARE(login->text(), QStringLiteral("admin"));
        for (auto* c : {login, clave, nombre})
            QVERIFY(!c->isEnabled());
        QVERIFY(boton(0)->isEnabled() && boton(1)->isEnabled() && boton(3)->isEnabled());
        QVERIFY(!boton(2)->isEnabled() && !boton(4)->isEnabled());

        // Every column but the passwords.
        auto* grilla = v.findChild<QTableView*>(QStringLiteral("dtgLista"));
        QStringList columnas;
        for (int c = 0; c < grilla->model()->columnCount(); ++c)
            if (!grilla->isColumnHidden(c))
                columnas << grilla->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(columnas, (QStringList{QStringLiteral("UsuLogin"), QStringLiteral("UsuNombre")}));

        // Ana, edited without retyping the password.
        grilla->setCurrentIndex(grilla->model()->index(1, 0));
        QCOMPARE(login->text(), QStringLiteral("ana"));
        boton(1)->click();
        QVERIFY(!login->isEnabled());
        QVERIFY(clave->isEnabled() && nombre->isEnabled());
        QVERIFY(!boton(0)->isEnabled() && boton(2)->isEnabled());
        nombre->setText(QStringLiteral("Ana P."));
        boton(2)->click();
        QCOMPARE(password(QStringLiteral("ana")).toString(),
                 CodificarPassword(QStringLiteral("clave")));

        // Retyped: encoded once.
        grilla->setCurrentIndex(grilla->model()->index(1, 0));
        boton(1)->click();
        clave->selectAll();
        QTest::keyClicks(clave, QStringLiteral("otra"));
        boton(2)->click();
        QCOMPARE(password(QStringLiteral("ana")).toString(), QStringLiteral("pusb"));

        // A new user: the three fields open, the password starts empty.
        boton(0)->click();
        QVERIFY(login->isEnabled() && clave->isEnabled());
        QVERIFY(clave->text().isEmpty());
        login->setText(QStringLiteral("eva"));
        QTest::keyClicks(clave, QStringLiteral("e1"));
        nombre->setText(QStringLiteral("Eva"));
        QTest::keyClick(nombre, Qt::Key_Return); // Enter moves on, it saves nothing
        QCOMPARE(mundo->leer(QStringLiteral("SELECT COUNT(*) FROM USUARIOS")).toInt(), 4);
        boton(2)->click();
        QCOMPARE(password(QStringLiteral("eva")).toString(), QStringLiteral("f2"));
        QVERIFY(!login->isEnabled());
        QVERIFY(mundo->textos().isEmpty());
    }
};

QTEST_MAIN(PruebaMantUsuarios)
#include "tst_mantusuarios.moc"
