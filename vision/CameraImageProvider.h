#pragma once

#include <QPointer>
#include <QQuickImageProvider>

class CameraItem;

// Registered with the QML engine under a camera item's object name. The
// engine owns and deletes its providers, while camera items belong to their
// window; this small forwarder is what the engine owns, so the item itself is
// never deleted twice and requests after the item is gone get an empty image.
class CameraImageProvider : public QQuickImageProvider
{
public:
    explicit CameraImageProvider(CameraItem *item);
    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

private:
    QPointer<CameraItem> m_item;
};
