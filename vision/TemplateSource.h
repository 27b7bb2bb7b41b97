#pragma once

#include <QImage>
#include <QString>

#include <functional>

class QQuickImageProvider;

// Where a recognition template comes from: nothing (""), a picture kept as a
// data URL, an image provider's picture ("image://worker/camera2_B0",
// "image://camera1/clipPhoto") or a picture file ("file:///..." or a path).
namespace TemplateSource {

// The image provider registered under a name, or nullptr.
using ProviderLookup = std::function<QQuickImageProvider *(const QString &name)>;

// The template picture of `source`. An empty source is no template and no
// error. Otherwise a null image and an operator text in *error when the
// source gives no picture: a data URL that does not decode, an unknown
// provider, a provider with nothing under the id (its 1 x 1 placeholder), a
// file that is missing or no picture.
QImage load(const QString &source, const ProviderLookup &providers, QString *error);

} // namespace TemplateSource
