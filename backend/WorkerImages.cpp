// Worker: camera lists and modes, pictures for QML (image provider and
// makeQImage), screenshots, the photo editor and the board scan.
#include "backend/Worker.h"

#include "util/FileUrl.h"
#include "util/DataUrl.h"
#include "vision/BoardScan.h"
#include "vision/CameraItem.h"
#include "vision/CameraListing.h"
#include "vision/PhotoClipper.h"

#include <QDebug>
#include <QJSValue>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QThread>

namespace {

QImage blankImage()
{
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(0);
    return image;
}

} // namespace

void Worker::readCameraList()
{
    QVariantList list;
    for (const QString &path : CameraListing::cameras())
        list << path;
    setRootProperty("cameraList", list);
}

void Worker::readCameraModes(int number)
{
    if (number < 1 || number > 3 || !m_root)
        return;
    const QByteArray nameProperty = QStringLiteral("camera%1Name").arg(number).toLatin1();
    const QByteArray modesProperty = QStringLiteral("camera%1Modes").arg(number).toLatin1();
    const QString device = m_root->property(nameProperty.constData()).toString();
    if (device.isEmpty())
        return;
    QString error;
    const QStringList modes = CameraListing::modes(device, &error);
    if (!error.isEmpty()) {
        qWarning() << "readCameraSettings error" << error;
        return;
    }
    setRootProperty(modesProperty.constData(), QVariant(modes));
}

void Worker::makeQImage(QString name)
{
    QImage image;
    const QString url = name;
    // A picture kept in a record as a data URL ("data:image/png;base64,...").
    if (DataUrl::isDataUrl(url)) {
        QString error;
        image = DataUrl::decodeImage(url, &error);
        if (!error.isEmpty())
            emit showError(error, false, QString());
        setRootProperty("makeQImageResult", image);
        setRootProperty("makeQImageResultSize", image.size());
        return;
    }
    for (const char *camera : {"camera1", "camera2"}) {
        const QString marker = QLatin1String(camera) + QLatin1Char('/');
        const int at = url.indexOf(marker);
        if (at < 0)
            continue;
        const QPointer<QQuickItem> &item = QLatin1String(camera) == QLatin1String("camera1") ? m_camera1 : m_camera2;
        if (auto *cameraItem = qobject_cast<CameraItem *>(item.data())) {
            QSize size;
            image = cameraItem->requestImage(url.mid(at + marker.size()), &size, QSize(640, 480));
        }
        break;
    }
    if (image.isNull()) {
        const QString marker = QStringLiteral("worker/");
        const int at = url.indexOf(marker);
        if (at >= 0) {
            QSize size;
            image = requestImage(url.mid(at + marker.size()), &size, QSize());
        }
    }
    setRootProperty("makeQImageResult", image);
    setRootProperty("makeQImageResultSize", image.size());
}

void Worker::takeScreenShot()
{
    auto *window = qobject_cast<QQuickWindow *>(m_root.data());
    if (!window) {
        qWarning() << "takeScreenShot: the main window is not a Qt Quick window";
        return;
    }
    m_screenShot = window->grabWindow();
}

bool Worker::photoEditorUploadPhoto(QString fileName)
{
    const QString path = FileUrl::toLocalPath(fileName);
    QImage image;
    if (path.isEmpty() || !image.load(path)) {
        qWarning() << "photoEditorUploadPhoto: cannot read the image" << fileName;
        return false;
    }
    m_editorPhoto = image.convertToFormat(QImage::Format_RGB32);
    m_editorClip = QImage();
    return true;
}

void Worker::clipPhoto(int x, int y, int width, int height, double angle)
{
    m_editorClip = PhotoClipper::clip(m_editorPhoto, x, y, width, height, angle);
}

void Worker::scanStart(double boardWidth, double boardHeight, double scanWidth, double scanHeight, double ppm)
{
    if (!m_boardScan)
        m_boardScan = std::make_shared<BoardScan>();
    if (!m_boardScan->start(boardWidth, boardHeight, scanWidth, scanHeight, ppm))
        emit showError(m_boardScan->error(), false, QString());
}

