#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Placement (pick-and-place) lists exported by board design tools: one
// component per line, in columns. Lines are read, filtered by board side,
// mirrored for the bottom side, moved to the board's corner on the machine
// and grouped by package and part number, each group with the first feeder
// that holds the same package and part number.
namespace PlacementList {

// Column 15 or more means "no such column" for the package and comment.
constexpr int noColumn = 15;

struct Settings
{
    QChar separator = QLatin1Char(' ');   // ' ' = blanks and tabs
    int packCol = 0;
    int partNumberCol = 1;
    int designatorCol = 2;
    int xCol = 3;
    int yCol = 4;
    int angleCol = 5;
    int commentCol = 16;
    bool sideEnabled = true;
    int side = 0;             // 0 top, 1 bottom
    int sideCol = 6;
    int sideInverse = 0;      // bottom side: 0 mirror in X, 1 mirror in Y
    double boardX1 = 0;       // where the smallest X and Y of the list go
    double boardY1 = 0;
};

struct Feeder
{
    QString bank;             // "L", "R", "B", "U"
    int index = -1;
    QString pack;
    QString partNumber;
};

struct Line
{
    QString designator;
    double x = 0;
    double y = 0;
    double angle = 0;
};

struct Group
{
    QString pack;
    QString partNumber;
    QString comment;
    QVector<Line> lines;
    QString model;            // bank of the matching feeder, empty when none
    int index = -1;           // its number in the bank
    QString designators() const;   // joined with ", "
};

struct Result
{
    int accepted = 0;         // lines taken
    QVector<Group> groups;    // largest group first
};

// The separator of a separator text from the import window: longer than
// one character (the "blanks and tabs" entry) means blanks.
QChar separatorOf(const QString &text);

// True when the side field names the wanted side (0 top, 1 bottom).
bool isSide(const QString &field, int side);

// Reads a list from the text of a file. feeders: every feeder of the banks,
// in the order the search takes them (banks L, R, B, U; feeders in order).
Result read(const QString &text, const Settings &settings, const QVector<Feeder> &feeders);

} // namespace PlacementList
