#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// The device side of a pseudo-terminal: the program under test opens
// slavePath() as its serial port, the emulator reads and writes the master.
// The emulator keeps the slave open itself, so the master never hangs up when
// the program closes and reopens the port.
class PtyEndpoint : public QObject
{
    Q_OBJECT
public:
    explicit PtyEndpoint(QObject *parent = nullptr);
    ~PtyEndpoint() override;

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    // Writes bytes to the program; with parts > 1 they go out in that many
    // pieces, gapMs apart.
    void send(const QByteArray &bytes, int parts = 1, int gapMs = 0);
    void sendLater(const QByteArray &bytes, int delayMs);
    // Closes both ends, as if the device was unplugged.
    void unplug();
    bool isUnplugged() const { return m_master < 0; }

signals:
    void received(const QByteArray &bytes);

private:
    void readMaster();
    void writeNow(const QByteArray &bytes);

    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QSocketNotifier *m_notifier = nullptr;
};
