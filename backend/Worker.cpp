#include "backend/Worker.h"

#include "backend/FeederFile.h"
#include "backend/FeederProps.h"

#include <QCoreApplication>
#include <QDebug>
#include <QGuiApplication>
#include <QJSValue>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTranslator>

#include <csignal>

QString Worker::defaultSettingsFile()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/settings.ini");
}

Worker::Worker(QQmlEngine *engine, QObject *root, const DeviceWorkers &devices, const QString &settingsFile,
               QObject *parent)
    : QObject(parent)
    , QQuickImageProvider(QQuickImageProvider::Image)
    , m_engine(engine)
    , m_root(root)
    , m_devices(devices)
    , m_store(settingsFile.isEmpty() ? defaultSettingsFile() : settingsFile)
{
    m_cupInvoker = findItem("cupInvoker");
    m_pcbMultiNonstandartInvoker = findItem("pcbMultiNonstandartInvoker");
    m_bandBankInvoker = findItem("bandBankInvoker");
    m_vibroBankInvoker = findItem("vibroBankInvoker");
    m_feedersInvoker = findItem("feedersInvoker");
    m_projectLogInvoker = findItem("projectLogInvoker");
    m_projectDayStatisticsMInvoker = findItem("projectDayStatisticsMInvoker");
    m_fieldCalibListInvoker = findItem("fieldCalibListInvoker");
    m_packageInvoker = findItem("packageInvoker");
    m_elementView = findItem("elementView");
    m_area = findItem("area");

    if (m_engine) {
        m_engine->rootContext()->setContextProperty(QStringLiteral("opModel"), &m_opModel);
        m_engine->rootContext()->setContextProperty(QStringLiteral("missedModel"), &m_missedModel);
    }

    for (const QString &name : FeederProps::names())
        m_feederProps.append(name);

    m_cursorShape = 0;
    m_cursorColor = QColor(QStringLiteral("black"));
    m_refPointImage = QImage(64, 64, QImage::Format_ARGB32);
    paintCircle(&m_refPointImage);
    m_refPointCursor = QCursor(QPixmap::fromImage(m_refPointImage));

    readCameraList();
    m_stopwatchTimer.setInterval(500);

    readGCodeHelp(QStringLiteral("ru"));

    m_camera1 = findItem("camera1");
    m_camera2 = findItem("camera2");

    serialPortInfoGet();

    setRootProperty("programPath", QStringLiteral("file://") + QCoreApplication::applicationDirPath());
    setRootProperty("feederProps", m_feederProps);
    setRootProperty("feederFieldTypes", FeederFile::fieldTypeNames());
    setRootProperty("debug1", false);
    setRootProperty("visibility", 4);

    m_signalWatcher.watchForSignal(SIGINT);
    m_signalWatcher.watchForSignal(SIGTERM);
    m_signalWatcher.watchForSignal(SIGHUP);
    connect(&m_signalWatcher, &UnixSignalWatcher::unixSignal, this, &Worker::sigHandler);

    m_greyTable.reserve(256);
    for (int i = 0; i < 256; ++i)
        m_greyTable.append(qRgb(i, i, i));
}

Worker::~Worker()
{
    if (m_refPointCursorShown)
        QGuiApplication::restoreOverrideCursor();
}

QQuickItem *Worker::findItem(const char *objectName) const
{
    if (!m_root)
        return nullptr;
    auto *item = m_root->findChild<QQuickItem *>(QLatin1String(objectName));
    if (!item) {
        // Items of a window hang below its content item.
        if (auto *window = qobject_cast<QQuickWindow *>(m_root.data()))
            item = window->contentItem()->findChild<QQuickItem *>(QLatin1String(objectName));
    }
    if (!item)
        qWarning() << "Main window has no item named" << objectName;
    return item;
}

QVariant Worker::invoke(QObject *invoker, const char *function, const QVariantList &args) const
{
    if (!invoker)
        return QVariant();
    if (args.size() > 6) {
        qWarning() << "Invoker call with too many arguments:" << function;
        return QVariant();
    }
    QVariant result;
    QGenericArgument a[6];
    for (int i = 0; i < args.size(); ++i)
        a[i] = Q_ARG(QVariant, args.at(i));
    const bool ok = QMetaObject::invokeMethod(invoker, function, Qt::DirectConnection, Q_RETURN_ARG(QVariant, result),
                                              a[0], a[1], a[2], a[3], a[4], a[5]);
    if (!ok)
        qWarning() << "Invoker call failed:" << invoker->objectName() << function;
    return SettingsStore::plain(result);
}

void Worker::setRootProperty(const char *name, const QVariant &value)
{
    if (m_root)
        m_root->setProperty(name, value);
}

QVariant Worker::rootProperty(const char *name) const
{
    return m_root ? m_root->property(name) : QVariant();
}

QList<QObject *> Worker::rootObjectList(const char *name) const
{
    QList<QObject *> objects;
    const QVariant value = rootProperty(name);
    if (value.userType() == qMetaTypeId<QJSValue>()) {
        const QJSValue array = value.value<QJSValue>();
        const int length = array.property(QStringLiteral("length")).toInt();
        objects.reserve(length);
        for (int i = 0; i < length; ++i) {
            if (QObject *object = array.property(quint32(i)).toQObject())
                objects.append(object);
        }
        return objects;
    }
    for (const QVariant &entry : value.toList()) {
        if (QObject *object = entry.value<QObject *>())
            objects.append(object);
    }
    return objects;
}
