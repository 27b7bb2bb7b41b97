// An RLC meter on a pseudo-terminal, for running the program without the
// instrument: prints the port path (and links it with --link PATH).
#include "devices/emulators/EmulatorMain.h"
#include "devices/emulators/RlcEmulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("RLC meter emulator on a pseudo-terminal"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("link"), QStringLiteral("Symbolic link to the port."), QStringLiteral("path")});
    parser.addOption({QStringLiteral("fault"),
                      QStringLiteral("One of: ") + RlcEmulator::faultNames().join(QStringLiteral(", ")),
                      QStringLiteral("name"), QStringLiteral("none")});
    parser.addOption({QStringLiteral("reading"),
                      QStringLiteral("Reading as mode,frequency,value,exponent (R,A,10000,3 = 10 kOhm); "
                                     "with --nozzle, while the nozzle holds no part with a value."),
                      QStringLiteral("reading"), QStringLiteral("R,A,10000,3")});
    parser.addOption({QStringLiteral("nozzle"),
                      QStringLiteral("Nozzle state file of the simulated machine: "
                                     "while the nozzle holds a part with a value, the reading is that value."),
                      QStringLiteral("path")});
    parser.process(app);

    RlcEmulatorFault fault;
    if (!RlcEmulator::faultFromName(parser.value(QStringLiteral("fault")), &fault)) {
        std::fprintf(stderr, "unknown fault; known: %s\n", qPrintable(RlcEmulator::faultNames().join(' ')));
        return 2;
    }
    static const QRegularExpression readingPattern(QStringLiteral("^([LCR]),([AB]),([0-9]{1,5}),([0-9])$"));
    const QRegularExpressionMatch reading = readingPattern.match(parser.value(QStringLiteral("reading")));
    if (!reading.hasMatch()) {
        std::fprintf(stderr, "the reading must look like R,A,10000,3\n");
        return 2;
    }
    RlcEmulator emulator(fault);
    if (!emulator.isValid()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    emulator.setReading(reading.captured(1).at(0).toLatin1(), reading.captured(2).at(0).toLatin1(),
                        reading.captured(3).toInt(), reading.captured(4).toInt());
    emulator.setNozzleStateFile(parser.value(QStringLiteral("nozzle")));
    const QString link = parser.value(QStringLiteral("link"));
    if (!EmulatorMain::publish(emulator.portName(), link))
        return 1;
    EmulatorMain::quitOnSignals(app);
    const int code = app.exec();
    EmulatorMain::removeLink(link, emulator.portName());
    return code;
}
