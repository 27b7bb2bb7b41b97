#include "vision/CameraItem.h"

#include "vision/CameraCapture.h"
#include "vision/CameraImageProvider.h"
#include "vision/CameraThreads.h"
#include "vision/CameraWorker.h"
#include "vision/MatImage.h"
#include "vision/PhotoClipper.h"
#include "vision/SimulatedStage.h"
#include "vision/TemplateSource.h"

#include <QDebug>
#include <QQmlProperty>
#include <QJSValue>
#include <QMetaMethod>
#include <QPainter>
#include <QQmlContext>
#include <QQmlEngine>

CameraItem::CameraItem(QQuickItem *parent)
    : QQuickPaintedItem(parent), QQuickImageProvider(QQuickImageProvider::Image),
      m_greyTable(MatImage::greyTable())
{
    m_cameraThread = new CameraThread(this);
    m_cameraThread->start();
    m_worker = m_cameraThread->waitForWorker();

    m_captureThread = new CaptureThread(this);
    connect(m_captureThread, &QThread::started, this, &CameraItem::connectThreads, Qt::QueuedConnection);
    m_captureThread->start();
}

namespace {
const char kHighResolution[] = "kestravoCameraHighResolution";
} // namespace

void CameraItem::setHighResolution(QQmlEngine *engine, bool on)
{
    engine->setProperty(kHighResolution, on);
}

bool CameraItem::highResolution(const QQmlEngine *engine)
{
    return engine && engine->property(kHighResolution).toBool();
}

CameraItem::~CameraItem()
{
    // The processing object reads frames from the capture object: it stops
    // first.
    if (m_cameraThread) {
        m_cameraThread->quit();
        m_cameraThread->wait();
    }
    if (m_captureThread) {
        m_captureThread->quit();
        m_captureThread->wait();
    }
}

void CameraItem::componentComplete()
{
    QQuickPaintedItem::componentComplete();
    if (!m_name.isEmpty())
        registerProvider();
    // The simulated cameras follow the machine position and the digital
    // outputs that the machine link publishes as the main window's jointPos
    // and doutState.
    QQmlContext *context = qmlContext(this);
    QObject *root = context ? context->contextObject() : nullptr;
    if (!root)
        return;
    const QMetaObject *meta = root->metaObject();
    const int index = meta->indexOfProperty("jointPos");
    if (index < 0 || !meta->property(index).hasNotifySignal())
        return;
    m_positionSource = root;
    const QMetaMethod notify = meta->property(index).notifySignal();
    const QMetaMethod slot = metaObject()->method(metaObject()->indexOfSlot("followMachinePosition()"));
    connect(root, notify, this, slot);
    // doutState is an alias of the machine state's list: QQmlProperty
    // follows it to the list itself, whose change signal is always emitted.
    QQmlProperty outputs(root, QStringLiteral("doutState"));
    if (outputs.isValid() && outputs.hasNotifySignal())
        outputs.connectNotifySignal(this, metaObject()->indexOfSlot("followMachineOutputs()"));
}

// Output 1 is the nozzle vacuum valve.
void CameraItem::followMachineOutputs()
{
    if (!m_positionSource)
        return;
    QVariant value = m_positionSource->property("doutState");
    if (value.userType() == qMetaTypeId<QJSValue>())
        value = value.value<QJSValue>().toVariant();
    const QVariantList list = value.toList();
    const bool valve = list.size() > 1 && list.at(1).toBool();
    if (valve != SimulatedStage::valve())
        SimulatedStage::setValve(valve);
}

void CameraItem::followMachinePosition()
{
    if (!m_positionSource)
        return;
    QVariant value = m_positionSource->property("jointPos");
    if (value.userType() == qMetaTypeId<QJSValue>())
        value = value.value<QJSValue>().toVariant();
    const QVariantList list = value.toList();
    SimulatedStage::Position p;
    if (list.size() > 0)
        p.x = list.at(0).toDouble();
    if (list.size() > 1)
        p.y = list.at(1).toDouble();
    if (list.size() > 2)
        p.z = list.at(2).toDouble();
    if (list.size() > 3)
        p.a = list.at(3).toDouble();
    SimulatedStage::setPosition(p);
}

