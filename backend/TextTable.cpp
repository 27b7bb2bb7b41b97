#include "backend/TextTable.h"

#include <QTextCodec>

#include <cmath>

namespace TextTable {

QString decode(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return QTextCodec::codecForName("UTF-16LE")->toUnicode(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QTextCodec::codecForName("UTF-16BE")->toUnicode(bytes.mid(2));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    return QString::fromUtf8(bytes);
}

QStringList lines(const QString &text)
{
    QStringList out = text.split(QLatin1Char('\n'));
    for (QString &line : out) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

QString unquote(const QString &field)
{
    if (field.size() >= 2 && field.startsWith(QLatin1Char('"')) && field.endsWith(QLatin1Char('"'))) {
        QString inner = field.mid(1, field.size() - 2);
        inner.replace(QLatin1String("\"\""), QLatin1String("\""));
        return inner;
    }
    return field;
}

QStringList split(const QString &line, QChar separator)
{
    const bool blank = separator == QLatin1Char(' ');
    // A character splits when an even number of quotes follows it (it is
    // outside quotes, for lines with balanced quotes).
    int quotesAfter = int(line.count(QLatin1Char('"')));
    QStringList fields;
    int start = 0;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('"')) {
            --quotesAfter;
            continue;
        }
        const bool splits = blank ? (c == QLatin1Char(' ') || c == QLatin1Char('\t')) : c == separator;
        if (!splits || quotesAfter % 2 != 0)
            continue;
        const QString field = line.mid(start, i - start);
        if (!blank || !field.isEmpty())
            fields.append(unquote(field));
        start = i + 1;
    }
    const QString last = line.mid(start);
    if (!blank || !last.isEmpty())
        fields.append(unquote(last));
    return fields;
}

bool toNumber(QString text, bool commaIsPoint, double *value)
{
    text = text.trimmed();
    double factor = 1.0;
    const int mm = text.indexOf(QLatin1String("mm"), 0, Qt::CaseInsensitive);
    if (mm >= 0) {
        text = text.left(mm).trimmed();
    } else if (text.endsWith(QLatin1String("mil"), Qt::CaseInsensitive)) {
        text = text.left(text.size() - 3).trimmed();
        factor = 0.0254;
    }
    if (commaIsPoint)
        text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v * factor;
    return true;
}

} // namespace TextTable
