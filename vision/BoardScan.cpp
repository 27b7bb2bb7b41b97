#include "vision/BoardScan.h"

#include "util/SafeFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>

#include <cmath>

bool BoardScan::start(double boardWidth, double boardHeight, double scanWidth, double scanHeight, double ppm)
{
    m_picture = QImage();
    m_fields = 0;
    m_error.clear();
    const double values[] = {boardWidth, boardHeight, scanWidth, scanHeight, ppm};
    for (double v : values) {
        if (!std::isfinite(v) || v <= 0) {
            m_error = QCoreApplication::translate("BoardScan", "Неверные размеры сканирования платы");
            return false;
        }
    }
    const qint64 w = qint64(std::lround(boardWidth * kPixelsPerMm));
    const qint64 h = qint64(std::lround(boardHeight * kPixelsPerMm));
    if (w < 1 || h < 1 || w > 32000 || h > 32000 || w * h > kMaxPixels) {
        m_error = QCoreApplication::translate("BoardScan", "Плата слишком велика для сканирования");
        return false;
    }
    m_picture = QImage(int(w), int(h), QImage::Format_RGB32);
    if (m_picture.isNull()) {
        m_error = QCoreApplication::translate("BoardScan", "Недостаточно памяти для сканирования платы");
        return false;
    }
    m_picture.fill(Qt::black);
    m_scanWidth = scanWidth;
    m_scanHeight = scanHeight;
    m_ppm = ppm;
    return true;
}

bool BoardScan::addField(const QImage &frame, double x, double y)
{
    if (m_picture.isNull()) {
        m_error = QCoreApplication::translate("BoardScan", "Сканирование платы не начато");
        return false;
    }
    if (frame.isNull() || !std::isfinite(x) || !std::isfinite(y)) {
        m_error = QCoreApplication::translate("BoardScan", "Нет изображения с камеры для сканирования");
        return false;
    }
    const double scale = kPixelsPerMm / m_ppm;
    const QSizeF size(frame.width() * scale, frame.height() * scale);
    const QPointF centre((x + m_scanWidth / 2) * kPixelsPerMm, (y + m_scanHeight / 2) * kPixelsPerMm);
    const QRectF target(centre.x() - size.width() / 2, centre.y() - size.height() / 2, size.width(), size.height());
    QPainter painter(&m_picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, frame);
    painter.end();
    ++m_fields;
    return true;
}

QString BoardScan::save(const QString &fileName)
{
    if (m_picture.isNull()) {
        m_error = QCoreApplication::translate("BoardScan", "Сканирование платы не начато");
        return QString();
    }
    QString name = fileName;
    if (name.startsWith(QLatin1String("file://")))
        name = name.mid(7);
    if (name.isEmpty()) {
        m_error = QCoreApplication::translate("BoardScan", "Не задано имя файла");
        return QString();
    }
    if (!name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        name += QStringLiteral(".png");
    QImage out = m_picture;
    // 600 dots per inch in dots per metre.
    const int dpm = int(std::lround(kDotsPerInch / 0.0254));
    out.setDotsPerMeterX(dpm);
    out.setDotsPerMeterY(dpm);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QString why;
    if (!buffer.open(QIODevice::WriteOnly) || !out.save(&buffer, "PNG") || !SafeFile::write(name, bytes, &why)) {
        m_error = QCoreApplication::translate("BoardScan", "Не удалось записать файл: ") + name;
        if (!why.isEmpty())
            m_error += QStringLiteral(" (") + why + QLatin1Char(')');
        return QString();
    }
    return QFileInfo(name).absoluteFilePath();
}
