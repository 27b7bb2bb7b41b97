#pragma once

#include "machine/MachineStatus.h"

#include <QString>

#include <array>

// What the machine link takes from the machine configuration at start-up:
// the ini values per axis and the tokens of the HAL file beside it.
struct CncConfig
{
    QString display;
    std::array<double, Axes::kCount> maxVelocity{};
    std::array<double, Axes::kCount> maxAcceleration{};
    std::array<int, Axes::kCount> homeSequence{};
    std::array<double, Axes::kCount> stepSize{};
    std::array<double, 3> ferror{{10, 10, 10}};
    std::array<double, 3> encoderScale{};
    std::array<double, 3> stepperScale{};
    double encoderStep = -1;
    double zMax = 0;
    QString zMaxText = QStringLiteral("zMax");
    bool hasAxis4 = false;
    int homeAxisCount = 4;

    // HAL file tokens.
    std::array<bool, 16> doutEnabled{};
    std::array<bool, 3> homeExists{};
    bool pwmEnabled = false;
    bool blowEnabled = false;

    // The DISPLAY entry runs LinuxCNC's remote shell.
    bool displayIsRemoteShell() const;

    // Reads the ini values (every value has its default when missing).
    static CncConfig fromIni(const QString &iniText);
    // Scans the HAL file text for the tokens above.
    void scanHal(const QString &halText);
    // Whether `token` counts on this line: present and not behind a "#".
    static bool tokenOnLine(const QString &line, const QString &token);
};
