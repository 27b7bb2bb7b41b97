// The plain pieces of the application shell, one at a time.
#include "TestSupport.h"

#include "app/GlobalEventHandler.h"
#include "app/Grid.h"
#include "app/Privileges.h"
#include "app/StartupEnvironment.h"
#include "util/FileUrl.h"
#include "backend/MachineRecords.h"
#include "backend/SettingsStore.h"

#include <QJSEngine>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

// Records which events reached it.
class EventSink : public QObject
{
public:
    QList<QEvent::Type> received;
protected:
    bool event(QEvent *e) override
    {
        received.append(e->type());
        return QObject::event(e);
    }
};

QMouseEvent mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held)
{
    return QMouseEvent(type, QPointF(5, 5), QPointF(5, 5), button, held, Qt::NoModifier);
}

} // namespace

class TestShellUnits : public QObject
{
    Q_OBJECT

private slots:
    // ---- Grid
    void gridOfZeroStepDrawsNothing()
    {
        Grid grid;
        grid.setGridStep(0);
        grid.setSize(QSizeF(50, 50));
        QImage image(50, 50, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        grid.paint(&painter); // must return, not loop for ever
        painter.end();
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    }

    // ---- event filter
    void eventFilterSwallowsMouseChords_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("held");
        QTest::addColumn<bool>("swallowed");
        const auto row = [](const char *name, QEvent::Type type, Qt::MouseButton button,
                            Qt::MouseButtons held, bool swallowed) {
            QTest::newRow(name) << int(type) << int(button) << int(held) << swallowed;
        };
        const Qt::MouseButton left = Qt::LeftButton;
        const Qt::MouseButton right = Qt::RightButton;
        const Qt::MouseButton middle = Qt::MiddleButton;
        row("left+right press", QEvent::MouseButtonPress, right, left | right, true);
        row("left+middle release", QEvent::MouseButtonRelease, middle, left | middle, true);
        row("three buttons", QEvent::MouseButtonPress, middle, left | right | middle, false);
        row("double click, right held", QEvent::MouseButtonDblClick, left, left | right, true);
        row("move with chord", QEvent::MouseMove, Qt::NoButton, left | right, false);
    }

    void eventFilterSwallowsMouseChords()
    {
        QFETCH(int, type);
        QFETCH(int, button);
        QFETCH(int, held);
        QFETCH(bool, swallowed);
        GlobalEventHandler filter;
        EventSink sink;
        sink.installEventFilter(&filter);
        QMouseEvent event = mouse(QEvent::Type(type), Qt::MouseButton(button), Qt::MouseButtons(held));
        QCoreApplication::sendEvent(&sink, &event);
        QCOMPARE(sink.received.contains(QEvent::Type(type)), !swallowed);
    }

    // ---- identity
    void operatorScopeRunsAsUser1000AndReturns()
    {
        const uid_t before = geteuid();
        const auto seen = Privileges::asOperator([] { return std::make_pair(geteuid(), getegid()); });
        if (before == 0) {
            QCOMPARE(seen.first, uid_t(1000));
            QCOMPARE(seen.second, gid_t(1000));
        } else {
            QCOMPARE(seen.first, before); // without root rights nothing changes
        }
        QCOMPARE(geteuid(), before);
        // Leaving the scope by an exception returns to the old identity too.
        try {
            Privileges::asOperator([]() -> int { throw 1; });
        } catch (int) {
        }
        QCOMPARE(geteuid(), before);
    }

    // ---- start-up environment
    void startupSettingsComeFromBesideTheProgram()
    {
        QTemporaryDir dir;
        QCOMPARE(StartupEnvironment::settingsPathForProgram(dir.path() + "/kestravo"), dir.path() + "/settings.ini");
        const QString file = dir.path() + "/settings.ini";
        {
            QSettings s(file, QSettings::IniFormat);
            s.setValue("project/softwareRendering", true);
            s.setValue("device/cameraHighRes", true);
            s.setValue("device/cameraUseQuirks", "true");
        }
        auto all = StartupEnvironment::readStartupSettings(file);
        QVERIFY(all.softwareRendering && all.cameraHighRes && all.cameraUseQuirks);
        StartupEnvironment::applySoftwareRendering(true);
        QCOMPARE(qgetenv("LIBGL_ALWAYS_SOFTWARE"), QByteArray("1"));
        StartupEnvironment::applySoftwareRendering(false);
        QVERIFY(!qEnvironmentVariableIsSet("LIBGL_ALWAYS_SOFTWARE"));
    }

