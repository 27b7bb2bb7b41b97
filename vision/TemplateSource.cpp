#include "vision/TemplateSource.h"

#include "util/DataUrl.h"

#include <QCoreApplication>
#include <QQuickImageProvider>
#include <QUrl>

namespace TemplateSource {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("TemplateSource", text);
}

QImage failed(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return QImage();
}

} // namespace

QImage load(const QString &source, const ProviderLookup &providers, QString *error)
{
    if (error)
        error->clear();
    const QString text = source.trimmed();
    if (text.isEmpty())
        return QImage();
    if (DataUrl::isDataUrl(text)) {
        QString decodeError;
        const QImage image = DataUrl::decodeImage(text, &decodeError);
        if (image.isNull())
            return failed(error, tr("Шаблон не загружен: %1").arg(decodeError));
        return image;
    }
    if (text.startsWith(QLatin1String("image://"))) {
        const QString rest = text.mid(int(qstrlen("image://")));
        const int slash = rest.indexOf(QLatin1Char('/'));
        const QString name = slash < 0 ? rest : rest.left(slash);
        const QString id = slash < 0 ? QString() : rest.mid(slash + 1);
        QQuickImageProvider *provider = providers ? providers(name) : nullptr;
        if (!provider || provider->imageType() != QQmlImageProviderBase::Image)
            return failed(error, tr("Шаблон не загружен: нет источника изображений «%1»").arg(name));
        QSize size;
        const QImage image = provider->requestImage(id, &size, QSize());
        // Providers answer an id they hold nothing for with a 1 x 1 picture.
        if (image.isNull() || (image.width() <= 1 && image.height() <= 1))
            return failed(error, tr("Шаблон не загружен: изображение «%1» пусто").arg(text));
        return image;
    }
    const QUrl url(text);
    const QString path = url.isLocalFile() ? url.toLocalFile() : text;
    QImage image;
    if (!image.load(path))
        return failed(error, tr("Шаблон не загружен: файл «%1» не найден или не является изображением").arg(path));
    return image;
}

} // namespace TemplateSource
