#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// The RLC meter on a serial port: opens it, sets the measuring mode and
// reads values on request.
class WorkerRLC : public QObject
{
    Q_OBJECT
public:
    explicit WorkerRLC(QObject *parent = nullptr);

public slots:
    // Opens the meter on a serial port.
    void runRLC(QString port);
    // Requests one reading.
    void read();
    // Sets the meter up for a component type and nominal value.
    void setup(QString type, double value);
    // Sets the meter up by parameters: type, low frequency, parallel model.
    void setup(QString type, bool freqLow, bool parallel);

signals:
    void openDone();
    void openFailed(QVariant message);
    void setupDone();
    void setupFailed(QVariant message);
    void readFailed(QVariant message);
    void sendValue(QVariant unit, QVariant value, QVariant valueStr);
};
