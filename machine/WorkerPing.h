#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>

// Watches the reachability of the Ethernet motion card and asks the main
// window to start or stop LinuxCNC when the card appears or disappears (two
// equal results in a row are needed). Only the Ethernet card (7i92) is
// watched, and only while automatic start is on.
class WorkerPing : public QObject
{
    Q_OBJECT
public:
    explicit WorkerPing(QObject *parent = nullptr);

    // For tests: the ping program to run.
    void setPingProgram(const QString &program) { m_program = program; }
    bool watching() const { return m_timer.isActive(); }
    int interval() const { return m_timer.interval(); }

public slots:
    // Automatic start of LinuxCNC on card reachability on or off.
    void linuxCncAutoStartGet(bool enabled);
    // Mesa card type from the machine configuration (only Ethernet cards are pinged).
    void iniMesaTypeGet(QVariant type);
    // Address of the Ethernet card.
    void iniIPGet(QString address);
    // Whether LinuxCNC runs.
    void cncRunningGet(QVariant running);
    // One look at the card.
    void ping();
    // Pings a host once; true when it answered within a millisecond.
    bool PING(QString host_address, bool show_results);

signals:
    void runStopCncFromPingSend(QVariant run);

private:
    void updateTimer();

    QString m_program = QStringLiteral("/bin/ping");
    bool m_autoStart = true;
    QString m_cardType = QStringLiteral("5i25");
    QString m_address = QStringLiteral("10.10.10.10");
    bool m_cncRunning = false;
    bool m_previous = false;
    QTimer m_timer;
};
