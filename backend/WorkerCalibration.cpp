// Work-field calibration: the measured grid from the calibration window is
// stored, and the correction table is built from the stored file.
#include "backend/Worker.h"

#include "util/SafeFile.h"
#include "vision/FieldCalibration.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QQuickItem>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <cmath>

namespace {

QString fieldCalibrationPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/fieldCalibration.ini");
}

const char *const errorPicturePath = "/home/kestravo/Desktop/fieldCalibration.png";

bool number(const QVariantMap &map, const char *key, double *value)
{
    bool ok = false;
    *value = map.value(QLatin1String(key)).toDouble(&ok);
    return ok && std::isfinite(*value);
}

} // namespace

void Worker::calcFieldCalibrationGet(int xCount, int yCount)
{
    const QVariantList list = invoke(m_fieldCalibListInvoker.data(), "getAll").toList();
    FieldCalibration cal;
    cal.xCount = xCount;
    cal.yCount = yCount;
    bool ok = xCount > 0 && yCount > 0 && list.size() == xCount * yCount;
    for (int i = 0; ok && i < list.size(); ++i) {
        const QVariantMap map = list.at(i).toMap();
        FieldCalibration::Point p;
        ok = number(map, "rX", &p.rX) && number(map, "rY", &p.rY) && number(map, "nX", &p.nX) && number(map, "nY", &p.nY);
        cal.points.append(p);
    }
    if (!ok) {
        emit showError(tr("Данные калибровки рабочего поля неполны (%1 точек вместо %2 x %3)!")
                           .arg(list.size())
                           .arg(xCount)
                           .arg(yCount),
                       false, QString());
        return;
    }
    const FieldCalibration::Stats st = cal.stats();
    qDebug() << "  dXAvg" << st.dXAvg << "  dYAvg" << st.dYAvg << "  dRAvg" << st.dRAvg;
    qDebug() << "field calibration row angles" << cal.rowAngles();
    const QString picture = QString::fromLatin1(errorPicturePath);
    if (QFileInfo(QFileInfo(picture).absolutePath()).isWritable()) {
        QByteArray png;
        QBuffer buffer(&png);
        QString why;
        if (!buffer.open(QIODevice::WriteOnly) || !cal.errorPicture().save(&buffer, "PNG")
            || !SafeFile::write(picture, png, &why)) {
            emit showError(tr("Не удалось сохранить картинку отклонений рабочего поля: %1").arg(picture) + " (" + why
                               + ")",
                           true, QStringLiteral("warning"));
        }
    }

    QString error;
    if (!cal.write(fieldCalibrationPath(), &error)) {
        emit showError(tr("Не удалось записать калибровочный файл рабочего поля аппарата: ") + error, false, QString());
        return;
    }
    QTimer::singleShot(100, this, &Worker::fieldCalibrationLoad);
}

void Worker::fieldCalibrationLoad()
{
    const QString path = fieldCalibrationPath();
    // What a save killed midway left beside the file goes first.
    SafeFile::removeLeftovers(path);
    if (!QFileInfo::exists(path)) {
        // Never calibrated: nothing to correct.
        emit sendFieldCalibrationAvailable(false);
        return;
    }
    FieldCalibration cal;
    QString error;
    if (!cal.read(path, &error)) {
        qDebug() << "field calibration file:" << error;
        emit showError(tr("Не удалось открыть калибровочный файл рабочего поля аппарата!"), false, QString());
        emit sendFieldCalibrationAvailable(false);
        return;
    }
    const int width = int(std::ceil(rootProperty("workAreaX2").toDouble()));
    const int height = int(std::ceil(rootProperty("workAreaY2").toDouble()));
    if (width < 100 || width > 1996 || height < 100 || height > 1996) {
        emit showError(tr("Размеры рабочего поля (%1 x %2 мм) вне допустимых пределов 100...1996 мм, калибровка "
                          "рабочего поля не применяется!")
                           .arg(width)
                           .arg(height),
                       false, QString());
        emit sendFieldCalibrationAvailable(false);
        return;
    }
    emit sendFieldCalibration(cal.table(width, height), width, height);
    emit sendFieldCalibrationAvailable(true);
}
