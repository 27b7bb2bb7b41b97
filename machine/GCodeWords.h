#pragma once

#include <QString>
#include <QVector>

// One word of a G-code line: a letter (or one of the words "acc" and
// "znozzle") followed by a plain number; an axis letter may instead be
// followed by "++" or "--" and a distance (a move relative to where the axis
// stands).
struct GCodeWord
{
    QString key;  // "g", "x", "acc", "znozzle", ...; empty when the text starts with no letter
    QString text; // as written, for messages
    bool valid = false;
    bool relative = false;
    // Digits only: no sign, no decimal mark (command numbers, output numbers).
    bool integer = false;
    double value = 0; // signed; the distance of a relative word with its sign
};

// Splits a line into words. A plain number is an optional sign and digits
// with at most one decimal mark, "." or ",": 12, -12.5, .5, 12,5, 5. It reads
// as a finite double or the word is not valid. Words may be written joined
// ("g0x5y3"): a letter right after a plain number starts the next word,
// except "e" (an exponent is not a plain number). Anything else glued to a
// word makes the whole text up to the next blank one invalid word, so that a
// message can name it as written ("x1e400", "xnan").
class GCodeWords
{
public:
    // The line is expected in lower case with blank runs simplified and the
    // comment removed.
    static QVector<GCodeWord> split(const QString &line);
    // A plain number as above; false when it is not one or does not fit a
    // finite double.
    static bool readNumber(const QString &text, double *value);
    // The axis (0..6) of an axis letter, -1 for any other key.
    static int axisOf(const QString &key);
};
