#pragma once

#include <QString>

#include <vector>

class QBoxLayout;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;

// The pieces every maintenance window is made of, built with the shared
// widget factories.
namespace formulario {

struct TextoBoton {
    const char16_t* texto;
    const char16_t* ayuda;
};

// The command bar: buttons "cmdMenu(i)" with their captions and tool tips,
// added to `destino` in index order.
std::vector<QPushButton*> crearComandos(QWidget* ventana, const std::vector<TextoBoton>& textos,
                                        QBoxLayout* destino);
// The list grid "dtgLista": whole rows selected, never edited in place.
QTableView* crearGrilla(QWidget* ventana);
// The text box "txtFields(i)" with its maximum number of characters (0: none).
QLineEdit* crearCampo(QWidget* ventana, int indice, int maximo = 0);
// A key assigned by the database: shaded and never enabled.
void sombrearClave(QLineEdit* campo);

} // namespace formulario
