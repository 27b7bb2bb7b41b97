// Inspection of placed components by comparison with reference photos.
#include "backend/Worker.h"

#include "vision/AoiComparer.h"

#include <QImage>
#include <QVector2D>

void Worker::makeAoi(QVariant templateImage, QVariant compareImage, int threshold, int erosionSize)
{
    const AoiComparer::Result r =
        AoiComparer::compare(qvariant_cast<QImage>(templateImage), qvariant_cast<QImage>(compareImage), threshold, erosionSize);
    setRootProperty("makeAoiResultDiffImage", r.diffImage);
    setRootProperty("makeAoiResultDiff", r.diff);
    setRootProperty("makeAoiResultShift", QVector2D(r.shift));
}
