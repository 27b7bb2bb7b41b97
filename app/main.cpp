// Entry point of the operator program.
#include "app/ApplicationShell.h"
#include "app/InstanceGuard.h"
#include "app/Privileges.h"
#include "app/StartupEnvironment.h"
#include "vision/SimulatedWorld.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFont>
#include <QIcon>
#include <QProcessEnvironment>
#include <QTime>

#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char *argv[])
{
    // Single instance. The lock is made with the operator's identity so that
    // the program can release it after dropping its root rights, and so that
    // it is the same lock whether the program was started as root or not.
    std::unique_ptr<InstanceGuard> guard;
    const bool single = Privileges::asOperator([&guard] {
        guard = std::make_unique<InstanceGuard>();
        return guard->acquire();
    });
    if (!single) {
        qCritical() << QCoreApplication::translate("main", "Невозможно запустить второй экземпляр программы!");
        return -1;
    }

    // Working directory, environment, locale.
    StartupEnvironment::enterWorkingDirectory(QDir::homePath());
    StartupEnvironment::prepareEnvironment();

    // Start-up settings, read from the store beside the program file.
    const QString settingsPath = StartupEnvironment::settingsPathForProgram(QString::fromLocal8Bit(argv[0]));
    const StartupEnvironment::StartupSettings startup = StartupEnvironment::readStartupSettings(settingsPath);
    StartupEnvironment::applySoftwareRendering(startup.softwareRendering);

    // Privileges: root only long enough to reload the camera driver.
    const int setuidResult = Privileges::tryGainRoot();
    bool cameraQuirksFailed = false;
    if (startup.cameraUseQuirks) {
        qDebug() << "cameraHighRes " << startup.cameraHighRes << " cameraUseQuirks " << 1
                 << " setuidResult " << setuidResult;
        if (setuidResult != 0)
            cameraQuirksFailed = true;
        else
            StartupEnvironment::reloadCameraDriverWithQuirks();
    }
    const Privileges::DropResult drop = Privileges::dropToOperator();
    if (!drop.ok) {
        fprintf(stderr, "kestravo: cannot drop root rights to user and group %u (%s); refusing to run as root.\n",
                Privileges::kOperatorId, qPrintable(drop.error));
        return 1;
    }

    QApplication app(argc, argv);
    app.setWindowIcon(QIcon(QStringLiteral(":images/logo-small")));
    std::srand(unsigned(QTime(0, 0).secsTo(QTime::currentTime())));
    app.setFont(QFont(QStringLiteral("Ubuntu"), 9));

    StartupEnvironment::setKeyboardRepeat();

    // On the simulated machine the vacuum sensor emulator learns from this
    // file whether the nozzle's valve is on and whether it holds a part
    // (./run.sh names it; unset on a real machine).
    SimulatedWorld::setNozzleStateFile(qEnvironmentVariable("KESTRAVO_SIM_NOZZLE_STATE"));

    // ./run.sh --demo-job: the program runs the demo job by itself and quits.
    ApplicationShell::Options options;
    options.cameraHighRes = startup.cameraHighRes;
    options.cameraQuirksFailed = cameraQuirksFailed;
    options.demoJob = DemoJobOptions::fromEnvironment(QProcessEnvironment::systemEnvironment());
    if (!options.demoJob.warning.isEmpty())
        fprintf(stderr, "kestravo: %s\n", qPrintable(options.demoJob.warning));

    ApplicationShell shell;
    if (!shell.start(options)) {
        fprintf(stderr, "kestravo: the main window could not be loaded.\n");
        return 1;
    }

    qInfo("kestravo: main window loaded");
    StartupEnvironment::scheduleScreenshotFromEnvironment(shell);

    const int result = app.exec();
    shell.quitDeviceThreads();
    return result;
}
