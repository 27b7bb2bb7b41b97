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
    // The sensor's timing, in milliseconds. The program keeps the defaults,
    // which the sensor needs; tests shorten them.
    struct Limits
    {
        int startupPauseMs = 1000;   // after opening, while the sensor starts up
        int handshakeRepeatMs = 500; // between the requests of the handshake
        int handshakeRepeats = 10;   // requests after the first before giving up
        int readMs = 1500;           // one reading
    };

    explicit WorkerVS(QObject *parent = nullptr);

    void setLimits(const Limits &limits);
    Limits limits() const { return m_limits; }
    // True while a limit runs: a reading or a handshake answer is awaited.
    bool isAwaitingAnswer() const { return m_readTimer.isActive() || m_openTimer.isActive(); }
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
    Limits m_limits;
};
