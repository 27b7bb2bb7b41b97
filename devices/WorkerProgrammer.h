#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// Runs the operator's device-programmer executable for a component and
// reports its verdict: "success", "error", "timeout" or the exit code.
class WorkerProgrammer : public QObject
{
    Q_OBJECT
public:
    explicit WorkerProgrammer(QObject *parent = nullptr);

    // Milliseconds in one second of the wait. The program keeps 1000; tests
    // shorten it.
    void setSecondMs(int msecs) { m_secondMs = msecs; }

public slots:
    // Runs the executable (a path or a file URL, no arguments) and waits at
    // most the given seconds; blocks this thread meanwhile.
    void programmerScriptStart(QString scriptPath, int waitSeconds);
    void finishedHandler(int exitCode) { Q_UNUSED(exitCode) }

signals:
    void programmerScriptResultSend(QVariant result);
    void showError(QVariant message, QVariant silent, QVariant type);

private:
    int m_secondMs = 1000;
};
