#pragma once

#include <QQuickItem>

// The camera view item ("Camera" in module "OpenCV"). For now it is a plain
// item that the camera windows can place; capture and recognition attach to
// it when the camera subsystem is built.
class CameraItem : public QQuickItem
{
    Q_OBJECT
public:
    explicit CameraItem(QQuickItem *parent = nullptr);
};
