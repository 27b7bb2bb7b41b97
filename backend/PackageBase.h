#pragma once

#include <QFileInfoList>
#include <QHash>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QVector>

// The package base: package pictures in a folder tree, whose file names carry
// the package name and optionally its size and handling parameters, e.g.
// "SOT23(A2.9B1.3H1.1W8P4).png", and "packageBase.ini" with the settings the
// operator edits per package (one group per package, named in lower case).
namespace PackageBase {

// Parameters read from a package picture's file name.
struct FileNameParams
{
    QString name;            // file name up to the first "("
    bool valid = false;      // A, B and H present; otherwise nothing below is set
    double width = 0;        // A
    double height = 0;       // B
    double thickness = 0;    // H
    double cupDiameter = 0;  // D, 0 when absent or not positive
    int bandWidth = -1;      // W, tape width in mm
    int pitch = -1;          // P, component pitch in mm
    double maxAcc = -1;      // ACC, machine acceleration units
    bool slowPick = false;   // capital "S" among the parameters
    // Operator text when a size in the name was refused (beyond maxSize);
    // the name then holds no parameters (valid is false).
    QString problem;
};

// Largest package size (A, B, H, D) taken from a file name, mm.
constexpr double maxSize = 1000;

// Package name of a picture path: the text after the last "/" up to the last
// "(", or up to the last "." without "(". Empty for an empty path.
QString nameFromPath(const QString &path);

// Parameters of a picture file name (read from ".png" files only).
FileNameParams parseFileName(const QString &path);

// The same as a map: name, and width, height, thickness, cupDiameter,
// bandWidth, pitch, maxAcc, slowPick when valid.
QVariantMap toMap(const FileNameParams &params);

// Index of tape width in mm (8 → 0 ... 44 → 5), -1 for other widths.
int bandWidthIndexOfMillimetres(int mm);
// Index of a pitch in mm (4 → 1 ... 20 → 5), -1 for other pitches.
int bandStepIndexOfMillimetres(int mm);

// The record keys written to packageBase.ini, in writing order.
const QStringList &storedKeys();

// What completing a record needs to know about the machine.
struct MachineFacts
{
    QVector<double> cupDiameters;   // of the cup records, in order
    double maxAccXYZ = 0;           // acceleration limit of X, Y, Z
    int cameraT1 = 180;             // global component-camera thresholds
    int cameraT2 = 50;
    int cameraCheckSize = 1;
};

// Index of the cup for a target diameter: the largest diameter not above it,
// the first of equal ones; the smallest cup when all are larger; 0 without cups.
int chooseCup(const QVector<double> &cupDiameters, double target);

// Completes the group `group` of the settings: every missing key is computed
// from the file name and the machine and written into the settings; stored
// values are kept. Returns the record (typed values, without name and path).
// `changed` is set when a key was added. A stored value that does not fit
// its type (not a number, not finite) takes the computed value in the record
// and is reported in `problems`; the file keeps it until the record is saved.
QVariantMap completeRecord(QSettings &ini, const QString &group, const FileNameParams &params,
                           const MachineFacts &facts, bool *changed = nullptr, QStringList *problems = nullptr);

// Picture files and sub-folders of a folder, as the search takes them.
QFileInfoList folderEntries(const QString &folder);

// Package pictures found in discovery order, the first file of a name
// winning; `knownLower` holds the lower-case names already known and grows.
struct SearchResult
{
    QStringList names;
    QStringList files;          // absolute paths
    QStringList duplicates;     // names found again
};
void search(const QFileInfoList &entries, QHash<QString, int> &knownLower, SearchResult &result);

// Writes the records (maps with "name" and the stored keys) into the file,
// keeping the groups of packages that are not among them. False with an
// error text when the file could not be written, or when a value is a real
// that is not finite (see checkWritten()); it is then unchanged.
bool writeRecords(const QString &iniPath, const QVariantList &records, QString *error);

// The operator text refusing to write packageBase.ini because a value in `ini`
// is a real that is not finite (naming the package and the key); empty when
// every value is fine.
QString checkWritten(QSettings &ini);

} // namespace PackageBase