    void programsRunWithoutAShell()
    {
        const QString test = StartupEnvironment::systemTool("test");
        QVERIFY(!test.isEmpty());
        QVERIFY(QFileInfo(test).isAbsolute());
        // Shell syntax inside an argument stays literal text.
        QCOMPARE(StartupEnvironment::runProgram(test, {"a;b $(x)", "=", "a;b $(x)"}), 0);
        QCOMPARE(StartupEnvironment::runProgram(test, {"a", "=", "b"}), 1);
        QCOMPARE(StartupEnvironment::runProgram("/nonexistent/tool", {}), 127);
        QCOMPARE(StartupEnvironment::runProgram(QString(), {}), -1);
        QCOMPARE(StartupEnvironment::systemTool("no-such-tool-xyz"), QString());
    }

    // ---- file URLs
    void fileUrlsBecomePaths_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("path");
        QTest::newRow("url") << "file:///home/op/a.project" << "/home/op/a.project";
        QTest::newRow("encoded") << "file:///home/op/my%20boards/%D0%BF.project" << "/home/op/my boards/п.project";
        QTest::newRow("percent in a plain path") << "/home/op/100%.project" << "/home/op/100%.project";
    }

    void fileUrlsBecomePaths()
    {
        QFETCH(QString, input);
        QFETCH(QString, path);
        QCOMPARE(FileUrl::toLocalPath(input), path);
        if (input.startsWith("file:"))
            QCOMPARE(FileUrl::toLocalPath(QUrl(input)), path);
        QCOMPARE(FileUrl::toLocalPath(FileUrl::fromLocalPath(path)), path);
    }

    // ---- settings store
    void scriptValuesAreStoredAsPlainLists()
    {
        QJSEngine engine;
        const QJSValue nested = engine.evaluate("[1, [2, 3], {a: 'x'}]");
        const QVariant plain = SettingsStore::plain(QVariant::fromValue(nested));
        QCOMPARE(plain.type(), QVariant::List);
        const QVariantList list = plain.toList();
        QCOMPARE(list.size(), 3);
        QCOMPARE(list.at(1).toList(), (QVariantList{2, 3}));
        QCOMPARE(list.at(2).toMap().value("a").toString(), QStringLiteral("x"));

        QTemporaryDir dir;
        const QString file = dir.filePath("settings.ini");
        {
            SettingsStore store(file);
            store.setValue("device", "camera1DistCoeffs", QVariant::fromValue(engine.evaluate("[0.1, -0.2]")));
            store.sync();
        }
        QVERIFY(TestSupport::contentOf(file).contains("\ncamera1DistCoeffs=0.1, -0.2\n"));
        SettingsStore again(file);
        QCOMPARE(again.value("device", "camera1DistCoeffs").toList(), (QVariantList{0.1, -0.2}));
    }

    // ---- machine records
    void recordsReadDefaultsUnlessTheyExist()
    {
        QTemporaryDir dir;
        QSettings s(dir.filePath("r.ini"), QSettings::IniFormat);
        s.setValue("cup1/exists", true);
        s.setValue("cup1/cupLength", "35.5");
        s.setValue("cup1/vsUse", "true");
        s.setValue("cup1/takeM", "m64 p1");
        s.setValue("cup2/exists", "false");
        s.setValue("cup2/cupLength", 50);
        s.setValue("vibroBank1/exists", true);
        s.setValue("vibroBank1/pwmFreq", "25");

        const QVariantList cups = MachineRecords::readAll(s, MachineRecords::cups());
        QCOMPARE(cups.size(), 8);
        const QVariantMap cup1 = cups.at(0).toMap();
        QCOMPARE(cup1.value("cupLength").toDouble(), 35.5);
        QCOMPARE(cup1.value("vsUse").type(), QVariant::Bool);
        QCOMPARE(cup1.value("vsUse").toBool(), true);
        QCOMPARE(cup1.value("takeM").toString(), QStringLiteral("m64 p1"));
        QCOMPARE(cup1.value("cupDiameter2").toDouble(), 1.1); // absent key: default
        // A record that does not exist is its defaults, whatever the file holds.
        QCOMPARE(cups.at(1).toMap(), MachineRecords::defaults(MachineRecords::cups()));

        const QVariantMap vibro = MachineRecords::read(s, MachineRecords::vibroBanks(), 1);
        QCOMPARE(vibro.value("pwmFreq").type(), QVariant::Int);
        QCOMPARE(vibro.value("pwmFreq").toInt(), 25);
    }
};

int main(int argc, char **argv)
{
    TestSupport::prepareHeadlessEnvironment();
    QApplication app(argc, argv);
    TestShellUnits test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shell_units.moc"