void Worker::scanStep(double x, double y)
{
    if (!m_boardScan || !m_boardScan->isStarted()) {
        emit showError(tr("Сканирование платы не начато"), false, QString());
        return;
    }
    auto *camera = qobject_cast<CameraItem *>(m_camera1.data());
    const QImage frame = camera ? camera->displayImage() : QImage();
    if (!m_boardScan->addField(frame, x, y))
        emit showError(m_boardScan->error(), false, QString());
}

void Worker::scanFinish(QString fileName)
{
    if (!m_boardScan || !m_boardScan->isStarted()) {
        emit showError(tr("Сканирование платы не начато"), false, QString());
        return;
    }
    if (m_boardScan->save(fileName).isEmpty())
        emit showError(m_boardScan->error(), false, QString());
}

namespace {

// A photo of a feeder: a prefix, the bank letter and the feeder index from
// 0. "camera2_": the template of the component camera; "flipped_": the
// part lying upside down on a placer; no prefix: the part on a placer, the
// template of the head camera's loose-part search.
const QRegularExpression &feederPhotoPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^(camera2_|flipped_|)([LRBU])(\\d{1,4})$"));
    return pattern;
}

const char *feederPhotoField(const QString &prefix)
{
    if (prefix == QLatin1String("camera2_"))
        return "camera2Photo";
    if (prefix == QLatin1String("flipped_"))
        return "elFlippedPhoto";
    return "elPhoto";
}

} // namespace

bool Worker::isFeederPhotoId(const QString &id)
{
    return feederPhotoPattern().match(id).hasMatch();
}

QImage Worker::feederPhoto(const QString &id)
{
    const QRegularExpressionMatch match = feederPhotoPattern().match(id);
    if (!match.hasMatch())
        return QImage();
    const QString field = QLatin1String(feederPhotoField(match.captured(1)));
    const QString bank = match.captured(2);
    const int index = match.captured(3).toInt();
    // The bank models belong to the GUI thread; an asynchronous image load
    // asks from another one.
    QVariant stored;
    auto read = [&]() { stored = invoke(m_feedersInvoker, "getFeederValue", {bank, index, field}); };
    if (QThread::currentThread() == thread())
        read();
    else
        QMetaObject::invokeMethod(this, read, Qt::BlockingQueuedConnection);
    if (!stored.isValid()) {
        qWarning() << "Image of a feeder that does not exist:" << id;
        return QImage();
    }
    QString error;
    const QImage image = DataUrl::decodeImage(stored.toString(), &error);
    if (!error.isEmpty()) {
        QString side;
        if (bank == QLatin1String("L"))
            side = tr("слева");
        else if (bank == QLatin1String("R"))
            side = tr("справа");
        else if (bank == QLatin1String("U"))
            side = tr("сверху");
        else
            side = tr("снизу");
        emit showError(tr("Фото компонента питателя №%1 (%2) не загружено: %3").arg(index + 1).arg(side, error), false,
                       QString());
    }
    return image;
}

QImage Worker::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    Q_UNUSED(requestedSize)
    QImage result;
    auto rootImage = [this](const char *property) {
        if (!m_root)
            return QImage();
        QVariant v = m_root->property(property);
        if (v.userType() == qMetaTypeId<QJSValue>())
            v = v.value<QJSValue>().toVariant();
        return v.value<QImage>();
    };
    if (id.startsWith(QLatin1String("screenShot")))
        result = m_screenShot;
    else if (id.startsWith(QLatin1String("pcbRefPointPhoto")))
        result = rootImage("pcbRefPointPhoto");
    else if (id.startsWith(QLatin1String("indivRefPointPhoto")))
        result = rootImage("indivRefPointPhoto");
    else if (id.startsWith(QLatin1String("element")))
        result = rootImage("elPhoto");
    else if (id.startsWith(QLatin1String("camera2_")))
        result = isFeederPhotoId(id) ? feederPhoto(id) : rootImage("camera2Photo");
    else if (id.startsWith(QLatin1String("flipped_")))
        result = isFeederPhotoId(id) ? feederPhoto(id) : rootImage("elFlippedPhoto");
    else if (isFeederPhotoId(id))
        result = feederPhoto(id);
    else if (id == QLatin1String("photoEditorUploadPhoto"))
        result = m_editorPhoto;
    else if (id == QLatin1String("photoEditorUploadPhotoClipped"))
        result = m_editorClip;
    if (result.isNull())
        result = blankImage();
    if (size)
        *size = result.size();
    return result;
}
