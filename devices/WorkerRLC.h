#pragma once

#include "devices/LineFramer.h"

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>
#include <QVariant>

// The RLC meter on a serial port: puts it into remote mode, sets the
// measuring mode and reads values on request.
class WorkerRLC : public QObject
{
    Q_OBJECT
public:
    // How long the meter may take to answer, in milliseconds. The program
    // keeps the defaults, which the meter needs; tests shorten them.
    struct Limits
    {
        int openMs = 1500;    // remote mode, for each of the two tries
        int setupMs = 2500;   // a whole set-up
        int readMs = 1500;    // one reading
    };

    explicit WorkerRLC(QObject *parent = nullptr);

    void setLimits(const Limits &limits);
    Limits limits() const { return m_limits; }
    // True while one of the limits runs: an answer is still awaited.
    bool isAwaitingAnswer() const
    {
        return m_readTimer.isActive() || m_setupTimer.isActive() || m_openTimer.isActive();
    }
    // Pause before each write, which the meter needs between commands.
    void setWritePause(int msecs) { m_writePause = msecs; }
    char modeLetter() const { return m_mode; }
    QString pendingSetup() const { return m_pendingSetup; }

public slots:
    // Opens the meter on a serial port.
    void runRLC(QString port);
    void stopRLC() {}
    // Requests one reading.
    void read();
    // Sets the meter up for a component type and nominal value.
    void setup(QString type, double value);
    // Sets the meter up by parameters: type, low frequency, parallel model.
    void setup(QString type, bool freqLow, bool parallel);
    void setupReset();
    void readTimeout();
    void openTimeoutSlot();
    void setupTimeoutSlot();
    void portWrite(QString text);
    void readData();
    void recognize(QString data);

signals:
    void openDone();
    void openFailed(QVariant message);
    void setupDone();
    void setupFailed(QVariant message);
    void readFailed(QVariant message);
    void sendValue(QVariant unit, QVariant value, QVariant valueStr);

private:
    void openPort(const QString &portName);
    void startSetup(const QString &command, char mode);
    void requestReading();
    void handleLine(const QByteArray &line);

    QSerialPort m_port;
    QString m_portName;
    bool m_openRetry = false;
    bool m_setupRefused = false;
    QString m_pendingSetup;
    char m_mode = 0;
    LineFramer m_framer;
    QTimer m_readTimer;
    QTimer m_setupTimer;
    QTimer m_openTimer;
    int m_busyCount = 0;
    int m_writePause = 10;
    Limits m_limits;
};
