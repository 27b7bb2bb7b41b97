#include "machine/GCodeInterpreter.h"

#include <QRegularExpression>

#include <cmath>

namespace {

constexpr int kSecondCheckMs = 500;
constexpr int kMaxDwellMs = 3600 * 1000;
// A feed move may take at most this long; a slower one is refused like F 0.
constexpr double kMaxMoveSeconds = 3600;
constexpr double kDoneTolerance = 1.0;
// A move that was never seen under way counts as done only this close.
constexpr double kUnseenTolerance = 0.01;

QString stripComment(const QString &line)
{
    const int open = line.indexOf(QLatin1Char('('));
    const int close = line.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open)
        return line;
    return line.left(open) + line.mid(close + 1);
}

bool finite(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
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
    // Compared as doubles first: NaN and huge values never become an index.
    if (!(cx >= 0 && cy >= 0 && cx < m_gridWidth && cy < m_gridHeight))
        return QPointF();
    const int ix = int(cx);
    const int iy = int(cy);
    if (iy >= m_grid.size() || ix >= m_grid[iy].size())
        return QPointF();
    return m_grid[iy][ix];
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
            if (!std::isfinite(status.position[i])) {
                // Under way with no idea where the axis is: stop the machine.
                m_port.emergencyStop();
                m_port.showError(tr("Положение оси %1 неизвестно: строка \"%2\" не выполнена!")
                                     .arg(QString(QLatin1Char(Axes::letter(i))), m_movingLine));
                fail(result);
                return result;
            }
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
        if (runLine(m_lines[m_lineIndex], result))
            return result;
    }
    result.kind = Step::Finished;
    result.success = false;
    return result;
}

bool GCodeInterpreter::refuse(const QString &text, Step &result)
{
    m_port.showError(text);
    fail(result);
    return true;
}

// Runs one line. True when the step ends here (a wait or the end of the block),
// false to go on with the next line.
bool GCodeInterpreter::runLine(const QString &raw, Step &result)
{
    const QString original = raw.simplified();
    const QString line = stripComment(original).simplified();

    if (line.contains(QLatin1String("zmax"), Qt::CaseInsensitive)) {
        // No safe height in the configuration: the head must not stay down
        // while the block reports success.
        return refuse(tr("Безопасная высота оси Z не задана (HOME в ini-файле равен 0): строка \"%1\" не выполнена!")
                          .arg(original),
                      result);
    }
    const QVector<GCodeWord> words = GCodeWords::split(line);
    for (const GCodeWord &w : words) {
        if (!w.valid)
            return refuse(tr("Неверное слово \"%1\" в строке \"%2\"!").arg(w.text, original), result);
    }

    // The first word is the command.
    int command = -1;
    bool isG = false;
    if (!words.isEmpty() && (words[0].key == QLatin1String("g") || words[0].key == QLatin1String("m"))) {
        isG = words[0].key == QLatin1String("g");
        command = words[0].value < 1000 ? int(words[0].value) : -1;
    }
    if (isG && (command == 0 || command == 1))
        return runMotion(words, 1, command == 0, true, original, result);
    if (isG && command == 4)
        return runDwell(words, original, result);
    if (!isG && (command == 64 || command == 65))
        return runOutput(words, command == 64, original, result);

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
    return runMotion(words, 0, m_rapid, false, original, result);
}

bool GCodeInterpreter::findPWord(const QVector<GCodeWord> &words, const QString &original, Step &result,
                                 const GCodeWord **p)
{
    *p = nullptr;
    for (int k = 1; k < words.size(); ++k) {
        if (words[k].key != QLatin1String("p"))
            continue;
        if (*p) {
            refuse(tr("Повторное слово \"%1\" в строке \"%2\"!").arg(words[k].text, original), result);
            return false;
        }
        *p = &words[k];
    }
    return true;
}

// m64 / m65: one output that the machine has, by its P word.
bool GCodeInterpreter::runOutput(const QVector<GCodeWord> &words, bool on, const QString &original, Step &result)
{
    const GCodeWord *p = nullptr;
    if (!findPWord(words, original, result, &p))
        return true;
    if (!p)
        return refuse(tr("В строке \"%1\" не задан номер выхода!").arg(original), result);
    if (!p->integer || p->value >= MachineStatus::kDio)
        return refuse(tr("Недопустимый номер выхода \"%1\" в строке \"%2\"!").arg(p->text, original), result);
    const int index = int(p->value);
    m_port.setOutput(index, on);
    if (on && index == 1)
        m_port.setOutput(0, true); // the vacuum valve needs the compressor
    ++m_lineIndex;
    return false;
}

