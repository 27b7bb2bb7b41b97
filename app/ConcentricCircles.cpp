#include "app/ConcentricCircles.h"

#include <QPainter>

ConcentricCircles::ConcentricCircles()
    : QQuickImageProvider(QQuickImageProvider::Pixmap)
{
}

QPixmap ConcentricCircles::requestPixmap(const QString &id, QSize *size, const QSize &requestedSize)
{
    Q_UNUSED(requestedSize)
    const QColor color(id.left(7));
    const int shape = id.isEmpty() ? 0 : id.right(1).toInt();

    QPixmap pixmap(kSide, kSide);
    pixmap.fill(QColor(0, 0, 0, 0));
    if (size)
        *size = pixmap.size();

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(kSide / 2, kSide / 2);
    painter.setPen(QPen(color, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(Qt::NoBrush);
    for (int s = 0; s < 144; s += 18) {
        const QRectF r(-s / 2.0, -s / 2.0, s, s);
        if (shape == 0)
            painter.drawEllipse(r);
        else
            painter.drawRect(r);
    }
    return pixmap;
}
