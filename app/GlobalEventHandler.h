#pragma once

#include <QObject>

// Application-wide event filter: swallows mouse chords that would otherwise
// confuse the board view and the machine controls (left+right or left+middle
// press/release, a double click while right or middle is held).
class GlobalEventHandler : public QObject
{
    Q_OBJECT
public:
    explicit GlobalEventHandler(QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
