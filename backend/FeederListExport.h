#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The list of feeders in use by the open project, as a text table.
namespace FeederListExport {

struct Row
{
    QString bank;            // "B", "L", "U", "R"
    int number = 0;          // 1-based
    QString pack;
    QString partNumber;
    int count = 0;           // components of the project on the feeder
    int installed = 0;       // taken from it
    int toBasket = 0;        // rejected
    QString designators;
};

struct Settings
{
    int separatorType = 0;   // 0 columns padded with blanks, 1 ";", 2 "|"
    int sortType = 0;        // 0 by project count (largest first), 1 bank and feeder order
    bool header = false;
    bool emptyFeeders = false;
    bool feeder = true;
    bool number = true;
    bool installed = true;
    bool toBasket = true;
    bool designator = true;
    QStringList columnOrder; // column ids; missing ids follow in the default order
    QString projectName;     // empty: no project open
};

// Column ids in their default order.
const QStringList &columns();
QString header(const QString &column);
// Bank names of the file: "Снизу", "Слева", "Сверху", "Справа".
QString bankName(const QString &bank);

struct Result
{
    QString text;
    int rows = 0;
};

// rows: every feeder of the banks, in the order B, L, U, R and feeder order.
Result write(const QVector<Row> &rows, const Settings &settings);

} // namespace FeederListExport
