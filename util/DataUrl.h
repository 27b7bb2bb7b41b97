#pragma once

#include <QImage>
#include <QString>

// Pictures kept inside records as data URLs ("data:image/png;base64,...",
// the form a QML Image shows as it is): feeder photos, mark templates.
namespace DataUrl {

// True when the text claims to be a data URL (begins with "data:").
bool isDataUrl(const QString &text);

// The picture of a base64 data URL. An empty text is no picture and no
// error. Anything else that does not give a picture (not a data URL, not
// base64, damaged base64, data that is no picture) gives a null image and
// an operator text in *error (when given).
QImage decodeImage(const QString &text, QString *error);

} // namespace DataUrl
