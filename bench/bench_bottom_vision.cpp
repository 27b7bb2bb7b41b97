// Bottom-vision correction error on the simulated machine: parts of five
// packages are picked from their pockets with a random miss (up to 0.3 mm
// each way) and a random turn of the nozzle at the pick (up to 2 degrees),
// turned to a random placement angle (a quarter turn and up to half a degree
// of board turn), drawn by the simulated component camera at its calibrated
// scale and measured by the program's own recognition ("element"). The
// error is what the correction would leave: the measured offset and turn of
// the part on the nozzle against the true ones.
//
// bench_bottom_vision [picks] [pixels per mm]   (200, 120)
#include "../tests/vision/SimulatedWorldFixture.h"

#include "vision/SimulatedScene.h"
#include "vision/SimulatedStage.h"
#include "vision/SimulatedWorld.h"

#include <QCoreApplication>
#include <QMap>
#include <QVariantMap>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

using Sim::at;
using Sim::point;
using Sim::Recognised;
using Sim::RecognitionSettings;
using Sim::recogniseFrame;

namespace {

struct Package {
    const char *name;
    double width, height, thickness;
};

const Package kPackages[] = {{"0603", 1.6, 0.8, 0.45},
                             {"0805", 2.0, 1.25, 0.5},
                             {"1206", 3.2, 1.6, 0.6},
                             {"SOT23", 2.9, 2.4, 1.1},
                             {"SOIC8", 4.9, 6.0, 1.5}};
constexpr double kPickZ = 10;
constexpr double kTravel = 30;


// One feeder per package, each with one pocket at (20 + 20 i, 20).
QVariantMap world(double scale)
{
    QVariantList feeders;
    int i = 0;
    for (const Package &p : kPackages) {
        feeders.append(QVariantMap{{"bank", "B"},
                                   {"index", i},
                                   {"refills", true},
                                   {"pockets", QVariantList{QVariant(point(20 + 20 * i, 20))}},
                                   {"pickZ", kPickZ},
                                   {"width", p.width},
                                   {"height", p.height},
                                   {"thickness", p.thickness},
                                   {"angle", 0}});
        ++i;
    }
    return QVariantMap{{"feeders", feeders}, {"componentScale", scale}};
}

double fold45(double a)
{
    while (a > 45)
        a -= 90;
    while (a < -45)
        a += 90;
    return a;
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size() - 1) + 0.5))];
}

void report(const char *what, const std::vector<double> &v, const char *unit)
{
    std::printf("  %-24s median %.4f  p95 %.4f  worst %.4f %s  (n=%zu)\n", what, percentile(v, 0.5),
                percentile(v, 0.95), percentile(v, 1.0), unit, v.size());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int picks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const double scale = argc > 2 ? std::atof(argv[2]) : 120.0;

    SimulatedWorld w;
    QString error;
    if (!SimulatedWorld::fromVariant(world(scale), &w, &error)) {
        std::fprintf(stderr, "world refused: %s\n", qPrintable(error));
        return 1;
    }
    SimulatedWorld::setCurrent(w);

    std::mt19937 random(20261206);
    std::uniform_real_distribution<double> miss(-0.3, 0.3);
    std::uniform_real_distribution<double> turn(-2.0, 2.0);
    std::uniform_real_distribution<double> boardTurn(-0.5, 0.5);
    std::uniform_int_distribution<int> quarter(0, 3);
    std::uniform_int_distribution<int> package(0, int(std::size(kPackages)) - 1);

    std::vector<double> position, angle;
    QMap<QString, std::vector<double>> positionBy, angleBy;
    int notFound = 0;
    for (int i = 0; i < picks; ++i) {
        const int k = package(random);
        const Package &p = kPackages[k];
        SimulatedWorld::resetParts();
        const double x = 20 + 20 * k + miss(random), y = 20 + miss(random);
        const double a0 = turn(random);
        SimulatedStage::setMachine(at(x, y, kTravel, a0), false);
        SimulatedStage::setMachine(at(x, y, kPickZ, a0), false);
        SimulatedStage::setMachine(at(x, y, kPickZ, a0), true);
        const double a = quarter(random) * 90.0 + boardTurn(random);
        SimulatedStage::setMachine(at(250, 80, kTravel, a), true);
        QPointF offset;
        double trueAngle = 0, width = 0, height = 0;
        if (!SimulatedWorld::heldPart(SimulatedStage::position(), &offset, &trueAngle, &width, &height)) {
            std::fprintf(stderr, "pick %d of %s missed the part\n", i, p.name);
            return 1;
        }
        cv::Mat frame;
        SimulatedScene("sim:component").render(frame, 1280, 960, SimulatedStage::position(), i);
        RecognitionSettings settings;
        settings.mode = QStringLiteral("element");
        settings.param1 = 180;
        settings.param2 = 50;
        settings.targetSize = p.width * scale;
        settings.targetSize2 = p.height * scale;
        settings.roiPercent = 100;
        const Recognised r = recogniseFrame(frame, settings);
        if (!r.found) {
            ++notFound;
            continue;
        }
        const double dp = std::hypot(r.x / scale - offset.x(), r.y / scale - offset.y());
        const double da = std::fabs(fold45(r.angle - trueAngle));
        position.push_back(dp);
        angle.push_back(da);
        positionBy[p.name].push_back(dp);
        angleBy[p.name].push_back(da);
    }

    std::printf("bottom vision on the simulated component camera: %d picks at %.0f pixels per mm, "
                "1280 x 960, %d not found\n",
                picks, scale, notFound);
    report("position error, all", position, "mm");
    report("turn error, all", angle, "deg");
    for (const Package &p : kPackages) {
        std::printf(" %s\n", p.name);
        report("position error", positionBy[p.name], "mm");
        report("turn error", angleBy[p.name], "deg");
    }
    return notFound == 0 ? 0 : 2;
}
