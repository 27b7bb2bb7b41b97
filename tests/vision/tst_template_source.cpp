// Where a recognition template comes from: data URLs, image providers,
// picture files, and the message and missing template for each way that
// gives no picture.
#include "vision/TemplateSource.h"

#include <QBuffer>
#include <QImage>
#include <QQuickImageProvider>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Serves "part" as a 9 x 4 picture and anything else as the 1 x 1
// placeholder, as the program's providers do.
class PartProvider : public QQuickImageProvider
{
public:
    PartProvider() : QQuickImageProvider(QQuickImageProvider::Image) {}
    QImage requestImage(const QString &id, QSize *size, const QSize &) override
    {
        ids << id;
        QImage image(id == QLatin1String("part") ? QSize(9, 4) : QSize(1, 1), QImage::Format_RGB32);
        image.fill(0);
        if (size)
            *size = image.size();
        return image;
    }
    QStringList ids;
};

QString pngDataUrl(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(bytes.toBase64());
}

} // namespace

class TestTemplateSource : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QImage image(6, 11, QImage::Format_RGB32);
        image.fill(Qt::white);
        QVERIFY(image.save(m_dir.filePath("mark.png")));
    }

    void load_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("providerId"); // the id the provider was asked for

        const QString mark = m_dir.filePath("mark.png");
        const QString notLoaded = QStringLiteral("Шаблон не загружен: ");
        const QString noFile = notLoaded + "файл «%1» не найден или не является изображением";
        QTest::newRow("nothing") << QString() << QSize() << QString() << QString();
        QTest::newRow("data url") << pngDataUrl(5, 3) << QSize(5, 3) << QString() << QString();
        QTest::newRow("damaged data url")
            << QStringLiteral("data:image/png;base64,%%%%") << QSize()
            << notLoaded + "Изображение не прочитано: данные base64 повреждены" << QString();
        QTest::newRow("feeder photo of a provider")
            << QStringLiteral("image://worker/part") << QSize(9, 4) << QString() << "part";
        QTest::newRow("provider holds nothing")
            << QStringLiteral("image://worker/camera2_B7") << QSize()
            << notLoaded + "изображение «image://worker/camera2_B7» пусто"
            << "camera2_B7";
        QTest::newRow("unknown provider")
            << QStringLiteral("image://camera9/photo") << QSize()
            << notLoaded + "нет источника изображений «camera9»" << QString();
        QTest::newRow("file path") << mark << QSize(6, 11) << QString() << QString();
        QTest::newRow("file url") << QUrl::fromLocalFile(mark).toString() << QSize(6, 11)
                                  << QString() << QString();
        QTest::newRow("missing file") << m_dir.filePath("gone.png") << QSize()
                                      << noFile.arg(m_dir.filePath("gone.png")) << QString();
    }

    void load()
    {
        QFETCH(QString, source);
        QFETCH(QSize, size);
        QFETCH(QString, error);
        QFETCH(QString, providerId);
        m_provider.ids.clear();
        const TemplateSource::ProviderLookup providers =
            [this](const QString &name) -> QQuickImageProvider * {
            return name == QLatin1String("worker") ? &m_provider : nullptr;
        };
        QString message = QStringLiteral("left over");
        const QImage image = TemplateSource::load(source, providers, &message);
        QCOMPARE(message, error);
        QCOMPARE(image.isNull(), !size.isValid());
        if (size.isValid())
            QCOMPARE(image.size(), size);
        QCOMPARE(m_provider.ids, providerId.isEmpty() ? QStringList() : QStringList{providerId});
    }

private:
    QTemporaryDir m_dir;
    PartProvider m_provider;
};

QTEST_MAIN(TestTemplateSource)

#include "tst_template_source.moc"
