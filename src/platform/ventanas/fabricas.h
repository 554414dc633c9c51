#pragma once

#include <QAnyStringView>
#include <QString>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QWidget;

// The small factories every window builds its controls with. Each control
// carries its system name as its objectName.

// A label. When it names a control, `companero` is that control (its buddy):
// Alt and the letter after "&" move the focus there, and screen readers
// announce the control by the label's text.
QLabel* etiqueta(QWidget* padre, QAnyStringView nombre, const QString& texto,
                 QWidget* companero = nullptr);
// A one-line text box.
QLineEdit* caja(QWidget* padre, QAnyStringView nombre, const QString& texto = {});
// Makes a text box a password box: what is typed shows as "*".
void ocultarConAsteriscos(QLineEdit* caja);
// A push button with its tool tip. Enter does not press it unless the window
// makes it the default button.
QPushButton* boton(QWidget* padre, QAnyStringView nombre, const QString& texto,
                   const QString& ayuda = {});
// A menu of the menu bar, and a submenu of a menu.
QMenu* menu(QMenuBar* barra, QAnyStringView nombre, const QString& texto);
QMenu* menu(QMenu* padre, QAnyStringView nombre, const QString& texto);
// A menu item.
QAction* accion(QMenu* menu, QAnyStringView nombre, const QString& texto);
