#include "platform/ventanas/selectores.h"

#include <QFileDialog>

namespace {

class SelectoresQt final : public ServicioSelectores {
public:
    QString elegirCarpeta(QWidget* propietario, const QString& titulo) override {
        return QFileDialog::getExistingDirectory(propietario, titulo);
    }
    QString elegirArchivo(QWidget* propietario, const QString& titulo,
                          const QString& filtro) override {
        return QFileDialog::getOpenFileName(propietario, titulo, QString(), filtroQt(filtro));
    }
    QString elegirArchivoDestino(QWidget* propietario, const QString& titulo, const QString& filtro,
                                 const QString& inicial) override {
        QFileDialog dialogo(propietario, titulo, inicial, filtroQt(filtro));
        dialogo.setAcceptMode(QFileDialog::AcceptOpen);
        dialogo.setFileMode(QFileDialog::AnyFile);
        if (dialogo.exec() != QDialog::Accepted)
            return {};
        return dialogo.selectedFiles().value(0);
    }
    QString elegirArchivoGuardar(QWidget* propietario, const QString& titulo, const QString& filtro,
                                 const QString& propuesto) override {
        return QFileDialog::getSaveFileName(propietario, titulo, propuesto, filtroQt(filtro));
    }
};

SelectoresQt porDefecto;
ServicioSelectores* instalado = nullptr;

} // namespace

ServicioSelectores& selectores() {
    return instalado ? *instalado : porDefecto;
}

void instalarSelectores(ServicioSelectores* servicio) {
    instalado = servicio;
}

QString SeleccionarCarpeta(QWidget* ventana, const QString& titulo) {
    return selectores().elegirCarpeta(ventana, titulo);
}

QString filtroQt(const QString& filtro) {
    const QStringList partes = filtro.split(u'|');
    if (partes.size() != 2)
        return filtro;
    QString descripcion = partes[0];
    // The description already shows the patterns; Qt reads them from the
    // last parentheses, which must list them separated by spaces.
    const qsizetype abre = descripcion.lastIndexOf(u'(');
    if (abre > 0)
        descripcion = descripcion.left(abre).trimmed();
    return descripcion + QStringLiteral(" (") + QString(partes[1]).replace(u';', u' ') + u')';
}
