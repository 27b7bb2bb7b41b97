// WorkerCnc: construction, starting and stopping LinuxCNC, and the dialogue
// with its remote shell.
#include "machine/WorkerCnc.h"

#include "util/FileUrl.h"
#include "machine/LinuxCncChannel.h"
#include "machine/LinuxCncOutputs.h"
#include "machine/LinuxCncProcesses.h"
#include "machine/WorkerCncPort.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpSocket>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace {

constexpr quint16 kShellPort = 5007;
constexpr int kStopWaitMs = 15000;

// The LinuxCNC start script and everything it starts share one process
// group, so that a stop reaches all of them and nothing else.
class GroupProcess : public QProcess
{
public:
    using QProcess::QProcess;

protected:
    void setupChildProcess() override { ::setpgid(0, 0); }
};

// LinuxCNC's realtime part refuses to run as root: a root start runs it as
// the operator, with a home folder that user can write.
QProcessEnvironment linuxCncEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Without a display and a terminal the start script cleans up a stale
    // instance by itself instead of asking.
    env.remove(QStringLiteral("DISPLAY"));
    if (::geteuid() == 0) {
        if (!env.contains(QStringLiteral("RTAPI_UID")))
            env.insert(QStringLiteral("RTAPI_UID"), QStringLiteral("1000"));
        const QString home = QDir::tempPath() + QStringLiteral("/kestravo-linuxcnc-home");
        QDir().mkpath(home);
        if (::chown(QFile::encodeName(home).constData(), 1000, 1000) != 0)
            qWarning() << "Cannot hand" << home << "to the operator";
        env.insert(QStringLiteral("HOME"), home);
    }
    return env;
}

} // namespace

WorkerCnc::WorkerCnc(QObject *parent)
    : WorkerCnc(std::make_unique<LinuxCncChannel>(), parent, []() -> std::unique_ptr<DigitalOutputs> {
          // Made in the vibration's own thread, with channels of its own.
          auto outputs = std::make_unique<LinuxCncOutputs>();
          if (!outputs->open(1.0))
              return nullptr;
          return outputs;
      })
{
}

WorkerCnc::WorkerCnc(std::unique_ptr<MachineChannel> channel, QObject *parent,
                     ThreadVibroPWM::OutputsFactory vibroOutputs)
    : QObject(parent)
    , m_channel(std::move(channel))
    , m_port(std::make_unique<Port>(*this))
    , m_interp(*m_port)
    , m_vibro(HalCmdRunner(), vibroOutputs ? vibroOutputs : []() -> std::unique_ptr<DigitalOutputs> { return nullptr; })
{
    connect(&m_vibro, &VibroPwm::done, this, &WorkerCnc::pwmVibroDoneSend);
    m_doutState.fill(-1);
    m_pollTimer.setInterval(100);
    m_pollTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_pollTimer, &QTimer::timeout, this, &WorkerCnc::time1);
    m_interpTimer.setSingleShot(true);
    m_interpTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_interpTimer, &QTimer::timeout, this, &WorkerCnc::NMLInterpreter);
    m_autoFindTimer.setSingleShot(true);
    m_autoFindTimer.setInterval(20);
    connect(&m_autoFindTimer, &QTimer::timeout, this, &WorkerCnc::zAutoFindCycle);
    m_retryTimer.setSingleShot(true);
    m_retryTimer.setInterval(1000);
    connect(&m_retryTimer, &QTimer::timeout, this, &WorkerCnc::connectShell);
}

WorkerCnc::~WorkerCnc()
{
    // LinuxCNC does not outlive the program.
    stopCnc();
}

QString WorkerCnc::linuxCncLogPath()
{
    return QDir::tempPath() + QStringLiteral("/kestravo-linuxcnc-%1.log").arg(::geteuid());
}

qint64 WorkerCnc::linuxCncPid() const
{
    return (m_linuxCnc && m_linuxCnc->state() != QProcess::NotRunning) ? m_linuxCnc->processId() : 0;
}

