// Inspection of placed components by comparison with reference photos.
#include "backend/Worker.h"

#include "backend/FeederFile.h"
#include "util/DataUrl.h"
#include "vision/AoiComparer.h"

#include <QImage>
#include <QJSValue>
#include <QVector2D>

namespace {

// A picture handed over from QML: an image, or a data URL of one (the form
// in which templates and photos are kept in the records).
QImage pictureOf(QVariant v)
{
    if (v.userType() == qMetaTypeId<QJSValue>())
        v = v.value<QJSValue>().toVariant();
    if (v.type() == QVariant::String) {
        const QString text = v.toString();
        if (!DataUrl::isDataUrl(text))
            return QImage();
        return DataUrl::decodeImage(text, nullptr);
    }
    return qvariant_cast<QImage>(v);
}

} // namespace

void Worker::makeAoi(QVariant templateImage, QVariant compareImage, int threshold, int erosionSize)
{
    const AoiComparer::Result r =
        AoiComparer::compare(pictureOf(templateImage), pictureOf(compareImage), threshold, erosionSize);
    setRootProperty("makeAoiResultDiffImage", r.diffImage);
    setRootProperty("makeAoiResultDiff", r.diff);
    setRootProperty("makeAoiResultShift", QVector2D(r.shift));
}

QString Worker::imageDataUrl(QVariant image)
{
    const QImage picture = pictureOf(image);
    return picture.isNull() ? QString() : FeederFile::imageToText(picture);
}
