// SPDX-License-Identifier: MIT
#include "ui/LogoWidget.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

LogoWidget::LogoWidget(QWidget *parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Kestrix logo"));
}

void LogoWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const qreal side = qMin(width(), height()) - 2;
    painter.translate((width() - side) / 2.0, (height() - side) / 2.0);
    paintLogo(painter, side);
}

QIcon LogoWidget::icon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paintLogo(painter, size);
        painter.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

void LogoWidget::paintLogo(QPainter &painter, qreal side)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 100.0, side / 100.0);

    // Dial face.
    painter.setPen(QPen(QColor(0, 0, 128), 6));
    painter.setBrush(QColor(235, 242, 250));
    painter.drawEllipse(QRectF(5, 5, 90, 90));

    // Scale ticks along the upper arc.
    painter.setPen(QPen(QColor(0, 0, 128), 3, Qt::SolidLine, Qt::RoundCap));
    for (int tick = 0; tick <= 6; ++tick) {
        painter.save();
        painter.translate(50, 55);
        painter.rotate(-150 + tick * 20);
        painter.drawLine(QPointF(0, -36), QPointF(0, -28));
        painter.restore();
    }

    // The pointer, shaped as a swept wing.
    QPainterPath wing;
    wing.moveTo(50, 58);
    wing.cubicTo(58, 40, 70, 28, 82, 22);
    wing.cubicTo(72, 34, 64, 46, 56, 62);
    wing.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 90, 20));
    painter.drawPath(wing);

    painter.setBrush(QColor(0, 0, 128));
    painter.drawEllipse(QPointF(50, 58), 6, 6);
    painter.restore();
}