void WorkerCnc::runCnc(QString iniFile)
{
    qDebug() << "runCnc Start";
    m_encoderRef.fill(0);
    m_stepgenRef.fill(0);
    m_encoderExists.fill(false);
    iniFile = FileUrl::toLocalPath(iniFile);
    stopCnc();

    if (!QFileInfo::exists(iniFile) || QFileInfo(iniFile).isDir()) {
        failStart(tr("Ini-файл конфигурации машины, указанный в настройках, не найден!"));
        return;
    }
    const QString halFile = iniFile.left(iniFile.size() - 4) + QStringLiteral(".hal");
    if (!QFileInfo::exists(halFile)) {
        failStart(tr("Hal-файл конфигурации машины не найден!"));
        return;
    }
    QFile hal(halFile);
    QFile ini(iniFile);
    if (!hal.open(QIODevice::ReadOnly | QIODevice::Text)) {
        failStart(tr("Не удалось открыть Hal-файл конфигурации машины!"));
        return;
    }
    if (!ini.open(QIODevice::ReadOnly | QIODevice::Text)) {
        failStart(tr("Ini-файл конфигурации машины, указанный в настройках, не найден!"));
        return;
    }
    m_config = CncConfig::fromIni(QString::fromLocal8Bit(ini.readAll()));
    m_config.scanHal(QString::fromLocal8Bit(hal.readAll()));
    emit pwmEnabledSend(m_config.pwmEnabled);
    emit blowEnabledSend(m_config.blowEnabled);
    emit homeExistsSend(m_config.homeExists[0], m_config.homeExists[1], m_config.homeExists[2]);
    for (int i = 0; i < 16; ++i)
        emit doutListChangeEnabled(i, m_config.doutEnabled[i]);

    if (!m_config.displayIsRemoteShell()) {
        failStart(tr("Для успешного запуска в ini-файле конфигурации машины параметр DISPLAY секции DISPLAY "
                     "должен быть равен linuxcncrsh  --path /"));
        return;
    }
    setConfig(m_config);

    // A LinuxCNC that an earlier run of the program left behind (it was
    // killed, or crashed) would answer at the shell port until the new start
    // script replaces it: stop it first.
    if (const pid_t stale = LinuxCncProcesses::staleGroup()) {
        qWarning() << "Stopping the LinuxCNC left behind by an earlier run, process group" << stale;
        if (!LinuxCncProcesses::stopGroup(stale, kStopWaitMs, 3000))
            qWarning() << "The LinuxCNC left behind did not stop, process group" << stale;
    }
    LinuxCncProcesses::clearGroup();

    m_linuxCnc = new GroupProcess(this);
    m_linuxCnc->setProcessEnvironment(linuxCncEnvironment());
    m_linuxCnc->setWorkingDirectory(QFileInfo(iniFile).absolutePath());
    m_linuxCnc->setStandardInputFile(QProcess::nullDevice());
    m_linuxCnc->setProcessChannelMode(QProcess::MergedChannels);
    m_linuxCnc->setStandardOutputFile(linuxCncLogPath());
    // The ini path is one argument: no shell ever sees it.
    m_linuxCnc->start(QStringLiteral("linuxcnc"), {iniFile});
    if (!m_linuxCnc->waitForStarted(30000)) {
        delete m_linuxCnc;
        m_linuxCnc = nullptr;
        failStart(tr("Не удалось установить связь с LinuxCNC!"));
        return;
    }
    LinuxCncProcesses::installExitGuard();
    LinuxCncProcesses::recordGroup(pid_t(m_linuxCnc->processId()));
    m_dialogue.begin();
    connectShell();
}

void WorkerCnc::setConfig(const CncConfig &config)
{
    m_config = config;
    applyConfig();
}

void WorkerCnc::applyConfig()
{
    const CncConfig &c = m_config;
    emit maxVelSend(c.maxVelocity[0], c.maxVelocity[1], c.maxVelocity[2], c.maxVelocity[3], c.maxVelocity[4],
                    c.maxVelocity[5]);
    emit maxAccSend(c.maxAcceleration[0], c.maxAcceleration[1], c.maxAcceleration[2], c.maxAcceleration[3]);
    emit encoderStepSend(c.encoderStep);
    emit encoderScaleSend(c.encoderScale[0], c.encoderScale[1], c.encoderScale[2]);
    emit stepperScaleSend(c.stepperScale[0], c.stepperScale[1], c.stepperScale[2]);

    GCodeInterpreter::AxisSettings s = m_interp.settings();
    s.maxVelocity = c.maxVelocity;
    s.maxAcceleration = c.maxAcceleration;
    s.ferror = c.ferror;
    s.encoderStep = c.encoderStep;
    s.zMax = c.zMax;
    s.zMaxText = c.zMaxText;
    m_interp.configure(s);
}

void WorkerCnc::failStart(const QString &message)
{
    if (!message.isEmpty())
        emit showError(message, false, QStringLiteral("error"));
    emit cncStartFailed();
}

void WorkerCnc::connectShell()
{
    if (m_dialogue.state() != ShellDialogue::Connecting)
        return;
    if (m_shell) {
        m_shell->disconnect(this);
        m_shell->abort();
        m_shell->deleteLater();
    }
    m_shellBuffer.clear();
    m_shell = new QTcpSocket(this);
    connect(m_shell, &QTcpSocket::connected, this, &WorkerCnc::onShellConnected);
    connect(m_shell, &QTcpSocket::errorOccurred, this, &WorkerCnc::onShellError);
    connect(m_shell, &QTcpSocket::disconnected, this, &WorkerCnc::onShellDisconnected);
    connect(m_shell, &QTcpSocket::readyRead, this, [this] {
        m_shellBuffer += m_shell->readAll();
        int nl;
        while ((nl = m_shellBuffer.indexOf('\n')) >= 0) {
            const QString line = QString::fromLocal8Bit(m_shellBuffer.left(nl)).trimmed();
            m_shellBuffer.remove(0, nl + 1);
            if (!line.isEmpty())
                onShellLine(line);
            if (!m_shell)
                return;
        }
    });
    m_shell->connectToHost(QStringLiteral("127.0.0.1"), kShellPort);
}