void CameraItem::connectThreads()
{
    if (m_threadsConnected || !m_cameraThread || !m_captureThread || !m_cameraThread->isRunning() ||
        !m_captureThread->isRunning()) {
        if (!m_threadsConnected)
            qWarning() << "Camera" << objectName() << ": a thread is not running, the camera stays unconnected";
        return;
    }
    CameraWorker *w = m_worker;
    CameraCapture *c = m_captureThread->waitForWorker();
    if (!w || !c)
        return;
    m_captureObject = c;
    const auto queued = Qt::QueuedConnection;

    // Current values first, straight into the worker (it is idle: nothing
    // has reached it yet).
    w->setCompareImage(m_compareImage);
    w->setCompareNonrotatedImage(m_compareNonrotatedImage);
    w->setCompareFlippedImage(m_compareFlippedImage);
    w->setShowPercent(m_showPercent);
    w->setViewType(m_viewType);
    w->setTargetSize(m_targetSize);
    w->setTargetSize2(m_targetSize2);
    w->setTargetSizeTolerance(m_targetSizeTolerance);
    w->setTemplMult(m_templMult);
    w->setTemplateType(m_templateType);
    w->setParam1(int(m_param1));
    w->setParam2(int(m_param2));
    w->setTemplMatchCoeff(int(m_templMatchCoeff));
    w->setFlippedTemplMatchCoeff(int(m_flippedTemplMatchCoeff));
    w->setFlippedEnabled(m_flippedEnabled != 0);
    w->setMode(m_mode);
    w->setFormatMode(m_formatMode);
    w->setCameraAngle(m_cameraAngle);
    w->getCalibrationEnabled(m_calibrationEnabled);
    w->getDoNotUpdate(m_doNotUpdate);
    w->getSupposedAngle(m_supposedAngle);
    w->setInverse(m_inverse);
    w->setRoiPercent(m_roiPercent);
    w->setName(objectName());

    // item -> worker
    connect(this, &QObject::objectNameChanged, w, &CameraWorker::setName, queued);
    connect(this, &CameraItem::objectNameInit, w, &CameraWorker::setName, queued);
    connect(this, &CameraItem::inverseChanged, w, &CameraWorker::setInverse, queued);
    connect(this, &CameraItem::roiPercentChanged, w, &CameraWorker::setRoiPercent, queued);
    connect(this, &CameraItem::compareImageChanged, w, &CameraWorker::setCompareImage, queued);
    connect(this, &CameraItem::compareNonrotatedImageChanged, w, &CameraWorker::setCompareNonrotatedImage, queued);
    connect(this, &CameraItem::compareFlippedImageChanged, w, &CameraWorker::setCompareFlippedImage, queued);
    connect(this, &CameraItem::flippedEnabledChanged, w, &CameraWorker::setFlippedEnabled, queued);
    connect(this, &CameraItem::flippedTemplMatchCoeffChanged, w, &CameraWorker::setFlippedTemplMatchCoeff, queued);
    connect(this, &CameraItem::showPercentChanged, w, &CameraWorker::setShowPercent, queued);
    connect(this, &CameraItem::viewTypeChanged, w, &CameraWorker::setViewType, queued);
    connect(this, &CameraItem::targetSizeChanged, w, &CameraWorker::setTargetSize, queued);
    connect(this, &CameraItem::targetSize2Changed, w, &CameraWorker::setTargetSize2, queued);
    connect(this, &CameraItem::targetSizeToleranceChanged, w, &CameraWorker::setTargetSizeTolerance, queued);
    connect(this, &CameraItem::param1Changed, w, &CameraWorker::setParam1, queued);
    connect(this, &CameraItem::param2Changed, w, &CameraWorker::setParam2, queued);
    connect(this, &CameraItem::templMatchCoeffChanged, w, &CameraWorker::setTemplMatchCoeff, queued);
    connect(this, &CameraItem::templMultChanged, w, &CameraWorker::setTemplMult, queued);
    connect(this, &CameraItem::templateTypeChanged, w, &CameraWorker::setTemplateType, queued);
    connect(this, &CameraItem::modeChanged, w, &CameraWorker::setMode, queued);
    connect(this, &CameraItem::formatModeChanged, w, &CameraWorker::setFormatMode, queued);
    connect(this, &CameraItem::cameraAngleChanged, w, &CameraWorker::setCameraAngle, queued);
    connect(this, &CameraItem::calibrationEnabledChanged, w, &CameraWorker::getCalibrationEnabled, queued);
    connect(this, &CameraItem::doNotUpdateChanged, w, &CameraWorker::getDoNotUpdate, queued);
    connect(this, &CameraItem::supposedAngleChanged, w, &CameraWorker::getSupposedAngle, queued);
    connect(this, &CameraItem::getCameraCalibration, w, &CameraWorker::getCameraCalibration, queued);
    connect(this, &CameraItem::requestPhotoSend, w, &CameraWorker::requestPhotoGet, queued);

    // worker -> item
    connect(w, &CameraWorker::sendBlink, this, &CameraItem::blink, queued);
    connect(w, &CameraWorker::sendCalMode, this, &CameraItem::setCalMode, queued);
    connect(w, &CameraWorker::frameProcessed, this, &CameraItem::frameProcessed, queued);
    connect(w, &CameraWorker::tooManyContoursSend, this, &CameraItem::setTooManyContours, queued);
    connect(w, &CameraWorker::calFramesCapturedSend, this, &CameraItem::calFramesCapturedGet, queued);
    connect(w, &CameraWorker::pinsSend, this, &CameraItem::getPins, queued);
    connect(w, &CameraWorker::objSend, this, &CameraItem::getObj, queued);
    connect(w, &CameraWorker::flippedSend, this, &CameraItem::getFlipped, queued);
    connect(w, &CameraWorker::matchCoeffSend, this, &CameraItem::getMatchCoeff, queued);
    connect(w, &CameraWorker::objArraySend, this, &CameraItem::getObjArray, queued);
    connect(w, &CameraWorker::exAngleSend, this, &CameraItem::getExAngle, queued);
    connect(w, &CameraWorker::updated2, this, &CameraItem::updated2, queued);
    connect(w, &CameraWorker::showError, this, &CameraItem::showError, queued);
    connect(w, &CameraWorker::calibrationIsAcceptedSend, this, &CameraItem::calibrationIsAcceptedGet, queued);
    connect(w, &CameraWorker::saveCameraCalibration, this, &CameraItem::saveCameraCalibration, queued);
    connect(w, &CameraWorker::fpsChanged, this, &CameraItem::setFps, queued);
    connect(w, &CameraWorker::photoReady, this, &CameraItem::makePhoto, queued);

    // capture -> item and worker
    connect(c, &CameraCapture::openedChanged, this, &CameraItem::setOpened, queued);
    connect(c, &CameraCapture::openedChanged, w, &CameraWorker::openedGet, queued);
    connect(c, &CameraCapture::sendSize, this, &CameraItem::setSize, queued);
    connect(c, &CameraCapture::sendSize, w, &CameraWorker::getSize, queued);
    connect(c, &CameraCapture::frameCaptured, w, &CameraWorker::processFrame, queued);
    connect(c, &CameraCapture::showError, this, &CameraItem::showError, queued);

    // item -> capture
    connect(this, &CameraItem::captureChanged, c, qOverload<bool>(&CameraCapture::setCapture), queued);
    connect(this, &CameraItem::mjpgChanged, c, &CameraCapture::setMjpg, queued);
    connect(this, &CameraItem::nameChanged, c, &CameraCapture::setName, queued);
    connect(this, &CameraItem::modeChanged, c, &CameraCapture::setMode, queued);
    connect(this, &CameraItem::exposureChanged, c, &CameraCapture::setExposure, queued);

    // The capture object holds its path before any frame is asked for. Its
    // thread is idle until the first queued call arrives; these calls are
    // queued too so that they run in that thread, ahead of any later one.
    if (highResolution(qmlEngine(this)))
        QMetaObject::invokeMethod(c, [c] { c->setRequestedSize(1280, 960); }, queued);
    QMetaObject::invokeMethod(c, "setName", queued, Q_ARG(QString, m_name));
    QMetaObject::invokeMethod(c, "setMjpg", queued, Q_ARG(bool, m_mjpg));
    QMetaObject::invokeMethod(c, "setExposure", queued, Q_ARG(int, m_exposure));
    if (m_capture)
        QMetaObject::invokeMethod(c, "setCapture", queued, Q_ARG(bool, true));
    w->setCapture(c);
    m_threadsConnected = true;
    emit threadsConnected();
    emit objectNameInit(objectName());
}

