#pragma once

#include <QString>
#include <QStringList>

// The camera lists of the settings screens.
class CameraListing
{
public:
    // Device paths from a listing of /dev/v4l/by-path (one path per line),
    // without the metadata nodes (names ending in "index1").
    static QStringList camerasFromListing(const QStringList &paths);
    // The frame sizes ("640x480") named in the output of
    // "v4l2-ctl --list-formats-ext", each once, in order of first appearance.
    static QStringList modesFromFormats(const QString &output);

    // The cameras present now, then the simulated cameras.
    static QStringList cameras(const QString &folder = QStringLiteral("/dev/v4l/by-path"));
    // The frame sizes of a camera: asks v4l2-ctl for a device path; the
    // sizes a simulated camera gives otherwise. Empty with `error` set when
    // the tool cannot be run.
    static QStringList modes(const QString &name, QString *error = nullptr);

    static const QStringList &simulatedCameras();
};
