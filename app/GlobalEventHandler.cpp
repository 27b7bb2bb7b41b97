#include "app/GlobalEventHandler.h"

#include <QMouseEvent>

GlobalEventHandler::GlobalEventHandler(QObject *parent)
    : QObject(parent)
{
}

bool GlobalEventHandler::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        const Qt::MouseButtons held = static_cast<QMouseEvent *>(event)->buttons();
        if (held == (Qt::LeftButton | Qt::RightButton) || held == (Qt::LeftButton | Qt::MiddleButton)) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonDblClick: {
        const Qt::MouseButtons held = static_cast<QMouseEvent *>(event)->buttons();
        if (held & (Qt::RightButton | Qt::MiddleButton)) {
            event->accept();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
