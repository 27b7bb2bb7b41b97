#include "util/DataUrl.h"

#include <QByteArray>
#include <QCoreApplication>

namespace DataUrl {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("DataUrl", text);
}

void fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

bool isDataUrl(const QString &text)
{
    return text.startsWith(QLatin1String("data:"), Qt::CaseInsensitive);
}

QImage decodeImage(const QString &text, QString *error)
{
    if (error)
        error->clear();
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QImage();
    const int comma = trimmed.indexOf(QLatin1Char(','));
    if (!isDataUrl(trimmed) || comma < 0) {
        fail(error, tr("Изображение не прочитано: ожидается ссылка вида «data:image/...;base64,...»"));
        return QImage();
    }
    const QString header = trimmed.left(comma);
    if (!header.endsWith(QLatin1String(";base64"), Qt::CaseInsensitive)) {
        fail(error, tr("Изображение не прочитано: данные ссылки «data:» не в кодировке base64"));
        return QImage();
    }
    const QByteArray encoded = trimmed.mid(comma + 1).toLatin1();
    const QByteArray::FromBase64Result decoded =
        QByteArray::fromBase64Encoding(encoded, QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.isEmpty()) {
        fail(error, tr("Изображение не прочитано: данные base64 повреждены"));
        return QImage();
    }
    QImage image;
    if (!image.loadFromData(decoded.decoded) || image.isNull()) {
        fail(error, tr("Изображение не прочитано: данные не являются изображением"));
        return QImage();
    }
    return image;
}

} // namespace DataUrl
