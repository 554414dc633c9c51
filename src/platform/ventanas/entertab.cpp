#include "platform/ventanas/entertab.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <QWidget>

FiltroEnterTab::FiltroEnterTab(QWidget* ventana) : QObject(ventana) {
    ventana->installEventFilter(this);
    for (QWidget* hijo : ventana->findChildren<QWidget*>())
        hijo->installEventFilter(this);
}

void FiltroEnterTab::alPulsarEnter(QWidget* control, std::function<void()> accion) {
    control->installEventFilter(this);
    acciones_.insert(control, std::move(accion));
    connect(control, &QObject::destroyed, this, [this, control] { acciones_.remove(control); });
}

bool FiltroEnterTab::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() != QEvent::KeyPress)
        return false;
    const auto* tecla = static_cast<QKeyEvent*>(evento);
    if (tecla->key() != Qt::Key_Return && tecla->key() != Qt::Key_Enter)
        return false;
    if (tecla->modifiers() & ~Qt::KeypadModifier)
        return false;
    auto* control = qobject_cast<QWidget*>(objeto);
    // Buttons keep Enter (it presses them); multi-line boxes keep their new lines.
    if (!control || qobject_cast<QAbstractButton*>(control) || qobject_cast<QTextEdit*>(control) ||
        qobject_cast<QPlainTextEdit*>(control))
        return false;
    QPointer<QWidget> vigilado(control);
    if (const std::function<void()> accion = acciones_.value(objeto))
        accion();
    // The action may have opened a window that closed the control.
    if (!vigilado)
        return true;
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(control, &tab);
    return true;
}
