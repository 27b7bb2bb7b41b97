#include "machine/GCodeInterpreter.h"

#include <QRegularExpression>

#include <cmath>

namespace {

const QString kNumber = QStringLiteral("([0-9]*[\\.,][0-9]+|[0-9]+)");
constexpr int kSecondCheckMs = 500;
constexpr int kMaxDwellMs = 3600 * 1000;
constexpr double kDoneTolerance = 1.0;
// A move that was never seen under way counts as done only this close.
constexpr double kUnseenTolerance = 0.01;

double toNumber(QString text, bool *ok)
{
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text.toDouble(ok);
}

QString stripComment(const QString &line)
{
    const int open = line.indexOf(QLatin1Char('('));
    const int close = line.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open)
        return line;
    return line.left(open) + line.mid(close + 1);
}

} // namespace

GCodeInterpreter::GCodeInterpreter(MotionPort &port)
    : m_port(port)
{
}

void GCodeInterpreter::configure(const AxisSettings &settings)
{
    m_set = settings;
    for (int i = 0; i < kAxes; ++i) {
        m_currentAcc[i] = std::floor(m_set.maxAcceleration[i]);
        m_blockAcc[i] = m_set.maxAcceleration[i];
    }
}

void GCodeInterpreter::setSoftLimits(const std::array<double, kAxes> &min, const std::array<double, kAxes> &max)
{
    m_set.softMin = min;
    m_set.softMax = max;
}

void GCodeInterpreter::setCalibXY(double x, double y)
{
    m_xCalibText = QStringLiteral("X") + QString::number(x, 'f', 2);
    m_yCalibText = QStringLiteral("Y") + QString::number(y, 'f', 2);
}

void GCodeInterpreter::setFieldCorrection(const QVector<QVector<QPointF>> &grid, int width, int height)
{
    m_grid = grid;
    m_gridWidth = width;
    m_gridHeight = height;
}

QPointF GCodeInterpreter::fieldCell(double x, double y) const
{
    const double cx = std::ceil(x);
    const double cy = std::ceil(y);
    if (cx < 0 || cy < 0 || cx >= m_gridWidth || cy >= m_gridHeight)
        return QPointF();
    const int ix = int(cx);
    const int iy = int(cy);
    if (iy >= m_grid.size() || ix >= m_grid[iy].size())
        return QPointF();
    return m_grid[iy][ix];
}

