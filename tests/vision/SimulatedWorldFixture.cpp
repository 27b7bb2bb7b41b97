#include "SimulatedWorldFixture.h"

#include "vision/CameraWorker.h"

#include <QSignalSpy>

#include <cmath>

namespace Sim {

QVariantList point(double x, double y) { return {x, y}; }

QVariantList points(const QVector<QPointF> &list)
{
    QVariantList out;
    for (const QPointF &p : list)
        out.append(QVariant(point(p)));
    return out;
}

QVariantMap feeder(const QString &bank, int index, const QVector<QPointF> &pockets, double pickZ, double width,
                   double height, double thickness)
{
    return QVariantMap{{"bank", bank},   {"index", index},  {"pockets", points(pockets)}, {"pickZ", pickZ},
                       {"width", width}, {"height", height}, {"thickness", thickness}};
}

QVariantMap withFeederValue(QVariantMap map, int index, const QString &key, const QVariant &value)
{
    if (key.isEmpty())
        return map;
    QVariantList list = map.value("feeders").toList();
    QVariantMap f = list.at(index).toMap();
    f[key] = value;
    list[index] = f;
    map["feeders"] = list;
    return map;
}

void resetSimulation()
{
    SimulatedWorld::clearFaults();
    SimulatedWorld::clearTapeOffsets();
    SimulatedWorld::clearCurrent();
    SimulatedWorld::setTableObject({});
    SimulatedWorld::setCameraFaults({});
    SimulatedWorld::setDisplacement({});
    SimulatedWorld::setNozzleStateFile(QString());
    SimulatedStage::setMachine(at(0, 0, kTravel), false);
    SimulatedWorld::resetParts();
}

void setWorld(const QVariantMap &map)
{
    SimulatedWorld w;
    QString error;
    if (!SimulatedWorld::fromVariant(map, &w, &error))
        qFatal("world refused: %s", qPrintable(error));
    SimulatedWorld::setCurrent(w);
}

QVariantMap feederState(const QString &bank, int index)
{
    for (const QVariant &f : SimulatedWorld::current().toVariant().value("feeders").toList()) {
        const QVariantMap m = f.toMap();
        if (m.value("bank").toString() == bank && m.value("index").toInt() == index)
            return m;
    }
    return QVariantMap();
}

QVariantMap lastRelease()
{
    const QVariantList releases = SimulatedWorld::releases();
    return releases.isEmpty() ? QVariantMap() : releases.last().toMap();
}

bool pickAt(double x, double y, double z, double a)
{
    SimulatedStage::setMachine(at(x, y, kTravel, a), false);
    SimulatedStage::setMachine(at(x, y, z, a), false);
    SimulatedStage::setMachine(at(x, y, z, a), true);
    SimulatedStage::setMachine(at(x, y, kTravel, a), true);
    return SimulatedWorld::holdsPart();
}

void releaseAt(double x, double y, double z, double a)
{
    SimulatedStage::setMachine(at(x, y, kTravel, a), true);
    SimulatedStage::setMachine(at(x, y, z, a), true);
    SimulatedStage::setMachine(at(x, y, z, a), false);
    SimulatedStage::setMachine(at(x, y, kTravel, a), false);
}

cv::Mat render(const QString &scene, const SimulatedStage::Position &p, int width, int height)
{
    cv::Mat frame;
    SimulatedScene(scene).render(frame, width, height, p, 0);
    return frame;
}

double fold(double degrees, double period)
{
    double d = std::fmod(degrees, period);
    if (d > period / 2)
        d -= period;
    if (d < -period / 2)
        d += period;
    return d;
}

QPointF turned(const QPointF &p, double degrees)
{
    const double r = degrees * M_PI / 180;
    return QPointF(p.x() * std::cos(r) - p.y() * std::sin(r), p.x() * std::sin(r) + p.y() * std::cos(r));
}

Recognised resultOf(const QList<QList<QVariant>> &obj)
{
    Recognised r;
    if (obj.size() != 1)
        return r;
    r.found = obj[0][0].toBool();
    r.x = obj[0][1].toDouble();
    r.y = obj[0][2].toDouble();
    r.angle = obj[0][3].toDouble();
    r.width = obj[0][4].toDouble();
    r.height = obj[0][5].toDouble();
    return r;
}

Recognised recogniseFrame(const cv::Mat &frame, const RecognitionSettings &s)
{
    CameraWorker w;
    w.setMode(s.mode);
    w.setParam1(s.param1);
    w.setParam2(s.param2);
    w.setTargetSize(s.targetSize);
    w.setTargetSize2(s.targetSize2);
    w.setTargetSizeTolerance(s.tolerance);
    w.setRoiPercent(s.roiPercent);
    w.setShowPercent(100);
    QSignalSpy obj(&w, &CameraWorker::objSend);
    w.processMat(frame, true);
    return resultOf(obj);
}

Recognised recogniseHeld(double a, double width, double height, double ppm)
{
    RecognitionSettings settings;
    settings.mode = QStringLiteral("element");
    settings.param2 = 5;
    settings.targetSize = width * ppm;
    settings.targetSize2 = height * ppm;
    settings.roiPercent = 80;
    const cv::Mat frame = render(QStringLiteral("sim:component"), at(0, 0, kTravel, a), 1280, 960);
    return recogniseFrame(frame, settings);
}

} // namespace Sim
