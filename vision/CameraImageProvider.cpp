#include "vision/CameraImageProvider.h"

#include "vision/CameraItem.h"

CameraImageProvider::CameraImageProvider(CameraItem *item)
    : QQuickImageProvider(QQuickImageProvider::Image), m_item(item)
{
}

QImage CameraImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    if (CameraItem *item = m_item.data())
        return item->requestImage(id, size, requestedSize);
    QImage blank(1, 1, QImage::Format_RGB32);
    blank.fill(0);
    if (size)
        *size = blank.size();
    return blank;
}
