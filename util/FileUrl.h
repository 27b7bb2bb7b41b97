#pragma once

#include <QString>
#include <QUrl>

// File names reach the back end from QML either as "file://" URLs or as plain
// paths. These helpers turn both into local paths and back, decoding
// percent-encoding, spaces and non-Latin names correctly.
namespace FileUrl {

QString toLocalPath(const QString &urlOrPath);
QString toLocalPath(const QUrl &url);
QString fromLocalPath(const QString &path); // "file://" + path, encoded as QML expects

} // namespace FileUrl
