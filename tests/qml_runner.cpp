// Qt Quick Test runner over the real back end: the main window from the
// program's resources, Worker, the five device threads and the wiring, all
// brought up as the program does it (headless). QML test files reach them as
// the context properties "root" (the main window) and "worker"; they drive the
// program through root signals, root functions and Worker slots.
//
// Accepts the options of any quick test runner, -input FILE_OR_DIR among them.
// Any warning while the program loads fails the run.

#include "TestSupport.h"

#include "app/ApplicationShell.h"
#include "backend/Worker.h"

#include <QApplication>
#include <QQmlContext>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QtQuickTest>

#include <cstdio>

namespace {

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
    }

private:
    ApplicationShell *m_shell;
    QString m_settingsFile;
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
    return quick_test_main_with_setup(argc, argv, "kestravo", nullptr, &setup);
}

#include "qml_runner.moc"