// --- property setters

void CameraItem::setParam1(qreal v)
{
    if (v == m_param1)
        return;
    m_param1 = v;
    emit param1Changed(int(v));
}

void CameraItem::setParam2(qreal v)
{
    if (v == m_param2)
        return;
    m_param2 = v;
    emit param2Changed(int(v));
}

void CameraItem::setTemplMatchCoeff(qreal v)
{
    if (v == m_templMatchCoeff)
        return;
    m_templMatchCoeff = v;
    emit templMatchCoeffChanged(int(v));
}

void CameraItem::setFlippedEnabled(qreal v)
{
    if (v == m_flippedEnabled)
        return;
    m_flippedEnabled = v;
    emit flippedEnabledChanged(v != 0);
}

void CameraItem::setFlippedTemplMatchCoeff(qreal v)
{
    if (v == m_flippedTemplMatchCoeff)
        return;
    m_flippedTemplMatchCoeff = v;
    emit flippedTemplMatchCoeffChanged(int(v));
}

void CameraItem::setName(const QString &name)
{
    if (name == m_name)
        return;
    m_name = name;
    registerProvider();
    emit nameChanged(name);
}

void CameraItem::registerProvider()
{
    if (m_providerRegistered || objectName().isEmpty())
        return;
    QQmlEngine *engine = qmlEngine(this);
    if (!engine)
        return;
    const QString id = QString::fromLatin1(objectName().toLatin1());
    if (engine->imageProvider(id))
        engine->removeImageProvider(id);
    engine->addImageProvider(id, new CameraImageProvider(this));
    m_providerRegistered = true;
}

