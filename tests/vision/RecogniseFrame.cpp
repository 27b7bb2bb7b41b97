#include "RecogniseFrame.h"

#include "vision/CameraWorker.h"

#include <QSignalSpy>

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
