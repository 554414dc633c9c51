#include "users/ventanas/frmMantUsuarios.h"

#include "catalog/ventanas/formulario.h"
#include "data/modeloregistros.h"
#include "platform/ventanas/entertab.h"
#include "platform/ventanas/fabricas.h"
#include "platform/ventanas/unica.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

frmMantUsuarios::frmMantUsuarios(QWidget* padre)
    : QDialog(padre), usuarios_(new MantUsuarios(this)) {
    setObjectName(QStringLiteral("frmMantUsuarios"));
    setWindowTitle(QStringLiteral("Mantenimiento de Usuarios - Tarvo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowMinMaxButtonsHint);

    txtFields_[1] = formulario::crearCampo(this, 1, 20);
    txtFields_[2] = formulario::crearCampo(this, 2, 10);
    ocultarConAsteriscos(txtFields_[2]);
    txtFields_[3] = formulario::crearCampo(this, 3, 50);
    auto* controles = new QGridLayout;
    const QString etiquetas[] = {{},
                                 QStringLiteral("Login:"),
                                 QStringLiteral("Password:"),
                                 QStringLiteral("Nombre y Apellido:")};
    for (int i = 1; i <= 3; ++i) {
        controles->addWidget(etiqueta(this, {}, etiquetas[i], txtFields_[size_t(i)]), i - 1, 0);
        controles->addWidget(txtFields_[size_t(i)], i - 1, 1);
    }
    controles->setColumnStretch(1, 1);

    auto* barra = new QVBoxLayout;
    cmdMenu_ = formulario::crearComandos(this,
                                         {{u"Nuevo", u"Ingresar una nueva categoría"},
                                          {u"Editar", u"Modificar la categoría seleccionada"},
                                          {u"Guardar", u"Guardar los cambios"},
                                          {u"Actualizar", u"Muestra todos los datos"},
                                          {u"Cancelar", u"Cancela la operación"},
                                          {u"Atras", u"Volver al menú principal"}},
                                         barra);
    barra->addStretch();
    for (size_t i = 0; i < cmdMenu_.size(); ++i)
        connect(cmdMenu_[i], &QPushButton::clicked, this, [this, i] { cmdMenu_Click(int(i)); });

    dtgLista_ = formulario::crearGrilla(this);
    dtgLista_->setAccessibleName(QStringLiteral("Usuarios"));
    dtgLista_->setModel(usuarios_->modelo());
    connect(dtgLista_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& actual) {
                if (actual.isValid())
                    mostrarFila(actual.row() + 1);
            });
    connect(usuarios_, &MantUsuarios::listaRecargada, this, [this] {
        // The list shows every column but the passwords: their encoding is
        // a shift of one character, as good as the password itself.
        const Registros& filas = usuarios_->modelo()->registros();
        for (int c = 0; c < usuarios_->modelo()->columnCount(); ++c)
            dtgLista_->setColumnHidden(c,
                                       filas.nombreCampo(c).compare(QStringLiteral("UsuPassword"),
                                                                    Qt::CaseInsensitive) == 0);
        if (usuarios_->modelo()->rowCount() > 0) {
            dtgLista_->setCurrentIndex({});
            dtgLista_->setCurrentIndex(usuarios_->modelo()->index(0, 0));
        }
    });
    connect(usuarios_, &MantUsuarios::estadoCambiado, this, &frmMantUsuarios::aplicarEstado);
    connect(txtFields_[2], &QLineEdit::textEdited, this, [this] { passwordEscrita_ = true; });

    auto* izquierda = new QVBoxLayout;
    izquierda->addLayout(controles);
    izquierda->addWidget(dtgLista_, 1);
    auto* todo = new QHBoxLayout(this);
    todo->addLayout(izquierda, 1);
    todo->addLayout(barra);
    resize(620, 420);

    new FiltroEnterTab(this);
    aplicarEstado(EstadoUsuarios::Navegando);
    usuarios_->cargar();
}

frmMantUsuarios& frmMantUsuarios::mostrar() {
    frmMantUsuarios& ventana = ventanaUnica<frmMantUsuarios>();
    ventana.show();
    ventana.raise();
    ventana.activateWindow();
    return ventana;
}

void frmMantUsuarios::mostrarFila(int posicion) {
    const auto campos = usuarios_->seleccionar(posicion);
    if (!campos)
        return;
    txtFields_[1]->setText(campos->login);
    txtFields_[2]->setText(campos->password);
    txtFields_[3]->setText(campos->nombre);
    passwordEscrita_ = false;
}

void frmMantUsuarios::aplicarEstado(EstadoUsuarios estado) {
    const bool navegando = estado == EstadoUsuarios::Navegando;
    txtFields_[1]->setEnabled(estado == EstadoUsuarios::Nuevo);
    txtFields_[2]->setEnabled(!navegando);
    txtFields_[3]->setEnabled(!navegando);
    cmdMenu_[0]->setEnabled(navegando);
    cmdMenu_[1]->setEnabled(navegando);
    cmdMenu_[2]->setEnabled(!navegando);
    cmdMenu_[4]->setEnabled(!navegando);
}

void frmMantUsuarios::cmdMenu_Click(int indice) {
    switch (indice) {
    case 0:
        usuarios_->nuevo();
        // The field held another user's stored password: a new user's is typed.
        txtFields_[2]->clear();
        passwordEscrita_ = true;
        break;
    case 1:
        usuarios_->editar();
        break;
    case 2:
        usuarios_->guardar({txtFields_[1]->text(), txtFields_[2]->text(), txtFields_[3]->text()},
                           passwordEscrita_);
        break;
    case 3:
        usuarios_->actualizar();
        break;
    case 4:
        usuarios_->cancelar();
        break;
    case 5:
        close();
        break;
    default:
        break;
    }
}

void frmMantUsuarios::keyPressEvent(QKeyEvent* evento) {
    if (evento->key() == Qt::Key_Escape && evento->modifiers() == Qt::NoModifier) {
        evento->accept();
        return;
    }
    QDialog::keyPressEvent(evento);
}

void frmMantUsuarios::done(int resultado) {
    usuarios_->cerrar();
    QDialog::done(resultado);
}
