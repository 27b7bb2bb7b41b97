#include "vision/PhotoClipper.h"

#include <QPainter>
#include <QTransform>

QImage PhotoClipper::clip(const QImage &photo, int x, int y, int width, int height, double angle)
{
    if (photo.isNull() || width <= 0 || height <= 0 || width > 20000 || height > 20000)
        return QImage();
    QTransform turn;
    turn.rotate(-angle);
    const QImage turned = photo.transformed(turn, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32);
    // QImage::transformed() moves the result so that it starts at (0, 0);
    // trueMatrix() is that same mapping.
    const QTransform mapping = QImage::trueMatrix(turn, photo.width(), photo.height());
    const QPointF corner = mapping.map(QPointF(x, y));
    QImage result(width, height, QImage::Format_RGB32);
    result.fill(Qt::black);
    QPainter painter(&result);
    painter.drawImage(QPointF(0, 0), turned, QRectF(corner, QSizeF(width, height)));
    painter.end();
    return result;
}
