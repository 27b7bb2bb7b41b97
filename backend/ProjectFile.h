#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <QVector>

// The project file: one INI file per board job (extension ".project").
// Groups "device" (work area at saving, not read back), "feederBanks", "Pcb"
// (board, with free panel positions in subgroups "pcb1".."pcb40"), then the
// reference marks ("ref" + position), components ("element" + position) and
// dots ("dot" + position) with their counts, the project log "log" and the
// day statistics "dayStat".
namespace ProjectFile {

struct Key
{
    const char *name;
    QVariant def;   // type and value when the key is missing
};

// Keys of group "Pcb", with their defaults, in writing order.
const QVector<Key> &pcbKeys();
const QVector<Key> &refKeys();
const QVector<Key> &elementKeys();   // "angle" holds the component's rotation
const QVector<Key> &dotKeys();
// Key of a component's package picture path, read only when "pack" is empty.
QString packagePathKey();

constexpr int maxPanelPositions = 40;

struct PanelPosition
{
    double x = 0;
    double y = 0;
    double rot = 0;
};

struct FeederBanks
{
    QString b, l, u, r;   // "file://" URLs as stored
};

struct Data
{
    QVariantMap device;                 // workAreaX1, workAreaX2, workAreaY1, workAreaY2
    FeederBanks feederBanks;
    QVariantMap pcb;                    // keys of pcbKeys()
    QVector<PanelPosition> panel;       // free panel positions
    QVector<QVariantMap> refs;          // keys of refKeys()
    QVector<QVariantMap> elements;      // keys of elementKeys() plus the package path
    QVector<QVariantMap> dots;          // keys of dotKeys()
    QStringList log;                    // stored log lines
    QString dayStat;                    // stored day statistics
};

// A group that was not taken on reading because a coordinate is not a number.
struct Skipped
{
    QString kind;       // "ref", "element" or "dot"
    int position = 0;   // group number in the file
    QVariantMap values; // what could be read
};

// Writing: each step writes its part into an open settings object.
void writeDevice(QSettings &s, const QVariantMap &device);
void writeFeederBanks(QSettings &s, const FeederBanks &banks);
void writePcb(QSettings &s, const QVariantMap &pcb, const QVector<PanelPosition> &panel);
// Objects are written as groups 0..n-1 with their counts.
void writeRefs(QSettings &s, const QVector<QVariantMap> &refs);
void writeElements(QSettings &s, const QVector<QVariantMap> &elements);
void writeDots(QSettings &s, const QVector<QVariantMap> &dots);
void writeLog(QSettings &s, const QStringList &log);
void writeDayStat(QSettings &s, const QString &dayStat);
void writeAll(QSettings &s, const Data &data);

// Writes a whole project file; the old file is replaced only when the new one
// was written completely. False with an error text otherwise.
bool save(const QString &path, const Data &data, QString *error);

// Reading: every value typed as its default; missing keys take the default.
FeederBanks readFeederBanks(QSettings &s);
QVariantMap readPcb(QSettings &s, QVector<PanelPosition> *panel);
QVector<QVariantMap> readRefs(QSettings &s, QVector<Skipped> *skipped);
QVector<QVariantMap> readElements(QSettings &s, QVector<Skipped> *skipped);
QVector<QVariantMap> readDots(QSettings &s, QVector<Skipped> *skipped);
QStringList readLog(QSettings &s);
QString readDayStat(QSettings &s);
Data readAll(QSettings &s, QVector<Skipped> *skipped);

// Values of the change check that differ without the project having changed
// (counters and the log).
bool isCounterKey(const QString &key);

} // namespace ProjectFile