void CameraItem::setRoiPercent(int percent)
{
    const int value = percent > 100 ? 100 : percent;
    if (value == m_roiPercent)
        return;
    m_roiPercent = value;
    emit roiPercentChanged(value);
}

// --- results

void CameraItem::setOpened(bool opened)
{
    m_opened = opened;
    emit openedChanged(opened);
}

void CameraItem::setTooManyContours(bool tooMany)
{
    m_tooManyContours = tooMany;
    emit tooManyContoursChanged(tooMany);
}

void CameraItem::setSize(int width, int height)
{
    if (width != m_frameWidth) {
        m_frameWidth = width;
        emit frameWidthChanged(width);
    }
    if (height != m_frameHeight) {
        m_frameHeight = height;
        emit frameHeightChanged(height);
    }
}

void CameraItem::getObj(bool found, qreal centerX, qreal centerY, qreal angle, qreal sizeX, qreal sizeY)
{
    if (found != m_objFound) {
        m_objFound = found;
        emit objFoundChanged(found);
    }
    if (centerX != m_objCenterX) {
        m_objCenterX = centerX;
        emit objCenterXChanged(centerX);
    }
    if (centerY != m_objCenterY) {
        m_objCenterY = centerY;
        emit objCenterYChanged(centerY);
    }
    if (angle != m_objAngle) {
        m_objAngle = angle;
        emit objAngleChanged(angle);
    }
    const int w = int(sizeX);
    if (w != m_objWidth) {
        m_objWidth = w;
        emit objWidthChanged(w);
    }
    const int h = int(sizeY);
    if (h != m_objHeight) {
        m_objHeight = h;
        emit objHeightChanged(h);
    }
    emit updated();
}

void CameraItem::getFlipped(bool flipped)
{
    if (flipped == m_flipped)
        return;
    m_flipped = flipped;
    emit flippedChanged(flipped);
}

void CameraItem::getMatchCoeff(qreal coeff)
{
    if (coeff == m_matchCoeff)
        return;
    m_matchCoeff = coeff;
    emit matchCoeffChanged(coeff);
}

void CameraItem::getExAngle(qreal angle)
{
    if (angle == m_exAngle)
        return;
    m_exAngle = angle;
    emit exAngleChanged(angle);
}

void CameraItem::getObjArray(QList<qreal> objCentersX, QList<qreal> objCentersY, QList<qreal> objsA)
{
    m_objCentersX = objCentersX;
    m_objCentersY = objCentersY;
    m_objsA = objsA;
    emit objArrayChanged();
}

