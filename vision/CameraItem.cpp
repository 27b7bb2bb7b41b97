#include "vision/CameraItem.h"

CameraItem::CameraItem(QQuickItem *parent)
    : QQuickItem(parent)
{
}
