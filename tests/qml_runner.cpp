// Qt Quick Test runner over the real back end: the main window from the
// program's resources, Worker, the five device threads and the wiring, all
// brought up as the program does it (headless). QML test files reach them as
// the context properties "root" (the main window) and "worker"; they drive the
// program through root signals, root functions and Worker slots; "probe"
// reads script values of the program as plain data.
//
// Accepts the options of any quick test runner, -input FILE_OR_DIR among them.
// Any warning while the program loads fails the run.

#include "TestSupport.h"

#include "app/ApplicationShell.h"
#include "app/ConcentricCircles.h"
#include "backend/Worker.h"

#include <QApplication>
#include <QImage>
#include <QJSValue>
#include <QQmlContext>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QtQuickTest>

#include <cstdio>
#include <cstdlib>

namespace {

// Reads values of the program's QML objects as plain data. Script values
// (model entries, arrays) belong to the program's engine and cannot cross
// into the engine of a test file as they are.
class Probe : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Entry `row` of a list model as a plain map.
    Q_INVOKABLE QVariant entry(QObject *listModel, int row) const
    {
        QJSValue value;
        if (!listModel || !QMetaObject::invokeMethod(listModel, "get", Q_RETURN_ARG(QJSValue, value), Q_ARG(int, row)))
            return QVariant();
        return value.toVariant();
    }

    // A property of an object; script values become plain lists and maps.
    Q_INVOKABLE QVariant value(QObject *object, const QString &name) const
    {
        if (!object)
            return QVariant();
        const QVariant v = object->property(name.toLatin1().constData());
        if (v.userType() == qMetaTypeId<QJSValue>())
            return v.value<QJSValue>().toVariant();
        return v;
    }

    // Grey level (0-255) of a pixel of an image held in a property, or -1.
    Q_INVOKABLE int greyAt(QObject *object, const QString &name, int x, int y) const
    {
        const QImage image = value(object, name).value<QImage>();
        if (image.isNull() || !image.rect().contains(x, y))
            return -1;
        return qGray(image.pixel(x, y));
    }
};

class Setup : public QObject
{
    Q_OBJECT
public:
    Setup(ApplicationShell *shell, const QString &settingsFile)
        : m_shell(shell), m_settingsFile(settingsFile)
    {
    }

public slots:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->rootContext()->setContextProperty(QStringLiteral("root"), m_shell->root());
        engine->rootContext()->setContextProperty(QStringLiteral("worker"), m_shell->worker());
        engine->rootContext()->setContextProperty(QStringLiteral("settingsFile"), m_settingsFile);
        engine->rootContext()->setContextProperty(QStringLiteral("probe"), &m_probe);
        engine->addImageProvider(QStringLiteral("colors"), new ConcentricCircles);
    }

private:
    ApplicationShell *m_shell;
    QString m_settingsFile;
    Probe m_probe;
};

} // namespace

int main(int argc, char **argv)
{
    TestSupport::prepareHeadlessEnvironment();
    TestSupport::installMessageCollector();
    QApplication app(argc, argv);

    // A settings store of its own, absent at start: the program starts with
    // every default, as on a fresh machine.
    QTemporaryDir settingsDir;
    const QString settingsFile = settingsDir.filePath(QStringLiteral("settings.ini"));

    ApplicationShell shell;
    ApplicationShell::Options options;
    options.settingsFile = settingsFile;
    if (!shell.start(options)) {
        fprintf(stderr, "FAIL: the main window could not be loaded\n");
        return 1;
    }
    const QStringList warnings = TestSupport::collectedWarnings();
    if (!warnings.isEmpty()) {
        fprintf(stderr, "FAIL: %d warnings while the program loaded:\n", int(warnings.size()));
        for (const QString &w : warnings)
            fprintf(stderr, "  %s\n", qPrintable(w));
        return 1;
    }

    Setup setup(&shell, settingsFile);
    const int result = quick_test_main_with_setup(argc, argv, "kestravo", nullptr, &setup);

    // Model entries of the main window were read from the engines of the test
    // files, which are gone now; tearing the main window down after them is
    // not safe. The device threads are stopped properly, then the runner ends
    // without destroying the rest (the program itself shuts down normally).
    shell.stopDeviceThreads();
    fflush(stdout);
    fflush(stderr);
    std::_Exit(result);
}

#include "qml_runner.moc"
