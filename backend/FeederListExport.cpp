#include "backend/FeederListExport.h"

#include <QCoreApplication>

#include <algorithm>

namespace FeederListExport {

const QStringList &columns()
{
    static const QStringList list = {"feeder", "number", "package", "partNumber", "count", "installed",
                                     "toBasket", "designator"};
    return list;
}

QString header(const QString &column)
{
    if (column == QLatin1String("feeder"))
        return QCoreApplication::translate("FeederListExport", "Питатель");
    if (column == QLatin1String("number"))
        return QCoreApplication::translate("FeederListExport", "Номер");
    if (column == QLatin1String("package"))
        return QCoreApplication::translate("FeederListExport", "Корпус");
    if (column == QLatin1String("partNumber"))
        return QCoreApplication::translate("FeederListExport", "Номинал (part number)");
    if (column == QLatin1String("count"))
        return QCoreApplication::translate("FeederListExport", "В проекте шт.");
    if (column == QLatin1String("installed"))
        return QCoreApplication::translate("FeederListExport", "Установлено шт.");
    if (column == QLatin1String("toBasket"))
        return QCoreApplication::translate("FeederListExport", "Сбросов шт.");
    if (column == QLatin1String("designator"))
        return QCoreApplication::translate("FeederListExport", "Позиционные обозначения");
    return column;
}

QString bankName(const QString &bank)
{
    if (bank == QLatin1String("B"))
        return QCoreApplication::translate("FeederListExport", "Снизу");
    if (bank == QLatin1String("L"))
        return QCoreApplication::translate("FeederListExport", "Слева");
    if (bank == QLatin1String("U"))
        return QCoreApplication::translate("FeederListExport", "Сверху");
    return QCoreApplication::translate("FeederListExport", "Справа");
}

namespace {

QString cell(const Row &r, const QString &column)
{
    if (column == QLatin1String("feeder"))
        return bankName(r.bank);
    if (column == QLatin1String("number"))
        return QString::number(r.number);
    if (column == QLatin1String("package"))
        return r.pack;
    if (column == QLatin1String("partNumber"))
        return r.partNumber;
    if (column == QLatin1String("count"))
        return QString::number(r.count);
    if (column == QLatin1String("installed"))
        return QString::number(r.installed);
    if (column == QLatin1String("toBasket"))
        return QString::number(r.toBasket);
    return r.designators;
}

bool shown(const Settings &s, const QString &column)
{
    if (column == QLatin1String("feeder"))
        return s.feeder;
    if (column == QLatin1String("number"))
        return s.number;
    if (column == QLatin1String("installed"))
        return s.installed;
    if (column == QLatin1String("toBasket"))
        return s.toBasket;
    if (column == QLatin1String("designator"))
        return s.designator;
    return true;
}

} // namespace

Result write(const QVector<Row> &all, const Settings &s)
{
    QStringList order;
    for (const QString &c : s.columnOrder) {
        if (columns().contains(c) && !order.contains(c))
            order.append(c);
    }
    for (const QString &c : columns()) {
        if (!order.contains(c))
            order.append(c);
    }
    QStringList used;
    for (const QString &c : order) {
        if (shown(s, c))
            used.append(c);
    }

    QVector<Row> rows;
    for (const Row &r : all) {
        if (r.count > 0 || s.emptyFeeders)
            rows.append(r);
    }
    if (s.sortType == 0)
        std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) { return a.count > b.count; });

    QVector<QStringList> table;
    table.append(QStringList());
    for (const QString &c : used)
        table.first().append(header(c));
    for (const Row &r : rows) {
        QStringList line;
        for (const QString &c : used)
            line.append(cell(r, c));
        table.append(line);
    }

    QVector<int> widths(used.size(), 0);
    for (const QStringList &line : table) {
        for (int i = 0; i < line.size(); ++i)
            widths[i] = std::max(widths.at(i), int(line.at(i).size()));
    }
    auto format = [&](const QStringList &line) {
        if (s.separatorType == 1 || s.separatorType == 2)
            return line.join(s.separatorType == 1 ? QLatin1Char(';') : QLatin1Char('|'));
        QString text;
        for (int i = 0; i < line.size(); ++i) {
            if (i + 1 < line.size())
                text += line.at(i).leftJustified(widths.at(i) + 2);
            else
                text += line.at(i);
        }
        return text;
    };

    Result result;
    const QString rule(117, QLatin1Char('-'));
    if (s.header) {
        result.text += QCoreApplication::translate("FeederListExport", "Проект: ")
            + (s.projectName.isEmpty() ? QCoreApplication::translate("FeederListExport", "не открыт") : s.projectName)
            + '\n';
        result.text += rule + '\n' + format(table.first()) + '\n' + rule + '\n';
    }
    for (int i = 1; i < table.size(); ++i)
        result.text += format(table.at(i)) + '\n';
    result.rows = rows.size();
    return result;
}

} // namespace FeederListExport
