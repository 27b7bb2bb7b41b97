#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// Watches the reachability of the Ethernet motion card and asks the main
// window to start or stop LinuxCNC when the card appears or disappears.
class WorkerPing : public QObject
{
    Q_OBJECT
public:
    explicit WorkerPing(QObject *parent = nullptr);

public slots:
    // Automatic start of LinuxCNC on card reachability on or off.
    void linuxCncAutoStartGet(bool enabled);
    // Mesa card type from the machine configuration (only Ethernet cards are pinged).
    void iniMesaTypeGet(QVariant type);
    // Address of the Ethernet card.
    void iniIPGet(QString address);
    // Whether LinuxCNC runs.
    void cncRunningGet(QVariant running);

signals:
    void runStopCncFromPingSend(QVariant run);
};
