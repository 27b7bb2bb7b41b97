#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <QVector>

// Feeder bank files: one INI file per bank, its extension naming the bank
// (".leftFeeders", ".rightFeeders", ".bottomFeeders", ".upFeeders"). Top-level
// "count", then one group per feeder, "feeder" + bank letter + number from 1,
// with "exists" = true and one key per persistent field of the feeder record.
namespace FeederFile {

// Largest feeder count accepted from a file.
constexpr int maxCount = 200;

// Bank letter ("L", "R", "B", "U") of a file path's extension; empty when the
// extension names no bank.
QString bankOfPath(const QString &path);
// Extension (without the dot) of a bank letter; empty for other letters.
QString extensionOfBank(const QString &bank);

// How a stored field is read back.
enum class FieldType { Int, Real, Bool, String, Image };
struct Field
{
    QString name;
    FieldType type;
};
// The stored fields, in file order (the feeder record without packageSettings).
const QVector<Field> &fields();

// Every stored field with the name of its type ("int", "real", "bool",
// "string", "image"), for the checked writes of the QML side.
QVariantMap fieldTypeNames();

// The key of the package picture path that files without a package name
// carry instead.
QString packagePathKey();

struct ReadResult
{
    // ReadError also when the file's values cannot be decoded.
    enum Status { Ok, NotFound, BadExtension, ReadError, BadCount };
    Status status = Ok;
    QString bank;
    int count = 0;                  // the bank's feeder count from the file
    QVector<QVariantMap> feeders;   // read in order; stops at the first group without "exists"
    // Values that did not fit (not a number, not finite, beyond the range of
    // an integer): each took the default of a missing key. Operator texts
    // naming the feeder and the key.
    QStringList problems;
};

// Reads a feeder file. Missing keys read as 0, false or empty, except
// maxAcc (100), pickRetryCount (1) and camera1Exposure (globalExposure when
// the stored value is not a number); photos read as image texts; older
// files' centerPins / centerCorners
// become centerType 2 / 3. When "pack" is empty it is derived from the stored
// package picture path. A feeder keeps its place in the bank: a value that
// does not fit takes the default and is reported in `problems`.
ReadResult read(const QString &path, int globalExposure);

// Writes a bank: `count` and the given entries. The old file is replaced only
// when the new one was written completely; false with an error text otherwise,
// also when a value is a real that is not finite (the text names the feeder).
bool write(const QString &path, int count, const QVector<QVariantMap> &feeders, QString *error);

// Photos of a feeder are images in the file and "data:image/png;base64,..."
// texts in the feeder record (which a QML Image shows as they are).
QString imageToText(const QVariant &stored);
QVariant textToImage(const QVariant &value);

// True when the key's value is a counter the change check ignores.
bool isCounterKey(const QString &key);

} // namespace FeederFile
