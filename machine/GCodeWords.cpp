#include "machine/GCodeWords.h"

#include <cmath>

namespace {

bool isKeyLetter(QChar c)
{
    return c >= QLatin1Char('a') && c <= QLatin1Char('z');
}

bool isNumberChar(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') || c == QLatin1Char('-')
           || c == QLatin1Char('.') || c == QLatin1Char(',');
}

bool isDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// Reads the number part of a word; the key decides which forms it may take.
void readValue(GCodeWord &w, const QString &number)
{
    w.valid = false;
    w.relative = false;
    w.integer = isDigits(number);
    if (w.key.isEmpty())
        return;
    if (GCodeWords::axisOf(w.key) >= 0
        && (number.startsWith(QLatin1String("++")) || number.startsWith(QLatin1String("--")))) {
        const QString distance = number.mid(2);
        if (distance.isEmpty() || distance[0] == QLatin1Char('+') || distance[0] == QLatin1Char('-'))
            return;
        double v = 0;
        if (!GCodeWords::readNumber(distance, &v))
            return;
        w.relative = true;
        w.value = number[0] == QLatin1Char('-') ? -v : v;
        w.valid = true;
        return;
    }
    // Command numbers are whole: "g1.5" is no command.
    if ((w.key == QLatin1String("g") || w.key == QLatin1String("m")) && !w.integer)
        return;
    w.valid = GCodeWords::readNumber(number, &w.value);
}

} // namespace

bool GCodeWords::readNumber(const QString &text, double *value)
{
    int i = 0;
    const int n = text.size();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    int digits = 0;
    int marks = 0;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            ++digits;
        else if (c == QLatin1Char('.') || c == QLatin1Char(','))
            ++marks;
        else
            return false;
    }
    if (digits == 0 || marks > 1)
        return false;
    QString plain = text;
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = plain.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

int GCodeWords::axisOf(const QString &key)
{
    if (key.size() != 1)
        return -1;
    static const QString letters = QStringLiteral("xyzabcd");
    return letters.indexOf(key[0]);
}

QVector<GCodeWord> GCodeWords::split(const QString &line)
{
    const QString s = line.toLower();
    const int n = s.size();
    QVector<GCodeWord> words;
    int i = 0;
    while (i < n) {
        if (s[i].isSpace()) {
            ++i;
            continue;
        }
        const int start = i;
        GCodeWord w;
        if (s.midRef(i).startsWith(QLatin1String("znozzle")))
            w.key = QStringLiteral("znozzle");
        else if (s.midRef(i).startsWith(QLatin1String("acc")))
            w.key = QStringLiteral("acc");
        else if (isKeyLetter(s[i]))
            w.key = s[i];
        i += w.key.size();
        const int numberStart = i;
        while (i < n && isNumberChar(s[i]))
            ++i;
        readValue(w, s.mid(numberStart, i - numberStart));
        const bool joined = i < n && w.valid && isKeyLetter(s[i]) && s[i] != QLatin1Char('e');
        if (i < n && !s[i].isSpace() && !joined) {
            // Something glued to the word: the word is everything up to the
            // next blank, and not a word this interpreter reads.
            while (i < n && !s[i].isSpace())
                ++i;
            w.valid = false;
        }
        w.text = s.mid(start, i - start);
        words << w;
    }
    return words;
}
