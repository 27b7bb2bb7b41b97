#pragma once

#include "devices/HalCommands.h"
#include "devices/ThreadVibroPWM.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

// One vibration of the vibration feeders: by the card's PWM generator (halcmd)
// when the HAL provides it, otherwise by ThreadVibroPWM on output 6. done()
// follows every start, also when the vibration was stopped early.
class VibroPwm : public QObject
{
    Q_OBJECT
public:
    VibroPwm(HalCmdRunner hal, ThreadVibroPWM::OutputsFactory outputs, QObject *parent = nullptr);
    ~VibroPwm() override;

    void setHardware(bool pwmEnabled, const QString &mesaType);
    void setHalCmd(const QString &program) { m_hal.setProgram(program); }
    bool isRunning() const { return m_running; }

public slots:
    void start(int frequency, int duty, double length);
    void stop();

signals:
    void done();

private:
    void finish();

    HalCmdRunner m_hal;
    ThreadVibroPWM::OutputsFactory m_outputs;
    bool m_hardware = false;
    QString m_mesaType;
    bool m_running = false;
    QTimer m_timer;
    QPointer<ThreadVibroPWM> m_thread;
};
