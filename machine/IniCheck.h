#pragma once

#include <QCoreApplication>
#include <QString>

#include <array>

// Checks of the machine configuration for the settings windows: the file
// check that enables the start of LinuxCNC, the speeds and accelerations of
// the speeds window, and the FPGA card named in the HAL file.
class IniCheck
{
    Q_DECLARE_TR_FUNCTIONS(IniCheck)
public:
    struct Result
    {
        bool correct = false;
        QString error;          // for the error window; empty when none
        bool inputsExist = false;
        double workAreaX2 = 0, workAreaY2 = 0, workAreaZ1 = 0, workAreaZ2 = 0;
        bool bAxisEnabled = false;
        bool halRead = false;   // the HAL file was found and read
        QString cardType = QStringLiteral("5i25");
        QString cardAddress = QStringLiteral("10.10.10.10");
    };

    struct Speeds
    {
        bool correct = false;
        QString error;
        std::array<double, 6> velocity{};
        std::array<double, 4> acceleration{};
    };

    static Result check(const QString &iniPath);
    static Speeds speeds(const QString &iniPath);
    // Card type and address from HAL file text.
    static void scanCard(const QString &halText, QString *type, QString *address);
    // The HAL file beside an ini file.
    static QString halPath(const QString &iniPath) { return iniPath.left(iniPath.size() - 4) + QStringLiteral(".hal"); }

    static QString missingIniText();
    static QString displayText();
};
