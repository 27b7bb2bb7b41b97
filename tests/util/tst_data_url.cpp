// Pictures kept in records as data URLs: what decodes, and the message and
// missing picture for everything that does not.
#include "util/DataUrl.h"

#include <QBuffer>
#include <QImage>
#include <QTest>

namespace {

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(200, 40, 10));
    image.setPixel(0, 0, qRgb(1, 2, 3));
    return image;
}

} // namespace

class TestDataUrl : public QObject
{
    Q_OBJECT
private slots:
    void decode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("error");

        const QByteArray png = encoded(picture(7, 5), "PNG");
        const QString pngUrl = QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
        const QString notImage = QStringLiteral("data:image/png;base64,")
                                 + QString::fromLatin1(QByteArray("just some words, no picture").toBase64());
        const QString damaged = QStringLiteral("Изображение не прочитано: данные base64 повреждены");
        const QString noPicture = QStringLiteral("Изображение не прочитано: данные не являются изображением");
        const QString notUrl = QStringLiteral("Изображение не прочитано: ожидается ссылка вида «data:image/...;base64,...»");

        QTest::newRow("png, surrounding blanks") << ("  " + pngUrl + "\n") << QSize(7, 5) << QString();
        QTest::newRow("only blanks") << QStringLiteral("   ") << QSize() << QString();
        QTest::newRow("bad base64 characters") << QStringLiteral("data:image/png;base64,iVBO@@##RU5ErkJggg==") << QSize()
                                               << damaged;
        QTest::newRow("nothing after the comma") << QStringLiteral("data:image/png;base64,") << QSize() << damaged;
        QTest::newRow("not an image") << notImage << QSize() << noPicture;
        QTest::newRow("not base64") << QStringLiteral("data:image/png,plain") << QSize()
                                    << QStringLiteral("Изображение не прочитано: данные ссылки «data:» не в кодировке base64");
        QTest::newRow("no comma") << QStringLiteral("data:image/png;base64") << QSize() << notUrl;
        QTest::newRow("a file path") << QStringLiteral("/home/operator/photo.png") << QSize() << notUrl;
    }

    void decode()
    {
        QFETCH(QString, text);
        QFETCH(QSize, size);
        QFETCH(QString, error);
        QString message = QStringLiteral("left over");
        const QImage image = DataUrl::decodeImage(text, &message);
        QCOMPARE(message, error);
        QCOMPARE(image.isNull(), !size.isValid());
        if (size.isValid()) {
            QCOMPARE(image.size(), size);
            QCOMPARE(image.pixel(0, 0) & 0xffffff, qRgb(1, 2, 3) & 0xffffff);
            QCOMPARE(image.pixel(1, 1) & 0xffffff, qRgb(200, 40, 10) & 0xffffff);
        }
        // The error text is optional.
        QCOMPARE(DataUrl::decodeImage(text, nullptr).size(), image.size());
    }
};

QTEST_GUILESS_MAIN(TestDataUrl)

#include "tst_data_url.moc"
