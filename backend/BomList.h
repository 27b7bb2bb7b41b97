#pragma once

#include <QString>
#include <QVector>

// Bills of materials for loading feeder banks: one line per part, in
// columns (package, part number, designators, count).
namespace BomList {

// Column 10 or more means "not used" for the designators and the count.
constexpr int noColumn = 10;

struct Settings
{
    QChar separator = QLatin1Char('\t');
    int packCol = 0;
    int partNumberCol = 1;
    int designatorCol = 2;
    int countCol = 3;
};

struct Line
{
    QString pack;
    QString partNumber;
    QString designators;
    int count = 0;
};

// The separator of a separator text from the import window: longer than one
// character (the "tab" entry) means a tab.
QChar separatorOf(const QString &text);

// The lines of a BOM: with a count column, largest count first; otherwise
// in file order. Lines without the package and part-number columns are
// skipped.
QVector<Line> read(const QString &text, const Settings &settings);

} // namespace BomList
