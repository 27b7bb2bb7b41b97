#include "app/CustomWindow.h"

#include "util/FileUrl.h"

#include <QIcon>

CustomWindow::CustomWindow(QWindow *parent)
    : QQuickWindow(parent)
{
}

void CustomWindow::setWindowIcon(const QString &path)
{
    if (path == m_windowIcon)
        return;
    m_windowIcon = path;
    setIcon(QIcon(FileUrl::toLocalPath(path)));
    emit windowIconChanged();
}
