#include "platform/ventanas/fabricas.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

template <typename T> T* nombrado(T* objeto, QAnyStringView nombre) {
    objeto->setObjectName(nombre);
    return objeto;
}

} // namespace

QLabel* etiqueta(QWidget* padre, QAnyStringView nombre, const QString& texto, QWidget* companero) {
    auto* l = nombrado(new QLabel(texto, padre), nombre);
    l->setBuddy(companero);
    return l;
}

QLineEdit* caja(QWidget* padre, QAnyStringView nombre, const QString& texto) {
    return nombrado(new QLineEdit(texto, padre), nombre);
}

void ocultarConAsteriscos(QLineEdit* caja) {
    caja->setEchoMode(QLineEdit::Password);
    // The style decides the mask character; 42 is "*".
    caja->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
}

QPushButton* boton(QWidget* padre, QAnyStringView nombre, const QString& texto,
                   const QString& ayuda) {
    auto* b = nombrado(new QPushButton(texto, padre), nombre);
    b->setToolTip(ayuda);
    b->setAutoDefault(false);
    return b;
}

QMenu* menu(QMenuBar* barra, QAnyStringView nombre, const QString& texto) {
    return nombrado(barra->addMenu(texto), nombre);
}

QMenu* menu(QMenu* padre, QAnyStringView nombre, const QString& texto) {
    return nombrado(padre->addMenu(texto), nombre);
}

QAction* accion(QMenu* menu, QAnyStringView nombre, const QString& texto) {
    return nombrado(menu->addAction(texto), nombre);
}
