#include "catalog/ventanas/formulario.h"

#include "platform/ventanas/fabricas.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTableView>

namespace formulario {

std::vector<QPushButton*> crearComandos(QWidget* ventana, const std::vector<TextoBoton>& textos,
                                        QBoxLayout* destino) {
    std::vector<QPushButton*> botones;
    for (size_t i = 0; i < textos.size(); ++i) {
        auto* b = boton(ventana, QStringLiteral("cmdMenu(%1)").arg(i),
                        QString::fromUtf16(textos[i].texto), QString::fromUtf16(textos[i].ayuda));
        b->setMinimumWidth(90);
        destino->addWidget(b);
        botones.push_back(b);
    }
    return botones;
}

QTableView* crearGrilla(QWidget* ventana) {
    auto* grilla = new QTableView(ventana);
    grilla->setObjectName(QStringLiteral("dtgLista"));
    grilla->setSelectionBehavior(QAbstractItemView::SelectRows);
    grilla->setSelectionMode(QAbstractItemView::SingleSelection);
    grilla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grilla->setAlternatingRowColors(true);
    grilla->setTabKeyNavigation(false);
    grilla->verticalHeader()->setDefaultSectionSize(22);
    grilla->horizontalHeader()->setSectionsClickable(true);
    return grilla;
}

QLineEdit* crearCampo(QWidget* ventana, int indice, int maximo) {
    QLineEdit* campo = caja(ventana, QStringLiteral("txtFields(%1)").arg(indice));
    if (maximo > 0)
        campo->setMaxLength(maximo);
    return campo;
}

void sombrearClave(QLineEdit* campo) {
    campo->setEnabled(false);
    campo->setReadOnly(true);
    QPalette paleta = campo->palette();
    paleta.setColor(QPalette::Base, paleta.color(QPalette::Window));
    paleta.setColor(QPalette::Disabled, QPalette::Base, paleta.color(QPalette::Window));
    campo->setPalette(paleta);
}

} // namespace formulario
