#include "reports/encabezado.h"

#include <QImageReader>

void aplicarEncabezadoEmpresa(DefinicionInforme& informe, const QString& rutaLogo,
                              const QString& empresa) {
    Banda& banda = informe.encabezadoInforme;
    if (rutaLogo.isEmpty() && empresa.isEmpty()) {
        banda.visible = false;
        return;
    }
    banda.visible = true;
    if (Control* lbl = banda.control(QStringLiteral("lblEmpresa")))
        lbl->texto = empresa;
    if (Control* img = banda.control(QStringLiteral("imgLogo"))) {
        img->imagen = QImage();
        if (!rutaLogo.isEmpty()) {
            QImageReader lector(rutaLogo);
            lector.setAutoTransform(true);
            img->imagen = lector.read(); // null when missing or unreadable
        }
    }
}
