#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// The vacuum sensor on a serial port: reports the vacuum at the nozzle.
class WorkerVS : public QObject
{
    Q_OBJECT
public:
    explicit WorkerVS(QObject *parent = nullptr);

public slots:
    // Opens the sensor on a serial port.
    void runVS(QString port);
    // Closes the sensor.
    void stopVS();
    // Requests one reading.
    void read();

signals:
    void openDone();
    void openFailed(QVariant message);
    void sendValue(QVariant value, QVariant raw);
    void readFailed(QVariant message);
    void showError(QVariant message, QVariant silent, QVariant type);
};
