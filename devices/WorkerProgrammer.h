#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// Runs the operator's device-programmer script for a component and reports
// its result.
class WorkerProgrammer : public QObject
{
    Q_OBJECT
public:
    explicit WorkerProgrammer(QObject *parent = nullptr);

public slots:
    // Runs the programmer script and waits at most the given seconds.
    void programmerScriptStart(QString scriptPath, int waitSeconds);

signals:
    void programmerScriptResultSend(QVariant result);
    void showError(QVariant message, QVariant silent, QVariant type);
};
