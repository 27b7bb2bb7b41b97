// A vacuum sensor on a pseudo-terminal, for running the program without the
// instrument: prints the port path (and links it with --link PATH).
#include "devices/emulators/EmulatorMain.h"
#include "devices/emulators/VsEmulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vacuum sensor emulator on a pseudo-terminal"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("link"), QStringLiteral("Symbolic link to the port."), QStringLiteral("path")});
    parser.addOption({QStringLiteral("fault"),
                      QStringLiteral("One of: ") + VsEmulator::faultNames().join(QStringLiteral(", ")),
                      QStringLiteral("name"), QStringLiteral("none")});
    parser.addOption({QStringLiteral("pressure"),
                      QStringLiteral("Pressure reported, kPa (with --nozzle: while a part is held)."),
                      QStringLiteral("kPa"), QStringLiteral("25")});
    parser.addOption({QStringLiteral("nozzle"),
                      QStringLiteral("Nozzle state file of the simulated machine: "
                                     "the reading follows its valve and part."),
                      QStringLiteral("path")});
    parser.process(app);

    VsEmulatorFault fault;
    if (!VsEmulator::faultFromName(parser.value(QStringLiteral("fault")), &fault)) {
        std::fprintf(stderr, "unknown fault; known: %s\n", qPrintable(VsEmulator::faultNames().join(' ')));
        return 2;
    }
    bool ok = false;
    const double pressure = parser.value(QStringLiteral("pressure")).toDouble(&ok);
    if (!ok) {
        std::fprintf(stderr, "the pressure is not a number\n");
        return 2;
    }
    VsEmulator emulator(fault);
    if (!emulator.isValid()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    emulator.setPressures({pressure});
    emulator.setNozzleStateFile(parser.value(QStringLiteral("nozzle")));
    const QString link = parser.value(QStringLiteral("link"));
    if (!EmulatorMain::publish(emulator.portName(), link))
        return 1;
    EmulatorMain::quitOnSignals(app);
    const int code = app.exec();
    EmulatorMain::removeLink(link, emulator.portName());
    return code;
}
