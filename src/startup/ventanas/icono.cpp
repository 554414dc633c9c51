#include "startup/ventanas/icono.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

QIcon iconoTarvo() {
    QIcon icono;
    for (const int lado : {16, 32, 48, 64, 128}) {
        QPixmap imagen(lado, lado);
        imagen.fill(Qt::transparent);
        QPainter p(&imagen);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1f, 0x4e, 0x79));
        p.drawRoundedRect(QRectF(0, 0, lado, lado), lado * 0.18, lado * 0.18);
        p.setBrush(QColor(0xf2, 0xa9, 0x00));
        p.drawRect(QRectF(lado * 0.18, lado * 0.74, lado * 0.64, lado * 0.08));
        QFont letra(QStringLiteral("DejaVu Sans"));
        letra.setBold(true);
        letra.setPixelSize(int(lado * 0.62));
        p.setFont(letra);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, -lado * 0.06, lado, lado), Qt::AlignCenter, QStringLiteral("T"));
        icono.addPixmap(imagen);
    }
    return icono;
}
