#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

// Delimited text tables as board design tools and spreadsheets write them:
// UTF-8 or UTF-16 (by the byte-order mark), LF or CRLF line ends, fields in
// double quotes.
namespace TextTable {

// The text of a file's bytes: UTF-16 with a byte-order mark, else UTF-8
// (a UTF-8 byte-order mark is dropped).
QString decode(const QByteArray &bytes);

// The lines of a text, without their line ends.
QStringList lines(const QString &text);

// Fields of a line. With a blank separator (' ') the line splits at blanks
// and tabs outside double quotes and empty fields are dropped (runs of
// blanks count once). With any other separator the line splits at that
// character outside double quotes and empty fields are kept, so that the
// columns stay in place. A field in double quotes loses them ("" inside
// stands for one quote).
QStringList split(const QString &line, QChar separator);

QString unquote(const QString &field);

// A number as tools write it: blanks around it, a "mm" suffix (the text before
// it counts) or a "mil" suffix (converted to millimetres); with
// commaIsPoint a decimal comma. False when it is no finite number.
bool toNumber(QString text, bool commaIsPoint, double *value);

} // namespace TextTable
