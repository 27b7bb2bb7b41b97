#include "devices/WorkerProgrammer.h"

#include <QDebug>
#include <QProcess>
#include <QUrl>

WorkerProgrammer::WorkerProgrammer(QObject *parent)
    : QObject(parent)
{
}

void WorkerProgrammer::programmerScriptStart(QString scriptPath, int waitSeconds)
{
    const QString path = scriptPath.startsWith(QLatin1String("file:"))
                             ? QUrl(scriptPath).toLocalFile() : scriptPath;
    const int limit = qMax(0, waitSeconds) * m_secondMs;

    QProcess process;
    process.setProgram(path);
    process.setArguments({});
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(QIODevice::ReadWrite);
    const bool started = process.waitForStarted(qMax(limit, 1000));
    const bool finished = started && process.waitForFinished(limit);

    QString result;
    QString errorText;
    if (!started) {
        result = QStringLiteral("error");
        errorText = tr("Ошибка скрипта программатора:\n") + process.errorString();
    } else if (!finished) {
        result = QStringLiteral("timeout");
    } else if (process.exitStatus() != QProcess::NormalExit) {
        result = QStringLiteral("error");
        errorText = tr("Ошибка скрипта программатора:\n") + process.errorString();
    } else if (process.exitCode() != 0) {
        result = QString::number(process.exitCode());
        errorText = tr("Ошибка скрипта программатора:\n") + process.errorString()
                    + tr("\nКод ошибки: %1").arg(process.exitCode());
    } else {
        result = QStringLiteral("success");
    }
    qDebug().noquote() << "errorString: " + process.errorString() + "; result: " + result + ";";
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
    }
    if (!errorText.isEmpty())
        emit showError(errorText, false, QStringLiteral("error"));
    emit programmerScriptResultSend(result);
}