void WorkerCnc::onShellConnected()
{
    // Another LinuxCNC may still hold the port while the start script
    // replaces it: only the shell of the LinuxCNC just started counts, any
    // other is treated as not answering yet.
    const pid_t group = m_linuxCnc ? pid_t(m_linuxCnc->processId()) : 0;
    if (group > 0 && !LinuxCncProcesses::groupListensOn(group, kShellPort)) {
        qWarning() << "The shell port answers for another LinuxCNC; waiting for process group" << group;
        m_shell->disconnect(this);
        m_shell->abort();
        m_shell->deleteLater();
        m_shell = nullptr;
        onShellLine(QStringLiteral("Unable to connect to remote host: Connection refused"));
        return;
    }
    qInfo("kestravo: LinuxCNC shell connected, process group %d", int(group));
    onShellLine(QStringLiteral("Connected to localhost."));
}

void WorkerCnc::onShellError()
{
    if (!m_shell)
        return;
    if (m_shell->error() == QAbstractSocket::ConnectionRefusedError && m_dialogue.state() == ShellDialogue::Connecting)
        onShellLine(QStringLiteral("Unable to connect to remote host: Connection refused"));
    else if (m_shell->error() == QAbstractSocket::RemoteHostClosedError)
        onShellDisconnected();
}

void WorkerCnc::onShellDisconnected()
{
    if (m_dialogue.state() != ShellDialogue::Idle)
        onShellLine(QStringLiteral("Connection closed by foreign host"));
}

void WorkerCnc::writeAskError(QString text)
{
    if (text.isEmpty() || !m_shell || m_shell->state() != QAbstractSocket::ConnectedState)
        return;
    m_shell->write(text.toLocal8Bit() + '\n');
    m_shell->flush();
}

void WorkerCnc::onShellLine(const QString &line)
{
    QStringList out;
    switch (m_dialogue.feed(line, out)) {
    case ShellDialogue::Event::None:
        break;
    case ShellDialogue::Event::Retry:
        m_retryTimer.start();
        break;
    case ShellDialogue::Event::Connected:
        for (const QString &l : out)
            writeAskError(l);
        if (!startNML()) {
            m_dialogue.channelsFailed();
            emit cncStartFailed();
        } else {
            m_runningReported = true;
            emit cncRunningSend(true);
        }
        break;
    case ShellDialogue::Event::Configured:
        for (const QString &l : out)
            writeAskError(l);
        m_interp.feedOverride(100, false);
        feedOverrideGet(int(m_interp.userFeedOverride()), false);
        break;
    case ShellDialogue::Event::RefusedTooOften:
        failStart(tr("Не удалось установить связь с LinuxCNC!"));
        break;
    case ShellDialogue::Event::HelloFailed:
        failStart(tr("Связь с LinuxCNC установлена, но команда HELLO не выполнена!"));
        break;
    case ShellDialogue::Event::Closed:
        shellLost();
        break;
    }
}

// LinuxCNC went away: nothing may keep waiting for it.
void WorkerCnc::shellLost()
{
    qWarning("kestravo: LinuxCNC shell connection lost");
    emit showError(tr("Связь с LinuxCNC прервана!"), false, QStringLiteral("error"));
    emit cncStartFailed();
    stopNML();
    if (!m_interp.idle())
        stopInterpreter(false);
    m_runningReported = false;
    emit cncRunningSend(false);
    if (m_machineOn) {
        m_machineOn = false;
        emit machineOnSend(false);
    }
}

void WorkerCnc::stopLinuxCnc()
{
    if (!m_linuxCnc)
        return;
    if (m_linuxCnc->state() != QProcess::NotRunning) {
        const pid_t group = pid_t(m_linuxCnc->processId());
        // The start script cleans up (realtime, NML server) once its display
        // program ends.
        ::kill(-group, SIGTERM);
        if (!m_linuxCnc->waitForFinished(kStopWaitMs)) {
            qWarning() << "LinuxCNC did not stop in time; killing its process group";
            ::kill(-group, SIGKILL);
            m_linuxCnc->waitForFinished(3000);
        }
        // Whatever of the group outlived its start script goes too.
        if (LinuxCncProcesses::groupAlive(group) && !LinuxCncProcesses::stopGroup(group, 3000, 3000))
            qWarning() << "Parts of LinuxCNC did not stop, process group" << group;
    }
    LinuxCncProcesses::clearGroup();
    delete m_linuxCnc;
    m_linuxCnc = nullptr;
}

void WorkerCnc::stopCnc()
{
    m_retryTimer.stop();
    m_dialogue.reset();
    if (m_shell) {
        m_shell->disconnect(this);
        m_shell->abort();
        delete m_shell;
        m_shell = nullptr;
    }
    stopNML();
    if (!m_interp.idle())
        stopInterpreter(false);
    stopLinuxCnc();
    // Only a start that was reported is reported as ended: a new start
    // (which stops first) must not look like a stop to the main window.
    if (m_runningReported) {
        m_runningReported = false;
        emit cncRunningSend(false);
    }
    if (m_machineOn) {
        m_machineOn = false;
        emit machineOnSend(false);
    }
}
