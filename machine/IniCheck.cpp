#include "machine/IniCheck.h"

#include "machine/CncConfig.h"
#include "machine/LinuxCncIni.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The section that holds a key of an axis, as the operator finds it in the file.
QString sectionOf(const LinuxCncIni &ini, int axis, const QString &key)
{
    for (const QString &s : {MachineIni::jointSection(axis), MachineIni::letterSection(axis), MachineIni::oldSection(axis)}) {
        if (ini.contains(s, key))
            return s;
    }
    return ini.hasSection(MachineIni::jointSection(axis)) ? MachineIni::jointSection(axis) : MachineIni::oldSection(axis);
}

QString badValue(const LinuxCncIni &ini, int axis, const QString &key)
{
    return IniCheck::tr("%1 в разделе %2 указан неправильно!").arg(key, sectionOf(ini, axis, key));
}

} // namespace

QString IniCheck::missingIniText()
{
    return tr("Ini-файл конфигурации машины, указанный в настройках, не найден!");
}

QString IniCheck::displayText()
{
    return tr("Для успешного запуска в ini-файле конфигурации машины параметр DISPLAY секции DISPLAY "
              "должен быть равен linuxcncrsh  --path /");
}

IniCheck::Result IniCheck::check(const QString &iniPath)
{
    Result r;
    LinuxCncIni file;
    if (!QFileInfo(iniPath).isFile() || !file.load(iniPath)) {
        r.error = missingIniText();
        return r;
    }
    CncConfig display;
    display.display = file.value(QStringLiteral("DISPLAY"), QStringLiteral("DISPLAY"));
    if (!display.displayIsRemoteShell()) {
        r.error = displayText();
        return r;
    }
    const MachineIni ini(file);
    double limits[3][2] = {};
    for (int axis = 0; axis < 3; ++axis) {
        const QString keys[2] = {QStringLiteral("MIN_LIMIT"), QStringLiteral("MAX_LIMIT")};
        for (int k = 0; k < 2; ++k) {
            bool ok = false;
            limits[axis][k] = ini.axisNumber(axis, keys[k], &ok);
            if (!ok) {
                r.error = badValue(file, axis, keys[k]);
                return r;
            }
        }
    }
    bool ok = false;
    const int sequence = ini.axisValue(4, QStringLiteral("HOME_SEQUENCE")).toInt(&ok);
    r.inputsExist = ok && sequence >= 0 && sequence <= 10;
    r.workAreaX2 = limits[0][1];
    r.workAreaY2 = limits[1][1];
    r.workAreaZ1 = limits[2][0];
    r.workAreaZ2 = limits[2][1];
    r.bAxisEnabled = file.value(QStringLiteral("TRAJ"), QStringLiteral("COORDINATES")).contains(QLatin1Char('B'));

    QFile hal(halPath(iniPath));
    if (hal.open(QIODevice::ReadOnly | QIODevice::Text)) {
        scanCard(QString::fromLocal8Bit(hal.readAll()), &r.cardType, &r.cardAddress);
        r.halRead = true;
    }
    r.correct = true;
    return r;
}

void IniCheck::scanCard(const QString &halText, QString *type, QString *address)
{
    static const QRegularExpression eth(QStringLiteral("^loadrt *hm2_eth"));
    static const QRegularExpression ip(
        QStringLiteral("board_ip *= *\"([0-9]{1,3}.[0-9]{1,3}.[0-9]{1,3}.[0-9]{1,3})\""));
    *type = QStringLiteral("5i25");
    *address = QStringLiteral("10.10.10.10");
    for (QString line : halText.split(QLatin1Char('\n'))) {
        const int hash = line.indexOf(QLatin1Char('#'));
        if (hash >= 0)
            line.truncate(hash);
        if (eth.match(line).hasMatch())
            *type = QStringLiteral("7i92");
        const QRegularExpressionMatch m = ip.match(line);
        if (m.hasMatch())
            *address = m.captured(1);
    }
}

IniCheck::Speeds IniCheck::speeds(const QString &iniPath)
{
    Speeds s;
    LinuxCncIni file;
    if (!QFileInfo(iniPath).isFile() || !file.load(iniPath)) {
        s.error = missingIniText();
        return s;
    }
    const MachineIni ini(file);
    for (int axis = 0; axis < 6; ++axis) {
        bool ok = false;
        s.velocity[axis] = ini.axisNumber(axis, QStringLiteral("MAX_VELOCITY"), &ok);
        if (!ok) {
            s.error = badValue(file, axis, QStringLiteral("MAX_VELOCITY"));
            return s;
        }
    }
    for (int axis = 0; axis < 4; ++axis) {
        bool ok = false;
        s.acceleration[axis] = ini.axisNumber(axis, QStringLiteral("MAX_ACCELERATION"), &ok);
        if (!ok) {
            s.error = badValue(file, axis, QStringLiteral("MAX_ACCELERATION"));
            return s;
        }
    }
    s.correct = true;
    return s;
}
