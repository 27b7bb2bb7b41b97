// Worker: interface language and help texts, the reference-mark cursor,
// application state, signals and small file utilities.
#include "backend/Worker.h"

#include "util/FileUrl.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTranslator>

#include <csignal>

namespace {

void paintRings(QImage *image, const QColor &color, bool squares)
{
    image->fill(QColor(0, 0, 0, 0));
    QPainter painter(image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(image->width() / 2, image->height() / 2);
    painter.setPen(QPen(color, 1.5, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(Qt::NoBrush);
    for (int s = 0; s < 72; s += 9) {
        const QRectF r(-s / 2.0, -s / 2.0, s, s);
        if (squares)
            painter.drawRect(r);
        else
            painter.drawEllipse(r);
    }
}

} // namespace

void Worker::paintCircle(QImage *image)
{
    paintRings(image, m_cursorColor, false);
}

void Worker::paintSquare(QImage *image)
{
    paintRings(image, m_cursorColor, true);
}

void Worker::repaintRefPoint()
{
    if (m_cursorShape == 0)
        paintCircle(&m_refPointImage);
    else
        paintSquare(&m_refPointImage);
    m_refPointCursor = QCursor(QPixmap::fromImage(m_refPointImage));
    if (m_refPointCursorShown)
        QGuiApplication::changeOverrideCursor(m_refPointCursor);
}

void Worker::setRefPointCursor(bool visible)
{
    if (visible == m_refPointCursorShown)
        return;
    m_refPointCursorShown = visible;
    if (visible)
        QGuiApplication::setOverrideCursor(m_refPointCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void Worker::setRefPointCursorColor(QColor col)
{
    m_cursorColor = col;
    repaintRefPoint();
}

void Worker::setRefPointCursorType(int type)
{
    m_cursorShape = type;
    repaintRefPoint();
}

void Worker::translate(QString lang)
{
    if (lang == QLatin1String("en")) {
        if (!m_translator) {
            m_translator = std::make_unique<QTranslator>();
            if (!m_translator->load(QStringLiteral("kestravo_en.qm"), QStringLiteral(":/translations/")))
                qWarning() << "Unable to load the translation kestravo_en.qm";
        }
        QCoreApplication::installTranslator(m_translator.get());
    } else if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    if (!lang.isEmpty())
        readGCodeHelp(lang);
}

void Worker::readGCodeHelp(QString lang)
{
    const struct {
        QString file;
        const char *property;
    } texts[] = {
        {lang == QLatin1String("en") ? QStringLiteral(":/htm/g-code-help_en.htm") : QStringLiteral(":/htm/g-code-help.htm"),
         "gCodeHelpText"},
        {QStringLiteral(":/htm/feederListImport-help.htm"), "feederListImportHelpText"},
    };
    for (const auto &text : texts) {
        QFile file(text.file);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            qDebug() << "Unable to open file:" << text.file << " besause of error" << file.errorString();
            continue;
        }
        setRootProperty(text.property, QString::fromUtf8(file.readAll()));
    }
}

// SIGINT and SIGTERM are only logged: a stray Ctrl+C in the terminal the
// program was started from must not end a running job. SIGHUP says that the
// terminal or session the program runs in has gone: the program then quits
// as through its menu, saving the settings and stopping LinuxCNC.
void Worker::sigHandler(int signal)
{
    qDebug() << "SIGNAL: " << signal;
    if (signal == SIGHUP && m_root)
        QMetaObject::invokeMethod(m_root, "quitProgram", Qt::QueuedConnection);
}

void Worker::quitGet()
{
    QCoreApplication::quit();
}

// The one place that makes the program's attention sound.
void Worker::beep()
{
    ++m_beepCount;
    QApplication::beep();
}

void Worker::applicationStateChangedGet(Qt::ApplicationState state)
{
    setRootProperty("applicationActive", state == Qt::ApplicationActive);
}

void Worker::setLastProjectFolder(QString projectName)
{
    const QString path = FileUrl::toLocalPath(projectName);
    if (path.isEmpty())
        return;
    const QString dir = QFileInfo(path).absolutePath();
    setRootProperty("lastProjectFolder", FileUrl::fromLocalPath(dir));
}

bool Worker::checkFileExistance(QUrl fileName)
{
    const QString path = FileUrl::toLocalPath(fileName);
    return !path.isEmpty() && QFileInfo(path).isFile();
}
