// Fuzz target of the G-code interpreter over a fake machine and a fake clock.
//
// Input: G-code text, optionally followed by a NUL byte and control bytes.
// The control bytes choose the starting status (positions, which may be NaN
// or infinite), soft limits, offsets, nozzle height, safe height, field
// correction on or off and cells of its table, and then one disturbance of
// the status per interpreter step (an axis jumps, an axis is under way, the
// safe-height sensor is silent, the operator's speed changes). When they run
// out, the fake machine behaves: every commanded axis arrives at its target
// and the safe-height sensor answers. The block runs twice, the second time
// with the modal state the first one left.
//
// Checked: every command has finite values inside the machine's ranges, every
// move stays inside the soft limits, every wait is at most an hour, every
// block ends within a bounded number of steps, and the sanitizers stay quiet.
//
// Built with clang's libFuzzer; a long run by hand, e.g.
//   build/fuzz/fuzz_gcode -max_total_time=600 -timeout=10 build/fuzz/corpus_gcode fuzz/seeds/gcode
#include "machine/GCodeInterpreter.h"

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

#define FUZZ_CHECK(condition)                                                                                         \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            __builtin_trap();                                                                                          \
    } while (0)

class Controls
{
public:
    Controls(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    bool empty() const { return m_pos >= m_size; }
    size_t size() const { return m_size; }
    uint8_t byte() { return empty() ? 0 : m_data[m_pos++]; }
    // A value from a table of awkward ones, or eight raw bytes.
    double value()
    {
        static const double table[] = {0.0, 0.5, 1.5, 2.5, 10.0, -3.5, 25.0, 499.97, 500.02,
                                       std::numeric_limits<double>::quiet_NaN(),
                                       std::numeric_limits<double>::infinity(),
                                       -std::numeric_limits<double>::infinity(), 1e308, -1e308,
                                       std::numeric_limits<double>::denorm_min(), -0.0};
        const uint8_t b = byte();
        if (b < 240)
            return table[b % 16];
        double d = 0;
        uint8_t raw[sizeof d];
        for (uint8_t &r : raw)
            r = byte();
        std::memcpy(&d, raw, sizeof d);
        return d;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

GCodeInterpreter::AxisSettings machineSettings()
{
    GCodeInterpreter::AxisSettings s;
    s.maxVelocity = {300, 300, 100, 1000, 100, 100, -1};
    s.maxAcceleration = {3000, 3000, 2000, 20000, 1000, 1000, -1};
    s.softMin = {-5, -5, -5, -100000, -100000, -100000, 0};
    s.softMax = {500, 500, 30, 100000, 100000, 100000, 0};
    s.ferror = {10, 10, 8};
    s.zMax = 25;
    s.zMaxText = QStringLiteral("z25.000");
    return s;
}

// The machine: moves arrive when it behaves, outputs and pins are checked.
class FakeMachine : public MotionPort
{
public:
    GCodeInterpreter *interp = nullptr;
    MachineStatus status;
    std::array<double, Axes::kCount> target{};
    std::array<bool, Axes::kCount> commanded{};
    int moves = 0;

    void moveAxis(int axis, double to, double velocity) override
    {
        FUZZ_CHECK(Axes::valid(axis));
        FUZZ_CHECK(std::isfinite(to));
        FUZZ_CHECK(std::isfinite(velocity) && velocity > 0);
        const GCodeInterpreter::AxisSettings &s = interp->settings();
        FUZZ_CHECK(to >= s.softMin[axis] && to <= s.softMax[axis]);
        FUZZ_CHECK(!interp->idle());
        target[axis] = to;
        commanded[axis] = true;
        ++moves;
    }
    void setOutput(int index, bool) override { FUZZ_CHECK(index >= 0 && index < MachineStatus::kDio); }
    void setAccelerationLimit(int axis, int value) override
    {
        FUZZ_CHECK(Axes::valid(axis));
        FUZZ_CHECK(value >= 1 && value <= interp->settings().maxAcceleration[axis]);
    }
    void setFollowingErrorLimit(int axis, double value) override
    {
        FUZZ_CHECK(axis >= 0 && axis < 3);
        FUZZ_CHECK(std::isfinite(value) && value > 0);
    }
    void requestVacuumReference() override {}
    void reportError(const QString &text) override { FUZZ_CHECK(!text.isEmpty()); }
    void showError(const QString &text) override { FUZZ_CHECK(!text.isEmpty()); }
    void emergencyStop() override { interp->finish(); }

    // A well-behaved machine: every commanded axis stands at its target.
    void arrive()
    {
        for (int i = 0; i < Axes::kCount; ++i) {
            if (!commanded[i])
                continue;
            status.position[i] = target[i];
            status.inPosition[i] = true;
        }
        status.digitalIn[0] = 1;
    }

    void disturb(uint8_t op, Controls &c)
    {
        const int axis = (op >> 3) % Axes::kCount;
        switch (op % 6) {
        case 0:
            arrive();
            break;
        case 1:
            status.position[axis] = c.value();
            break;
        case 2:
            status.inPosition[axis] = false;
            break;
        case 3:
            status.digitalIn[0] = 0;
            break;
        case 4:
            interp->feedOverride(c.byte(), op & 0x80);
            break;
        default:
            status.position[axis] += 0.5; // creeping a little
            break;
        }
    }
};

void runBlock(GCodeInterpreter &interp, FakeMachine &machine, const QString &text, bool safeH, Controls &c)
{
    const GCodeInterpreter::Accept accepted = interp.accept(text, safeH);
    if (accepted != GCodeInterpreter::Accept::Started) {
        FUZZ_CHECK(interp.idle());
        return;
    }
    machine.commanded.fill(false);
    // One step per motion line, one more for a silent safe-height sensor,
    // one per disturbance.
    const long bound = 4L * interp.lines().size() + long(c.size()) + 8;
    long clockMs = 0;
    for (long steps = 0;; ++steps) {
        FUZZ_CHECK(steps <= bound);
        const GCodeInterpreter::Step s = interp.step(machine.status);
        if (s.kind == GCodeInterpreter::Step::Finished)
            break;
        FUZZ_CHECK(s.delayMs >= 0 && s.delayMs <= 3600 * 1000);
        clockMs += s.delayMs;
        if (c.empty())
            machine.arrive();
        else
            machine.disturb(c.byte(), c);
    }
    FUZZ_CHECK(interp.idle());
    FUZZ_CHECK(!interp.moving());
    (void)clockMs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const uint8_t *end = static_cast<const uint8_t *>(std::memchr(data, 0, size));
    const size_t textSize = end ? size_t(end - data) : size;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), int(textSize));
    Controls c(end ? end + 1 : data + size, end ? size - textSize - 1 : 0);

    FakeMachine machine;
    GCodeInterpreter interp(machine);
    machine.interp = &interp;

    const uint8_t flags = c.byte();
    GCodeInterpreter::AxisSettings s = machineSettings();
    if (flags & 0x01)
        s.zMax = c.value();
    if (flags & 0x02)
        s.encoderStep = c.value();
    interp.configure(s);
    if (flags & 0x04) {
        std::array<double, Axes::kCount> min = s.softMin;
        std::array<double, Axes::kCount> max = s.softMax;
        const int axis = c.byte() % Axes::kCount;
        min[axis] = c.value();
        max[axis] = c.value();
        interp.setSoftLimits(min, max);
    }

    machine.status.inPosition.fill(true);
    machine.status.digitalIn[0] = 1;
    machine.status.position = {10, 10, 25, 0, 0, 0, 0};
    if (flags & 0x08) {
        for (double &p : machine.status.position)
            p = c.value();
    }
    if (flags & 0x10) {
        const double x = c.value();
        interp.setRelXY(x, c.value());
        interp.setCurrVCHeight(c.value());
        const double cx = c.value();
        interp.setCalibXY(cx, c.value());
    }
    // Field correction: a 4 x 4 table with a few chosen cells.
    QVector<QVector<QPointF>> grid(4, QVector<QPointF>(4, QPointF(0.05, -0.05)));
    if (flags & 0x20) {
        const int cells = c.byte() % 4;
        for (int k = 0; k < cells; ++k) {
            const uint8_t at = c.byte();
            const double dx = c.value();
            grid[(at >> 2) % 4][at % 4] = QPointF(dx, c.value());
        }
    }
    interp.setFieldCorrection(grid, 4, 4);
    interp.setFieldCorrectionEnabled(flags & 0x40);
    interp.setFieldCorrectionAvailable(true);
    interp.setNeedSlowAcc(flags & 0x80);

    runBlock(interp, machine, text, flags & 0x01, c);
    runBlock(interp, machine, text, false, c);
    return 0;
}
