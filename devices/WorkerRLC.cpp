#include "devices/WorkerRLC.h"

#include "devices/RlcProtocol.h"

#include <QDebug>
#include <QThread>

namespace {
// Busy readings (range still being chosen) repeated before giving up.
constexpr int busyRepeats = 6;
}

WorkerRLC::WorkerRLC(QObject *parent)
    : QObject(parent)
    , m_port(this)
    , m_readTimer(this)
    , m_setupTimer(this)
    , m_openTimer(this)
{
    for (QTimer *timer : {&m_readTimer, &m_setupTimer, &m_openTimer})
        timer->setTimerType(Qt::PreciseTimer);
    m_readTimer.setSingleShot(true);
    m_setupTimer.setSingleShot(true);
    m_openTimer.setSingleShot(true);
    setLimits(m_limits);
    connect(&m_readTimer, &QTimer::timeout, this, &WorkerRLC::readTimeout);
    connect(&m_setupTimer, &QTimer::timeout, this, &WorkerRLC::setupTimeoutSlot);
    connect(&m_openTimer, &QTimer::timeout, this, &WorkerRLC::openTimeoutSlot);
    connect(&m_port, &QSerialPort::readyRead, this, &WorkerRLC::readData);
    connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        // A vanished device: close the line; the running timers report the
        // missing answer.
        if ((error == QSerialPort::ResourceError || error == QSerialPort::ReadError) && m_port.isOpen()) {
            qWarning() << "RLC meter port lost:" << m_port.errorString();
            m_port.close();
        }
    });
}

void WorkerRLC::setLimits(const Limits &limits)
{
    m_limits = limits;
    m_readTimer.setInterval(limits.readMs);
    m_setupTimer.setInterval(limits.setupMs);
    m_openTimer.setInterval(limits.openMs);
}

void WorkerRLC::runRLC(QString portName)
{
    m_openRetry = false;
    openPort(portName);
}

void WorkerRLC::openPort(const QString &portName)
{
    if (m_port.isOpen())
        m_port.close();
    m_readTimer.stop();
    m_setupTimer.stop();
    m_openTimer.stop();
    m_framer.reset();
    m_busyCount = 0;
    m_portName = portName;
    m_port.setPortName(portName);
    m_port.setBaudRate(QSerialPort::Baud1200);
    m_port.setDataBits(QSerialPort::Data7);
    m_port.setParity(QSerialPort::EvenParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_openRetry = false;
        emit openFailed(tr("Ошибка открытия порта: ") + m_port.errorString());
        return;
    }
    portWrite(QString::fromLatin1(RlcProtocol::remoteCommand));
    m_openTimer.start();
}

void WorkerRLC::openTimeoutSlot()
{
    if (!m_openRetry) {
        // The meter may have been left in set-up mode: leave it, then ask again.
        portWrite(QString::fromLatin1(RlcProtocol::leaveSetupCommand));
        m_openTimer.start();
        m_openRetry = true;
        return;
    }
    m_openRetry = false;
    emit openFailed(tr("Нет ответа от измерителя."));
}

void WorkerRLC::setup(QString type, double value)
{
    const char mode = RlcProtocol::modeFromType(type);
    startSetup(RlcProtocol::setupForValue(mode, value), mode);
}

void WorkerRLC::setup(QString type, bool freqLow, bool parallel)
{
    const QChar first = type.isEmpty() ? QChar() : type.at(0);
    const char mode = (first == 'L' || first == 'C' || first == 'R') ? first.toLatin1() : 0;
    startSetup(RlcProtocol::setupForParameters(mode, freqLow, parallel), mode);
}

void WorkerRLC::startSetup(const QString &command, char mode)
{
    m_pendingSetup = command;
    m_mode = mode;
    m_setupRefused = false;
    m_framer.reset();
    portWrite(QString::fromLatin1(RlcProtocol::setupCommand));
    m_setupTimer.start();
}

void WorkerRLC::setupReset()
{
    portWrite(QString::fromLatin1(RlcProtocol::leaveSetupCommand));
    m_setupTimer.stop();
}

void WorkerRLC::setupTimeoutSlot()
{
    emit setupFailed(tr("Нет ответа от измерителя."));
    setupReset();
}

void WorkerRLC::read()
{
    // A new request starts a new count of busy readings.
    m_busyCount = 0;
    requestReading();
}

void WorkerRLC::requestReading()
{
    if (m_port.isOpen()) {
        m_port.clear(QSerialPort::Input);
        m_port.readAll();
    }
    m_framer.reset();
    portWrite(QString::fromLatin1(RlcProtocol::readCommand));
    m_readTimer.start();
}

void WorkerRLC::readTimeout()
{
    m_busyCount = 0;
    emit readFailed(tr("Нет ответа от измерителя."));
}

void WorkerRLC::portWrite(QString text)
{
    QThread::msleep(m_writePause);
    if (m_port.isOpen())
        m_port.write(text.toLatin1());
}

void WorkerRLC::readData()
{
    const QList<QByteArray> lines = m_framer.feed(m_port.readAll());
    for (const QByteArray &line : lines)
        handleLine(line);
}

void WorkerRLC::handleLine(const QByteArray &line)
{
    if (line.size() == RlcProtocol::readingLength && m_readTimer.isActive()) {
        m_readTimer.stop();
        recognize(QString::fromLatin1(line));
    }
    if (line.contains("SETUP READY.") && m_setupTimer.isActive())
        portWrite(m_pendingSetup);
    if (line.contains("[E") && m_setupTimer.isActive()) {
        m_setupRefused = true;
        portWrite(QString::fromLatin1(RlcProtocol::leaveSetupCommand));
    }
    if (line.contains("SETUP EXIT.") && m_setupTimer.isActive()) {
        m_setupTimer.stop();
        if (m_setupRefused) {
            m_setupRefused = false;
            emit setupFailed(tr("Измеритель отклонил настройку."));
        } else {
            emit setupDone();
        }
    }
    if (line.contains("REMOTE READY.") && m_openTimer.isActive()) {
        m_openRetry = false;
        m_openTimer.stop();
        emit openDone();
    }
    if (line.contains("SETUP EXIT.") && m_openRetry)
        openPort(m_portName);   // keeps the retry flag: one reopen only
}

void WorkerRLC::recognize(QString data)
{
    const RlcProtocol::Reading reading = RlcProtocol::decode(data.toLatin1());
    switch (reading.kind) {
    case RlcProtocol::Reading::Busy:
        if (m_busyCount < busyRepeats) {
            ++m_busyCount;
            requestReading();
        } else {
            m_busyCount = 0;
            emit readFailed(tr("Слишком долгая подстройка диапазона."));
        }
        return;
    case RlcProtocol::Reading::OverRange:
        m_busyCount = 0;
        emit readFailed(tr("Переполнение шкалы"));
        return;
    case RlcProtocol::Reading::Invalid:
        m_busyCount = 0;
        emit readFailed(tr("Некорректный ответ измерителя: ") + "|" + data + "|");
        return;
    case RlcProtocol::Reading::Value:
        m_busyCount = 0;
        emit sendValue(QString(QChar(reading.mode)), reading.value, reading.text);
        return;
    }
}
