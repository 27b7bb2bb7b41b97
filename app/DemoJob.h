#pragma once

#include <QObject>
#include <QProcessEnvironment>
#include <QString>

// The demo job: the program runs the demo project's placement program on the
// simulated machine by itself (LinuxCNC started, machine on and homed, the
// program created and started), prints a summary on standard output and
// quits with an exit status that says how the run ended. ./run.sh --demo-job
// asks for it through the environment:
//   KESTRAVO_DEMO_JOB=1                 run the demo job
//   KESTRAVO_DEMO_JOB_SCREENSHOT=PATH   where the picture of the job screen
//                                       taken at the end goes (PNG)
//   KESTRAVO_DEMO_JOB_TIMEOUT=SECONDS   give up after this long (whole job)
struct DemoJobOptions
{
    static constexpr int kDefaultTimeoutSeconds = 900;
    static constexpr int kMaxTimeoutSeconds = 24 * 3600;

    bool enabled = false;
    QString screenshotPath;
    int timeoutSeconds = kDefaultTimeoutSeconds;
    // What was wrong with the environment (the default was used instead);
    // empty when nothing was.
    QString warning;

    static DemoJobOptions fromEnvironment(const QProcessEnvironment &env);
};

// The demo job's options and its way out, published to QML as "demoJob".
// The driver (qml/main/machine/DemoJobDriver.qml) is only created while
// `enabled` is true; without the environment above the program is the usual
// operator program.
class DemoJobLink : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool enabled READ enabled CONSTANT)
    Q_PROPERTY(QString screenshotPath READ screenshotPath CONSTANT)
    Q_PROPERTY(int timeoutSeconds READ timeoutSeconds CONSTANT)

public:
    explicit DemoJobLink(const DemoJobOptions &options, QObject *parent = nullptr);

    bool enabled() const { return m_options.enabled; }
    QString screenshotPath() const { return m_options.screenshotPath; }
    int timeoutSeconds() const { return m_options.timeoutSeconds; }

    // Writes `text` to standard output as it is and flushes it.
    Q_INVOKABLE void print(const QString &text);
    // Writes the picture of `window` (a QML window) to `path` as PNG;
    // false, with the reason on standard error, when that failed.
    Q_INVOKABLE bool saveScreenshot(QObject *window, const QString &path);
    // Ends the program's event loop with `status` once the current event has
    // been handled (the program then shuts down as after its quit action,
    // LinuxCNC included).
    Q_INVOKABLE void finish(int status);

private:
    DemoJobOptions m_options;
};
