#pragma once

#include "app/DemoJob.h"
#include "app/DeviceThreads.h"

#include <QQmlApplicationEngine>
#include <QUrl>

#include <memory>

class Worker;
class GlobalEventHandler;

// Brings up everything that lives inside the application object: the QML
// types, the main window, the event filter, the image providers, the device
// threads with their workers, Worker and the wiring. Shared by the program
// and the test runner so that tests drive the same back end.
class ApplicationShell
{
public:
    struct Options
    {
        QUrl mainQml = QUrl(QStringLiteral("qrc:/main/main.qml"));
        QString settingsFile; // empty: settings.ini beside the program
        DemoJobOptions demoJob; // published to QML as "demoJob"
        bool cameraHighRes = false; // cameras ask for 1280x960 frames
        // Camera quirks were asked for but the driver could not be reloaded
        // with them (no root rights): the operator is told at start-up.
        bool cameraQuirksFailed = false;
    };

    ApplicationShell();
    ~ApplicationShell();

    static void registerQmlTypes();

    // Returns false when the main window could not be built.
    bool start(const Options &options);
    bool start() { return start(Options()); }

    // Asks the device threads to quit (does not wait).
    void quitDeviceThreads();
    // Asks the device threads to quit and waits until they have.
    void stopDeviceThreads();

    QQmlApplicationEngine &engine() { return m_engine; }
    QObject *root() const;
    Worker *worker() const { return m_worker; }
    DeviceWorkers deviceWorkers() const { return m_threads.workers(); }

private:
    // Declared first so that it is destroyed last: the threads and the
    // engine (which owns Worker) go before it.
    std::unique_ptr<GlobalEventHandler> m_eventHandler;
    DeviceThreads m_threads;
    // Before the engine, so that it outlives the QML that reaches it.
    std::unique_ptr<DemoJobLink> m_demoJob;
    QQmlApplicationEngine m_engine;
    Worker *m_worker = nullptr; // owned by the engine as image provider "worker"
};
