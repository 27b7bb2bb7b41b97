#include "machine/CncConfig.h"

#include "machine/LinuxCncIni.h"

#include <cmath>

bool CncConfig::displayIsRemoteShell() const
{
    return display.toLower().contains(QLatin1String("linuxcncrsh --path /"));
}

CncConfig CncConfig::fromIni(const QString &iniText)
{
    LinuxCncIni file;
    file.parse(iniText);
    const MachineIni ini(file);
    CncConfig c;
    c.display = file.value(QStringLiteral("DISPLAY"), QStringLiteral("DISPLAY"));
    for (int i = 0; i < Axes::kCount; ++i) {
        c.maxVelocity[i] = ini.axisNumber(i, QStringLiteral("MAX_VELOCITY"), -1.0);
        c.maxAcceleration[i] = ini.axisNumber(i, QStringLiteral("MAX_ACCELERATION"), -1.0);
        c.homeSequence[i] = int(ini.axisNumber(i, QStringLiteral("HOME_SEQUENCE"), 0.0));
        const QString scaleKey = ini.hasAxisKey(i, QStringLiteral("SCALE")) ? QStringLiteral("SCALE")
                                                                              : QStringLiteral("STEP_SCALE");
        const double scale = ini.axisNumber(i, scaleKey, 0.0);
        c.stepSize[i] = scale == 0.0 ? 0.0 : 1.0 / scale;
    }
    for (int i = 0; i < 3; ++i) {
        c.ferror[i] = ini.axisNumber(i, QStringLiteral("FERROR"), 10.0);
        c.encoderScale[i] = ini.axisNumber(i, QStringLiteral("ENCODER_SCALE"), 0.0);
        c.stepperScale[i] = ini.axisNumber(i, QStringLiteral("STEP_SCALE"), 0.0);
    }
    c.encoderStep = c.encoderScale[0] == 0.0 ? -1.0 : 1.0 / std::fabs(c.encoderScale[0]);
    c.hasAxis4 = ini.hasAxis(4);
    c.homeAxisCount = ini.hasAxis(5) ? 6 : (c.hasAxis4 ? 5 : 4);

    bool ok = false;
    const double home = ini.axisNumber(2, QStringLiteral("HOME"), &ok);
    if (ok && home != 0.0) {
        c.zMax = home;
        c.zMaxText = QStringLiteral("z") + QString::number(home, 'f', 3);
    } else {
        c.zMax = 0.0;
        c.zMaxText = QStringLiteral("zMax");
    }
    return c;
}

bool CncConfig::tokenOnLine(const QString &line, const QString &token)
{
    const int at = line.indexOf(token);
    if (at < 0)
        return false;
    const int hash = line.indexOf(QLatin1Char('#'));
    return hash < 0 || at < hash;
}

void CncConfig::scanHal(const QString &halText)
{
    doutEnabled.fill(false);
    homeExists.fill(false);
    pwmEnabled = false;
    blowEnabled = false;
    static const char *homeTokens[3] = {"home-x", "home-y", "home-z"};
    for (const QString &line : halText.split(QLatin1Char('\n'))) {
        for (int i = 0; i < 16; ++i) {
            if (tokenOnLine(line, QStringLiteral("motion.digital-out-%1").arg(i, 2, 10, QLatin1Char('0'))))
                doutEnabled[i] = true;
        }
        if (tokenOnLine(line, QStringLiteral("vibro-enable")))
            pwmEnabled = true;
        if (tokenOnLine(line, QStringLiteral("oneshot-blow.width")))
            blowEnabled = true;
        for (int i = 0; i < 3; ++i) {
            if (tokenOnLine(line, QLatin1String(homeTokens[i])))
                homeExists[i] = true;
        }
    }
}
