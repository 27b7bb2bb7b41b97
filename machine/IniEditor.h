#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Replaces values of axis keys in a machine configuration file, in the
// sections LinuxCNC 2.9 uses ([JOINT_n] and [AXIS_<letter>]) as well as the
// older [AXIS_n]. The file changes only when every requested key was found
// for its axis, and is replaced whole through SafeFile::write() (the old file
// stays until the new one was read back complete).
class IniEditor
{
public:
    struct Change
    {
        int axis;
        QString key;
        QString value;
    };

    // Applies the changes to the text; false when a key of an axis is missing.
    static bool apply(QStringList &lines, const QList<Change> &changes);
    // Reads, changes and writes the file; false (file untouched, the reason
    // in *error when given) on any failure.
    static bool edit(const QString &path, const QList<Change> &changes, QString *error = nullptr);

    // The speed editor's changes: velocities of axes 0..5 (units per second)
    // with their step generator limits, accelerations of axes 0..3 likewise.
    static QList<Change> speedChanges(const QList<double> &velocities, const QList<double> &accelerations);
    // A scale that may be written: finite and not 0 (a negative one reverses
    // the counting direction).
    static bool scaleUsable(double scale);
    // Scale changes of X and Y for one key (ENCODER_SCALE or STEP_SCALE).
    static QList<Change> scaleChanges(const QString &key, double x, double y);
};
