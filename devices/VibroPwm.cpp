#include "devices/VibroPwm.h"

VibroPwm::VibroPwm(HalCmdRunner hal, ThreadVibroPWM::OutputsFactory outputs, QObject *parent)
    : QObject(parent)
    , m_hal(std::move(hal))
    , m_outputs(std::move(outputs))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &VibroPwm::stop);
}

VibroPwm::~VibroPwm()
{
    if (m_thread) {
        m_thread->disconnect(this);
        m_thread->stop();
        m_thread->wait();
        delete m_thread;
    }
}

void VibroPwm::setHardware(bool pwmEnabled, const QString &mesaType)
{
    m_hardware = pwmEnabled;
    m_mesaType = mesaType;
}

void VibroPwm::start(int frequency, int duty, double length)
{
    if (m_running)
        return;
    m_running = true;
    if (m_hardware) {
        m_hal.run(HalCommands::hardwarePwmStart(m_mesaType, frequency, duty));
        m_timer.start(length > 0 ? int(1000 * length) : 0);
        return;
    }
    auto *thread = new ThreadVibroPWM(m_outputs, frequency, duty, length);
    m_thread = thread;
    connect(thread, &QThread::finished, this, [this, thread] {
        thread->deleteLater();
        finish();
    });
    thread->start();
}

void VibroPwm::stop()
{
    if (!m_running)
        return;
    if (m_hardware) {
        m_timer.stop();
        m_hal.run(HalCommands::hardwarePwmStop());
        finish();
        return;
    }
    if (m_thread)
        m_thread->stop();   // done follows from the thread's end
}

void VibroPwm::finish()
{
    m_running = false;
    emit done();
}
