#include "machine/CncErrorText.h"

#include "machine/MachineStatus.h"

QString CncErrorText::translate(const QString &text, const std::function<bool()> &machineOn)
{
    auto letter = [](int n) { return QString(QLatin1Char(Axes::letter(Axes::valid(n) ? n : 0))); };
    if (text.startsWith(QLatin1String("Unexpected realtime delay")) || text == QLatin1String("homing already in progress")
        || text.startsWith(QLatin1String("Cannot unhome")))
        return QString();
    if (text.left(5) == QLatin1String("joint") && text.right(15).contains(QLatin1String("following error"))) {
        // The joint number leads characters 6..8 ("joint 2 following error").
        const QString digits = text.mid(6, 3).trimmed();
        int end = 0;
        while (end < digits.size() && digits[end].isDigit())
            ++end;
        return tr("Ошибка следования по оси ") + letter(digits.left(end).toInt());
    }
    const bool negative = text.contains(QLatin1String("Exceeded negative soft limit on joint"));
    const bool positive = text.contains(QLatin1String("Exceeded positive soft limit on joint"));
    if (negative || positive) {
        bool ok = false;
        int n = text.right(2).trimmed().toInt(&ok);
        if (!ok)
            n = 0;
        if (!machineOn())
            return QString();
        return (negative ? tr("Достигнут нижний предел перемещения по оси ")
                         : tr("Достигнут верхний предел перемещения по оси "))
               + letter(n);
    }
    return text;
}
