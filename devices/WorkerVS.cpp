#include "devices/WorkerVS.h"

#include <QDebug>
#include <QThread>

WorkerVS::WorkerVS(QObject *parent)
    : QObject(parent)
    , m_port(this)
    , m_readTimer(this)
    , m_openTimer(this)
{
    m_readTimer.setSingleShot(true);
    m_readTimer.setTimerType(Qt::PreciseTimer);
    m_openTimer.setTimerType(Qt::PreciseTimer);
    m_openTimer.setSingleShot(true);
    setLimits(m_limits);
    connect(&m_readTimer, &QTimer::timeout, this, &WorkerVS::readTimeout);
    connect(&m_openTimer, &QTimer::timeout, this, &WorkerVS::openTimeoutSlot);
    connect(&m_port, &QSerialPort::readyRead, this, &WorkerVS::readData);
    connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        // A vanished device (unplugged adapter): close the line and report
        // what was awaited.
        if ((error == QSerialPort::ResourceError || error == QSerialPort::ReadError) && m_port.isOpen()) {
            qWarning() << "vacuum sensor port lost:" << m_port.errorString();
            const bool awaitingReading = m_readTimer.isActive();
            const bool handshaking = !m_recognised;
            closePort();
            if (awaitingReading)
                emit readFailed(tr("Нет ответа от датчика."));
            if (handshaking) {
                const QString message = tr("Нет ответа от датчика разрежения! Возможно выбран не тот порт!");
                emit openFailed(message);
                emit showError(message, false, QStringLiteral("error"));
            }
        }
    });
}

void WorkerVS::setLimits(const Limits &limits)
{
    m_limits = limits;
    m_readTimer.setInterval(limits.readMs);
    m_openTimer.setInterval(limits.handshakeRepeatMs);
}

void WorkerVS::runVS(QString portName)
{
    m_readings.clear();
    closePort();
    m_recognised = false;
    m_attempts = 0;
    m_framer.reset();
    m_portName = portName;
    m_port.setPortName(portName);
    m_port.setBaudRate(QSerialPort::Baud115200);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        const QString message = tr("Датчик разрежения: ошибка открытия порта: ") + m_port.errorString();
        emit openFailed(message);
        emit showError(message, false, QStringLiteral("error"));
        return;
    }
    QThread::msleep(m_limits.startupPauseMs);
    read();
    m_openTimer.start();
}

void WorkerVS::stopVS()
{
    closePort();
}

void WorkerVS::closePort()
{
    m_openTimer.stop();
    m_readTimer.stop();
    if (m_port.isOpen())
        m_port.close();
    m_recognised = false;
    m_framer.reset();
}

void WorkerVS::read()
{
    if (!m_port.isOpen()) {
        emit readFailed(tr("Нет ответа от датчика."));
        return;
    }
    m_framer.reset();
    portWrite(QString::fromLatin1(VsProtocol::request));
    if (!m_readTimer.isActive() && m_recognised)
        m_readTimer.start();
}

void WorkerVS::readTimeout()
{
    emit readFailed(tr("Нет ответа от датчика."));
    closePort();
}

void WorkerVS::openTimeoutSlot()
{
    if (m_recognised || !m_port.isOpen())
        return;
    if (m_attempts >= m_limits.handshakeRepeats) {
        m_attempts = 0;
        const QString message = tr("Нет ответа от датчика разрежения! Возможно выбран не тот порт!");
        emit openFailed(message);
        emit showError(message, false, QStringLiteral("error"));
        return;
    }
    read();
    ++m_attempts;
    m_openTimer.start();
}

void WorkerVS::portWrite(QString text)
{
    if (m_port.isOpen())
        m_port.write(text.toLatin1());
}

void WorkerVS::readData()
{
    const QList<QByteArray> lines = m_framer.feed(m_port.readAll());
    for (const QByteArray &line : lines)
        handleLine(line);
}

void WorkerVS::handleLine(const QByteArray &line)
{
    if (!m_port.isOpen())
        return;
    // After the handshake only an awaited answer counts; a second line that
    // answers the same request is dropped.
    if (!m_readTimer.isActive() && m_recognised)
        return;
    m_readTimer.stop();
    recognize(QString::fromLatin1(line));
}

void WorkerVS::recognize(QString data)
{
    const QByteArray line = data.toLatin1();
    if (!m_recognised) {
        if (VsProtocol::isSensorLine(line)) {
            m_recognised = true;
            m_attempts = 0;
            m_openTimer.stop();
            emit openDone();
        }
        return;
    }
    double kPa = 0;
    if (!VsProtocol::parsePressure(line, &kPa)) {
        emit readFailed(tr("Получено некорректное значение с датчика! ") + "|" + data + "|");
        return;
    }
    emit sendValue(m_readings.add(kPa), double(VsProtocol::clockMsecs()));
}
