#include "app/ApplicationShell.h"

#include "app/ConcentricCircles.h"
#include "app/CustomWindow.h"
#include "app/Enums.h"
#include "app/GlobalEventHandler.h"
#include "app/Grid.h"
#include "backend/SortFilterModel.h"
#include "backend/Worker.h"
#include "vision/CameraItem.h"

#include <QCoreApplication>
#include <QQmlContext>
#include <QQuickWindow>

ApplicationShell::ApplicationShell() = default;

ApplicationShell::~ApplicationShell()
{
    if (m_eventHandler)
        QCoreApplication::instance()->removeEventFilter(m_eventHandler.get());
    // The engine deletes the main window and Worker; the device threads are
    // joined after that, when m_threads is destroyed.
}

void ApplicationShell::registerQmlTypes()
{
    qmlRegisterType<CustomWindow>("CustomWindow", 1, 0, "CustomWindow");
    qmlRegisterAnonymousType<QQuickWindow>("CustomWindow", 1);
    qmlRegisterAnonymousType<QWindow>("CustomWindow", 1);
    qmlRegisterType<Grid>("CustomComponents", 1, 0, "Grid");
    qmlRegisterType<SortFilterModel>("CustomComponents", 1, 0, "SortFilterModel");
    qmlRegisterType<CameraItem>("OpenCV", 1, 0, "Camera");
    qmlRegisterType<Enums>("enums", 1, 0, "Enums");
}

bool ApplicationShell::start(const Options &options)
{
    registerQmlTypes();

    m_demoJob = std::make_unique<DemoJobLink>(options.demoJob);
    m_engine.rootContext()->setContextProperty(QStringLiteral("demoJob"), m_demoJob.get());
    CameraItem::setHighResolution(&m_engine, options.cameraHighRes);
    m_engine.load(options.mainQml);
    if (m_engine.rootObjects().isEmpty())
        return false;

    m_eventHandler = std::make_unique<GlobalEventHandler>();
    QCoreApplication::instance()->installEventFilter(m_eventHandler.get());
    m_engine.addImageProvider(QStringLiteral("colors"), new ConcentricCircles);

    m_threads.start();

    m_worker = new Worker(&m_engine, root(), m_threads.workers(), options.settingsFile);
    m_engine.addImageProvider(QStringLiteral("worker"), m_worker);
    m_engine.rootContext()->setContextProperty(QStringLiteral("worker"), m_worker);

    m_worker->setCameraQuirksFailed(options.cameraQuirksFailed);
    m_worker->setConnections();
    return true;
}

void ApplicationShell::quitDeviceThreads()
{
    m_threads.quit();
}

void ApplicationShell::stopDeviceThreads()
{
    m_threads.quitAndWait();
}

QObject *ApplicationShell::root() const
{
    const auto roots = m_engine.rootObjects();
    return roots.isEmpty() ? nullptr : roots.first();
}
