#pragma once

#include <QObject>
#include <QSet>

class QSocketNotifier;

// Turns POSIX signals into the Qt signal unixSignal(int), delivered inside the
// event loop. The handler itself only writes the signal number to a socket pair.
class UnixSignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit UnixSignalWatcher(QObject *parent = nullptr);
    ~UnixSignalWatcher() override;

    void watchForSignal(int signal);

signals:
    void unixSignal(int signal);

private slots:
    void readSignal();

private:
    QSocketNotifier *m_notifier = nullptr;
    QSet<int> m_watched;
};
