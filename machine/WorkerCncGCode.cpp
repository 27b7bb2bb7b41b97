// WorkerCnc: G-code blocks through the interpreter, the operator's speed,
// field correction and the Z auto-search.
#include "machine/WorkerCnc.h"

#include <QDebug>

#include <cmath>
#include <numeric>

void WorkerCnc::getGCode(QString text, bool safeH)
{
    if (!m_interp.idle()) {
        // A block is running: this one is not taken. Its sender must not wait
        // for it forever, so it is answered at once; the running block goes on.
        qWarning() << "G-code block refused, another block runs:" << text;
        emit showError(tr("Блок G-кода не принят: выполняется предыдущий блок. Не принят: \"%1\"")
                           .arg(text.simplified().left(80)),
                       false, QStringLiteral("error"));
        emit gCodeDoneSend(false);
        return;
    }
    if (!m_connected) {
        // Nothing can execute it: no step may wait for it forever.
        emit gCodeDoneSend(false);
        return;
    }
    switch (m_interp.accept(text, safeH)) {
    case GCodeInterpreter::Accept::Busy:
        return;
    case GCodeInterpreter::Accept::DoneAtOnce:
        emit gCodeDoneSend(true);
        return;
    case GCodeInterpreter::Accept::Failed:
        emit gCodeDoneSend(false);
        return;
    case GCodeInterpreter::Accept::Started:
        break;
    }
    if (m_shaftsMoving)
        shaftsMove(false);
    feedOverrideGet(int(m_interp.userFeedOverride()), false);
    NMLInterpreter();
}

void WorkerCnc::NMLInterpreter()
{
    if (!m_connected || m_interp.idle())
        return;
    NMLErrorHandler();
    if (m_interp.idle())
        return;
    if (!readStatus()) {
        scheduleInterpreter(5);
        return;
    }
    if (m_status.minLimit != m_softMin || m_status.maxLimit != m_softMax)
        takeSoftLimits();
    const quint64 endedBefore = m_blocksEnded;
    const GCodeInterpreter::Step step = m_interp.step(m_status);
    if (step.kind == GCodeInterpreter::Step::Wait) {
        scheduleInterpreter(step.delayMs);
        return;
    }
    // The interpreter has ended the block itself (done or failed), unless an
    // emergency stop during the step has already reported it.
    if (m_blocksEnded == endedBefore)
        finishBlock(step.success);
}

void WorkerCnc::scheduleInterpreter(int ms)
{
    m_interpTimer.start(ms);
}

void WorkerCnc::finishBlock(bool success)
{
    ++m_blocksEnded;
    m_interpTimer.stop();
    if (m_connected)
        m_interp.restoreErrorLimits();
    emit gCodeDoneSend(success);
}

void WorkerCnc::stopInterpreter(bool successfull)
{
    m_interpTimer.stop();
    if (m_interp.finish())
        finishBlock(successfull);
}

void WorkerCnc::feedOverrideGet(int percent, bool write)
{
    m_interp.feedOverride(percent, write);
}

void WorkerCnc::resetAcc(int axis)
{
    if (m_connected)
        m_interp.resetAcc(axis);
}

void WorkerCnc::relXYGet(double x, double y)
{
    m_interp.setRelXY(x, y);
}

void WorkerCnc::calibXYGet(double x, double y)
{
    m_interp.setCalibXY(x, y);
}

void WorkerCnc::needSlowAccGet(bool slow)
{
    m_interp.setNeedSlowAcc(slow);
}

void WorkerCnc::currVCHeightGet(double height)
{
    m_interp.setCurrVCHeight(height);
}

void WorkerCnc::fieldCalibrationEnabledGet(bool enabled)
{
    m_interp.setFieldCorrectionEnabled(enabled);
}

void WorkerCnc::fieldCalibrationGet(twoDPoint2fVector table, int width, int height)
{
    m_interp.setFieldCorrection(table, width, height);
}

void WorkerCnc::fieldCalibrationAvailableGet(QVariant available)
{
    m_interp.setFieldCorrectionAvailable(available.toBool());
}

void WorkerCnc::vsMeasureGet(QVariant value, QVariant msecs)
{
    Q_UNUSED(msecs)
    m_vsPressure = value.toDouble();
    m_vsTime.start();
}

void WorkerCnc::zAutoFindGet(bool start, double increment, double feed, double targetPressureDiff)
{
    if (!start) {
        m_autoFindTimer.stop();
        if (m_autoMoveStarted) {
            m_channel->jogStop(2);
            m_autoMoveStarted = false;
        }
        // The limits were lowered at the start, whether Z moved or not.
        if (m_connected)
            m_interp.restoreErrorLimits();
        return;
    }
    if (!m_connected)
        return;
    if (feed <= 0 || increment <= 0) {
        // A search that cannot move would wait forever.
        emit zAutoFindResultSend(QStringLiteral("notFound"));
        return;
    }
    m_autoSamples.clear();
    m_autoState = 0;
    m_interp.lowerErrorLimits(0.25);
    m_autoIncrement = increment;
    m_autoFeed = feed;
    m_autoTarget = targetPressureDiff > 0 ? targetPressureDiff : 4.0;
    readStatus();
    m_autoStopHeight = m_status.position[2] - increment;
    m_autoFindTimer.start();
}

void WorkerCnc::zAutoFindCycle()
{
    auto stop = [this](const QString &result) {
        zAutoFindGet(false, 0, 0, 0);
        emit zAutoFindResultSend(result);
    };
    if (!m_vsTime.isValid() || m_vsTime.elapsed() > 200) {
        zAutoFindGet(false, 0, 0, 0);
        emit showError(tr("Автопоиск не удался! Превышено время ожидания датчика разрежения!"), false,
                       QStringLiteral("error"));
        emit zAutoFindResultSend(QStringLiteral("timeoutError"));
        return;
    }
    if (m_autoState == 0) {
        m_autoSamples.append(m_vsPressure);
        if (m_autoSamples.size() >= 10) {
            m_autoBaseline = std::accumulate(m_autoSamples.begin(), m_autoSamples.end(), 0.0) / m_autoSamples.size();
            feedOverrideGet(100, false);
            m_channel->jogIncrement(2, m_autoIncrement, -m_autoFeed);
            m_autoMoveStarted = true;
            m_autoState = 1;
        }
    } else if (m_autoState == 1) {
        m_autoSamples.removeFirst();
        m_autoSamples.append(m_vsPressure);
        const double mean = std::accumulate(m_autoSamples.begin(), m_autoSamples.end(), 0.0) / m_autoSamples.size();
        if (std::fabs(mean - m_autoBaseline) > m_autoTarget) {
            stop(QStringLiteral("Ok"));
            return;
        }
        readStatus();
        if (m_status.position[2] - m_autoStopHeight < 0.2) {
            stop(QStringLiteral("notFound"));
            return;
        }
    } else {
        stop(QStringLiteral("notFound"));
        return;
    }
    m_autoFindTimer.start();
}
