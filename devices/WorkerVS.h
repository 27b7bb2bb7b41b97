#pragma once

#include "devices/LineFramer.h"
#include "devices/VsProtocol.h"

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>
#include <QVariant>

// The vacuum sensor on a serial port: reports the vacuum at the nozzle as the
// mean of the last five readings, stamped with VsProtocol::clockMsecs().
class WorkerVS : public QObject
{
    Q_OBJECT
public:
    explicit WorkerVS(QObject *parent = nullptr);

    // Pause after opening while the sensor starts up (tests shorten it).
    void setStartupPause(int msecs) { m_startupPause = msecs; }
    bool isRecognised() const { return m_recognised; }
    bool isOpen() const { return m_port.isOpen(); }

public slots:
    // Opens the sensor on a serial port.
    void runVS(QString port);
    // Closes the sensor.
    void stopVS();
    // Requests one reading.
    void read();
    void readTimeout();
    void openTimeoutSlot();
    void portWrite(QString text);
    void readData();
    void recognize(QString data);
    void calcTime() {}

signals:
    void openDone();
    void openFailed(QVariant message);
    void sendValue(QVariant value, QVariant raw);
    void readFailed(QVariant message);
    void showError(QVariant message, QVariant silent, QVariant type);

private:
    void handleLine(const QByteArray &line);
    void closePort();

    QSerialPort m_port;
    QString m_portName;
    bool m_recognised = false;
    int m_attempts = 0;
    VsAverage m_readings;
    LineFramer m_framer;
    QTimer m_readTimer;
    QTimer m_openTimer;
    int m_startupPause = 1000;
};
