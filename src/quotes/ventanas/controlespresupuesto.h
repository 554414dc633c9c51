#pragma once

#include <QList>

#include <array>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QTextEdit;
class QTreeWidget;
class QWidget;

// The controls of the quote editor, each named as the system names it.
struct ControlesPresupuesto {
    std::array<QPushButton*, 9> cmdMenu{};
    // Beside "Enviar": the document sent as PDF; enabled with "Enviar".
    QPushButton* cmdEnviarPDF = nullptr;
    std::array<QLineEdit*, 2> txtFields{};
    QDateEdit* dtpFecha = nullptr;
    QLineEdit* txtCliente = nullptr;
    QPushButton* cmdBuscarProveedor = nullptr;
    QPushButton* cmdNuevoProveedor = nullptr;
    QComboBox* dtcLugar = nullptr;
    QComboBox* dtcSaludo = nullptr;
    QTabWidget* sstPresupuesto = nullptr;
    std::array<QTextEdit*, 3> rtbDescripcion{};
    QLabel* lblTituloProductos = nullptr; // the product grid's caption
    QTableView* dtgProductos = nullptr;
    QLineEdit* txtCodigoBarraAgregar = nullptr;
    QPushButton* cmdEditarProducto = nullptr;
    QPushButton* cmdBusquedaAvanzada = nullptr;
    QTreeWidget* lvPrePro = nullptr;
    std::array<QComboBox*, 3> dtcConcepto{};
    std::array<QLineEdit*, 3> txtImporte{};
    std::array<QComboBox*, 3> dtcMoneda{};
    QTextEdit* rtbDespedida = nullptr;
    QTextEdit* rtbFirma = nullptr;
    QCheckBox* chkVigencia = nullptr;
    QLineEdit* txtTextoVigencia = nullptr;
    QLineEdit* txtDiasVigencia = nullptr;

    // The eight suggestion combos, in the order of their lists: place,
    // greeting, concepts 1 to 3, currencies 1 to 3.
    std::array<QComboBox*, 8> combos() const;
    // The input fields that the modes enable and disable.
    QList<QWidget*> campos() const;
};

// Creates the controls in `ventana` and lays them out: the command bar, the
// header and the four pages.
ControlesPresupuesto construirControles(QWidget* ventana);
