#include "backend/IniText.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QMap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>

namespace IniText {

namespace {

const char hexDigits[] = "0123456789ABCDEF";

bool isHexDigit(uint ch)
{
    return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

// A value text: C escapes for control characters, quotes and backslashes;
// every character outside printable ASCII as "\x" and its hexadecimal code
// (a hexadecimal digit right after such a code is escaped too, or it would
// run on into it); quoted as a whole when it holds ';', ',' or '=' or begins
// or ends with a space.
void appendEscapedString(const QString &str, QByteArray &out)
{
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    const int start = out.size();
    out.reserve(start + str.size() * 3 / 2);
    for (const QChar qc : str) {
        const uint ch = qc.unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;
        if (escapeNextIfDigit && isHexDigit(ch)) {
            out += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeNextIfDigit = false;
        switch (ch) {
        case '\0':
            out += "\\0";
            escapeNextIfDigit = true;
            break;
        case '\a': out += "\\a"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\v': out += "\\v"; break;
        case '"':
        case '\\':
            out += '\\';
            out += char(ch);
            break;
        default:
            if (ch <= 0x1F || ch >= 0x7F) {
                out += "\\x" + QByteArray::number(ch, 16);
                escapeNextIfDigit = true;
            } else {
                out += char(ch);
            }
        }
    }
    if (needsQuotes || (start < out.size() && (out.at(start) == ' ' || out.at(out.size() - 1) == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

void appendEscapedStringList(const QStringList &list, QByteArray &out)
{
    // An empty list reads back from "@Invalid()" (an invalid value gives an
    // empty list); "" would be one empty string.
    if (list.isEmpty()) {
        out += "@Invalid()";
        return;
    }
    for (int i = 0; i < list.size(); ++i) {
        if (i != 0)
            out += ", ";
        appendEscapedString(list.at(i), out);
    }
}

QString streamed(const char *tag, const QVariant &value, QDataStream::Version version)
{
    QByteArray bytes;
    {
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        stream.setVersion(version);
        stream << value;
    }
    return QLatin1String(tag) + QLatin1String(bytes.constData(), bytes.size()) + QLatin1Char(')');
}

} // namespace

QString variantToString(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::UnknownType:
        return QStringLiteral("@Invalid()");
    case QMetaType::QByteArray: {
        const QByteArray a = value.toByteArray();
        return QLatin1String("@ByteArray(") + QLatin1String(a.constData(), a.size()) + QLatin1Char(')');
    }
    case QMetaType::QString:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
    case QMetaType::Double:
    case QMetaType::QKeySequence: {
        QString result = value.toString();
        if (result.contains(QChar::Null))
            result = QLatin1String("@String(") + result + QLatin1Char(')');
        else if (result.startsWith(QLatin1Char('@')))
            result.prepend(QLatin1Char('@'));
        return result;
    }
    case QMetaType::QRect: {
        const QRect r = value.toRect();
        return QString::asprintf("@Rect(%d %d %d %d)", r.x(), r.y(), r.width(), r.height());
    }
    case QMetaType::QSize: {
        const QSize s = value.toSize();
        return QString::asprintf("@Size(%d %d)", s.width(), s.height());
    }
    case QMetaType::QPoint: {
        const QPoint p = value.toPoint();
        return QString::asprintf("@Point(%d %d)", p.x(), p.y());
    }
    case QMetaType::QDateTime:
        return streamed("@DateTime(", value, QDataStream::Qt_5_6);
    default:
        return streamed("@Variant(", value, QDataStream::Qt_4_0);
    }
}

QByteArray escapedKey(const QString &key)
{
    QByteArray out;
    out.reserve(key.size() * 3 / 2);
    for (const QChar qc : key) {
        uint ch = qc.unicode();
        if (ch == '/') {
            out += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_'
                   || ch == '-' || ch == '.') {
            out += char(ch);
        } else if (ch <= 0xFF) {
            out += '%';
            out += hexDigits[ch / 16];
            out += hexDigits[ch % 16];
        } else {
            out += "%U";
            char code[4];
            for (int i = 3; i >= 0; --i) {
                code[i] = hexDigits[ch % 16];
                ch >>= 4;
            }
            out.append(code, 4);
        }
    }
    return out;
}

QByteArray escapedValue(const QVariant &value)
{
    QByteArray out;
    // A list of one is written as a streamed variant: as a plain text it
    // would read back as a single value.
    if (value.userType() == QMetaType::QStringList
        || (value.userType() == QMetaType::QVariantList && value.toList().size() != 1)) {
        QStringList texts;
        for (const QVariant &item : value.toList())
            texts.append(variantToString(item));
        appendEscapedStringList(texts, out);
    } else {
        appendEscapedString(variantToString(value), out);
    }
    return out;
}

bool fromSettings(QSettings &settings, QByteArray *text, QString *error)
{
    if (!settings.group().isEmpty()) {
        if (error)
            *error = QCoreApplication::translate("IniText", "не закрыта группа %1").arg(settings.group());
        return false;
    }
    // Section → key inside it → value; both levels sorted by name.
    QMap<QString, QMap<QString, QVariant>> sections;
    for (const QString &key : settings.allKeys()) {
        const int slash = key.indexOf(QLatin1Char('/'));
        if (slash < 0)
            sections[QString()].insert(key, settings.value(key));
        else
            sections[key.left(slash)].insert(key.mid(slash + 1), settings.value(key));
    }
    QByteArray out;
    bool first = true;
    for (auto section = sections.constBegin(); section != sections.constEnd(); ++section) {
        QByteArray header = escapedKey(section.key());
        if (header.isEmpty())
            header = "[General]";
        else if (qstricmp(header.constData(), "general") == 0)
            header = "[%General]";
        else
            header = '[' + header + ']';
        if (!first)
            out += '\n';
        first = false;
        out += header;
        out += '\n';
        for (auto entry = section.value().constBegin(); entry != section.value().constEnd(); ++entry) {
            out += escapedKey(entry.key());
            out += '=';
            out += escapedValue(entry.value());
            out += '\n';
        }
    }
    *text = out;
    return true;
}

} // namespace IniText
