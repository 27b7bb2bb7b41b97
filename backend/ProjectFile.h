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

// Largest object counts taken from a file (the board area holds at most 50
// reference marks).
constexpr int maxRefs = 50;
constexpr int maxElements = 20000;
constexpr int maxDots = 20000;
// Largest magnitude of a real value (coordinates, angles, sizes).
constexpr double maxReal = 1e6;

// What was not taken on reading, with the operator text naming it: a group
// whose values do not fit (it is skipped), a board value that does not fit
// (the default is taken), or an object count that is not a number, above its
// limit or larger than the groups present (only the groups present are read).
struct Skipped
{
    QString kind;       // "ref", "element", "dot"; "Pcb" for the board; the count key for a count
    int position = -1;  // group number in the file (panel position for "Pcb"), -1 otherwise
    QStringList keys;   // the keys refused
    QVariantMap values; // what could be read
    QString message;    // operator text
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
// was written completely. False with an error text otherwise; also when a
// value is not a finite number (see checkWritten()).
bool save(const QString &path, const Data &data, QString *error);

// The operator text refusing a save because a value written into `s` is a
// real that is not finite (naming the object and the key); empty when every
// value is fine.
QString checkWritten(QSettings &s);

// Reading: every value typed as its default; missing keys take the default.
// A value that does not convert, is not finite or is out of range is refused
// and reported in `skipped`: a board key then takes its default, a panel
// position or an object group is skipped. Objects are read only from the
// groups present, at most the count and the limit above.
FeederBanks readFeederBanks(QSettings &s);
QVariantMap readPcb(QSettings &s, QVector<PanelPosition> *panel, QVector<Skipped> *skipped = nullptr);
QVector<QVariantMap> readRefs(QSettings &s, QVector<Skipped> *skipped);
QVector<QVariantMap> readElements(QSettings &s, QVector<Skipped> *skipped);
QVector<QVariantMap> readDots(QSettings &s, QVector<Skipped> *skipped);
QStringList readLog(QSettings &s);
QString readDayStat(QSettings &s);
// A file whose values cannot be decoded (FileValues::parseAll) gives no data
// and one entry of kind "file".
Data readAll(QSettings &s, QVector<Skipped> *skipped);

// Values of the change check that differ without the project having changed
// (counters and the log).
bool isCounterKey(const QString &key);

} // namespace ProjectFile