bool GCodeInterpreter::paramReal(QString &str, const QString &param, double *result)
{
    const QRegularExpression re(QRegularExpression::escape(param) + QStringLiteral("([\\+-]?)") + kNumber,
                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(str);
    if (!m.hasMatch() || m.captured(2).isEmpty())
        return false;
    bool ok = false;
    double v = toNumber(m.captured(2), &ok);
    if (m.captured(1) == QLatin1String("-"))
        v = -v;
    if (ok)
        *result = v;
    str.remove(m.capturedStart(0), m.capturedLength(0));
    return ok;
}

bool GCodeInterpreter::relativeCoord(const QString &str, QChar param, double *result)
{
    const QRegularExpression re(QRegularExpression::escape(QString(param)) + QStringLiteral("(\\+{2}|-{2})") + kNumber,
                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(str);
    if (!m.hasMatch())
        return false;
    bool ok = false;
    double v = toNumber(m.captured(2), &ok);
    if (!ok)
        return false;
    *result = m.captured(1) == QLatin1String("--") ? -v : v;
    return true;
}

bool GCodeInterpreter::paramInt(const QString &str, QChar param, int *result)
{
    const QRegularExpression re(QRegularExpression::escape(QString(param)) + kNumber,
                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(str);
    if (!m.hasMatch())
        return false;
    bool ok = false;
    const int v = m.captured(1).toInt(&ok, 10);
    if (ok)
        *result = v;
    return ok;
}

GCodeInterpreter::Accept GCodeInterpreter::accept(const QString &text, bool safeH)
{
    if (!m_idle)
        return Accept::Busy;
    QString block = text.toLower();
    if (!block.contains(QLatin1Char('g')) && !block.contains(QLatin1Char('m')))
        return Accept::DoneAtOnce;
    block.replace(QStringLiteral("zmax"), m_set.zMaxText, Qt::CaseInsensitive);
    block.replace(QStringLiteral("xcalib"), m_xCalibText, Qt::CaseInsensitive);
    block.replace(QStringLiteral("ycalib"), m_yCalibText, Qt::CaseInsensitive);
    m_lines.clear();
    for (const QString &l : block.split(QRegularExpression(QStringLiteral("[\\r\\n]+")))) {
        if (!l.trimmed().isEmpty())
            m_lines << l;
    }
    m_idle = false;
    m_safeHeightCheck = safeH;
    m_moving = false;
    m_lineIndex = 0;
    return Accept::Started;
}

bool GCodeInterpreter::finish()
{
    const bool wasRunning = !m_idle;
    m_idle = true;
    m_moving = false;
    m_lineIndex = 0;
    m_secondCheckPending = false;
    return wasRunning;
}

void GCodeInterpreter::fail(Step &result)
{
    finish();
    result.kind = Step::Finished;
    result.success = false;
}

GCodeInterpreter::Step GCodeInterpreter::step(const MachineStatus &status)
{
    Step result;
    if (m_idle) {
        result.kind = Step::Finished;
        result.success = false;
        return result;
    }
    m_snapshot = status.position;

    if (m_moving) {
        bool allDone = true;
        for (int i = 0; i < kAxes; ++i) {
            if (!m_commanded[i])
                continue;
            const double left = std::fabs(m_target[i] - status.position[i]);
            if (!status.inPosition[i] || std::fabs(status.position[i] - m_start[i]) > 0.001)
                m_seenMoving[i] = true;
            const bool done = status.inPosition[i] && left <= kDoneTolerance
                              && (m_seenMoving[i] || left <= kUnseenTolerance);
            if (done)
                m_snapshot[i] = m_target[i];
            else
                allDone = false;
        }
        if (!allDone) {
            result.kind = Step::Wait;
            result.delayMs = kPollMs;
            return result;
        }
        m_moving = false;
        if (m_commanded[2] && std::fabs(m_target[2] - m_set.zMax) <= 0.2) {
            if (status.digitalIn[0] != 0) {
                m_secondCheckPending = false;
            } else if (m_secondCheckPending) {
                m_secondCheckPending = false;
                m_port.emergencyStop();
                m_port.showError(tr("Датчик безопасной высоты не сработал! Аварийное отключение!"));
                fail(result);
                return result;
            } else {
                m_secondCheckPending = true;
                m_moving = true;
                result.kind = Step::Wait;
                result.delayMs = kSecondCheckMs;
                return result;
            }
        }
    }

    while (!m_idle) {
        if (m_lineIndex >= m_lines.size()) {
            finish();
            result.kind = Step::Finished;
            result.success = true;
            return result;
        }
        if (runLine(m_lines[m_lineIndex], status, result))
            return result;
    }
    result.kind = Step::Finished;
    result.success = false;
    return result;
}

// Runs one line. True when the step ends here (a wait or the end of the block),
// false to go on with the next line.
bool GCodeInterpreter::runLine(const QString &raw, const MachineStatus &status, Step &result)
{
    Q_UNUSED(status)
    const QString original = raw.simplified();
    const QString line = stripComment(original).simplified();

    if (line.startsWith(QLatin1String("g0"))) {
        m_rapid = true;
        for (int i = 0; i < kAxes; ++i) {
            m_blockAcc[i] = m_set.maxAcceleration[i];
            writeAcc(i, m_set.maxAcceleration[i]);
        }
        return parseMotion(line.mid(2), original, result);
    }
    if (line.startsWith(QLatin1String("g1"))) {
        m_rapid = false;
        return parseMotion(line.mid(2), original, result);
    }
    if (line.startsWith(QLatin1String("m64"))) {
        int p = 0;
        if (paramInt(line.mid(3), QLatin1Char('p'), &p)) {
            if (p >= 0 && p < MachineStatus::kDio) {
                m_port.setOutput(p, true);
                if (p == 1)
                    m_port.setOutput(0, true);
            }
        }
        ++m_lineIndex;
        return false;
    }
    if (line.startsWith(QLatin1String("m65 "))) {
        int p = 0;
        if (paramInt(line.mid(3), QLatin1Char('p'), &p) && p >= 0 && p < MachineStatus::kDio)
            m_port.setOutput(p, false);
        ++m_lineIndex;
        return false;
    }
    if (line.startsWith(QLatin1String("g4 "))) {
        QString rest = line.mid(2);
        double seconds = 0;
        ++m_lineIndex;
        if (!paramReal(rest, QStringLiteral("p"), &seconds))
            return false;
        const double ms = std::trunc(seconds * 1000.0);
        result.kind = Step::Wait;
        result.delayMs = ms <= 0 ? 0 : (ms >= kMaxDwellMs ? kMaxDwellMs : int(ms));
        return true;
    }
    if (original.startsWith(QLatin1String("(setlowerrorlimit)"))) {
        lowerErrorLimits(0.5);
        ++m_lineIndex;
        return false;
    }
    if (original.startsWith(QLatin1String("(restoreerrorlimit)"))) {
        for (int i = 0; i < 3; ++i)
            m_port.setFollowingErrorLimit(i, m_set.ferror[i]);
        m_lowErrorLimit = false;
        ++m_lineIndex;
        return false;
    }
    if (original.startsWith(QLatin1String("(vsmeasurebeforeget)"))) {
        m_port.requestVacuumReference();
        ++m_lineIndex;
        return false;
    }
    return parseMotion(line, original, result);
}

void GCodeInterpreter::lowerErrorLimits(double z)
{
    const double limits[3] = {0.5, 0.5, z};
    for (int i = 0; i < 3; ++i)
        m_port.setFollowingErrorLimit(i, limits[i]);
    m_lowErrorLimit = true;
}

void GCodeInterpreter::restoreErrorLimits()
{
    if (!m_lowErrorLimit)
        return;
    for (int i = 0; i < 3; ++i)
        m_port.setFollowingErrorLimit(i, m_set.ferror[i]);
    m_lowErrorLimit = false;
}

bool GCodeInterpreter::parseMotion(QString line, const QString &original, Step &result)
{
    if (line.contains(QLatin1String("zmax"), Qt::CaseInsensitive)) {
        // No safe height in the configuration: the head must not stay down
        // while the block reports success.
        m_port.showError(tr("Безопасная высота оси Z не задана (HOME в ini-файле равен 0): строка \"%1\" не выполнена!")
                             .arg(original));
        fail(result);
        return true;
    }
    double value = 0;
    if (paramReal(line, QStringLiteral("f"), &value) && !m_rapid) {
        if (value <= 0) {
            m_port.showError(tr("Недопустимая подача в строке \"%1\"!").arg(original));
            fail(result);
            return true;
        }
        m_lineFeed = std::fabs(value);
    }
    if (paramReal(line, QStringLiteral("acc"), &value) && !m_rapid)
        m_lineAcc = std::fabs(value);
    else
        m_lineAcc = -1;

    m_commanded.fill(false);
    m_relGiven[0] = m_relGiven[1] = false;
    std::array<bool, kAxes> found{};
    for (int i = 0; i < kAxes; ++i) {
        const QChar letter = QLatin1Char(char(std::tolower(Axes::letter(i))));
        double v = 0;
        bool absolute = paramReal(line, QString(letter), &v);
        if (!absolute && i == 2 && paramReal(line, QStringLiteral("znozzle"), &v)) {
            absolute = true;
            v = m_currVCHeight == 0 ? m_set.zMax : v + m_currVCHeight;
        }
        if (absolute) {
            if (i == 0)
                v += m_relX;
            if (i == 1)
                v += m_relY;
            double tolerance = 0.1;
            if (i < 2 && m_set.encoderStep > 0)
                tolerance = m_set.encoderStep / 2;
            if (i == 3)
                tolerance = 0.01;
            m_commanded[i] = std::fabs(v - m_snapshot[i]) > tolerance || (i < 2 && fieldCorrectionActive());
        } else {
            double offset = 0;
            if (!relativeCoord(line, letter, &offset))
                continue;
            v = m_snapshot[i] + offset;
            if (i < 2) {
                m_relGiven[i] = true;
                m_relValue[i] = offset;
            }
            m_commanded[i] = true;
        }
        found[i] = true;
        const double smax = m_set.softMax[i];
        const double smin = m_set.softMin[i];
        if (v >= smax - 0.05 && v <= smax + 0.01)
            v = smax - 0.05;
        if (v >= smin - 0.01 && v <= smin + 0.05)
            v = smin + 0.05;
        if (v > smax || v < smin) {
            m_port.reportError(tr("Перемещение, заданное командой") + QLatin1Char(' ') + QLatin1Char('"') + original
                               + QLatin1Char('"') + QLatin1Char(' ') + tr("выходит за допустимый диапазон!"));
            m_port.emergencyStop();
            fail(result);
            return true;
        }
        m_target[i] = v;
    }

    if (fieldCorrectionActive()) {
        if (!found[0])
            m_target[0] = m_snapshot[0];
        if (!found[1])
            m_target[1] = m_snapshot[1];
        const QPointF here = fieldCell(m_snapshot[0], m_snapshot[1]);
        const QPointF published = fieldCell(m_snapshot[0] + here.x(), m_snapshot[1] + here.y());
        if (m_relGiven[0])
            m_target[0] = m_snapshot[0] + m_relValue[0] + published.x();
        if (m_relGiven[1])
            m_target[1] = m_snapshot[1] + m_relValue[1] + published.y();
        const QPointF cell = fieldCell(m_target[0], m_target[1]);
        m_target[0] -= cell.x();
        m_target[1] -= cell.y();
    }

    bool any = false;
    for (int i = 0; i < kAxes; ++i)
        any = any || m_commanded[i];
    if (!any) {
        ++m_lineIndex;
        return false;
    }
    if (!m_rapid && m_lineFeed <= 0) {
        m_port.showError(tr("Недопустимая подача в строке \"%1\"!").arg(original));
        fail(result);
        return true;
    }

    m_moving = true;
    for (int i = 0; i < kAxes; ++i) {
        if (!m_commanded[i])
            continue;
        double wanted;
        if (m_rapid) {
            wanted = m_set.maxAcceleration[i];
            m_blockAcc[i] = wanted;
        } else if (m_lineAcc > 0) {
            wanted = m_lineAcc;
            m_blockAcc[i] = wanted;
        } else {
            wanted = m_blockAcc[i];
        }
        writeAcc(i, wanted);
        const double velocity = m_rapid ? m_set.maxVelocity[i] : m_lineFeed / 60.0;
        m_start[i] = m_snapshot[i];
        m_seenMoving[i] = false;
        m_port.moveAxis(i, m_target[i], velocity);
        if (i < 3)
            m_milage[i] += std::fabs(m_target[i] - m_snapshot[i]) / 1000.0;
    }
    ++m_lineIndex;
    result.kind = Step::Wait;
    result.delayMs = kPollMs;
    return true;
}

// The acceleration rule: what the line asks for, gentler while setting up,
// scaled by the operator's speed, never above the ini value and never below 1.
void GCodeInterpreter::writeAcc(int axis, double wanted)
{
    const double max = m_set.maxAcceleration[axis];
    if (max <= 0)
        return; // the axis is not in the configuration
    if (m_needSlowAcc)
        wanted = std::min(wanted, 0.15 * max);
    const double a = std::min(m_userFeedOverride / 100.0 * max, wanted);
    const double value = std::max(1.0, std::floor(std::min(max, a)));
    if (value == m_currentAcc[axis])
        return;
    m_port.setAccelerationLimit(axis, int(value));
    m_currentAcc[axis] = value;
}

void GCodeInterpreter::feedOverride(double value, bool write)
{
    if (write)
        m_userFeedOverride = value;
    m_feedOverride = value;
    if (!m_moving)
        return;
    for (int i = 0; i < kAxes; ++i) {
        const double max = m_set.maxAcceleration[i];
        if (!m_commanded[i] || max <= 0)
            continue;
        double n = value / 100.0 * max;
        if (m_needSlowAcc)
            n = std::min(n, 0.15 * max);
        if (n > m_currentAcc[i] && n <= m_blockAcc[i]) {
            const double v = std::max(1.0, std::floor(std::min(max, n)));
            if (v != m_currentAcc[i]) {
                m_port.setAccelerationLimit(i, int(v));
                m_currentAcc[i] = v;
            }
        }
    }
}

void GCodeInterpreter::resetAcc(int axis)
{
    if (!Axes::valid(axis))
        return;
    const double max = m_set.maxAcceleration[axis];
    if (max <= 0 || m_currentAcc[axis] == std::floor(max))
        return;
    m_port.setAccelerationLimit(axis, int(std::max(1.0, std::floor(max))));
    m_currentAcc[axis] = std::floor(max);
}