void CameraItem::getPins(bool pinCountCorrect, int pinCount, qreal avgPinDist, qreal minPinDist, qreal maxPinDist)
{
    if (pinCountCorrect != m_pinCountCorrect) {
        m_pinCountCorrect = pinCountCorrect;
        emit pinCountCorrectChanged(pinCountCorrect);
    }
    if (pinCount != m_pinCount) {
        m_pinCount = pinCount;
        emit pinCountChanged(pinCount);
    }
    if (avgPinDist != m_avgPinDist) {
        m_avgPinDist = avgPinDist;
        emit avgPinDistChanged(avgPinDist);
    }
    if (minPinDist != m_minPinDist) {
        m_minPinDist = minPinDist;
        emit minPinDistChanged(minPinDist);
    }
    if (maxPinDist != m_maxPinDist) {
        m_maxPinDist = maxPinDist;
        emit maxPinDistChanged(maxPinDist);
    }
}

void CameraItem::calibrationIsAcceptedGet(bool accepted)
{
    m_calibrationIsAccepted = accepted;
    emit calibrationIsAcceptedChanged(accepted);
}

void CameraItem::calFramesCapturedGet(int count)
{
    m_calFramesCaptured = count;
    emit calFramesCapturedChanged(count);
}

void CameraItem::setCalMode(int mode)
{
    m_calMode = mode;
    emit calModeChanged(mode);
}

void CameraItem::setFps(qreal fps)
{
    m_fps = fps;
    emit fpsChanged(fps);
}

// --- images

QImage CameraItem::displayImage() const
{
    return m_worker ? m_worker->displayImage() : QImage();
}

QImage CameraItem::photo() const
{
    QMutexLocker lock(&m_photoMutex);
    return m_photo;
}

bool CameraItem::makePhoto()
{
    if (!m_worker)
        return false;
    const QImage source = m_worker->photoImage();
    const QImage result = source.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
    {
        QMutexLocker lock(&m_photoMutex);
        m_photo = result;
    }
    emit photoChanged(result);
    return !result.isNull();
}

bool CameraItem::makeScan()
{
    const QImage result = displayImage();
    {
        QMutexLocker lock(&m_photoMutex);
        m_photo = result;
    }
    emit photoChanged(result);
    return !result.isNull();
}

void CameraItem::requestPhoto()
{
    emit requestPhotoSend();
}

void CameraItem::clipPhoto(int x, int y, int width, int height, qreal angle)
{
    const QImage clipped = PhotoClipper::clip(photo(), x, y, width, height, angle);
    QMutexLocker lock(&m_photoMutex);
    m_clipPhoto = clipped;
}

void CameraItem::grab(QString fileName)
{
    qDebug() << "grab  " << fileName;
    if (m_worker && !m_worker->saveDisplayImage(fileName))
        qWarning() << "The camera image could not be saved to" << fileName;
}

bool CameraItem::loadTemplate(QString source, QString kind)
{
    const char *property = nullptr;
    if (kind.isEmpty())
        property = "compareImage";
    else if (kind == QLatin1String("nonrotated"))
        property = "compareNonrotatedImage";
    else if (kind == QLatin1String("flipped"))
        property = "compareFlippedImage";
    if (!property) {
        qWarning() << "loadTemplate: unknown template kind" << kind;
        return false;
    }
    QQmlEngine *engine = qmlEngine(this);
    const TemplateSource::ProviderLookup providers = [engine](const QString &name) -> QQuickImageProvider * {
        if (!engine)
            return nullptr;
        QQmlImageProviderBase *base = engine->imageProvider(name);
        return base && base->imageType() == QQmlImageProviderBase::Image ? static_cast<QQuickImageProvider *>(base)
                                                                         : nullptr;
    };
    QString error;
    const QImage image = TemplateSource::load(source, providers, &error);
    setProperty(property, image);
    if (!error.isEmpty()) {
        emit showError(error);
        return false;
    }
    return true;
}

QImage CameraItem::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    Q_UNUSED(requestedSize)
    QImage result;
    {
        QMutexLocker lock(&m_photoMutex);
        if (id == QLatin1String("photo"))
            result = m_photo;
        else if (id == QLatin1String("clipPhoto"))
            result = m_clipPhoto;
    }
    if (result.isNull()) {
        result = QImage(1, 1, QImage::Format_RGB32);
        result.fill(0);
    }
    if (size)
        *size = result.size();
    return result;
}

void CameraItem::paint(QPainter *painter)
{
    QImage image = displayImage();
    if (image.isNull())
        return;
    if (objectName() == QLatin1String("camera2"))
        image = image.mirrored(false, true);
    painter->drawImage(QRectF(0, 0, width(), height()), image);
}
