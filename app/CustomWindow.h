#pragma once

#include <QQuickWindow>

// Base of the program's tool windows: a QQuickWindow whose icon is set from
// an image file named by the windowIcon property.
class CustomWindow : public QQuickWindow
{
    Q_OBJECT
    Q_PROPERTY(QString windowIcon READ windowIcon WRITE setWindowIcon NOTIFY windowIconChanged)
public:
    explicit CustomWindow(QWindow *parent = nullptr);

    QString windowIcon() const { return m_windowIcon; }
    void setWindowIcon(const QString &path);

signals:
    void windowIconChanged();

private:
    QString m_windowIcon;
};
