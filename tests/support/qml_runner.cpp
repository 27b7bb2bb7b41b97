// Qt Quick Test runner over the real back end: the main window from the
// program's resources, Worker, the five device threads and the wiring, all
// brought up as the program does it (headless). QML test files reach them as
// the context properties "root" (the main window) and "worker"; they drive the
// program through root signals, root functions and Worker slots; "probe"
// reads script values of the program as plain data.
//
// Accepts the options of any quick test runner, -input FILE_OR_DIR among them.
// Any warning while the program loads fails the run.

#include "MachineLinkProbe.h"
#include "TestSupport.h"

#include "app/ApplicationShell.h"
#include "app/ConcentricCircles.h"
#include "backend/Worker.h"
#include "machine/WorkerCnc.h"
#include "vision/SimulatedWorld.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QKeyEvent>
#include <QWindow>
#include <QSettings>
#include <QUrl>
#include <QJSEngine>
#include <QJSValue>
#include <QProcess>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
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

    void setShell(ApplicationShell *shell) { m_shell = shell; }

    // Detaches the machine link (see MachineLinkProbe): every block the main
    // window sends is recorded and answered at once as done, as a machine
    // would after running it; attachMachineLink() gives the link back.
    Q_INVOKABLE bool detachMachineLink()
    {
        if (!m_link)
            m_link = new MachineLinkProbe(m_shell->root(), m_shell->deviceWorkers().cnc, this);
        return m_link->detached();
    }
    Q_INVOKABLE QStringList machineLinkTexts() const { return m_link ? m_link->texts : QStringList(); }
    // false: blocks stay unanswered until answerMachineLink(successful).
    Q_INVOKABLE void setMachineLinkAnswers(bool atOnce)
    {
        if (m_link)
            m_link->setAnswer(atOnce ? MachineLinkProbe::Answer::Queued : MachineLinkProbe::Answer::Never);
    }
    Q_INVOKABLE void answerMachineLink(bool successful)
    {
        if (m_link)
            m_link->answer(successful);
    }
    Q_INVOKABLE void attachMachineLink()
    {
        if (!m_link)
            return;
        m_link->reattach();
        delete m_link;
        m_link = nullptr;
    }

    // Calls a script function of the program; arguments and result cross the
    // engines as plain data (objects stay objects).
    Q_INVOKABLE QVariant call(QObject *object, const QString &function, const QVariantList &args = {}) const
    {
        return callWith(object, function, args, QJSValue());
    }

    // Like call(), but every argument that is the string "@recorder" becomes
    // a function of the program's engine that records its calls under
    // `recorder` (a continuation handed to the program cannot come from the
    // engine of a test file). Read the calls with hits() and recorded().
    Q_INVOKABLE QVariant callRecording(QObject *object, const QString &function, const QVariantList &args,
                                       const QString &recorder)
    {
        QJSEngine *engine = engineOf(object);
        if (!engine)
            return callWith(object, function, args, QJSValue());
        QQmlEngine::setObjectOwnership(this, QQmlEngine::CppOwnership);
        QJSValue maker = engine->evaluate(QStringLiteral(
            "(function(probe, name) { return function() {"
            " var a = []; for (var i = 0; i < arguments.length; ++i) a.push(arguments[i]);"
            " probe.record(name, a); }; })"));
        const QJSValue record = maker.call({engine->newQObject(this), QJSValue(recorder)});
        return callWith(object, function, args, record);
    }
    // Ends the emulators this run started (the runner leaves without
    // destroying its objects).
    void stopEmulators()
    {
        const auto programs = findChildren<QProcess *>();
        for (QProcess *program : programs) {
            program->kill();
            program->waitForFinished(2000);
        }
    }
    Q_INVOKABLE void record(const QString &name, const QVariantList &args) { m_records[name].append(QVariant(args)); }
    Q_INVOKABLE int hits(const QString &name) const { return m_records.value(name).size(); }
    Q_INVOKABLE QVariantList recorded(const QString &name) const { return m_records.value(name); }
    Q_INVOKABLE void forget(const QString &name) { m_records.remove(name); }

    // A private folder for the files of a test run.
    Q_INVOKABLE QString tempPath() const { return m_temp.path(); }
    Q_INVOKABLE QString fileUrl(const QString &path) const { return QUrl::fromLocalFile(path).toString(); }
    Q_INVOKABLE bool fileExists(const QString &path) const { return QFileInfo::exists(path); }
    Q_INVOKABLE bool removeFile(const QString &path) const { return QFile::remove(path); }
    Q_INVOKABLE QStringList fileNames(const QString &folder) const
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    // A picture file of the given size (folders are made as needed).
    Q_INVOKABLE bool makePicture(const QString &path, int width, int height) const
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor("#2E7D32"));
        return image.save(path);
    }
    // Writes a text file (UTF-8; folders are made as needed) and reads one.
    Q_INVOKABLE bool writeText(const QString &path, const QString &text) const
    {
        return TestSupport::writeFile(path, text.toUtf8());
    }
    Q_INVOKABLE QString readText(const QString &path) const
    {
        return QString::fromUtf8(TestSupport::contentOf(path));
    }

    // Reads and writes single keys of an INI file ("group/key").
    Q_INVOKABLE QVariant iniValue(const QString &path, const QString &key) const
    {
        return QSettings(path, QSettings::IniFormat).value(key);
    }
    Q_INVOKABLE void setIniValue(const QString &path, const QString &key, const QVariant &value) const
    {
        QSettings s(path, QSettings::IniFormat);
        s.setValue(key, value);
    }
    Q_INVOKABLE QStringList iniKeys(const QString &path) const
    {
        return QSettings(path, QSettings::IniFormat).allKeys();
    }

    // Entry `row` of a list model as a plain map, read through the item
    // model interface (the model's get() makes script objects that belong to
    // the program's engine and must not be handed out).
    Q_INVOKABLE QVariant entry(QObject *listModel, int row) const
    {
        auto *model = qobject_cast<QAbstractItemModel *>(listModel);
        if (!model || row < 0 || row >= model->rowCount())
            return QVariant();
        QVariantMap map;
        const QModelIndex index = model->index(row, 0);
        const QHash<int, QByteArray> roles = model->roleNames();
        for (auto it = roles.constBegin(); it != roles.constEnd(); ++it) {
            QVariant v = model->data(index, it.key());
            if (v.userType() == qMetaTypeId<QJSValue>())
                v = v.value<QJSValue>().toVariant();
            map.insert(QString::fromUtf8(it.value()), v);
        }
        return map;
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

    // A key event to the window that has the focus, as the platform sends
    // it; unlike the test case's key functions it can be an auto-repeat
    // (a held key repeats as release and press pairs).
    Q_INVOKABLE bool sendKey(bool press, int key, int modifiers, bool autoRepeat) const
    {
        QWindow *window = QGuiApplication::focusWindow();
        if (!window)
            return false;
        QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, key,
                        Qt::KeyboardModifiers(modifiers), QString(), autoRepeat);
        QGuiApplication::sendEvent(window, &event);
        return true;
    }

    // Writes what the window shows into a picture file (scripts/shots/).
    Q_INVOKABLE bool grabWindow(QObject *window, const QString &path) const
    {
        auto *quickWindow = qobject_cast<QQuickWindow *>(window);
        if (!quickWindow)
            return false;
        const QImage image = quickWindow->grabWindow();
        return !image.isNull() && image.save(path);
    }

    // The object name of the window that has the keyboard focus ("" when none).
    Q_INVOKABLE QString focusWindowName() const
    {
        QWindow *window = QGuiApplication::focusWindow();
        return window ? window->objectName() : QString();
    }

    // The object named `name` below `parent` (object children, visual
    // children, a window's content), or null. A program object handed to a
    // test file by a function's return value would become the garbage
    // collector's to delete and lose its script side (functions, var
    // properties); this one stays the program's.
    Q_INVOKABLE QObject *find(QObject *parent, const QString &name) const
    {
        QList<QObject *> queue{parent};
        while (!queue.isEmpty()) {
            QObject *o = queue.takeFirst();
            if (!o)
                continue;
            if (o != parent && o->objectName() == name) {
                QQmlEngine::setObjectOwnership(o, QQmlEngine::CppOwnership);
                return o;
            }
            queue.append(o->children());
            if (auto *item = qobject_cast<QQuickItem *>(o)) {
                for (QQuickItem *child : item->childItems())
                    if (!o->children().contains(child))
                        queue.append(child);
            }
            if (auto *window = qobject_cast<QQuickWindow *>(o)) {
                if (!o->children().contains(window->contentItem()))
                    queue.append(window->contentItem());
            }
        }
        return nullptr;
    }

    // Sets a property of an object of the program. Writes through an object
    // that a test file reached as a property of another (root.a.b = v) can be
    // lost once several test files have wrapped it; this one is not.
    Q_INVOKABLE bool setValue(QObject *object, const QString &name, const QVariant &value) const
    {
        return object && object->setProperty(name.toLatin1().constData(), value);
    }

    // Grey level (0-255) of a pixel of an image held in a property, or -1.
    Q_INVOKABLE int greyAt(QObject *object, const QString &name, int x, int y) const
    {
        const QImage image = value(object, name).value<QImage>();
        if (image.isNull() || !image.rect().contains(x, y))
            return -1;
        return qGray(image.pixel(x, y));
    }

    // Runs halcmd with an argument list (drives the simulated machine's
    // inputs); its exit code, -1 when it could not run.
    Q_INVOKABLE int halcmd(const QStringList &args) const
    {
        QProcess p;
        p.start(QStringLiteral("halcmd"), args);
        if (!p.waitForFinished(10000)) {
            p.kill();
            p.waitForFinished();
            return -1;
        }
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    // Starts the vacuum sensor emulator on a pseudo-terminal; the stable
    // link to it (a path the program opens as its serial port), or "" when
    // it did not start. The emulator ends with the runner.
    Q_INVOKABLE QString startVsEmulator(double pressure) { return startVs(pressure, false); }

    // The same emulator told by the simulated nozzle whether it holds a part
    // (through a state file, as ./run.sh sets it up): `pressure` kPa with a
    // part, the emulator's own readings for an open nozzle and a closed valve.
    Q_INVOKABLE QString startVsEmulatorFollowingNozzle(double pressure) { return startVs(pressure, true); }

    // Starts the RLC meter emulator on a pseudo-terminal, answering every
    // reading with `reading` ("R,A,10000,3" is 10 kOhm); the link to its
    // port, or "" when it did not start. The emulator ends with the runner.
    Q_INVOKABLE QString startRlcEmulator(const QString &reading) { return startRlc(reading, false); }

    // The same emulator told by the simulated nozzle what it holds (through
    // the nozzle state file, as ./run.sh sets it up): it answers the value of
    // a held part of a feeder with an RLC value (worker.simWorldSetRlcError
    // makes chosen parts measure out of range), `reading` otherwise.
    Q_INVOKABLE QString startRlcEmulatorFollowingNozzle(const QString &reading) { return startRlc(reading, true); }

private:
    // The one nozzle state file of the emulators that follow the nozzle.
    QString nozzleStateFile()
    {
        if (m_nozzleState.isEmpty()) {
            m_nozzleState = m_temp.filePath(QStringLiteral("sim-nozzle"));
            SimulatedWorld::setNozzleStateFile(m_nozzleState);
        }
        return m_nozzleState;
    }

    // Starts an emulator program on a pseudo-terminal with `args`; the link
    // to its port, or "" when it did not start.
    QString startEmulator(const char *program, QStringList args, bool followNozzle)
    {
        const QString link = m_temp.filePath(QStringLiteral("emulator-%1").arg(++m_emulators));
        args << QStringLiteral("--link") << link;
        if (followNozzle)
            args << QStringLiteral("--nozzle") << nozzleStateFile();
        auto *emulator = new QProcess(this);
        emulator->start(QString::fromLocal8Bit(program), args);
        if (!emulator->waitForReadyRead(5000))
            return QString();
        emulator->readLine();
        return link;
    }
    QString startVs(double pressure, bool followNozzle)
    {
        return startEmulator(VS_EMULATOR, {"--pressure", QString::number(pressure)}, followNozzle);
    }
    QString startRlc(const QString &reading, bool followNozzle)
    {
        return startEmulator(RLC_EMULATOR, {"--reading", reading}, followNozzle);
    }

    // The engine that made the object (the program's). Once a test file's
    // engine has wrapped the object, the object's script engine may be that
    // one, whose values the program's functions cannot read.
    static QJSEngine *engineOf(QObject *object)
    {
        if (!object)
            return nullptr;
        if (QQmlEngine *engine = qmlEngine(object))
            return engine;
        return qjsEngine(object);
    }

    // Calls `function` of `object`; "@recorder" arguments become `recorder`
    // when that is a function.
    static QVariant callWith(QObject *object, const QString &function, const QVariantList &args,
                             const QJSValue &recorder)
    {
        QJSEngine *engine = engineOf(object);
        if (!engine) {
            qWarning() << "probe.call: no engine for" << function;
            return QVariant();
        }
        const QJSValue self = engine->newQObject(object);
        QJSValue fn = self.property(function);
        if (!fn.isCallable()) {
            qWarning() << "probe.call: not a function:" << function;
            return QVariant();
        }
        QJSValueList jsArgs;
        for (const QVariant &arg : args) {
            const bool isRecorder = recorder.isCallable() && arg.type() == QVariant::String
                                    && arg.toString() == QLatin1String("@recorder");
            jsArgs.append(isRecorder ? recorder : engine->toScriptValue(arg));
        }
        const QJSValue result = fn.callWithInstance(self, jsArgs);
        if (result.isError())
            qWarning() << "probe.call:" << function << result.toString();
        return result.toVariant();
    }

    QTemporaryDir m_temp;
    QString m_nozzleState;
    int m_emulators = 0;
    ApplicationShell *m_shell = nullptr;
    MachineLinkProbe *m_link = nullptr;
    QHash<QString, QVariantList> m_records;
};

class Setup : public QObject
{
    Q_OBJECT
public:
    Setup(ApplicationShell *shell, const QString &settingsFile)
        : m_shell(shell), m_settingsFile(settingsFile)
    {
        m_probe.setShell(shell);
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

    void stopEmulators() { m_probe.stopEmulators(); }

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
    // every default, as on a fresh machine. With KESTRAVO_TEST_SIM naming the
    // simulated machine's folder (sim/), the program starts as ./run.sh starts
    // it instead: that settings store, package base and demo project.
    QTemporaryDir settingsDir;
    QString settingsFile = settingsDir.filePath(QStringLiteral("settings.ini"));
    const QString simDir = qEnvironmentVariable("KESTRAVO_TEST_SIM");
    if (!simDir.isEmpty()) {
        QString error;
        settingsFile = TestSupport::prepareSimRunFolder(simDir, settingsDir.path(), &error);
        if (settingsFile.isEmpty()) {
            fprintf(stderr, "FAIL: the simulated machine's run folder: %s\n", qPrintable(error));
            return 1;
        }
    }

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
    setup.stopEmulators();
    shell.stopDeviceThreads();
    fflush(stdout);
    fflush(stderr);
    std::_Exit(result);
}

#include "qml_runner.moc"
