#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

// A LinuxCNC ini file read as LinuxCNC reads it: "[SECTION]" headers,
// "KEY = VALUE" lines, "#" and ";" comment lines; the first of repeated keys
// counts.
class LinuxCncIni
{
public:
    bool load(const QString &path);
    void parse(const QString &text);

    bool hasSection(const QString &section) const;
    // The value, or a null string when the key is missing.
    QString value(const QString &section, const QString &key) const;
    bool contains(const QString &section, const QString &key) const;

private:
    QMap<QString, QVector<QPair<QString, QString>>> m_sections;
};

// The per-axis values of a machine configuration in either layout: LinuxCNC
// 2.9 keeps joint values in [JOINT_n] and axis values in [AXIS_<letter>];
// older files keep both in [AXIS_n]. Axis n is joint n.
class MachineIni
{
public:
    explicit MachineIni(const LinuxCncIni &ini) : m_ini(ini) {}

    // The value for axis n, looked up in [JOINT_n], then [AXIS_<letter>],
    // then [AXIS_n]; a null string when none has it.
    QString axisValue(int axis, const QString &key) const;
    bool hasAxisKey(int axis, const QString &key) const { return !axisValue(axis, key).isNull(); }
    // Whether the file describes axis n at all.
    bool hasAxis(int axis) const;
    // Number with `ok`; "1,5" is not a number.
    double axisNumber(int axis, const QString &key, bool *ok) const;
    double axisNumber(int axis, const QString &key, double fallback) const;

    static QString jointSection(int axis) { return QStringLiteral("JOINT_%1").arg(axis); }
    static QString letterSection(int axis);
    static QString oldSection(int axis) { return QStringLiteral("AXIS_%1").arg(axis); }

    const LinuxCncIni &ini() const { return m_ini; }

private:
    const LinuxCncIni &m_ini;
};
