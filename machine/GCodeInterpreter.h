#pragma once

#include "machine/GCodeWords.h"
#include "machine/MachineStatus.h"
#include "machine/MotionPort.h"

#include <QCoreApplication>
#include <QPointF>
#include <QStringList>
#include <QVector>

#include <array>

// Executes the program's G-code blocks line by line as single-axis absolute
// moves, outputs, dwells and a few macros. It never waits itself: step()
// says how long to wait before the next step, and the caller feeds it a fresh
// status each time.
class GCodeInterpreter
{
    Q_DECLARE_TR_FUNCTIONS(GCodeInterpreter)
public:
    static constexpr int kAxes = Axes::kCount;
    // Completion of a move is looked at this often (ms): a short move should
    // not wait long for its successor.
    static constexpr int kPollMs = 1;

    struct AxisSettings
    {
        std::array<double, kAxes> maxVelocity{};
        std::array<double, kAxes> maxAcceleration{};
        std::array<double, kAxes> softMin{};
        std::array<double, kAxes> softMax{};
        std::array<double, 3> ferror{{10, 10, 10}};
        double encoderStep = -1;
        double zMax = 0;
        QString zMaxText = QStringLiteral("zMax");
    };

    enum class Accept { Busy, DoneAtOnce, Started, Failed };

    struct Step
    {
        enum Kind { Wait, Finished } kind = Finished;
        int delayMs = 0;
        bool success = false;
    };

    explicit GCodeInterpreter(MotionPort &port);

    // New machine configuration: limits, accelerations (pins assumed at their
    // ini values), safe height.
    void configure(const AxisSettings &settings);
    const AxisSettings &settings() const { return m_set; }
    void setSoftLimits(const std::array<double, kAxes> &min, const std::array<double, kAxes> &max);

    Accept accept(const QString &text, bool safeH);
    // One step with the current status; Finished ends the block.
    Step step(const MachineStatus &status);
    // Ends the running block; false when none was running.
    bool finish();
    bool idle() const { return m_idle; }
    bool moving() const { return m_moving; }

    void feedOverride(double value, bool write);
    double userFeedOverride() const { return m_userFeedOverride; }
    // Puts the axis's acceleration pin back to its ini value.
    void resetAcc(int axis);

    void setRelXY(double x, double y) { m_relX = x; m_relY = y; }
    void setCalibXY(double x, double y);
    void setCurrVCHeight(double h) { m_currVCHeight = h; }
    void setNeedSlowAcc(bool slow) { m_needSlowAcc = slow; }
    void setFieldCorrection(const QVector<QVector<QPointF>> &grid, int width, int height);
    void setFieldCorrectionEnabled(bool on) { m_fieldEnabled = on; }
    void setFieldCorrectionAvailable(bool on) { m_fieldAvailable = on; }
    bool fieldCorrectionActive() const { return m_fieldEnabled && m_fieldAvailable; }
    // Field correction of a position (for display): the cell at ceil(x), ceil(y).
    QPointF fieldCell(double x, double y) const;

    bool lowErrorLimitActive() const { return m_lowErrorLimit; }
    // Restores the ini following-error limits when they were lowered.
    void restoreErrorLimits();
    void lowerErrorLimits(double z);

    // Metres travelled by X, Y, Z since the last take.
    std::array<double, 3> &milage() { return m_milage; }
    const std::array<double, kAxes> &currentAcceleration() const { return m_currentAcc; }
    const QStringList &lines() const { return m_lines; }

private:
    bool runLine(const QString &raw, Step &result);
    bool runMotion(const QVector<GCodeWord> &words, int first, bool rapid, bool commandLine,
                   const QString &original, Step &result);
    bool fieldCorrect(std::array<double, kAxes> &target, const std::array<bool, kAxes> &found,
                      const std::array<double, kAxes> &offset, const std::array<bool, kAxes> &relative,
                      const QString &original, Step &result);
    bool runOutput(const QVector<GCodeWord> &words, bool on, const QString &original, Step &result);
    bool runDwell(const QVector<GCodeWord> &words, const QString &original, Step &result);
    // The one P word of an output or dwell line. False (block refused) when
    // the word is given twice; *p stays null when it is missing.
    bool findPWord(const QVector<GCodeWord> &words, const QString &original, Step &result, const GCodeWord **p);
    void writeAcc(int axis, double wanted);
    void fail(Step &result);
    // Shows the text and ends the block as failed; always true (the step ends).
    bool refuse(const QString &text, Step &result);

    MotionPort &m_port;
    AxisSettings m_set;

    QStringList m_lines;
    int m_lineIndex = 0;
    bool m_idle = true;
    bool m_safeHeightCheck = false;
    bool m_moving = false;
    bool m_rapid = true;
    bool m_secondCheckPending = false;
    bool m_lowErrorLimit = false;
    std::array<bool, kAxes> m_commanded{};
    std::array<bool, kAxes> m_seenMoving{};
    std::array<double, kAxes> m_start{};
    std::array<double, kAxes> m_target{};
    std::array<double, kAxes> m_snapshot{};
    std::array<double, kAxes> m_blockAcc{};
    std::array<double, kAxes> m_currentAcc{};
    double m_lineFeed = 10;
    double m_lineAcc = 100;
    double m_feedOverride = 100;
    double m_userFeedOverride = 100;
    bool m_needSlowAcc = false;
    QString m_xCalibText;
    QString m_yCalibText;
    double m_relX = 0;
    double m_relY = 0;
    double m_currVCHeight = 0;
    QVector<QVector<QPointF>> m_grid;
    int m_gridWidth = 0;
    int m_gridHeight = 0;
    bool m_fieldEnabled = false;
    bool m_fieldAvailable = false;
    std::array<double, 3> m_milage{};
    // The motion line being executed, for messages while it moves.
    QString m_movingLine;
};
