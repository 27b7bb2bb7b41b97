#include "machine/LinuxCncIni.h"

#include "machine/MachineStatus.h"

#include <QFile>

bool LinuxCncIni::load(const QString &path)
{
    m_sections.clear();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    parse(QString::fromLocal8Bit(f.readAll()));
    return true;
}

void LinuxCncIni::parse(const QString &text)
{
    m_sections.clear();
    QString section;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const int end = line.indexOf(QLatin1Char(']'));
            if (end > 1) {
                section = line.mid(1, end - 1).trimmed();
                m_sections[section];
            }
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || section.isEmpty())
            continue;
        m_sections[section].append({line.left(eq).trimmed(), line.mid(eq + 1).trimmed()});
    }
}

bool LinuxCncIni::hasSection(const QString &section) const
{
    return m_sections.contains(section);
}

QString LinuxCncIni::value(const QString &section, const QString &key) const
{
    const auto it = m_sections.constFind(section);
    if (it == m_sections.constEnd())
        return QString();
    for (const auto &kv : *it) {
        if (kv.first == key)
            return kv.second.isNull() ? QStringLiteral("") : kv.second;
    }
    return QString();
}

bool LinuxCncIni::contains(const QString &section, const QString &key) const
{
    return !value(section, key).isNull();
}

QString MachineIni::letterSection(int axis)
{
    return QStringLiteral("AXIS_") + QLatin1Char(Axes::letter(axis));
}

QString MachineIni::axisValue(int axis, const QString &key) const
{
    for (const QString &s : {jointSection(axis), letterSection(axis), oldSection(axis)}) {
        const QString v = m_ini.value(s, key);
        if (!v.isNull())
            return v;
    }
    return QString();
}

bool MachineIni::hasAxis(int axis) const
{
    return m_ini.hasSection(jointSection(axis)) || m_ini.hasSection(letterSection(axis))
           || m_ini.hasSection(oldSection(axis));
}

double MachineIni::axisNumber(int axis, const QString &key, bool *ok) const
{
    const QString v = axisValue(axis, key);
    bool converted = false;
    const double d = v.isNull() ? 0.0 : v.toDouble(&converted);
    if (ok)
        *ok = converted;
    return converted ? d : 0.0;
}

double MachineIni::axisNumber(int axis, const QString &key, double fallback) const
{
    bool ok = false;
    const double d = axisNumber(axis, key, &ok);
    return ok ? d : fallback;
}
