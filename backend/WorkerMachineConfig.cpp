// Worker: the checks of the machine configuration (ini and HAL files), its
// speed and scale editors, the serial port list and the limits reported by
// the machine link.
#include "backend/Worker.h"

#include "util/FileUrl.h"

#include "machine/IniCheck.h"
#include "machine/IniEditor.h"

#include <QDateTime>
#include <QDebug>

namespace {

QString stripUrl(const QString &path)
{
    return FileUrl::toLocalPath(path);
}

} // namespace

void Worker::iniFileCheck(QString iniFile)
{
    const IniCheck::Result r = IniCheck::check(stripUrl(iniFile));
    if (!r.correct) {
        emit showError(r.error, false, QStringLiteral("error"));
        emit iniFileCorrectSend(false);
        return;
    }
    emit inputsExistsSend(r.inputsExist);
    setRootProperty("workAreaX2", r.workAreaX2);
    setRootProperty("workAreaY2", r.workAreaY2);
    setRootProperty("workAreaZ1", r.workAreaZ1);
    setRootProperty("workAreaZ2", r.workAreaZ2);
    setRootProperty("bAxisEnabled", r.bAxisEnabled);
    if (r.halRead) {
        emit iniMesaTypeSend(r.cardType);
        emit iniIPSend(r.cardAddress);
    }
    emit iniFileCorrectSend(true);
}

void Worker::iniGetSpeedAcc(QString iniFile)
{
    const IniCheck::Speeds s = IniCheck::speeds(stripUrl(iniFile));
    if (!s.correct) {
        emit showError(s.error, false, QStringLiteral("error"));
        emit iniFileCorrectSend(false);
        return;
    }
    emit maxVelSend(s.velocity[0], s.velocity[1], s.velocity[2], s.velocity[3], s.velocity[4], s.velocity[5]);
    emit maxAccSend(s.acceleration[0], s.acceleration[1], s.acceleration[2], s.acceleration[3]);
    emit iniFileCorrectSend(true);
}

void Worker::maxVelAccGet(QString fileName, double v1, double v2, double v3, double v4, double v5, double v6,
                          double a1, double a2, double a3, double a4)
{
    QString error;
    if (!IniEditor::edit(stripUrl(fileName), IniEditor::speedChanges({v1, v2, v3, v4, v5, v6}, {a1, a2, a3, a4}), &error))
        emit showError(tr("Ошибка при сохранении настроек в ini-файл") + ": " + stripUrl(fileName) + " (" + error + ")",
                       false, QStringLiteral("error"));
}

// A scale that is not a usable number never reaches the configuration: the
// operator is told and the file stays as it is.
bool Worker::refuseScales(const QString &kind, double x, double y)
{
    if (IniEditor::scaleUsable(x) && IniEditor::scaleUsable(y))
        return false;
    emit showError(tr("Недопустимый масштабный коэффициент (%1) X: %2, Y: %3. Ini-файл не изменен.")
                       .arg(kind, QString::number(x), QString::number(y)),
                   false, QStringLiteral("error"));
    return true;
}

void Worker::encoderScaleGet(QString fileName, double eSX, double eSY)
{
    if (refuseScales(QStringLiteral("ENCODER_SCALE"), eSX, eSY))
        return;
    QString error;
    if (!IniEditor::edit(stripUrl(fileName), IniEditor::scaleChanges(QStringLiteral("ENCODER_SCALE"), eSX, eSY), &error))
        emit showError(tr("Ошибка при сохранении настроек в ini-файл") + ": " + stripUrl(fileName) + " (" + error + ")",
                       false, QStringLiteral("error"));
}

void Worker::stepperScaleGet(QString fileName, double sSX, double sSY)
{
    if (refuseScales(QStringLiteral("STEP_SCALE"), sSX, sSY))
        return;
    QString error;
    if (!IniEditor::edit(stripUrl(fileName), IniEditor::scaleChanges(QStringLiteral("STEP_SCALE"), sSX, sSY), &error))
        emit showError(tr("Ошибка при сохранении настроек в ini-файл") + ": " + stripUrl(fileName) + " (" + error + ")",
                       false, QStringLiteral("error"));
}

void Worker::maxVelGet(QVariant v1, QVariant v2, QVariant v3, QVariant v4, QVariant v5, QVariant v6)
{
    m_machineMaxVel = {v1, v2, v3, v4, v5, v6};
}

void Worker::maxAccGet(QVariant a1, QVariant a2, QVariant a3, QVariant a4)
{
    m_machineMaxAcc = {a1, a2, a3, a4};
}