// g4: waits P seconds (negative: not at all; at most an hour).
bool GCodeInterpreter::runDwell(const QVector<GCodeWord> &words, const QString &original, Step &result)
{
    const GCodeWord *p = nullptr;
    if (!findPWord(words, original, result, &p))
        return true;
    if (!p)
        return refuse(tr("В строке \"%1\" не задано время паузы!").arg(original), result);
    ++m_lineIndex;
    const double ms = std::trunc(p->value * 1000.0);
    result.kind = Step::Wait;
    result.delayMs = ms <= 0 ? 0 : (ms >= kMaxDwellMs ? kMaxDwellMs : int(ms));
    return true;
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

// A motion line: the words from index first on, in rapid or feed mode. The
// whole line is checked before anything is sent or any mode changes: a
// refused line leaves the machine and the modal state as they were.
bool GCodeInterpreter::runMotion(const QVector<GCodeWord> &words, int first, bool rapid, bool commandLine,
                                 const QString &original, Step &result)
{
    const GCodeWord *feedWord = nullptr;
    const GCodeWord *accWord = nullptr;
    std::array<const GCodeWord *, kAxes> axisWord{};
    for (int k = first; k < words.size(); ++k) {
        const GCodeWord &w = words[k];
        const GCodeWord **slot = nullptr;
        if (w.key == QLatin1String("f"))
            slot = &feedWord;
        else if (w.key == QLatin1String("acc"))
            slot = &accWord;
        else if (w.key == QLatin1String("znozzle"))
            slot = &axisWord[2];
        else if (GCodeWords::axisOf(w.key) >= 0)
            slot = &axisWord[GCodeWords::axisOf(w.key)];
        if (!slot)
            continue; // other words are not this interpreter's
        if (*slot)
            return refuse(tr("Повторное слово \"%1\" в строке \"%2\"!").arg(w.text, original), result);
        *slot = &w;
    }

    double feed = m_lineFeed;
    if (feedWord && !rapid) {
        // F is taken by its magnitude; only F 0 would never finish.
        if (feedWord->value == 0)
            return refuse(tr("Недопустимая подача в строке \"%1\"!").arg(original), result);
        feed = std::fabs(feedWord->value);
    }
    const double lineAcc = accWord && !rapid ? std::fabs(accWord->value) : -1;

    std::array<double, kAxes> target = m_snapshot;
    std::array<bool, kAxes> found{};
    std::array<bool, kAxes> commanded{};
    std::array<bool, kAxes> relative{};
    std::array<double, kAxes> offset{};
    for (int i = 0; i < kAxes; ++i) {
        const GCodeWord *w = axisWord[i];
        if (!w)
            continue;
        if (!std::isfinite(m_snapshot[i]))
            return refuse(tr("Положение оси %1 неизвестно: строка \"%2\" не выполнена!")
                              .arg(QString(QLatin1Char(Axes::letter(i))), original),
                          result);
        double v;
        if (w->relative) {
            v = m_snapshot[i] + w->value;
            relative[i] = true;
            offset[i] = w->value;
            commanded[i] = true;
        } else {
            v = w->value;
            if (w->key == QLatin1String("znozzle"))
                v = m_currVCHeight == 0 ? m_set.zMax : v + m_currVCHeight;
            if (i == 0)
                v += m_relX;
            if (i == 1)
                v += m_relY;
            double tolerance = 0.1;
            if (i < 2 && m_set.encoderStep > 0)
                tolerance = m_set.encoderStep / 2;
            if (i == 3)
                tolerance = 0.01;
            commanded[i] = std::fabs(v - m_snapshot[i]) > tolerance || (i < 2 && fieldCorrectionActive());
        }
        if (!std::isfinite(v))
            return refuse(tr("Цель слова \"%1\" в строке \"%2\" не является конечным числом!").arg(w->text, original),
                          result);
        found[i] = true;
        target[i] = v;
    }

    if (fieldCorrectionActive() && (found[0] || found[1])
        && !fieldCorrect(target, found, offset, relative, original, result))
        return true;

    // The soft limits, on the targets the axes are really sent to.
    for (int i = 0; i < kAxes; ++i) {
        if (!found[i])
            continue;
        double &v = target[i];
        const double smax = m_set.softMax[i];
        const double smin = m_set.softMin[i];
        if (v >= smax - 0.05 && v <= smax + 0.01)
            v = smax - 0.05;
        if (v >= smin - 0.01 && v <= smin + 0.05)
            v = smin + 0.05;
        if (!(v >= smin && v <= smax)) { // unknown (NaN) limits refuse too
            m_port.reportError(tr("Перемещение, заданное командой") + QLatin1Char(' ') + QLatin1Char('"') + original
                               + QLatin1Char('"') + QLatin1Char(' ') + tr("выходит за допустимый диапазон!"));
            m_port.emergencyStop();
            fail(result);
            return true;
        }
    }

    std::array<double, kAxes> velocity{};
    bool any = false;
    for (int i = 0; i < kAxes; ++i) {
        if (!commanded[i])
            continue;
        any = true;
        velocity[i] = rapid ? m_set.maxVelocity[i] : feed / 60.0;
        // A feed so slow that the move would outlast an hour is no feed.
        if (!(velocity[i] > 0) || !std::isfinite(velocity[i])
            || (!rapid && !(std::fabs(target[i] - m_snapshot[i]) / velocity[i] <= kMaxMoveSeconds)))
            return refuse(tr("Недопустимая подача в строке \"%1\"!").arg(original), result);
    }

    // Accepted: the modal state, then the accelerations and the moves.
    m_rapid = rapid;
    m_lineFeed = feed;
    m_lineAcc = lineAcc;
    if (rapid && commandLine) {
        for (int i = 0; i < kAxes; ++i) {
            m_blockAcc[i] = m_set.maxAcceleration[i];
            writeAcc(i, m_set.maxAcceleration[i]);
        }
    }
    if (!any) {
        ++m_lineIndex;
        return false;
    }

    m_moving = true;
    m_movingLine = original;
    m_commanded = commanded;
    for (int i = 0; i < kAxes; ++i) {
        if (!commanded[i])
            continue;
        double wanted;
        if (rapid) {
            wanted = m_set.maxAcceleration[i];
            m_blockAcc[i] = wanted;
        } else if (m_lineAcc > 0) {
            wanted = m_lineAcc;
            m_blockAcc[i] = wanted;
        } else {
            wanted = m_blockAcc[i];
        }
        writeAcc(i, wanted);
        m_target[i] = target[i];
        m_start[i] = m_snapshot[i];
        m_seenMoving[i] = false;
        m_port.moveAxis(i, target[i], velocity[i]);
        if (i < 3)
            m_milage[i] += std::fabs(target[i] - m_snapshot[i]) / 1000.0;
    }
    ++m_lineIndex;
    result.kind = Step::Wait;
    result.delayMs = kPollMs;
    return true;
}

// Field correction of the X/Y targets: absolute targets are in corrected
// coordinates, relative ones are taken from the corrected position the
// operator sees; the cell under the target is then subtracted. False (the
// block refused) when a position or a correction is not a finite number.
bool GCodeInterpreter::fieldCorrect(std::array<double, kAxes> &target, const std::array<bool, kAxes> &found,
                                    const std::array<double, kAxes> &offset, const std::array<bool, kAxes> &relative,
                                    const QString &original, Step &result)
{
    for (int i = 0; i < 2; ++i) {
        if (!std::isfinite(m_snapshot[i])) {
            refuse(tr("Положение оси %1 неизвестно: строка \"%2\" не выполнена!")
                       .arg(QString(QLatin1Char(Axes::letter(i))), original),
                   result);
            return false;
        }
        if (!found[i])
            target[i] = m_snapshot[i];
    }
    const QString badCorrection = tr("Поправка поля для строки \"%1\" не является конечным числом!").arg(original);
    if (relative[0] || relative[1]) {
        const QPointF here = fieldCell(m_snapshot[0], m_snapshot[1]);
        const QPointF published = fieldCell(m_snapshot[0] + here.x(), m_snapshot[1] + here.y());
        if (!finite(here) || !finite(published)) {
            refuse(badCorrection, result);
            return false;
        }
        if (relative[0])
            target[0] = m_snapshot[0] + offset[0] + published.x();
        if (relative[1])
            target[1] = m_snapshot[1] + offset[1] + published.y();
    }
    const QPointF cell = fieldCell(target[0], target[1]);
    target[0] -= cell.x();
    target[1] -= cell.y();
    if (!finite(cell) || !std::isfinite(target[0]) || !std::isfinite(target[1])) {
        refuse(badCorrection, result);
        return false;
    }
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
