#include "machine/IniEditor.h"

#include "machine/MachineStatus.h"
#include "util/SafeFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QCoreApplication>

#include <cmath>
#include <set>

namespace {

// The axis a section header belongs to, or -1.
int axisOfSection(const QString &name)
{
    static const QRegularExpression joint(QStringLiteral("^JOINT_([0-9])$"));
    static const QRegularExpression axisNumber(QStringLiteral("^AXIS_([0-9])$"));
    static const QRegularExpression axisLetter(QStringLiteral("^AXIS_([XYZABCD])$"));
    QRegularExpressionMatch m = joint.match(name);
    if (m.hasMatch())
        return m.captured(1).toInt();
    m = axisNumber.match(name);
    if (m.hasMatch())
        return m.captured(1).toInt();
    m = axisLetter.match(name);
    if (m.hasMatch())
        return QStringLiteral("XYZABCD").indexOf(m.captured(1));
    return -1;
}

} // namespace

bool IniEditor::apply(QStringList &lines, const QList<Change> &changes)
{
    static const QRegularExpression header(QStringLiteral("^ *\\[([^\\]]*)\\]"));
    std::set<int> found;
    int axis = -1;
    for (QString &line : lines) {
        const QRegularExpressionMatch h = header.match(line);
        if (h.hasMatch()) {
            // Any header ends the section before it.
            axis = axisOfSection(h.captured(1).trimmed());
            continue;
        }
        if (axis < 0)
            continue;
        for (int i = 0; i < changes.size(); ++i) {
            const Change &c = changes[i];
            if (c.axis != axis)
                continue;
            const QRegularExpression key(QStringLiteral("^ *") + QRegularExpression::escape(c.key) + QStringLiteral(" *="));
            if (key.match(line).hasMatch()) {
                line = c.key + QStringLiteral(" = ") + c.value;
                found.insert(i);
            }
        }
    }
    return int(found.size()) == changes.size();
}

bool IniEditor::edit(const QString &path, const QList<Change> &changes, QString *error)
{
    QString dummy;
    QString &why = error ? *error : dummy;
    SafeFile::removeLeftovers(path);
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        why = in.errorString();
        return false;
    }
    QString text = QString::fromLocal8Bit(in.readAll());
    in.close();
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!apply(lines, changes)) {
        why = QCoreApplication::translate("IniEditor", "в файле нет всех изменяемых ключей осей");
        return false;
    }
    QByteArray bytes;
    for (const QString &l : lines)
        bytes += l.toLocal8Bit() + '\n';
    return SafeFile::write(path, bytes, &why);
}

QList<IniEditor::Change> IniEditor::speedChanges(const QList<double> &velocities, const QList<double> &accelerations)
{
    QList<Change> changes;
    for (int i = 0; i < velocities.size(); ++i) {
        changes.append({i, QStringLiteral("MAX_VELOCITY"), QString::number(velocities[i], 'f', 3)});
        changes.append({i, QStringLiteral("STEPGEN_MAXVEL"), QString::number(1.2 * velocities[i], 'f', 3)});
    }
    for (int i = 0; i < accelerations.size(); ++i) {
        changes.append({i, QStringLiteral("MAX_ACCELERATION"), QString::number(accelerations[i], 'g')});
        changes.append({i, QStringLiteral("STEPGEN_MAXACCEL"), QString::number(1.5 * accelerations[i], 'g')});
    }
    return changes;
}

bool IniEditor::scaleUsable(double scale)
{
    return std::isfinite(scale) && scale != 0.0;
}

QList<IniEditor::Change> IniEditor::scaleChanges(const QString &key, double x, double y)
{
    return {{0, key, QString::number(x, 'f', 6)}, {1, key, QString::number(y, 'f', 6)}};
}
